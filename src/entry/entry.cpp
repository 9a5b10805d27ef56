// The exported entry point: a host calls it once per plug-in instance with its callback.
#include "core/templete.h"
#include "entry/effect_instance.h"
#include "platform/resident_module.h"

#if defined(_WIN32)
#define ZEM_EXPORT  // exported by the module-definition file, together with the alias "main"
#else
#define ZEM_EXPORT __attribute__((visibility("default")))
#endif

AudioEffect *createEffectInstance(audioMasterCallback audioMaster) { return createZemEffect(audioMaster); }

extern "C" ZEM_EXPORT AEffect *VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster)
{
    if (!audioMaster)
        return nullptr;
    // The version is asked twice in a row; a host must answer both times.
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.f) == 0)
        return nullptr;
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.f) == 0)
        return nullptr;
    keepModuleResident();
    try {
        AudioEffect *effect = createEffectInstance(audioMaster);
        return effect ? effect->getAeffect() : nullptr;
    } catch (...) {
        return nullptr;  // no exception crosses into the host
    }
}

#if !defined(_WIN32)
// Older Linux hosts look only for "main": the same entry under that assembler name.
extern "C" ZEM_EXPORT AEffect *vstPluginMainAlias(audioMasterCallback audioMaster) __asm__("main");
extern "C" AEffect *vstPluginMainAlias(audioMasterCallback audioMaster) { return VSTPluginMain(audioMaster); }
#endif
