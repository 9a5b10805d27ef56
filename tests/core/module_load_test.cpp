// What a host's plug-in scan does to the library: loading it reads nothing and starts nothing;
// the stored defaults are read when the host first calls the entry point. A fresh copy of the
// built library is loaded, so that its load-time state is its own.
#include <cstdio>
#include <fstream>
#include <string>

#include "loaded_plugin.h"
#include "platform/defaults_store.h"

namespace {

// A copy of the built plug-in beside it, removed with the object.
class PluginCopy {
public:
    explicit PluginCopy(const std::string &name) : path_(PluginLibrary::programFolder() + name)
    {
        std::ifstream source(builtPluginPath(), std::ios::binary);
        std::ofstream copy(path_, std::ios::binary | std::ios::trunc);
        copy << source.rdbuf();
        copied_ = source.good() && copy.good();
    }
    ~PluginCopy() { std::remove(path_.c_str()); }
    bool copied() const { return copied_; }
    const std::string &path() const { return path_; }

private:
    std::string path_;
    bool copied_ = false;
};

}  // namespace

TEST(ModuleLoad, StoredDefaultsAreReadAtTheFirstEntryCallNotWhenTheLibraryLoads)
{
#ifdef _WIN32
    PluginCopy copy("zem-load-copy.dll");
#else
    PluginCopy copy("zem-load-copy.so");
#endif
    ASSERT_TRUE(copy.copied());
    float saved = 0.f;
    const bool hadValue = defaultsStoreRead("Avureference", saved);
    ASSERT_TRUE(defaultsStoreWrite("Avureference", 0.125f));
    {
        PluginHost host(copy.path());
        ASSERT_TRUE(host.loaded()) << host.error();
        // Changed after the library is loaded and before its entry is first called.
        ASSERT_TRUE(defaultsStoreWrite("Avureference", 0.875f));
        PluginInstance plugin(host);
        ASSERT_TRUE(plugin.valid());
        EXPECT_EQ(plugin.getParameter(2), 0.5f) << "a fresh library starts in the Session scope";
        EXPECT_EQ(plugin.getParameter(83), 0.875f);
    }
    if (hadValue)
        defaultsStoreWrite("Avureference", saved);
    else
        defaultsStoreRemove("Avureference");
}
