// The VST 3 entry: GetPluginFactory and the module's entry and exit functions, the only exports of
// "ZEM Ordwen.vst3" (resources/vst3_exports.def on Windows, resources/vst3_exports.map on Linux).
// The factory builds the same effect as the VST 2.4 entry (entry/effect_instance.h).
#include "entry/effect_instance.h"
#include "platform/resident_module.h"
#include "vst3/vst3_class.h"

namespace {

Vst3Factory &factory()
{
    static Vst3Factory theFactory(createZemEffect);
    return theFactory;
}

}  // namespace

extern "C" {

// [ui-thread] (the loading thread); the factory's references are not counted.
VST3_EXPORT vst3::IPluginFactory *VST3_API GetPluginFactory()
{
    keepModuleResident();
    return &factory();
}

#if defined(_WIN32)
// Right after LoadLibrary and right before FreeLibrary.
VST3_EXPORT bool InitDll() { return vst3LibraryEnter(); }
VST3_EXPORT bool ExitDll() { return vst3LibraryExit(); }
#else
// Right after dlopen, with its handle, and right before dlclose.
VST3_EXPORT bool ModuleEntry(void *) { return vst3LibraryEnter(); }
VST3_EXPORT bool ModuleExit() { return vst3LibraryExit(); }
#endif
}
