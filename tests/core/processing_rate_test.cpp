// The loaded plug-in at the host's own sample rate: the meter ballistics and the block
// duration keep their times in seconds from 8 kHz to 768 kHz; other rates run as 44.1 kHz.
#include <cmath>
#include <limits>
#include <vector>

#include "core/templete.h"
#include "loaded_plugin.h"
#include "meters/meter_engine.h"

namespace {

using ProcessingRateTest = LoadedPluginTest;

Templete &effectOf(PluginInstance &plugin)
{
    return *static_cast<Templete *>(static_cast<AudioEffect *>(plugin.record()->object));
}

// Seconds until the VU needle, fed a steady level at the reference, first reaches 99 % of where
// it settles. Blocks of about 1 ms give the resolution.
double vuRiseSeconds(float rate)
{
    PluginInstance plugin(loadedPlugin());
    const VstInt32 block = (VstInt32)std::lround(rate / 1000.0);
    plugin.start(rate, block);
    MeterEngine &vu = *effectOf(plugin).meterEngine(kMeterTypeVU);
    std::vector<float> level((size_t)block, (float)std::pow(10.0, -18.0 / 20));  // the default reference
    std::vector<float> out0((size_t)block), out1((size_t)block);
    float *inputs[2] = {level.data(), level.data()};
    float *outputs[2] = {out0.data(), out1.data()};
    std::vector<double> needle;
    for (int ms = 0; ms < 3000; ++ms) {
        plugin.processReplacing(inputs, outputs, block);
        needle.push_back(vu.readoutValue(kMeterLevel1, 1.0));
    }
    const double settled = needle.back();
    for (size_t i = 0; i < needle.size(); ++i)
        if (needle[i] >= 0.99 * settled)
            return double(i + 1) * block / rate;
    return 0.0;
}

}  // namespace

TEST_F(ProcessingRateTest, VUNeedleRisesInTheSameTimeAtEveryRate)
{
    const double at44 = vuRiseSeconds(44100.f);
    EXPECT_GT(at44, 0.1);
    for (float rate : {8000.f, 384000.f, 768000.f})
        EXPECT_NEAR(vuRiseSeconds(rate), at44, 0.002) << rate;
}

TEST_F(ProcessingRateTest, BlockDurationIsInSecondsAtTheRunningRate)
{
    struct Case {
        float hostRate, runningRate;
    };
    for (Case c : {Case{384000.f, 384000.f}, Case{8000.f, 8000.f}, Case{768000.f, 768000.f}, Case{1e7f, 44100.f},
                   Case{std::numeric_limits<float>::quiet_NaN(), 44100.f}}) {
        PluginInstance plugin(host());
        plugin.start(c.hostRate, 512);
        std::vector<float> in(512, 0.f), out0(512), out1(512);
        float *inputs[2] = {in.data(), in.data()};
        float *outputs[2] = {out0.data(), out1.data()};
        plugin.processReplacing(inputs, outputs, 512);
        EXPECT_DOUBLE_EQ(effectOf(plugin).getBlockDuration(), 512.0 / c.runningRate) << c.hostRate;
    }
}
