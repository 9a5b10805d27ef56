// Loads a VST 2.4 plug-in library by path as a host does and finds its entry point
// (VSTPluginMain, falling back to main). Thread: the host's main thread.
#pragma once

#include <string>

#include "vst/aeffect.h"

typedef AEffect *(VSTCALLBACK *PluginEntryProc)(audioMasterCallback host);

// Sanitizer builds normally keep an unloaded library mapped (see the constructor); a test of
// loading and unloading asks for the real unload.
enum class LibraryUnload { KeepMappedUnderSanitizers, Always };

class PluginLibrary {
public:
    explicit PluginLibrary(const std::string &path, LibraryUnload unload = LibraryUnload::KeepMappedUnderSanitizers);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary &) = delete;
    PluginLibrary &operator=(const PluginLibrary &) = delete;

    bool loaded() const { return handle != nullptr; }
    PluginEntryProc entry() const { return entryProc; }
    const std::string &error() const { return lastError; }
    // The folder of the running program, with a trailing separator.
    static std::string programFolder();

private:
    void *handle = nullptr;
    PluginEntryProc entryProc = nullptr;
    std::string lastError;
};
