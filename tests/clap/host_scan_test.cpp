// What a host learns when it scans ZEM Ordwen.clap, and what clap-validator's library and
// descriptor checks assert: the scan time, the factory's answers to foreign ids, the descriptor
// (the same as the VST 2.4 build's name, vendor and version), its features and its ports.
#include <algorithm>
#include <cstring>
#include <set>

#include "core/loaded_plugin.h"
#include "host_fixture.h"

namespace {

using ClapHostScan = ClapHostTest;

TEST_F(ClapHostScan, ScanStaysWithinTheValidatorsTime)
{
    // clap-validator warns above 100 ms for open, init, the descriptors and deinit; a sanitizer
    // build on a busy machine gets ten times that.
    EXPECT_LT(library.scanMicroseconds(), 1e6);
    EXPECT_EQ(library.entry()->clap_version.major, 1u);
    ASSERT_EQ(library.descriptors().size(), 1u);
}

TEST_F(ClapHostScan, ForeignFactoryAndPluginIdsGetNothing)
{
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(library.entry()->get_factory(("foo-factory-" + std::to_string(i)).c_str()), nullptr);
    EXPECT_EQ(library.entry()->get_factory("clap.preset-discovery-factory/2"), nullptr);
    const clap_plugin_factory_t *factory = library.factory();
    const std::string id = library.descriptors()[0]->id;
    EXPECT_EQ(factory->create_plugin(factory, host.record(), (id + "x1").c_str()), nullptr);
    EXPECT_EQ(factory->create_plugin(factory, host.record(), id.substr(0, id.size() - 1).c_str()), nullptr);
    EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
}

TEST_F(ClapHostScan, DescriptorAnswersAsTheVst24Build)
{
    const clap_plugin_descriptor_t *d = library.descriptors()[0];
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->id, "com.velmora.zem-ordwen");
    ASSERT_TRUE(loadedPlugin().loaded());
    PluginInstance vst(loadedPlugin());
    EXPECT_EQ(d->name, vst.text(effGetEffectName));
    EXPECT_EQ(d->vendor, vst.text(effGetVendorString));
    EXPECT_STREQ(d->version, "3.0.2");
    ASSERT_NE(d->features, nullptr);
    std::vector<std::string> features;
    for (const char *const *f = d->features; *f; ++f)
        features.push_back(*f);
    EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "analyzer", "utility", "stereo", "mono"}));
    EXPECT_EQ(std::set<std::string>(features.begin(), features.end()).size(), features.size());

    // An instance carries the factory's descriptor, readable before init.
    const clap_plugin_factory_t *factory = library.factory();
    const clap_plugin_t *plugin = factory->create_plugin(factory, host.record(), d->id);
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->desc, d);
    for (auto *fn : {(const void *)plugin->init, (const void *)plugin->destroy, (const void *)plugin->activate,
                     (const void *)plugin->deactivate, (const void *)plugin->start_processing,
                     (const void *)plugin->stop_processing, (const void *)plugin->reset, (const void *)plugin->process,
                     (const void *)plugin->get_extension, (const void *)plugin->on_main_thread})
        EXPECT_NE(fn, nullptr);
    plugin->destroy(plugin);  // never initialised: destroy alone is allowed
}

TEST_F(ClapHostScan, OneStereoMainPortEachWay)
{
    auto instance = create();
    const clap_plugin_audio_ports_t *ports = instance->audioPorts();
    ASSERT_NE(ports, nullptr);
    for (bool input : {true, false}) {
        ASSERT_EQ(ports->count(instance->plugin(), input), 1u);
        clap_audio_port_info_t info{};
        ASSERT_TRUE(ports->get(instance->plugin(), 0, input, &info));
        EXPECT_NE(info.id, CLAP_INVALID_ID);
        EXPECT_EQ(info.channel_count, 2u);
        EXPECT_STREQ(info.port_type, CLAP_PORT_STEREO);
        EXPECT_TRUE(info.flags & CLAP_AUDIO_PORT_IS_MAIN);
        EXPECT_FALSE(info.flags & CLAP_AUDIO_PORT_PREFERS_64BITS);
        EXPECT_FALSE(ports->get(instance->plugin(), 1, input, &info));
    }
}

}  // namespace
