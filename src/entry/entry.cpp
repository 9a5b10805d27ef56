// The exported entry point: a host calls it once per plug-in instance with its callback.
#include <new>

#include "core/templete.h"
#include "editor/editor_factory.h"
#include "meters/meter_settings.h"

#if defined(_WIN32)
#include <windows.h>
#define ZEM_EXPORT  // exported by the module-definition file, together with the alias "main"
#else
#define ZEM_EXPORT __attribute__((visibility("default")))
#endif

namespace {

// Once a host has called in, the module stays loaded until the process ends, as the Linux
// library does (linked "nodelete"): each unload and load again would leave the memory of the
// libraries it brings in behind. Not in DllMain: that runs under the loader lock.
void keepModuleResident()
{
#if defined(_WIN32)
    static const bool pinned = [] {
        HMODULE module = nullptr;
        return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                  reinterpret_cast<LPCWSTR>(&keepModuleResident), &module) != 0;
    }();
    (void)pinned;
#endif
}

}  // namespace

AudioEffect *createEffectInstance(audioMasterCallback audioMaster)
{
    return new (std::nothrow) Templete(audioMaster, createTemepleteEditor);
}

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
        // The stored defaults are read here, on the host's first call, and not while the
        // library loads: a static initialiser runs under the loader lock on Windows and must
        // neither touch the registry nor let an exception escape.
        prepareMeterDefaults();
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
