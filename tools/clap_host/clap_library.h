// Loads a .clap library by path as a host scans it: the file is opened (dlopen with RTLD_NOW |
// RTLD_LOCAL, so an unresolved symbol fails here; LoadLibrary on Windows), clap_entry is found
// and checked (version major 1 or more, no null function), init is called with the file's path
// and the plug-in factory is fetched. The destructor calls deinit once and unloads the file.
// How long the scan took (open, init, factory, every descriptor) is kept for the scan-time check.
// Thread: the host's main thread.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "clap/clap_interface.h"
#include "module_file.h"

class ClapLibrary {
public:
    explicit ClapLibrary(const std::string &path, LibraryUnload unload = LibraryUnload::KeepMappedUnderSanitizers);
    ~ClapLibrary();
    ClapLibrary(const ClapLibrary &) = delete;
    ClapLibrary &operator=(const ClapLibrary &) = delete;

    // Open, entry valid, init answered true and a plug-in factory given.
    bool ready() const { return factoryTable != nullptr; }
    const std::string &error() const { return lastError; }
    const std::string &path() const { return filePath; }

    const clap_plugin_entry_t *entry() const { return entryTable; }
    const clap_plugin_factory_t *factory() const { return factoryTable; }
    // Every descriptor the factory gives, in index order (null entries kept as null).
    const std::vector<const clap_plugin_descriptor_t *> &descriptors() const { return found; }
    // Microseconds from the start of the open to the last descriptor read.
    double scanMicroseconds() const { return scanTime; }

private:
    // Taken before the file opens: the scan time includes the open.
    std::chrono::steady_clock::time_point scanStart = std::chrono::steady_clock::now();
    std::string filePath;
    ModuleFile module;
    const clap_plugin_entry_t *entryTable = nullptr;
    bool initialised = false;
    const clap_plugin_factory_t *factoryTable = nullptr;
    std::vector<const clap_plugin_descriptor_t *> found;
    double scanTime = 0;
    std::string lastError;
};
