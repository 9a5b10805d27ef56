#include "plugin_library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#endif

PluginLibrary::PluginLibrary(const std::string &path, LibraryUnload unload)
{
    (void)unload;
#ifdef _WIN32
    HMODULE module = LoadLibraryA(path.c_str());
    handle = module;
    if (!module) {
        lastError = "LoadLibrary failed with error " + std::to_string(GetLastError());
        return;
    }
    FARPROC proc = GetProcAddress(module, "VSTPluginMain");
    if (!proc)
        proc = GetProcAddress(module, "main");
    entryProc = reinterpret_cast<PluginEntryProc>(reinterpret_cast<void *>(proc));
#else
    int flags = RTLD_NOW | RTLD_LOCAL;
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer runtime's own start-up allocations in the plug-in would be reported as
    // leaks once the library is unmapped; keep it mapped in sanitizer builds.
    if (unload == LibraryUnload::KeepMappedUnderSanitizers)
        flags |= RTLD_NODELETE;
#endif
    handle = dlopen(path.c_str(), flags);
    if (!handle) {
        const char *message = dlerror();
        lastError = message ? message : "dlopen failed";
        return;
    }
    void *symbol = dlsym(handle, "VSTPluginMain");
    if (!symbol)
        symbol = dlsym(handle, "main");
    entryProc = reinterpret_cast<PluginEntryProc>(symbol);
#endif
    if (!entryProc)
        lastError = "no entry point VSTPluginMain or main";
}

PluginLibrary::~PluginLibrary()
{
    if (!handle)
        return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}

std::string PluginLibrary::programFolder()
{
#ifdef _WIN32
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, length);
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
#else
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0)
        return std::string();
    std::string path(buffer, (size_t)length);
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
#endif
}
