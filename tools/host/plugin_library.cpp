#include "plugin_library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

PluginLibrary::PluginLibrary(const std::string &path, LibraryUnload unload) : module(path, unload)
{
    if (!module.loaded()) {
        lastError = module.error();
        return;
    }
    void *symbol = module.symbol("VSTPluginMain");
    if (!symbol)
        symbol = module.symbol("main");
    entryProc = reinterpret_cast<PluginEntryProc>(symbol);
    if (!entryProc)
        lastError = "no entry point VSTPluginMain or main";
}

PluginLibrary::~PluginLibrary() = default;

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
