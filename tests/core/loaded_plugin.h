// The built plug-in, loaded from the test program's folder as a host loads it by path. One
// library per test process, as in a host; tests that change the process-wide scope or meter
// type put them back to their load-time values (Session, VU) when they finish.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "plugin_host.h"

inline std::string builtPluginPath() { return PluginLibrary::programFolder() + ZEM_PLUGIN_FILE; }

inline PluginHost &loadedPlugin()
{
    static PluginHost host(builtPluginPath());
    return host;
}

class LoadedPluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loadedPlugin().loaded()) << builtPluginPath() << ": " << loadedPlugin().error();
        host().versionAnswer = 2400;
        host().pinConnectedAnswer = 0;
        host().outputLatency = 0;
        host().clearEvents();
    }
    void TearDown() override
    {
        PluginInstance restore(host());
        restore.setParameter(2, 0.5f);  // Session
        restore.setParameter(3, 0.f);   // VU
    }
    PluginHost &host() { return loadedPlugin(); }
};

// The entry point itself, for calls with arguments that PluginHost never passes.
inline AEffect *loadedPluginEntry(audioMasterCallback callback)
{
    static PluginLibrary library(builtPluginPath());
    return library.entry() ? library.entry()(callback) : nullptr;
}
