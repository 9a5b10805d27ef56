// The URIs of the LV2 plug-in: the plug-in itself, its editor and the key of the state property
// that holds the 596-byte chunk image. [any-thread] (constants)
#pragma once

#define ZEM_LV2_URI "http://www.velmora.com/plugins/zem-ordwen"
#define ZEM_LV2_UI_URI ZEM_LV2_URI "#ui"
#define ZEM_LV2_CHUNK_KEY ZEM_LV2_URI "#chunk"
#define ZEM_LV2_BINARY "zem-ordwen.so"
#define ZEM_LV2_BUNDLE "zem-ordwen.lv2"
