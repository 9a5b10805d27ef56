#include "clap_library.h"

#include <chrono>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

ClapLibrary::ClapLibrary(const std::string &path, LibraryUnload unload) : filePath(path)
{
    (void)unload;
    const auto start = std::chrono::steady_clock::now();
    void *symbol = nullptr;
#ifdef _WIN32
    HMODULE module = LoadLibraryA(path.c_str());
    handle = module;
    if (!module) {
        lastError = "LoadLibrary failed with error " + std::to_string(GetLastError());
        return;
    }
    symbol = reinterpret_cast<void *>(GetProcAddress(module, "clap_entry"));
#else
    int flags = RTLD_NOW | RTLD_LOCAL;
#if defined(__SANITIZE_ADDRESS__)
    // As for the VST 2.4 library (plugin_library.cpp): the sanitizer runtime's start-up
    // allocations in the plug-in would be reported as leaks once it is unmapped.
    if (unload == LibraryUnload::KeepMappedUnderSanitizers)
        flags |= RTLD_NODELETE;
#endif
    handle = dlopen(path.c_str(), flags);
    if (!handle) {
        const char *message = dlerror();
        lastError = message ? message : "dlopen failed";
        return;
    }
    symbol = dlsym(handle, "clap_entry");
#endif
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
    scanTime = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

ClapLibrary::~ClapLibrary()
{
    if (initialised)
        entryTable->deinit();
    if (!handle)
        return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}
