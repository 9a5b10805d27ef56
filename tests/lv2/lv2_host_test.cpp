// The LV2 bundle through our lilv host (support/lv2_test_host.h): the ports as listed, the same
// audio and needle read-outs as the VST 2.4 library for the same signal and parameter changes,
// the mono pins, control inputs applied only when the host moves them, and the state saved and
// restored in either order with the host's port values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <lv2/atom/atom.h>

#include "core/effect_chunk.h"
#include "core/loaded_plugin.h"
#include "core/readout_query.h"
#include "lv2/lv2_plugin.h"
#include "support/format_agreement.h"
#include "support/lv2_test_host.h"
#include "test_signals.h"

namespace {

std::string portSymbol(const LilvPlugin *plugin, uint32_t index)
{
    return lilv_node_as_string(lilv_port_get_symbol(plugin, lilv_plugin_get_port_by_index(plugin, index)));
}

AEffect *effectOf(Lv2TestInstance &instance) { return static_cast<Lv2Plugin *>(instance.handle())->effectRecord(); }

TEST(Lv2Host, FindsThePluginWithItsPortsInTheirUnits)
{
    Lv2TestHost host;
    const LilvPlugin *plugin = host.plugin();
    ASSERT_NE(plugin, nullptr) << "lilv does not find " ZEM_LV2_URI " in " ZEM_LV2_BUNDLE_DIR;
    ASSERT_EQ(lilv_plugin_get_num_ports(plugin), Lv2Port::kCount);
    EXPECT_EQ(portSymbol(plugin, Lv2Port::kInputLeft), "in_left");
    EXPECT_EQ(portSymbol(plugin, Lv2Port::kOutputRight), "out_right");
    EXPECT_EQ(portSymbol(plugin, Lv2Port::kFirstParameter + 1), "trim");
    EXPECT_EQ(portSymbol(plugin, Lv2Port::kFirstParameter + 4), "lr_ms");
    EXPECT_EQ(portSymbol(plugin, Lv2Port::kFirstParameter + 16), "lagtime");
    EXPECT_EQ(portSymbol(plugin, Lv2Port::kNeedle1), "needle_1");
    EXPECT_EQ(portSymbol(plugin, Lv2Port::kOver2), "over_2");

    // The defaults are the values a fresh VST 2.4 instance starts with, in their units.
    ASSERT_TRUE(loadedPlugin().loaded());
    resetSharedPluginState(loadedPlugin());
    PluginInstance vst(loadedPlugin());
    ASSERT_TRUE(vst.valid());

    LilvWorld *world = host.lilvWorld();
    LilvNode *toggled = lilv_new_uri(world, LV2_CORE__toggled);
    LilvNode *enumeration = lilv_new_uri(world, LV2_CORE__enumeration);
    LilvNode *optional = lilv_new_uri(world, LV2_CORE__connectionOptional);
    for (uint32_t id = 0; id < kPlainParameterCount; ++id) {
        const LilvPort *port = lilv_plugin_get_port_by_index(plugin, Lv2Port::kFirstParameter + id);
        LilvNode *def, *min, *max;
        lilv_port_get_range(plugin, port, &def, &min, &max);
        ASSERT_TRUE(def && min && max) << id;
        EXPECT_EQ(lilv_node_as_float(def), (float)plainValue(id, vst.getParameter((VstInt32)id))) << id;
        EXPECT_EQ(lilv_node_as_float(min), (float)plainLaw(id)->minimum) << id;
        EXPECT_EQ(lilv_node_as_float(max), (float)plainLaw(id)->maximum) << id;
        lilv_node_free(def);
        lilv_node_free(min);
        lilv_node_free(max);
        EXPECT_EQ(lilv_port_has_property(plugin, port, toggled), plainLaw(id)->unit == PlainUnit::kSwitch) << id;
        EXPECT_EQ(lilv_port_has_property(plugin, port, enumeration), plainIsEnumeration(id)) << id;
        LilvScalePoints *points = lilv_port_get_scale_points(plugin, port);
        EXPECT_EQ(points ? lilv_scale_points_size(points) : 0u, plainIsEnumeration(id) ? 3u : 0u) << id;
        LILV_FOREACH(scale_points, i, points)
        {
            const LilvScalePoint *point = lilv_scale_points_get(points, i);
            const float state = lilv_node_as_float(lilv_scale_point_get_value(point));
            char text[256] = {};
            vst.dispatch(effGetParamDisplay, (VstInt32)id, 0, text);  // the text of the present value
            const std::string label = lilv_node_as_string(lilv_scale_point_get_label(point));
            if (state == (float)plainValue(id, vst.getParameter((VstInt32)id))) {
                EXPECT_EQ(label, text) << id;
            }
            EXPECT_FALSE(label.empty()) << id;
        }
        lilv_scale_points_free(points);
    }
    EXPECT_TRUE(lilv_port_has_property(plugin, lilv_plugin_get_port_by_index(plugin, Lv2Port::kInputRight), optional));
    EXPECT_FALSE(lilv_port_has_property(plugin, lilv_plugin_get_port_by_index(plugin, Lv2Port::kInputLeft), optional));
    lilv_node_free(toggled);
    lilv_node_free(enumeration);
    lilv_node_free(optional);

    auto instance = host.instantiate(48000);
    ASSERT_NE(instance, nullptr);
    ASSERT_NE(effectOf(*instance), nullptr);
    resetSharedPluginState(loadedPlugin());
}

using Change = BlockChange;
constexpr const BlockChange (&kChanges)[5] = kAgreementChanges;

TEST(Lv2Host, SameAudioAndNeedlesAsVst24ForAProgrammeSignal)
{
    const uint32_t block = 512;
    WavAudio signal = agreementSignal();
    ASSERT_EQ(signal.channels.size(), 2u);
    const int blocks = (int)(signal.frames() / block);

    ASSERT_TRUE(loadedPlugin().loaded());
    resetSharedPluginState(loadedPlugin());
    PluginInstance vst(loadedPlugin());
    ASSERT_TRUE(vst.valid());
    vst.start(44100.f, (VstInt32)block);

    Lv2TestHost host;
    auto lv2 = host.instantiate(44100);
    ASSERT_NE(lv2, nullptr);

    std::vector<float> vstOut[2], lv2Out[2];
    for (auto *out : {vstOut, lv2Out})
        for (int c = 0; c < 2; ++c)
            out[c].resize(block);
    bool moved = false;
    for (int b = 0; b < blocks; ++b) {
        for (const Change &change : kChanges)
            if (change.block == b) {
                vst.setParameter((VstInt32)change.id, change.normalised);
                lv2->parameter(change.id) = (float)change.plain;
            }
        float *in[2] = {&signal.channels[0][(size_t)b * block], &signal.channels[1][(size_t)b * block]};
        float *vo[2] = {vstOut[0].data(), vstOut[1].data()};
        vst.processReplacing(in, vo, (VstInt32)block);
        lv2->run(in[0], in[1], lv2Out[0].data(), lv2Out[1].data(), block);
        for (int c = 0; c < 2; ++c)
            ASSERT_EQ(0, std::memcmp(vstOut[c].data(), lv2Out[c].data(), block * sizeof(float)))
                << "block " << b << " channel " << c;
        ReadoutQuery viaVst;
        viaVst.position = 1.0;
        ASSERT_EQ(vst.dispatch(effVendorSpecific, kReadoutQuery, sizeof viaVst, &viaVst), 1);
        ASSERT_EQ((float)viaVst.values[kMeterLevel1], lv2->output(Lv2Port::kNeedle1)) << "block " << b;
        ASSERT_EQ((float)viaVst.values[kMeterLevel2], lv2->output(Lv2Port::kNeedle2)) << "block " << b;
        moved = moved || lv2->output(Lv2Port::kNeedle1) > 0.f;
    }
    EXPECT_TRUE(moved) << "the needle outputs never followed the bursts";
    for (const Change &change : kChanges)
        EXPECT_EQ(effectOf(*lv2)->getParameter(effectOf(*lv2), (VstInt32)change.id), change.normalised);
    vst.stop();
    resetSharedPluginState(loadedPlugin());
}

// A mono host connects one pin each way: the second ones are never read nor written, and the
// audio is the VST 2.4 mono layout's.
TEST(Lv2Host, OneInputAndOneOutputConnected)
{
    const uint32_t block = 256;
    std::vector<float> in(block), out(block), vstOut(block);
    for (uint32_t i = 0; i < block; ++i)
        in[i] = 0.5f * std::sin(0.05f * (float)i);
    Lv2TestHost host;
    auto lv2 = host.instantiate(44100);
    ASSERT_NE(lv2, nullptr);
    lv2->parameter(0) = 1.f;  // Process, with Trim, so that the output is the effect's and not the input
    lv2->parameter(1) = 6.f;
    for (int b = 0; b < 8; ++b)
        lv2->run(in.data(), nullptr, out.data(), nullptr, block);

    ASSERT_TRUE(loadedPlugin().loaded());
    resetSharedPluginState(loadedPlugin());
    PluginInstance vst(loadedPlugin());
    VstSpeakerArrangement input{}, output{};
    input.numChannels = output.numChannels = 1;
    ASSERT_EQ(vst.dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&input, &output), 1);
    vst.start(44100.f, (VstInt32)block);
    vst.setParameter(0, 1.f);
    vst.setParameter(1, 0.65f);
    float *vi[2] = {in.data(), in.data()};
    float *vo[2] = {vstOut.data(), vstOut.data()};
    for (int b = 0; b < 8; ++b)
        vst.processReplacing(vi, vo, (VstInt32)block);
    EXPECT_EQ(0, std::memcmp(out.data(), vstOut.data(), block * sizeof(float)));
    EXPECT_NE(out[100], in[100]);
    vst.stop();
    resetSharedPluginState(loadedPlugin());
}

// A full-scale square: the over outputs light up, and the panel's own read-out of the over is
// still there for it (the outputs never take an over from the editor).
TEST(Lv2Host, OverOutputsFollowTheMeterWithoutTakingItsOvers)
{
    const uint32_t block = 512;
    std::vector<float> in(block, 1.f), out(block);
    for (uint32_t i = 0; i < block; i += 2)
        in[i] = -1.f;
    Lv2TestHost host;
    auto lv2 = host.instantiate(44100);
    ASSERT_NE(lv2, nullptr);
    std::vector<float> silence(block, 0.f);
    lv2->run(silence.data(), silence.data(), out.data(), out.data(), block);
    EXPECT_EQ(lv2->output(Lv2Port::kOver1), -1.f);  // never over
    for (int b = 0; b < 4; ++b)
        lv2->run(in.data(), in.data(), out.data(), out.data(), block);
    EXPECT_EQ(lv2->output(Lv2Port::kOver1), 1.f);
    EXPECT_EQ(lv2->output(Lv2Port::kOver2), 1.f);
    AEffect *effect = effectOf(*lv2);
    ReadoutQuery query;
    query.withOverStates = 1;
    ASSERT_EQ(effect->dispatcher(effect, effVendorSpecific, kReadoutQuery, sizeof query, &query, 0.f), 1);
    EXPECT_EQ(query.overStates[0], 1);
}

// The editor's own change (through the effect, as the editor makes it) stands while the host
// leaves the port where it was; a port the host moves reaches the effect.
TEST(Lv2Host, ControlInputsReachTheEffectOnlyWhenTheHostMovesThem)
{
    std::vector<float> buffer(64);
    Lv2TestHost host;
    auto lv2 = host.instantiate(44100);
    ASSERT_NE(lv2, nullptr);
    AEffect *effect = effectOf(*lv2);
    lv2->run(buffer.data(), buffer.data(), buffer.data(), buffer.data(), 64);
    effect->setParameter(effect, 1, 0.75f);  // the editor: Trim +10 dB
    lv2->run(buffer.data(), buffer.data(), buffer.data(), buffer.data(), 64);
    EXPECT_EQ(effect->getParameter(effect, 1), 0.75f);
    lv2->parameter(1) = -10.f;
    lv2->run(buffer.data(), buffer.data(), buffer.data(), buffer.data(), 64);
    EXPECT_EQ(effect->getParameter(effect, 1), 0.25f);
}

// A state with a port value and a meter setting the ports do not carry; restored into a new
// instance with the ports before the properties, after them, or not at all: the state's values
// hold each time, and ports the host set before the restore do not undo it at the next block.
TEST(Lv2Host, StateRestoresInEitherOrderWithThePorts)
{
    const uint32_t kVuReference = 83;  // the VU meter's first setting: only in the chunk
    std::vector<float> buffer(64);
    Lv2TestHost host;
    auto source = host.instantiate(44100);
    ASSERT_NE(source, nullptr);
    AEffect *sourceEffect = effectOf(*source);
    source->parameter(1) = 6.f;  // Trim +6 dB
    source->parameter(4) = 1.f;  // LR/MS
    source->run(buffer.data(), buffer.data(), buffer.data(), buffer.data(), 64);
    sourceEffect->setParameter(sourceEffect, (VstInt32)kVuReference, 0.8f);
    const float reference = sourceEffect->getParameter(sourceEffect, (VstInt32)kVuReference);
    LilvState *state = source->saveState();
    ASSERT_NE(state, nullptr);
    sourceEffect->setParameter(sourceEffect, (VstInt32)kVuReference, 0.2f);  // the settings are shared
    source.reset();

    for (const char *order : {"ports first", "state first", "no ports", "stale ports first"}) {
        auto target = host.instantiate(44100);
        ASSERT_NE(target, nullptr);
        AEffect *effect = effectOf(*target);
        target->run(buffer.data(), buffer.data(), buffer.data(), buffer.data(), 64);
        const std::string o = order;
        if (o == "ports first")
            target->restorePorts(state);
        if (o == "stale ports first")
            target->parameter(1) = -3.f;  // a value the host held before it loaded the state
        target->restoreProperties(state);
        if (o == "state first")
            target->restorePorts(state);
        target->run(buffer.data(), buffer.data(), buffer.data(), buffer.data(), 64);
        EXPECT_EQ(effect->getParameter(effect, 1), 0.65f) << order;
        EXPECT_EQ(effect->getParameter(effect, 4), 1.f) << order;
        EXPECT_EQ(effect->getParameter(effect, (VstInt32)kVuReference), reference) << order;
    }
    lilv_state_free(state);
}

// A missing or damaged property leaves the effect as it was (the defaults, on a new instance);
// an image with its marker is applied.
TEST(Lv2Host, DamagedOrMissingStateLeavesTheDefaults)
{
    Lv2TestHost host;
    auto lv2 = host.instantiate(44100);
    ASSERT_NE(lv2, nullptr);
    const auto *iface = static_cast<const LV2_State_Interface *>(lv2->extensionData(LV2_STATE__interface));
    ASSERT_NE(iface, nullptr);
    AEffect *effect = effectOf(*lv2);
    const float trim = effect->getParameter(effect, 1);
    struct Property {
        std::vector<unsigned char> bytes;
        LV2_URID type;
        bool present;
    };
    auto retrieve = [](LV2_State_Handle h, uint32_t, size_t *size, uint32_t *type, uint32_t *flags) -> const void * {
        const Property &p = *static_cast<const Property *>(h);
        *size = p.bytes.size();
        *type = p.type;
        *flags = LV2_STATE_IS_POD;
        return p.present ? p.bytes.data() : nullptr;
    };
    Lv2UridMap &urids = host.urids();
    const LV2_URID chunkType = urids.id(LV2_ATOM__Chunk);
    std::vector<unsigned char> unmarked(596, 0);
    std::vector<unsigned char> image = unmarked;
    EffectChunk::writeFloat(image.data(), EffectChunk::kMarkerOffset, EffectChunk::kMarker);
    EffectChunk::writeFloat(image.data(), EffectChunk::kParametersOffset + 4 * 1, 0.75f);  // Trim +10 dB
    for (const Property &damaged : {Property{{}, 0, false}, Property{unmarked, chunkType, true},
                                    Property{std::vector<unsigned char>(3, 7), chunkType, true},
                                    Property{image, urids.id(LV2_ATOM__String), true}}) {
        EXPECT_NE(iface->restore(lv2->handle(), retrieve, const_cast<Property *>(&damaged), 0, nullptr),
                  LV2_STATE_SUCCESS);
        EXPECT_EQ(effect->getParameter(effect, 1), trim);
    }
    Property whole{image, chunkType, true};
    EXPECT_EQ(iface->restore(lv2->handle(), retrieve, &whole, 0, nullptr), LV2_STATE_SUCCESS);
    EXPECT_EQ(effect->getParameter(effect, 1), 0.75f);
}

}  // namespace
