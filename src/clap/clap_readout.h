// The harness's read-out question through CLAP: an extension of ours,
// "com.velmora.zem-ordwen.readout", whose one function asks the effect the read-out query of
// core/readout_query.h through its dispatcher, exactly as zem_host asks it through VST 2.4, so
// that our CLAP host can compare the meters of both formats. Real hosts never ask for it.
#pragma once

#include "clap/clap_interface.h"
#include "core/readout_query.h"

#define ZEM_CLAP_EXT_READOUT "com.velmora.zem-ordwen.readout"

extern "C" {
typedef struct zem_clap_readout {
    // [main-thread], between blocks. False when no meter engine is selected.
    bool(CLAP_ABI *query)(const clap_plugin_t *plugin, ReadoutQuery *query);
} zem_clap_readout_t;
}

// The table for that id, null for any other. [thread-safe]
const void *clapReadoutExtension(const char *id);

// The effect record behind an instance; the adapter defines it. Null when there is none.
AEffect *clapEffectOf(const clap_plugin_t *plugin);
