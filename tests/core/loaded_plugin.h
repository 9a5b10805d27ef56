// The built plug-in, loaded from the test program's folder as a host loads it by path. One
// library per test process, as in a host. The instances of a process share the scope, the meter
// type and the Global and Session settings sets, so whatever one test sets there the next one
// would meet (under ctest each test has a process of its own, under Wine the whole suite runs in
// one): every test of the fixture starts from, and leaves, the state of a freshly loaded library.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "meters/meter_settings.h"
#include "plugin_host.h"

inline std::string builtPluginPath() { return PluginLibrary::programFolder() + ZEM_PLUGIN_FILE; }

inline PluginHost &loadedPlugin()
{
    static PluginHost host(builtPluginPath());
    return host;
}

// Puts the state that the instances of the process share where a fresh library has it with an
// empty per-user store (the suite's store is a private one): the Global and the Session set at
// the built-in defaults, the Session scope and the VU meter for new instances. Goes through the
// effect as a host would: a shared scope takes the values set in it. Thread: the host's main thread.
inline void resetSharedPluginState(PluginHost &host)
{
    PluginInstance plugin(host);
    for (float scope : {0.f, 0.5f}) {  // Global, then Session, which new instances start in
        plugin.setParameter(2, scope);
        for (MeterType type : {kMeterTypeRMS, kMeterTypeVU, kMeterTypePPM}) {
            const MeterSettingInfo *infos = meterSettingInfos(type);
            for (int i = 0; i < meterSettingCount(type); ++i)
                plugin.setParameter(infos[i].index, infos[i].defaultValue);
        }
    }
    plugin.setParameter(3, 0.f);  // VU
}

class LoadedPluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loadedPlugin().loaded()) << builtPluginPath() << ": " << loadedPlugin().error();
        host().versionAnswer = 2400;
        host().pinConnectedAnswer = 0;
        host().outputLatency = 0;
        resetSharedPluginState(host());
        host().clearEvents();
    }
    // Also for the tests outside the fixture that load the same library after this one.
    void TearDown() override { resetSharedPluginState(host()); }
    PluginHost &host() { return loadedPlugin(); }
};

// The entry point itself, for calls with arguments that PluginHost never passes.
inline AEffect *loadedPluginEntry(audioMasterCallback callback)
{
    static PluginLibrary library(builtPluginPath());
    return library.entry() ? library.entry()(callback) : nullptr;
}
