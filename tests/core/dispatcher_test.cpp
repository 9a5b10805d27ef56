// The effect as a host meets it: the entry point, the published record and the dispatcher's
// answers, driven through the loaded plug-in library.
#include <cstring>
#include <string>
#include <vector>

#include "core/readout_query.h"
#include "core/templete.h"
#include "loaded_plugin.h"

namespace {

using DispatcherTest = LoadedPluginTest;

VstPinProperties pinProperties(PluginInstance &plugin, VstInt32 opcode, VstInt32 pin, VstIntPtr *answer)
{
    VstPinProperties properties;
    std::memset(&properties, 0x5a, sizeof(properties));
    *answer = plugin.dispatch(opcode, pin, 0, &properties);
    return properties;
}

}  // namespace

TEST_F(DispatcherTest, EntryAsksTheVersionTwiceAndRefusesHostsWithoutOne)
{
    {
        PluginInstance plugin(host());
        ASSERT_TRUE(plugin.valid());
        EXPECT_EQ(host().queries(audioMasterVersion), 2);
    }
    host().versionAnswer = 0;
    host().clearEvents();
    PluginInstance refused(host());
    EXPECT_FALSE(refused.valid());
    EXPECT_EQ(host().queries(audioMasterVersion), 1);  // the first zero answer ends it
    EXPECT_EQ(loadedPluginEntry(nullptr), nullptr) << "a null host callback creates nothing";
}

TEST_F(DispatcherTest, PublishesItsRecord)
{
    PluginInstance plugin(host());
    ASSERT_TRUE(plugin.valid());
    const AEffect &e = *plugin.record();
    EXPECT_EQ(e.magic, kEffectMagic);
    EXPECT_EQ(e.numPrograms, 1);
    EXPECT_EQ(e.numParams, 64);
    EXPECT_EQ(e.numInputs, 2);
    EXPECT_EQ(e.numOutputs, 2);
    // can-replacing and program-chunks; the editor flag follows whether an editor exists.
    const VstInt32 required = effFlagsCanReplacing | effFlagsProgramChunks;
    EXPECT_EQ(e.flags & ~effFlagsHasEditor, required);
    EXPECT_EQ(e.initialDelay, 0);
    EXPECT_EQ(e.realQualities, 0);
    EXPECT_EQ(e.offQualities, 0);
    EXPECT_EQ(e.ioRatio, 1.f);
    EXPECT_EQ(e.uniqueID, 0x50506D33);
    EXPECT_EQ(e.uniqueID, vstFourCC('P', 'P', 'm', '3'));
    EXPECT_EQ(e.version, 1);
    EXPECT_NE(e.processReplacing, nullptr);
}

TEST_F(DispatcherTest, NamesVersionsAndCategory)
{
    PluginInstance plugin(host());
    EXPECT_EQ(plugin.text(effGetEffectName), "ZEM Ordwen");
    EXPECT_EQ(plugin.text(effGetProductString), "ZEM Ordwen");
    EXPECT_EQ(plugin.text(effGetVendorString), "www.velmora.com");
    char buffer[64];
    EXPECT_EQ(plugin.dispatch(effGetEffectName, 0, 0, buffer), 1);
    EXPECT_EQ(plugin.dispatch(effGetVendorString, 0, 0, buffer), 1);
    EXPECT_EQ(plugin.dispatch(effGetProductString, 0, 0, buffer), 1);
    EXPECT_EQ(plugin.dispatch(effGetVendorVersion), 3020);
    EXPECT_EQ(plugin.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(plugin.dispatch(effGetPlugCategory), kPlugCategMastering);
    EXPECT_EQ(plugin.dispatch(effSetBypass, 0, 1), 0);
    EXPECT_EQ(plugin.dispatch(effGetProgram), 0);
}

TEST_F(DispatcherTest, CanDoExactlyFiveCapabilities)
{
    PluginInstance plugin(host());
    for (const char *yes : {"offline", "plugAsChannelInsert", "1in1out", "1in2out", "2in2out"}) {
        std::string text = yes;
        EXPECT_EQ(plugin.dispatch(effCanDo, 0, 0, &text[0]), 1) << yes;
    }
    for (const char *no : {"2in1out", "receiveVstEvents", "bypass", "", "offline ", "Offline", "1in1", "2in2outs"}) {
        std::string text = no;
        EXPECT_EQ(plugin.dispatch(effCanDo, 0, 0, &text[0]), 0) << '"' << no << '"';
    }
}

TEST_F(DispatcherTest, PinNamesAndFlags)
{
    PluginInstance plugin(host());
    VstIntPtr answer = 0;
    for (VstInt32 pin : {0, 1}) {
        VstPinProperties in = pinProperties(plugin, effGetInputProperties, pin, &answer);
        EXPECT_EQ(answer, 1);
        EXPECT_STREQ(in.label, ("ZEM Ordwen " + std::to_string(pin + 1) + " In").c_str());
        EXPECT_EQ(in.flags, kVstPinIsActive | kVstPinIsStereo);
        EXPECT_EQ((unsigned char)in.shortLabel[0], 0x5a) << "short label is not filled";
        EXPECT_EQ((unsigned)in.arrangementType, 0x5a5a5a5au) << "arrangement type is not filled";
        VstPinProperties out = pinProperties(plugin, effGetOutputProperties, pin, &answer);
        EXPECT_EQ(answer, 1);
        EXPECT_STREQ(out.label, ("ZEM Ordwen " + std::to_string(pin + 1) + " Out").c_str());
        EXPECT_EQ(out.flags, kVstPinIsActive | kVstPinIsStereo);
    }
    for (VstInt32 pin : {2, 3, -1, 1000}) {
        for (VstInt32 opcode : {effGetInputProperties, effGetOutputProperties}) {
            VstPinProperties untouched = pinProperties(plugin, opcode, pin, &answer);
            EXPECT_EQ(answer, 0) << pin;
            EXPECT_EQ((unsigned char)untouched.label[0], 0x5a) << pin;
        }
    }
}

TEST_F(DispatcherTest, SpeakerArrangementTable)
{
    PluginInstance plugin(host());
    auto arrange = [&](int ins, int outs) {
        VstSpeakerArrangement input{}, output{};
        input.numChannels = ins;
        output.numChannels = outs;
        return plugin.dispatch(effSetSpeakerArrangement, 0, (VstIntPtr)&input, &output);
    };
    EXPECT_EQ(arrange(1, 1), 1);
    EXPECT_EQ(arrange(1, 2), 1);
    EXPECT_EQ(arrange(2, 2), 1);
    EXPECT_EQ(arrange(2, 1), 0);
    EXPECT_EQ(arrange(0, 2), 0);
    EXPECT_EQ(arrange(6, 6), 0);
    EXPECT_EQ(arrange(-1, 2), 0);

    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement *in = &dummy, *out = &dummy;
    EXPECT_EQ(plugin.dispatch(effGetSpeakerArrangement, 0, (VstIntPtr)&in, &out), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
}

TEST_F(DispatcherTest, ParameterPropertiesTable)
{
    PluginInstance plugin(host());
    struct Expected {
        VstInt32 index;
        const char *name;
        VstInt32 flags;
        float step, small, large;
    };
    const VstInt32 toggle = kVstParameterIsSwitch | kVstParameterUsesFloatStep;
    const VstInt32 stepped = kVstParameterUsesFloatStep;
    const Expected table[] = {
        {0, "Process", toggle, 1.f, 1.f, 1.f},
        {1, "Trim", stepped, 1 / 41.f, 1 / 401.f, 1 / 41.f},
        {2, "GSIcal", stepped, .5f, .5f, .5f},
        {3, "Meter", stepped, .5f, .5f, .5f},
        {4, "LR/MS", toggle, 1.f, 1.f, 1.f},
        {5, "Hold", stepped, .5f, .5f, .5f},
        {6, "Strips", toggle, 1.f, 1.f, 1.f},
        {7, "ShowFlt", toggle, 1.f, 1.f, 1.f},
        {8, "ProcFlt", toggle, 1.f, 1.f, 1.f},
        {9, "HPStat", toggle, 1.f, 1.f, 1.f},
        {10, "HPSlope", toggle, 1.f, 1.f, 1.f},
        {11, "HPFreq", stepped, 1 / 41.f, 1 / 401.f, 1 / 41.f},
        {12, "LPStat", toggle, 1.f, 1.f, 1.f},
        {13, "LPSlope", toggle, 1.f, 1.f, 1.f},
        {14, "LPFreq", stepped, 1 / 41.f, 1 / 401.f, 1 / 41.f},
        {15, "ShowLbl", toggle, 1.f, 1.f, 1.f},
        {16, "LagTime", stepped, (float)(1 / 99.9), 1 / 999.f, (float)(1 / 99.9)},
    };
    for (const Expected &expected : table) {
        VstParameterProperties p;
        std::memset(&p, 0x5a, sizeof(p));
        ASSERT_EQ(plugin.dispatch(effGetParameterProperties, expected.index, 0, &p), 1) << expected.index;
        EXPECT_EQ(p.flags, expected.flags) << expected.index;
        EXPECT_FLOAT_EQ(p.stepFloat, expected.step) << expected.index;
        EXPECT_FLOAT_EQ(p.smallStepFloat, expected.small) << expected.index;
        EXPECT_FLOAT_EQ(p.largeStepFloat, expected.large) << expected.index;
        EXPECT_STREQ(p.label, expected.name);
        EXPECT_EQ(std::string(p.shortLabel, strnlen(p.shortLabel, sizeof(p.shortLabel))), expected.name);
        EXPECT_EQ(p.minInteger, 0x5a5a5a5a) << "other fields stay as the host passed them";
        EXPECT_EQ(p.category, 0x5a5a);
        EXPECT_EQ(plugin.text(effGetParamName, expected.index), expected.name);
        EXPECT_EQ(plugin.dispatch(effCanBeAutomated, expected.index), 1);
    }
    for (VstInt32 index : {17, 40, 63, 64, 65, 100, -1}) {
        VstParameterProperties p;
        std::memset(&p, 0x5a, sizeof(p));
        EXPECT_EQ(plugin.dispatch(effGetParameterProperties, index, 0, &p), 0) << index;
        EXPECT_EQ(p.flags, 0x5a5a5a5a) << "record untouched for " << index;
        EXPECT_EQ(plugin.dispatch(effCanBeAutomated, index), 0) << index;
        EXPECT_EQ(plugin.text(effGetParamName, index), "") << index;
    }
}

TEST_F(DispatcherTest, SuspendResumeAskForTheOutputLatency)
{
    host().outputLatency = 512;
    PluginInstance plugin(host());
    int asked = host().queries(audioMasterGetOutputLatency);
    EXPECT_EQ(asked, 1) << "construction resumes once";
    plugin.start(48000.f, 256);
    EXPECT_EQ(host().queries(audioMasterGetOutputLatency), asked + 1);
    plugin.stop();
    EXPECT_EQ(host().queries(audioMasterGetOutputLatency), asked + 1);
}

// The harness reads the selected meter through the dispatcher: the answer is the engine's own
// read-out of the same refresh, and any other vendor-specific question is refused untouched.
TEST_F(DispatcherTest, ReadoutQueryAnswersTheSelectedMetersReadouts)
{
    PluginInstance plugin(host());
    plugin.setParameter(3, 1.f);  // PPM
    plugin.start(44100.f, 441);
    std::vector<float> level(441, 0.25f), out0(441), out1(441);
    float *inputs[2] = {level.data(), level.data()};
    float *outputs[2] = {out0.data(), out1.data()};
    for (int block = 0; block < 50; ++block)
        plugin.processReplacing(inputs, outputs, 441);

    ReadoutQuery readout;
    readout.position = 1.0;
    ASSERT_EQ(plugin.dispatch(effVendorSpecific, kReadoutQuery, sizeof readout, &readout), 1);
    Templete &effect = *static_cast<Templete *>(static_cast<AudioEffect *>(plugin.record()->object));
    MeterEngine &ppm = *effect.meterEngine(kMeterTypePPM);
    for (int quantity = 0; quantity < kMeterQuantityCount; ++quantity)
        EXPECT_EQ(readout.values[quantity], ppm.readoutValue((MeterQuantity)quantity, 1.0)) << quantity;
    EXPECT_GT(readout.values[kMeterLevel1], 0.0);
    EXPECT_EQ(readout.overStates[0], 0) << "not asked";
    char reference[64] = {};
    ppm.getSettingText(ppm.firstSettingIndex(), reference);
    EXPECT_STREQ(readout.reference, reference);
    readout.withOverStates = 1;
    ASSERT_EQ(plugin.dispatch(effVendorSpecific, kReadoutQuery, sizeof readout, &readout), 1);
    EXPECT_EQ(readout.overStates[0], -1) << "no over yet";

    ReadoutQuery untouched;
    EXPECT_EQ(plugin.dispatch(effVendorSpecific, kReadoutQuery, sizeof untouched - 1, &untouched), 0);
    EXPECT_EQ(plugin.dispatch(effVendorSpecific, kReadoutQuery + 1, sizeof untouched, &untouched), 0);
    EXPECT_EQ(plugin.dispatch(effVendorSpecific, kReadoutQuery, sizeof untouched, nullptr), 0);
    EXPECT_EQ(untouched.values[kMeterLevel1], 0.0);
    EXPECT_EQ(untouched.reference[0], 0);
    plugin.stop();
}
