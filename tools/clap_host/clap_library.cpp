#include "clap_library.h"

#include <chrono>

ClapLibrary::ClapLibrary(const std::string &path, LibraryUnload unload) : filePath(path), module(path, unload)
{
    if (!module.loaded()) {
        lastError = module.error();
        return;
    }
    void *symbol = module.symbol("clap_entry");
    entryTable = static_cast<const clap_plugin_entry_t *>(symbol);
    if (!entryTable) {
        lastError = "no clap_entry";
        return;
    }
    if (entryTable->clap_version.major < 1 || !entryTable->init || !entryTable->deinit || !entryTable->get_factory) {
        lastError = "clap_entry is incompatible or incomplete";
        entryTable = nullptr;
        return;
    }
    if (!entryTable->init(path.c_str())) {
        // A refused init is followed by nothing, not even deinit.
        lastError = "clap_entry init answered false";
        return;
    }
    initialised = true;
    auto *factory = static_cast<const clap_plugin_factory_t *>(entryTable->get_factory(CLAP_PLUGIN_FACTORY_ID));
    if (!factory || !factory->get_plugin_count || !factory->get_plugin_descriptor || !factory->create_plugin) {
        lastError = "no complete plug-in factory";
        return;
    }
    const uint32_t count = factory->get_plugin_count(factory);
    for (uint32_t i = 0; i < count; ++i)
        found.push_back(factory->get_plugin_descriptor(factory, i));
    factoryTable = factory;
    scanTime = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - scanStart).count();
}

ClapLibrary::~ClapLibrary()
{
    if (initialised)
        entryTable->deinit();
}
