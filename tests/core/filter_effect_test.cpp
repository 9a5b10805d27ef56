// The strip filters inside the loaded plug-in, driven through its effect record: the filter
// parameters reach the bank, the bank runs at its limited rate, a bypassed filter strip passes
// the audio unchanged and a non-finite sample does not silence the filters.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "filter_response.h"
#include "loaded_plugin.h"

namespace {

using namespace filter_response;
using FilterEffectTest = LoadedPluginTest;
using Signal = std::vector<float>;

// Parameter indices of the effect.
constexpr VstInt32 kProcess = 0, kTrim = 1, kProcFlt = 8, kHPStat = 9, kHPSlope = 10, kHPFreq = 11;
constexpr VstInt32 kLPStat = 12, kLPSlope = 13, kLPFreq = 14;

struct Stereo {
    Signal left, right;
};

Stereo noise(size_t frames)
{
    Stereo s{Signal(frames), Signal(frames)};
    uint32_t seed = 99;
    for (size_t i = 0; i < frames; ++i) {
        seed = seed * 1664525u + 1013904223u;
        s.left[i] = float(int32_t(seed)) * (0.7f / 2147483648.0f);
        s.right[i] = -0.5f * s.left[i] + 0.1f * float(i % 5);
    }
    return s;
}

// Sets the effect up as a host does and applies the filter settings through its parameters.
void configure(PluginInstance &plugin, const Settings &s, bool filtersIn = true)
{
    plugin.start(s.rate, 512);
    plugin.setParameter(kProcess, 1.0f);
    plugin.setParameter(kTrim, 0.5f);  // 0 dB: the gain is exactly 1
    plugin.setParameter(kHPSlope, s.hp24 ? 1.0f : 0.0f);
    plugin.setParameter(kLPSlope, s.lp18 ? 1.0f : 0.0f);
    plugin.setParameter(kHPFreq, s.hpFreq);
    plugin.setParameter(kLPFreq, s.lpFreq);
    plugin.setParameter(kHPStat, s.hpOn ? 1.0f : 0.0f);
    plugin.setParameter(kLPStat, s.lpOn ? 1.0f : 0.0f);
    plugin.setParameter(kProcFlt, filtersIn ? 1.0f : 0.0f);
}

Stereo run(PluginInstance &plugin, const Stereo &in, size_t block)
{
    const size_t frames = in.left.size();
    Stereo out{Signal(frames), Signal(frames)};
    for (size_t start = 0; start < frames; start += block) {
        const size_t n = std::min(block, frames - start);
        float *inputs[2] = {const_cast<float *>(&in.left[start]), const_cast<float *>(&in.right[start])};
        float *outputs[2] = {&out.left[start], &out.right[start]};
        plugin.processReplacing(inputs, outputs, VstInt32(n));
    }
    return out;
}

bool sameBits(const Signal &a, const Signal &b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace

TEST_F(FilterEffectTest, FilterParametersShapeTheOutput)
{
    Settings s;
    s.hpOn = s.lpOn = s.hp24 = s.lp18 = true;
    s.hpFreq = 0.5f;  // 200 Hz
    s.lpFreq = 0.7f;  // about 7.5 kHz
    for (float rate : {44100.0f, 96000.0f}) {
        s.rate = rate;
        PluginInstance plugin(host());
        configure(plugin, s);
        const double fs = rate;
        for (double f : {60.0, 200.0, 1000.0, 5000.0, 12000.0}) {
            const size_t settle = size_t(0.1 * fs), window = size_t(0.2 * fs);
            Stereo in{Signal(settle + window), Signal(settle + window)};
            for (size_t i = 0; i < in.left.size(); ++i)
                in.left[i] = in.right[i] = float(0.5 * std::sin(2.0 * pi * f * double(i) / fs));
            const Stereo out = run(plugin, in, 512);
            for (const Signal *channel : {&out.left, &out.right}) {
                const double gain = std::abs(windowedTone(*channel, settle, window, f, fs) /
                                             windowedTone(in.left, settle, window, f, fs));
                EXPECT_NEAR(decibels(gain), decibels(std::abs(expectedResponse(s, f))), 0.1)
                    << f << " Hz at " << rate << " Hz";
            }
        }
    }
}

TEST_F(FilterEffectTest, FilterStripWithBothFiltersOutPassesUnchanged)
{
    const Stereo in = noise(5000);
    for (float lpFreq : {0.5f, 0.95f, 1.0f}) {
        Settings s;
        s.lpFreq = lpFreq;
        s.hp24 = s.lp18 = true;
        PluginInstance plugin(host());
        configure(plugin, s);
        const Stereo out = run(plugin, in, 333);
        EXPECT_TRUE(sameBits(out.left, in.left)) << "LPFreq " << lpFreq;
        EXPECT_TRUE(sameBits(out.right, in.right)) << "LPFreq " << lpFreq;
    }
}

// The effect hands the host's own rate to the filters: at 32 kHz a 100 Hz high-pass acts at
// 100 Hz (not at 72.6 Hz as a bank at 44.1 kHz would), and so on up to 384 kHz.
TEST_F(FilterEffectTest, FiltersRunAtTheHostRate)
{
    Settings s;
    s.hpOn = s.lpOn = s.hp24 = s.lp18 = true;
    s.hpFreq = 0.35f;  // 100 Hz
    s.lpFreq = 0.6f;
    for (float rate : {22050.0f, 32000.0f, 352800.0f, 384000.0f}) {
        s.rate = rate;
        PluginInstance plugin(host());
        configure(plugin, s);
        const double fs = rate;
        for (double f : {40.0, 100.0, 1000.0, 5000.0, 9000.0}) {
            const size_t settle = size_t(0.1 * fs), window = size_t(0.2 * fs);
            Stereo in{Signal(settle + window), Signal(settle + window)};
            for (size_t i = 0; i < in.left.size(); ++i)
                in.left[i] = in.right[i] = float(0.5 * std::sin(2.0 * pi * f * double(i) / fs));
            const Stereo out = run(plugin, in, 512);
            const double gain = std::abs(windowedTone(out.left, settle, window, f, fs) /
                                         windowedTone(in.left, settle, window, f, fs));
            EXPECT_NEAR(decibels(gain), decibels(std::abs(expectedResponse(s, f))), 0.1)
                << f << " Hz at " << rate << " Hz";
        }
    }
}

TEST_F(FilterEffectTest, NonFiniteSampleDoesNotSilenceTheFilters)
{
    Settings s;
    s.hpOn = s.lpOn = s.hp24 = s.lp18 = true;
    s.hpFreq = 0.3f;
    s.lpFreq = 0.8f;
    PluginInstance plugin(host());
    configure(plugin, s);
    Stereo bad = noise(512);
    bad.left[10] = std::numeric_limits<float>::quiet_NaN();
    bad.right[20] = std::numeric_limits<float>::infinity();
    const Stereo in = noise(2048);
    const Stereo badOut = run(plugin, bad, 512);
    const Stereo out = run(plugin, in, 512);

    // The filters work through the block in 64-frame chunks; after the chunk that held the
    // bad samples they start again from rest, exactly like a fresh effect that is given the
    // rest of the block.
    PluginInstance fresh(host());
    configure(fresh, s);
    const Stereo rest{Signal(bad.left.begin() + 64, bad.left.end()), Signal(bad.right.begin() + 64, bad.right.end())};
    const Stereo restOut = run(fresh, rest, 448);
    const Stereo expected = run(fresh, in, 512);
    EXPECT_TRUE(std::equal(restOut.left.begin(), restOut.left.end(), badOut.left.begin() + 64));
    EXPECT_TRUE(std::equal(restOut.right.begin(), restOut.right.end(), badOut.right.begin() + 64));
    EXPECT_TRUE(sameBits(out.left, expected.left));
    EXPECT_TRUE(sameBits(out.right, expected.right));
}
