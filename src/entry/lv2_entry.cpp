// The LV2 entry: lv2_descriptor, the one symbol the plug-in's part of zem-ordwen.so exports (the
// editor's lv2ui_descriptor lives in the same binary: both reach the one effect). Its instances
// build the same effect as the VST 2.4 entry (entry/effect_instance.h).
#include <lv2/core/lv2.h>

#include "entry/effect_instance.h"
#include "lv2/lv2_plugin.h"
#include "platform/resident_module.h"

extern "C" {
LV2_SYMBOL_EXPORT const LV2_Descriptor *lv2_descriptor(uint32_t index);
const LV2_Descriptor *lv2_descriptor(uint32_t index)
{
    if (index != 0)
        return nullptr;
    keepModuleResident();
    return lv2PluginDescriptor(createZemEffect);
}
}
