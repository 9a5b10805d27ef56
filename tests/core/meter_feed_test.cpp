// Only the engine of the selected meter type is fed, with the processed output, whatever
// Process says.
#include <gtest/gtest.h>

#include <vector>

#include "core/templete.h"
#include "editor/editor_factory.h"
#include "meters/meter_engine.h"

namespace {

VstIntPtr VSTCALLBACK quietHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct Levels {
    double vu, rms, ppm;
};

Levels levels(Templete &effect)
{
    return {effect.meterEngine(kMeterTypeVU)->readoutValue(kMeterLevel1, 0.0),
            effect.meterEngine(kMeterTypeRMS)->readoutValue(kMeterLevel1, 0.0),
            effect.meterEngine(kMeterTypePPM)->readoutValue(kMeterLevel1, 0.0)};
}

void feed(Templete &effect, float level, int frames)
{
    std::vector<float> in(256, level), out0(256), out1(256);
    float *inputs[2] = {in.data(), in.data()};
    float *outputs[2] = {out0.data(), out1.data()};
    for (int done = 0; done < frames; done += 256)
        effect.processReplacing(inputs, outputs, 256);
}

}  // namespace

TEST(MeterFeed, OnlyTheSelectedEngineSeesTheBlock)
{
    Templete effect(quietHost, createTemepleteEditor);
    ASSERT_NE(effect.meterEngine(kMeterTypeVU), nullptr);
    ASSERT_NE(effect.meterEngine(kMeterTypeRMS), nullptr);
    ASSERT_NE(effect.meterEngine(kMeterTypePPM), nullptr);
    effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);
    const Levels rest = levels(effect);

    effect.setParameter(3, 0.5f);  // RMS, Process off
    feed(effect, 0.5f, 8192);
    Levels afterRms = levels(effect);
    EXPECT_EQ(afterRms.vu, rest.vu);
    EXPECT_EQ(afterRms.ppm, rest.ppm);
    EXPECT_NE(afterRms.rms, rest.rms) << "the selected meter sees the signal with Process off";

    effect.setParameter(3, 1.f);  // PPM
    feed(effect, 0.5f, 8192);
    Levels afterPpm = levels(effect);
    EXPECT_EQ(afterPpm.vu, rest.vu);
    EXPECT_EQ(afterPpm.rms, afterRms.rms);
    EXPECT_NE(afterPpm.ppm, rest.ppm);

    effect.setParameter(3, 0.f);
    effect.setParameter(2, 0.5f);
}

TEST(MeterFeed, TheEngineMeasuresTheTrimmedOutput)
{
    Templete quiet(quietHost, createTemepleteEditor), loud(quietHost, createTemepleteEditor);
    for (Templete *effect : {&quiet, &loud}) {
        effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);
        effect->setParameter(3, 1.f);  // PPM
        effect->setParameter(0, 1.f);
    }
    loud.setParameter(1, 1.f);                             // +20 dB
    loud.dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);  // the gain jumps to its target
    feed(quiet, 0.01f, 22050);
    feed(loud, 0.01f, 22050);
    EXPECT_GT(levels(loud).ppm, levels(quiet).ppm);
    quiet.setParameter(3, 0.f);
}
