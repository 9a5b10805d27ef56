// Loads a VST 2.4 plug-in library by path as a host does and finds its entry point
// (VSTPluginMain, falling back to main). Thread: the host's main thread.
#pragma once

#include <string>

#include "module_file.h"
#include "vst/aeffect.h"

typedef AEffect *(VSTCALLBACK *PluginEntryProc)(audioMasterCallback host);

class PluginLibrary {
public:
    explicit PluginLibrary(const std::string &path, LibraryUnload unload = LibraryUnload::KeepMappedUnderSanitizers);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary &) = delete;
    PluginLibrary &operator=(const PluginLibrary &) = delete;

    bool loaded() const { return module.loaded(); }
    PluginEntryProc entry() const { return entryProc; }
    const std::string &error() const { return lastError; }
    // The folder of the running program, with a trailing separator.
    static std::string programFolder();

private:
    ModuleFile module;
    PluginEntryProc entryProc = nullptr;
    std::string lastError;
};
