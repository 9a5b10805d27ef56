// The library side of the CLAP entry: the one descriptor, the plug-in factory and the counted
// init / deinit. src/entry/clap_entry.cpp exports them as clap_entry with the effect's maker.
// [thread-safe] unless tagged otherwise
#pragma once

#include "clap/clap_interface.h"
#include "clap/clap_plugin.h"

constexpr const char *kClapPluginId = "com.velmora.zem-ordwen";

// The descriptor: id, the effect's product name, vendor and version (3020 is "3.0.2"), the
// features; static, valid for the life of the library.
const clap_plugin_descriptor_t *clapDescriptor();

// The factory table and the maker it builds instances with; get_factory answers &table.
struct ClapFactory {
    clap_plugin_factory_t table;
    EffectMaker makeEffect;
};
ClapFactory makeClapFactory(EffectMaker makeEffect);

// init may come several times before deinit; only the first does the work and only the last
// deinit undoes it. The host never calls them beside each other or beside any other call.
bool clapLibraryInit(const char *pluginPath);
void clapLibraryDeinit();
