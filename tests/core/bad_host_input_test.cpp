// Whatever a host passes, the effect answers neutrally: null pointers, indices far outside the
// tables, values that are not numbers, unusable audio buffers.
#include <climits>
#include <cstring>
#include <limits>
#include <vector>

#include "loaded_plugin.h"

namespace {

using BadHostInputTest = LoadedPluginTest;

// Index 65 is left out: it stores the meter defaults in the user's store.
const VstInt32 kBadIndices[] = {-1, 64, 66, 1000, INT_MAX, INT_MIN};

}  // namespace

TEST_F(BadHostInputTest, NullPointerOpcodesAnswerZero)
{
    PluginInstance plugin(host());
    const VstInt32 pointerOpcodes[] = {effSetProgramName,
                                       effGetProgramName,
                                       effGetParamLabel,
                                       effGetParamDisplay,
                                       effGetParamName,
                                       effEditGetRect,
                                       effGetChunk,
                                       effSetChunk,
                                       effGetProgramNameIndexed,
                                       effGetInputProperties,
                                       effGetOutputProperties,
                                       effGetEffectName,
                                       effGetVendorString,
                                       effGetProductString,
                                       effCanDo,
                                       effGetParameterProperties,
                                       effGetSpeakerArrangement,
                                       effSetSpeakerArrangement};
    for (VstInt32 opcode : pointerOpcodes)
        for (VstInt32 index : {0, 1})
            EXPECT_EQ(plugin.dispatch(opcode, index, 0, nullptr), 0) << "opcode " << opcode;
    // The chunk size slot carries a size, not a pointer: still nothing to read.
    EXPECT_EQ(plugin.dispatch(effSetChunk, 0, 596, nullptr), 0);
}

TEST_F(BadHostInputTest, SpeakerArrangementQueriesWithOneNullPointer)
{
    PluginInstance plugin(host());
    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement *out = &dummy;
    EXPECT_EQ(plugin.dispatch(effGetSpeakerArrangement, 0, 0, &out), 0);
    EXPECT_EQ(out, nullptr);
    VstSpeakerArrangement stereo{};
    stereo.numChannels = 2;
    EXPECT_EQ(plugin.dispatch(effSetSpeakerArrangement, 0, 0, &stereo), 0);
    EXPECT_EQ(plugin.dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&stereo, nullptr), 0);
}

TEST_F(BadHostInputTest, NullArrangementLeavesTheChannelChoice)
{
    PluginInstance plugin(host());
    plugin.start(44100.f, 8);
    VstSpeakerArrangement mono{}, stereo{};
    mono.numChannels = 1;
    stereo.numChannels = 2;
    ASSERT_EQ(plugin.dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&mono, &stereo), 1);
    EXPECT_EQ(plugin.dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&stereo, nullptr), 0);
    EXPECT_EQ(plugin.dispatch(effSetSpeakerArrangement, 0, 0, &stereo), 0);

    // Still one input feeding both outputs.
    std::vector<float> left(8, 0.25f), right(8, -0.75f), out0(8), out1(8);
    float *inputs[2] = {left.data(), right.data()};
    float *outputs[2] = {out0.data(), out1.data()};
    plugin.processReplacing(inputs, outputs, 8);
    EXPECT_EQ(out0, left);
    EXPECT_EQ(out1, left);
}

TEST_F(BadHostInputTest, IndicesOutsideTheTablesAreSafe)
{
    PluginInstance plugin(host());
    for (VstInt32 index : kBadIndices) {
        EXPECT_EQ(plugin.text(effGetParamName, index), "") << index;
        EXPECT_EQ(plugin.text(effGetParamDisplay, index), "") << index;
        EXPECT_EQ(plugin.text(effGetParamLabel, index), "  ") << index;
        EXPECT_EQ(plugin.dispatch(effCanBeAutomated, index), 0) << index;
        VstParameterProperties properties{};
        EXPECT_EQ(plugin.dispatch(effGetParameterProperties, index, 0, &properties), 0) << index;
        VstPinProperties pin{};
        EXPECT_EQ(plugin.dispatch(effGetInputProperties, index, 0, &pin), 0) << index;
        EXPECT_EQ(plugin.dispatch(effGetOutputProperties, index, 0, &pin), 0) << index;
        char name[32] = {};
        EXPECT_EQ(plugin.dispatch(effGetProgramNameIndexed, index, 0, name), 0) << index;
        plugin.dispatch(effSetProgram, 0, index);
        EXPECT_EQ(plugin.dispatch(effGetProgram), 0);
        plugin.setParameter(index, 0.75f);
        plugin.setParameter(index, std::numeric_limits<float>::quiet_NaN());
        EXPECT_EQ(plugin.getParameter(index), 0.f) << index;
    }
    // Nothing spilled into the real parameters.
    EXPECT_EQ(plugin.getParameter(0), 0.f);
    EXPECT_EQ(plugin.getParameter(1), 0.5f);
    EXPECT_EQ(plugin.getParameter(63), 0.5f);
}

TEST_F(BadHostInputTest, NotANumberCountsAsZeroForEveryIndex)
{
    PluginInstance plugin(host());
    for (VstInt32 index = 0; index <= 100; ++index) {
        if (index == 2 || index == 3 || index == 65)
            continue;  // process-wide scope and meter type are checked below; 65 writes the user's defaults
        plugin.setParameter(index, std::numeric_limits<float>::quiet_NaN());
        float expected = index >= 17 && index < 64 ? 0.5f : 0.f;
        EXPECT_EQ(plugin.getParameter(index), expected) << index;
    }
    plugin.setParameter(3, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(plugin.text(effGetParamDisplay, 3), "VU3");
}

TEST_F(BadHostInputTest, UnusableAudioBuffersAreSkipped)
{
    PluginInstance plugin(host());
    plugin.start(44100.f, 64);
    std::vector<float> in(4, 1.f), out(4, 0.f);
    float *inputs[2] = {in.data(), nullptr};
    float *outputs[2] = {out.data(), nullptr};
    float *noBuffers[2] = {nullptr, nullptr};
    plugin.processReplacing(nullptr, outputs, 4);
    plugin.processReplacing(inputs, nullptr, 4);
    plugin.processReplacing(noBuffers, outputs, 4);
    plugin.processReplacing(inputs, noBuffers, 4);
    plugin.processReplacing(inputs, outputs, 0);
    plugin.processReplacing(inputs, outputs, -5);
    EXPECT_EQ(out, std::vector<float>(4, 0.f));
    // A missing second buffer on either side falls back to the first.
    plugin.processReplacing(inputs, outputs, 4);
    EXPECT_EQ(out, in);
}
