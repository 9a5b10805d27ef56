// A plug-in file opened as a host opens it: dlopen with RTLD_NOW | RTLD_LOCAL (an unresolved
// symbol fails here), LoadLibrary on Windows; unloaded by the destructor. Thread: the host's
// main thread.
#pragma once

#include <string>

// Sanitizer builds normally keep an unloaded library mapped: the sanitizer runtime's own start-up
// allocations in the plug-in would be reported as leaks once it is unmapped. A test of loading
// and unloading asks for the real unload.
enum class LibraryUnload { KeepMappedUnderSanitizers, Always };

class ModuleFile {
public:
    ModuleFile(const std::string &path, LibraryUnload unload);
    ~ModuleFile();
    ModuleFile(const ModuleFile &) = delete;
    ModuleFile &operator=(const ModuleFile &) = delete;

    bool loaded() const { return handle != nullptr; }
    // The exported symbol's address, or null.
    void *symbol(const char *name) const;
    // The handle the system gave (dlopen's, or the HMODULE), for entry functions that take it.
    void *nativeHandle() const { return handle; }
    // Why the open failed.
    const std::string &error() const { return lastError; }

private:
    void *handle = nullptr;
    std::string lastError;
};
