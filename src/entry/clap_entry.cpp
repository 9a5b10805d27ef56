// The CLAP entry: the one exported symbol of "ZEM Ordwen.clap", a constant record whose
// factory builds the same effect as the VST 2.4 entry (entry/effect_instance.h).
#include "clap/clap_factory.h"
#include "entry/effect_instance.h"
#include "platform/resident_module.h"

#include <cstring>

namespace {

// [any-thread], never beside another call of the library.
bool CLAP_ABI entryInit(const char *pluginPath)
{
    keepModuleResident();
    return clapLibraryInit(pluginPath);
}

void CLAP_ABI entryDeinit() { clapLibraryDeinit(); }

// [thread-safe]
const void *CLAP_ABI entryFactory(const char *factoryId)
{
    static const ClapFactory factory = makeClapFactory(createZemEffect);
    if (!factoryId || std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) != 0)
        return nullptr;
    return &factory.table;
}

}  // namespace

extern "C" {
CLAP_EXPORT extern const clap_plugin_entry_t clap_entry;
const clap_plugin_entry_t clap_entry = {CLAP_VERSION_INIT, entryInit, entryDeinit, entryFactory};
}
