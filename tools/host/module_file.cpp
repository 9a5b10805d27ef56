#include "module_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

ModuleFile::ModuleFile(const std::string &path, LibraryUnload unload)
{
    (void)unload;
#ifdef _WIN32
    handle = LoadLibraryA(path.c_str());
    if (!handle)
        lastError = "LoadLibrary failed with error " + std::to_string(GetLastError());
#else
    int flags = RTLD_NOW | RTLD_LOCAL;
#if defined(__SANITIZE_ADDRESS__)
    if (unload == LibraryUnload::KeepMappedUnderSanitizers)
        flags |= RTLD_NODELETE;
#endif
    handle = dlopen(path.c_str(), flags);
    if (!handle) {
        const char *message = dlerror();
        lastError = message ? message : "dlopen failed";
    }
#endif
}

ModuleFile::~ModuleFile()
{
    if (!handle)
        return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}

void *ModuleFile::symbol(const char *name) const
{
    if (!handle)
        return nullptr;
#ifdef _WIN32
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
    return dlsym(handle, name);
#endif
}
