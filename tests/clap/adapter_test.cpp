// The CLAP adapter through the built "ZEM Ordwen.clap", loaded by path as a host loads it: the
// entry and the descriptor, the parameters against the VST 2.4 build's texts, sample-accurate host
// changes, the editor's edits as events, the state in pieces and from bad streams.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "params/plain_units.h"
#include "clap/clap_plugin.h"
#include "core/effect_chunk.h"
#include "core/loaded_plugin.h"
#include "core/templete.h"
#include "params/parameter_table.h"
#include "support/clap_test_host.h"

namespace {

std::string builtClapPath() { return PluginLibrary::programFolder() + ZEM_CLAP_FILE; }

ClapModule &clapModule()
{
    static ClapModule module(builtClapPath());
    return module;
}

// One instance of the built plug-in, initialised, with the test host and the extensions.
struct ClapInstance {
    ClapTestHost testHost;
    const clap_plugin_t *plugin = nullptr;
    const clap_plugin_params_t *params = nullptr;
    const clap_plugin_state_t *state = nullptr;

    explicit ClapInstance(const clap_plugin_factory_t *factory)
    {
        plugin = factory->create_plugin(factory, &testHost.host, "com.velmora.zem-ordwen");
        if (!plugin || !plugin->init(plugin))
            return;
        params = static_cast<const clap_plugin_params_t *>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
        state = static_cast<const clap_plugin_state_t *>(plugin->get_extension(plugin, CLAP_EXT_STATE));
    }
    ~ClapInstance()
    {
        if (plugin)
            plugin->destroy(plugin);
    }
    double value(clap_id id)
    {
        double v = -1;
        EXPECT_TRUE(params->get_value(plugin, id, &v));
        return v;
    }
    std::string text(clap_id id, double value)
    {
        char buffer[256] = {};
        EXPECT_TRUE(params->value_to_text(plugin, id, value, buffer, sizeof buffer));
        return buffer;
    }
    void set(clap_id id, double value)
    {
        ClapInputEvents in;
        in.add(id, value);
        params->flush(plugin, &in.list, nullptr);
    }
    std::vector<unsigned char> save(size_t piece)
    {
        ClapMemoryStreams stream;
        stream.piece = piece;
        EXPECT_TRUE(state->save(plugin, &stream.out));
        return stream.bytes;
    }
};

class ClapAdapterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(clapModule().factory) << builtClapPath();
        instance = std::make_unique<ClapInstance>(clapModule().factory);
        ASSERT_TRUE(instance->params && instance->state);
    }
    std::unique_ptr<ClapInstance> instance;
};

// The dynamic symbols the module defines, read from the file itself.
std::set<std::string> exportedNames(const ClapModule &module)
{
    std::set<std::string> names;
#if defined(_WIN32)
    const unsigned char *base = static_cast<const unsigned char *>(module.handle);
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto *exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + directory.VirtualAddress);
    const auto *nameOffsets = reinterpret_cast<const DWORD *>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.insert(reinterpret_cast<const char *>(base + nameOffsets[i]));
#else
    (void)module;
    const std::string command = "nm -D --defined-only '" + builtClapPath() + "'";
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, pipe)) {
            std::string s = line;
            s.erase(s.find_last_not_of("\r\n") + 1);
            names.insert(s.substr(s.rfind(' ') + 1));
        }
        pclose(pipe);
    }
#endif
    return names;
}

}  // namespace

TEST_F(ClapAdapterTest, EntryAndDescriptor)
{
    const ClapModule &module = clapModule();
    EXPECT_EQ(exportedNames(module), std::set<std::string>{"clap_entry"});
    EXPECT_GE(module.entry->clap_version.major, 1u);
    EXPECT_EQ(module.entry->get_factory("clap.preset-discovery-factory/2"), nullptr);
    const clap_plugin_factory_t *factory = module.factory;
    ASSERT_EQ(factory->get_plugin_count(factory), 1u);
    EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
    const clap_plugin_descriptor_t *d = factory->get_plugin_descriptor(factory, 0);
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->id, "com.velmora.zem-ordwen");
    EXPECT_STREQ(d->name, "ZEM Ordwen");
    // As the VST 2.4 build answers them.
    PluginInstance vst(loadedPlugin());
    ASSERT_TRUE(vst.valid());
    EXPECT_EQ(d->vendor, vst.text(effGetVendorString));
    EXPECT_EQ(vst.dispatch(effGetVendorVersion), 3020);
    EXPECT_STREQ(d->version, "3.0.2");
    std::vector<std::string> features;
    for (const char *const *f = d->features; *f; ++f)
        features.push_back(*f);
    EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "analyzer", "utility", "stereo", "mono"}));
    EXPECT_EQ(instance->plugin->desc, d);
    // Whole ids only.
    ClapTestHost other;
    EXPECT_EQ(factory->create_plugin(factory, &other.host, "com.velmora.zem-ordwenx1"), nullptr);
}

// The plain value a host should see for a normalised value: the law of each parameter as the
// VST 2.4 build reads it.
double plainOfNormalised(uint32_t index, float v)
{
    switch (index) {
    case kTrim:
        return trimDecibels(v);
    case kGSIcal:
    case kMeter:
    case kHold:
        return threeState(v);
    case kHPFreq:
        return sweepFrequency(v, kHPFreqBase);
    case kLPFreq:
        return sweepFrequency(v, kLPFreqBase);
    case kLagTime:
        return lagMilliseconds(v);
    default:
        return switchOn(v) ? 1.0 : 0.0;
    }
}

// Every parameter at values across its travel: the plain value the host sets is the one the VST
// 2.4 law gives for the normalised value, the CLAP text is the VST 2.4 display of that value, and
// the text reads back to a value with the same text.
TEST_F(ClapAdapterTest, ParametersAgreeWithTheVstBuild)
{
    ASSERT_EQ(instance->params->count(instance->plugin), 17u);
    PluginInstance vst(loadedPlugin());
    ASSERT_TRUE(vst.valid());
    for (uint32_t i = 0; i < 17; ++i) {
        clap_param_info_t info = {};
        ASSERT_TRUE(instance->params->get_info(instance->plugin, i, &info));
        EXPECT_EQ(info.id, i);
        EXPECT_EQ(std::string(info.name), vst.text(effGetParamName, (VstInt32)i));
        EXPECT_TRUE(info.flags & CLAP_PARAM_IS_AUTOMATABLE);
        EXPECT_DOUBLE_EQ(instance->value(i), info.default_value) << info.name;
        for (float v : {0.f, 0.1f, 0.25f, 0.3f, 0.5f, 0.75f, 0.9f, 1.f}) {
            vst.setParameter((VstInt32)i, v);
            const std::string vstText = vst.text(effGetParamDisplay, (VstInt32)i);
            const double plain = plainOfNormalised(i, v);
            EXPECT_GE(plain, info.min_value);
            EXPECT_LE(plain, info.max_value);
            instance->set(i, plain);
            EXPECT_NEAR(instance->value(i), plain, std::fabs(plain) * 1e-6) << info.name << " at " << v;
            const std::string text = instance->text(i, plain);
            EXPECT_EQ(text, vstText) << info.name << " at " << v;
            double back = -1;
            ASSERT_TRUE(instance->params->text_to_value(instance->plugin, i, text.c_str(), &back)) << text;
            EXPECT_EQ(instance->text(i, back), text) << info.name << " at " << v;
        }
    }
    resetSharedPluginState(loadedPlugin());
    // What the editor's typed entries accept.
    double value = 0;
    ASSERT_TRUE(instance->params->text_to_value(instance->plugin, kTrim, " +6 dB", &value));
    EXPECT_NEAR(value, 6.0, 1e-5);
    ASSERT_TRUE(instance->params->text_to_value(instance->plugin, kLPFreq, "3", &value));  // kHz
    EXPECT_NEAR(value, 3000.0, 1e-3);
    ASSERT_TRUE(instance->params->text_to_value(instance->plugin, kHPFreq, "1k5", &value));
    EXPECT_NEAR(value, 1500.0, 1e-3);
    ASSERT_TRUE(instance->params->text_to_value(instance->plugin, kMeter, "ppm3", &value));
    EXPECT_EQ(value, 2.0);
    EXPECT_FALSE(instance->params->text_to_value(instance->plugin, kProcess, "maybe", &value));
    // A lag beyond its range (or beyond any whole number) reads as the range's end.
    const PlainLaw &lag = *plainLaw(kLagTime);
    ASSERT_TRUE(instance->params->text_to_value(instance->plugin, kLagTime, "444444444444", &value));
    EXPECT_EQ(value, lag.maximum);
    ASSERT_TRUE(instance->params->text_to_value(instance->plugin, kLagTime, "-1e300", &value));
    EXPECT_EQ(value, lag.minimum);
    EXPECT_FALSE(instance->params->text_to_value(instance->plugin, kLagTime, "1e999", &value));
    // The three-state ones are enumerations, the switches stepped; no spare index is offered.
    clap_param_info_t info = {};
    ASSERT_TRUE(instance->params->get_info(instance->plugin, kMeter, &info));
    EXPECT_EQ(info.flags & (CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_ENUM), CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_ENUM);
    ASSERT_TRUE(instance->params->get_info(instance->plugin, kLRMS, &info));
    EXPECT_EQ(info.flags & (CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_ENUM), (uint32_t)CLAP_PARAM_IS_STEPPED);
    EXPECT_FALSE(instance->params->get_info(instance->plugin, 17, &info));
    EXPECT_FALSE(instance->params->get_value(instance->plugin, 17, &value));
}

namespace {

struct ActiveInstance {
    ClapInstance &instance;
    ActiveInstance(ClapInstance &instance, uint32_t maxFrames) : instance(instance)
    {
        EXPECT_TRUE(instance.plugin->activate(instance.plugin, 48000.0, 1, maxFrames));
        EXPECT_TRUE(instance.plugin->start_processing(instance.plugin));
    }
    ~ActiveInstance()
    {
        instance.plugin->stop_processing(instance.plugin);
        instance.plugin->deactivate(instance.plugin);
    }
    // One stereo block of a constant input through the plug-in; the left output.
    std::vector<float> process(uint32_t frames, const ClapInputEvents &in, ClapOutputEvents &out)
    {
        std::vector<float> inLeft(frames, 0.5f), inRight(frames, 0.5f), outLeft(frames), outRight(frames);
        float *inputs[2] = {inLeft.data(), inRight.data()};
        float *outputs[2] = {outLeft.data(), outRight.data()};
        clap_audio_buffer_t input = {inputs, nullptr, 2, 0, 0};
        clap_audio_buffer_t output = {outputs, nullptr, 2, 0, 0};
        clap_process_t block = {-1, frames, nullptr, &input, &output, 1, 1, &in.list, &out.list};
        EXPECT_EQ(instance.plugin->process(instance.plugin, &block), CLAP_PROCESS_CONTINUE);
        return outLeft;
    }
};

}  // namespace

// A host change takes effect at its sample: the block runs in pieces between the events.
TEST_F(ClapAdapterTest, HostChangesTakeEffectAtTheirSample)
{
    ActiveInstance active(*instance, 256);
    ClapInputEvents in;
    in.add(kProcess, 1.0, 0);
    in.add(kTrim, -20.0, 40, 0xB33F);  // another event space: changes nothing
    in.add(kTrim, -20.0, 40);
    ClapOutputEvents out;
    const std::vector<float> left = active.process(64, in, out);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(left[i], 0.5f) << i;  // 0 dB, settled
    EXPECT_LT(left[40], 0.5f);          // the glide toward -20 dB starts at sample 40
    EXPECT_LT(left[63], left[40]);
    EXPECT_TRUE(out.events.empty());  // no echo of the host's own changes
    EXPECT_NEAR(instance->value(kTrim), -20.0, 1e-6);
}

namespace {

Templete *effectWithoutEditor(audioMasterCallback audioMaster) { return new Templete(audioMaster, nullptr); }

}  // namespace

// What the editor does (begin, automated value, end on the main thread) reaches the host as
// gesture begin / value / gesture end: through flush while the host does not process, in the
// next process call while it does. The adapter is built in the test program here: the editor's
// calls are made on its effect.
TEST(ClapAdapterEdits, EditorEditsLeaveAsGestureEvents)
{
    ClapTestHost host;
    ClapPlugin *adapter = new ClapPlugin(&host.host, nullptr, effectWithoutEditor);
    const clap_plugin_t *plugin = adapter->clapPlugin();
    ASSERT_TRUE(plugin->init(plugin));
    const auto *params = static_cast<const clap_plugin_params_t *>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
    Templete *effect = adapter->templete();
    ASSERT_TRUE(effect && params);
    using Event = ClapOutputEvents::Event;
    auto edit = [&](float value) {
        effect->beginEdit(kTrim);
        effect->setParameterAutomated(kTrim, value);
        effect->endEdit(kTrim);
    };

    edit(0.75f);
    EXPECT_EQ(host.flushRequests, 3);
    ClapOutputEvents flushed;
    params->flush(plugin, nullptr, nullptr);  // a host without an output list keeps them queued
    params->flush(plugin, nullptr, &flushed.list);
    ASSERT_EQ(flushed.events.size(), 3u);
    EXPECT_EQ(flushed.events[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
    EXPECT_EQ(flushed.events[1].type, CLAP_EVENT_PARAM_VALUE);
    EXPECT_NEAR(flushed.events[1].value, 10.0, 1e-5);  // dB, the parameter's unit
    EXPECT_EQ(flushed.events[2].type, CLAP_EVENT_PARAM_GESTURE_END);
    for (const Event &e : flushed.events)
        EXPECT_EQ(e.id, (clap_id)kTrim);

    ASSERT_TRUE(plugin->activate(plugin, 44100.0, 1, 64));
    ASSERT_TRUE(plugin->start_processing(plugin));
    edit(0.25f);
    std::vector<float> inLeft(64, 0.f), inRight(64, 0.f), outLeft(64), outRight(64);
    float *inputs[2] = {inLeft.data(), inRight.data()};
    float *outputs[2] = {outLeft.data(), outRight.data()};
    clap_audio_buffer_t input = {inputs, nullptr, 2, 0, 0};
    clap_audio_buffer_t output = {outputs, nullptr, 2, 0, 0};
    ClapInputEvents none;
    ClapOutputEvents processed;
    clap_process_t block = {0, 64, nullptr, &input, &output, 1, 1, &none.list, &processed.list};
    EXPECT_EQ(plugin->process(plugin, &block), CLAP_PROCESS_CONTINUE);
    ASSERT_EQ(processed.events.size(), 3u);
    EXPECT_EQ(processed.events[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
    EXPECT_NEAR(processed.events[1].value, -10.0, 1e-5);
    EXPECT_EQ(processed.events[2].type, CLAP_EVENT_PARAM_GESTURE_END);
    processed.events.clear();
    EXPECT_EQ(plugin->process(plugin, &block), CLAP_PROCESS_CONTINUE);
    EXPECT_TRUE(processed.events.empty());  // each edit goes out once
    plugin->stop_processing(plugin);
    plugin->deactivate(plugin);
    plugin->destroy(plugin);
}

// The state is the 596-byte chunk image, whatever pieces the streams move it in; a short, long or
// damaged stream loads what arrived, as setChunk does, and reports failure.
TEST_F(ClapAdapterTest, StateInPiecesAndFromBadStreams)
{
    instance->set(kTrim, 6.0);
    instance->set(kMeter, 2.0);
    instance->set(kLPFreq, 3000.0);
    instance->set(kLagTime, 250.0);
    const std::vector<unsigned char> image = instance->save(1);
    ASSERT_EQ(image.size(), EffectChunk::kSize);
    EXPECT_EQ(instance->save(7), image);
    EXPECT_EQ(EffectChunk::readFloat(image.data(), EffectChunk::kMarkerOffset), 300.f);

    auto loadInto = [&](ClapInstance &target, std::vector<unsigned char> bytes, size_t piece,
                        size_t failAt = (size_t)-1) {
        ClapMemoryStreams stream;
        stream.bytes = std::move(bytes);
        stream.piece = piece;
        stream.failAt = failAt;
        return target.state->load(target.plugin, &stream.in);
    };
    for (size_t piece : {1u, 7u}) {
        ClapInstance restored(clapModule().factory);
        ASSERT_TRUE(loadInto(restored, image, piece));
        EXPECT_EQ(restored.testHost.rescanFlags & CLAP_PARAM_RESCAN_VALUES, (uint32_t)CLAP_PARAM_RESCAN_VALUES);
        EXPECT_EQ(restored.save(7), image) << piece;
        EXPECT_NEAR(restored.value(kTrim), 6.0, 1e-5);
        EXPECT_EQ(restored.value(kLagTime), 250.0);
    }
    {
        ClapInstance empty(clapModule().factory);
        const std::vector<unsigned char> before = empty.save(596);
        EXPECT_FALSE(loadInto(empty, {}, 7));
        EXPECT_EQ(empty.save(596), before);  // nothing arrived, nothing changed
    }
    {
        // 100 bytes: the label and the parameters up to Strips; LPFreq (offset 100) reads 0.
        ClapInstance shortLoad(clapModule().factory);
        EXPECT_FALSE(loadInto(shortLoad, std::vector<unsigned char>(image.begin(), image.begin() + 100), 7));
        EXPECT_NEAR(shortLoad.value(kTrim), 6.0, 1e-5);
        EXPECT_NEAR(shortLoad.value(kLPFreq), 300.0, 1e-6);
    }
    {
        std::vector<unsigned char> longer = image;
        longer.push_back(0);
        ClapInstance longLoad(clapModule().factory);
        EXPECT_FALSE(loadInto(longLoad, longer, 7));
        EXPECT_EQ(longLoad.save(596), image);  // the first 596 bytes
    }
    {
        ClapInstance broken(clapModule().factory);
        EXPECT_FALSE(loadInto(broken, image, 7, 301));  // the stream fails after 301 bytes
        EXPECT_NEAR(broken.value(kTrim), 6.0, 1e-5);
        std::vector<unsigned char> unmarked = image;
        EffectChunk::writeFloat(unmarked.data(), EffectChunk::kMarkerOffset, 1.f);
        EXPECT_FALSE(loadInto(broken, unmarked, 596));
        EXPECT_EQ(broken.value(kLagTime), 250.0);  // applied all the same, as setChunk does
    }
}

// One main port each way; the configurations are the effect's speaker arrangements: mono to
// stereo feeds the one input to both outputs, and the ports report the selected layout.
TEST_F(ClapAdapterTest, AudioPortsAndTheirConfigurations)
{
    const clap_plugin_t *plugin = instance->plugin;
    const auto *ports = static_cast<const clap_plugin_audio_ports_t *>(
        plugin->get_extension(plugin, CLAP_EXT_AUDIO_PORTS));
    const auto *configs = static_cast<const clap_plugin_audio_ports_config_t *>(
        plugin->get_extension(plugin, CLAP_EXT_AUDIO_PORTS_CONFIG));
    const auto *latency = static_cast<const clap_plugin_latency_t *>(plugin->get_extension(plugin, CLAP_EXT_LATENCY));
    const auto *tail = static_cast<const clap_plugin_tail_t *>(plugin->get_extension(plugin, CLAP_EXT_TAIL));
    ASSERT_TRUE(ports && configs && latency && tail);
    EXPECT_EQ(latency->get(plugin), 0u);
    EXPECT_EQ(tail->get(plugin), 0u);
    EXPECT_EQ(ports->count(plugin, true), 1u);
    EXPECT_EQ(ports->count(plugin, false), 1u);
    clap_audio_port_info_t port = {};
    ASSERT_TRUE(ports->get(plugin, 0, true, &port));
    EXPECT_EQ(port.channel_count, 2u);
    EXPECT_STREQ(port.port_type, "stereo");
    EXPECT_EQ(port.flags, (uint32_t)CLAP_AUDIO_PORT_IS_MAIN);
    EXPECT_FALSE(ports->get(plugin, 1, true, &port));

    ASSERT_EQ(configs->count(plugin), 3u);
    clap_audio_ports_config_t config = {};
    ASSERT_TRUE(configs->get(plugin, 2, &config));
    EXPECT_EQ(config.main_input_channel_count, 1u);
    EXPECT_EQ(config.main_output_channel_count, 2u);
    ASSERT_TRUE(configs->select(plugin, config.id));
    ASSERT_TRUE(ports->get(plugin, 0, true, &port));
    EXPECT_EQ(port.channel_count, 1u);
    EXPECT_STREQ(port.port_type, "mono");
    ASSERT_TRUE(ports->get(plugin, 0, false, &port));
    EXPECT_EQ(port.channel_count, 2u);

    ASSERT_TRUE(plugin->activate(plugin, 48000.0, 1, 32));
    EXPECT_FALSE(configs->select(plugin, 0));  // only while inactive
    ASSERT_TRUE(plugin->start_processing(plugin));
    std::vector<float> in(32), outLeft(32, -1.f), outRight(32, -1.f);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = 0.01f * (float)i;
    float *inputs[1] = {in.data()};
    float *outputs[2] = {outLeft.data(), outRight.data()};
    clap_audio_buffer_t input = {inputs, nullptr, 1, 0, 0};
    clap_audio_buffer_t output = {outputs, nullptr, 2, 0, 0};
    ClapInputEvents none;
    ClapOutputEvents out;
    clap_process_t block = {-1, 32, nullptr, &input, &output, 1, 1, &none.list, &out.list};
    EXPECT_EQ(plugin->process(plugin, &block), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(outLeft, in);
    EXPECT_EQ(outRight, in);
    plugin->stop_processing(plugin);
    plugin->deactivate(plugin);
}
