// The strip filter bank measured from outside: sines through the bank against the analytic
// response of its sections, block-size invariance, the blend near half the rate, the rate
// limits, the bypass and the recovery from non-finite input.
#include "params/parameter_table.h"
#include "core/strip_filter_bank.h"
#include "filter_response.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using namespace filter_response;

// ---- Driving the bank ---------------------------------------------------------------------

// Applies the settings in an order that exercises the setters' interplay: slopes before the
// switches, and each switch toggled once.
void apply(StripFilterBank &bank, const Settings &s)
{
    bank.setSampleRate(s.rate);
    bank.setHPSlope(s.hp24 ? 1.0f : 0.0f);
    bank.setLPSlope(s.lp18 ? 1.0f : 0.0f);
    bank.setHPOn(s.hpOn ? 0.0f : 1.0f);
    bank.setLPOn(s.lpOn ? 0.0f : 1.0f);
    bank.setHPFreq(s.hpFreq);
    bank.setLPFreq(s.lpFreq);
    bank.setHPOn(s.hpOn ? 1.0f : 0.0f);
    bank.setLPOn(s.lpOn ? 1.0f : 0.0f);
    bank.update();
    bank.reset();
}

// Runs a sine at f1 on the left and f2 on the right through the bank and returns the measured
// gains (output over input of the windowed transforms, after the transient has settled).
std::pair<double, double> measureGains(StripFilterBank &bank, double fs, double f1, double f2, bool slowSettle = true)
{
    // A quarter of a second lets the slowest section (a high-pass at 10 Hz) settle; the
    // window holds three periods of the lowest test tone.
    const size_t settle = size_t((slowSettle ? 0.25 : 0.02) * fs);
    const size_t window = size_t(0.25 * fs);
    const size_t total = settle + window;
    std::vector<float> inL(total), inR(total);
    for (size_t i = 0; i < total; ++i) {
        inL[i] = float(0.5 * std::sin(2.0 * pi * f1 * double(i) / fs));
        inR[i] = float(0.5 * std::sin(2.0 * pi * f2 * double(i) / fs));
    }
    std::vector<float> outL = inL, outR = inR;
    bank.reset();
    bank.process(outL.data(), outR.data(), int(total));
    const double gainL = std::abs(windowedTone(outL, settle, window, f1, fs) /
                                  windowedTone(inL, settle, window, f1, fs));
    const double gainR = std::abs(windowedTone(outR, settle, window, f2, fs) /
                                  windowedTone(inR, settle, window, f2, fs));
    return {gainL, gainR};
}

// Compares the measured response with the analytic one at test frequencies whose expected
// level is within reach of a float signal (down to -60 dB).
void expectResponse(const Settings &s)
{
    StripFilterBank bank;
    apply(bank, s);
    const double fs = bankRate(s.rate);
    std::vector<double> freqs;
    for (double f : {12.0, 25.0, 50.0, 100.0, 250.0, 700.0, 1500.0, 3000.0, 6000.0, 10000.0, 15000.0, 20000.0, 30000.0,
                     45000.0, 70000.0, 0.3 * fs, 0.4 * fs, 0.44 * fs}) {
        if (f < 0.45 * fs && decibels(std::abs(expectedResponse(s, f))) > -60.0)
            freqs.push_back(f);
    }
    if (freqs.size() % 2)
        freqs.push_back(freqs.back());
    for (size_t i = 0; i < freqs.size(); i += 2) {
        const auto gains = measureGains(bank, fs, freqs[i], freqs[i + 1], s.hpOn);
        const double measured[2] = {gains.first, gains.second};
        for (int ch = 0; ch < 2; ++ch) {
            const double f = freqs[i + ch];
            const double expected = decibels(std::abs(expectedResponse(s, f)));
            EXPECT_NEAR(decibels(measured[ch]), expected, 0.1)
                << "at " << f << " Hz, rate " << s.rate << ", HP " << s.hpOn << "/" << s.hp24 << "/" << s.hpFreq
                << ", LP " << s.lpOn << "/" << s.lp18 << "/" << s.lpFreq;
        }
    }
}

// Deterministic broadband test material.
std::vector<float> noise(size_t frames, uint32_t seed)
{
    std::vector<float> x(frames);
    for (auto &v : x) {
        seed = seed * 1664525u + 1013904223u;
        v = float(int32_t(seed)) * (0.9f / 2147483648.0f);
    }
    return x;
}

struct Stereo {
    std::vector<float> left, right;
};

Stereo runInBlocks(const Settings &s, const Stereo &in, const std::vector<int> &blockPattern)
{
    StripFilterBank bank;
    apply(bank, s);
    Stereo out = in;
    size_t pos = 0, k = 0;
    while (pos < out.left.size()) {
        const int n = int(std::min<size_t>(size_t(blockPattern[k++ % blockPattern.size()]), out.left.size() - pos));
        bank.process(out.left.data() + pos, out.right.data() + pos, n);
        pos += size_t(n);
    }
    return out;
}

bool sameBits(const std::vector<float> &a, const std::vector<float> &b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

Stereo stereoNoise(size_t frames) { return {noise(frames, 1), noise(frames, 2)}; }

}  // namespace

// ---- Magnitude response -----------------------------------------------------------------

TEST(StripFilterBankResponse, HighPassSlopesAcrossCornersAndRates)
{
    for (float rate : {44100.0f, 96000.0f, 192000.0f}) {
        for (bool hp24 : {false, true}) {
            for (float freq : {0.0f, 0.3f, 0.6f, 1.0f}) {
                Settings s;
                s.rate = rate;
                s.hpOn = true;
                s.hp24 = hp24;
                s.hpFreq = freq;
                expectResponse(s);
            }
        }
    }
}

TEST(StripFilterBankResponse, LowPassSlopesAcrossCornersAndRates)
{
    // 0.93 and 0.97 put the one-pole corner above half of 44.1 kHz (partial blend); 1.0 is
    // the top of the range.
    for (float rate : {44100.0f, 96000.0f, 192000.0f}) {
        for (bool lp18 : {false, true}) {
            for (float freq : {0.0f, 0.4f, 0.75f, 0.93f, 0.97f, 1.0f}) {
                Settings s;
                s.rate = rate;
                s.lpOn = true;
                s.lp18 = lp18;
                s.lpFreq = freq;
                expectResponse(s);
            }
        }
    }
}

// Low rates and very high ones: the sections are designed at the host's rate, so the response
// in Hz is the same as at 44.1 kHz wherever both rates can carry it. The steep slopes run every
// section; at 22.05 and 32 kHz an LPFreq of 0.85 blends toward the unfiltered signal.
TEST(StripFilterBankResponse, FollowsTheDesignAtLowAndVeryHighRates)
{
    for (float rate : {22050.0f, 32000.0f, 352800.0f, 384000.0f}) {
        for (float freq : {0.0f, 1.0f}) {
            Settings s;
            s.rate = rate;
            s.hpOn = s.hp24 = true;
            s.hpFreq = freq;
            expectResponse(s);
        }
        for (float freq : {0.6f, 0.85f}) {
            Settings s;
            s.rate = rate;
            s.lpOn = s.lp18 = true;
            s.lpFreq = freq;
            expectResponse(s);
        }
    }
}

TEST(StripFilterBankResponse, ConstructedBankIsTheDefaultPair)
{
    StripFilterBank bank;
    EXPECT_EQ(bank.hpOnValue(), 1.0f);
    EXPECT_EQ(bank.hpSlopeValue(), 0.0f);
    EXPECT_EQ(bank.hpFreqValue(), 0.0f);
    EXPECT_EQ(bank.lpOnValue(), 1.0f);
    EXPECT_EQ(bank.lpSlopeValue(), 0.0f);
    EXPECT_EQ(bank.lpFreqValue(), 1.0f);

    // A 12 dB/octave high-pass at 14 Hz and, at 44.1 kHz, a low-pass path replaced by its input.
    Settings s;
    s.hpOn = s.lpOn = true;
    const auto gains = measureGains(bank, 44100.0, 20.0, 15000.0);
    EXPECT_NEAR(decibels(gains.first), decibels(std::abs(expectedResponse(s, 20.0))), 0.1);
    EXPECT_NEAR(decibels(gains.second), decibels(std::abs(expectedResponse(s, 15000.0))), 0.1);
    EXPECT_LT(decibels(gains.first), -3.0);
}

// ---- Block sizes ------------------------------------------------------------------------

TEST(StripFilterBankBlocks, OutputDoesNotDependOnBlockSize)
{
    Settings s;
    s.hpOn = s.lpOn = s.hp24 = s.lp18 = true;
    s.hpFreq = 0.7f;
    s.lpFreq = 0.95f;  // partial blend at 44.1 kHz
    const Stereo in = stereoNoise(20000);
    const Stereo whole = runInBlocks(s, in, {20000});
    for (const std::vector<int> &pattern :
         std::vector<std::vector<int>>{{1}, {63}, {64}, {65}, {4097}, {1, 63, 64, 65, 4097, 7}}) {
        const Stereo blocks = runInBlocks(s, in, pattern);
        EXPECT_TRUE(sameBits(blocks.left, whole.left)) << "first block size " << pattern[0];
        EXPECT_TRUE(sameBits(blocks.right, whole.right)) << "first block size " << pattern[0];
    }
    EXPECT_FALSE(sameBits(whole.left, in.left));
}

// ---- Blend near half the rate -----------------------------------------------------------

TEST(StripFilterBankBlend, TopCornerAt44kReplacesLowPassByItsInput)
{
    for (bool lp18 : {false, true}) {
        Settings s;
        s.lpOn = true;
        s.lp18 = lp18;
        s.lpFreq = 1.0f;
        const Stereo in = stereoNoise(5000);
        const Stereo out = runInBlocks(s, in, {512});
        EXPECT_TRUE(sameBits(out.left, in.left));
        EXPECT_TRUE(sameBits(out.right, in.right));
    }
}

TEST(StripFilterBankBlend, TopCornerAt96kIsTheOnePoleAt36k)
{
    Settings s;
    s.rate = 96000.0f;
    s.lpOn = true;
    s.lpFreq = 1.0f;
    StripFilterBank bank;
    apply(bank, s);
    const auto gains = measureGains(bank, 96000.0, 20000.0, 40000.0);
    EXPECT_NEAR(decibels(gains.first), decibels(std::abs(onePole(36000.0, 96000.0, 20000.0))), 0.1);
    EXPECT_NEAR(decibels(gains.second), decibels(std::abs(onePole(36000.0, 96000.0, 40000.0))), 0.1);
    EXPECT_LT(decibels(gains.second), -2.0);
}

// ---- Denormal guard ----------------------------------------------------------------------

TEST(StripFilterBankGuard, TinySignalsAreFilteredLikeAnyOther)
{
    Settings s;
    s.hpOn = s.lpOn = s.hp24 = s.lp18 = true;
    s.hpFreq = 0.0f;
    s.lpFreq = 0.0f;
    StripFilterBank bank;
    apply(bank, s);

    // The guard against subnormal numbers works far below this level: 1e-25 of full scale
    // must not be flushed or distorted.
    const double f = 200.0;
    std::vector<float> tinyL(22050), tinyR(22050);
    for (size_t i = 0; i < tinyL.size(); ++i)
        tinyL[i] = tinyR[i] = float(1e-25 * std::sin(2.0 * pi * f * double(i) / 44100.0));
    std::vector<float> outL = tinyL, outR = tinyR;
    bank.process(outL.data(), outR.data(), int(outL.size()));
    const double gain = std::abs(windowedTone(outL, 11025, 11025, f, 44100.0) /
                                 windowedTone(tinyL, 11025, 11025, f, 44100.0));
    EXPECT_NEAR(decibels(gain), decibels(std::abs(expectedResponse(s, f))), 0.1);
}

// ---- Sample rate limits -----------------------------------------------------------------

TEST(StripFilterBankRate, RunsAtTheHostRateFrom8kTo768k)
{
    Settings s;
    s.hpOn = s.lpOn = s.hp24 = s.lp18 = true;
    s.hpFreq = 0.5f;
    s.lpFreq = 0.8f;
    const Stereo in = stereoNoise(3000);
    auto runAt = [&](float rate) {
        s.rate = rate;
        return runInBlocks(s, in, {256});
    };
    const Stereo at44k = runAt(44100.0f);
    for (float rate : {8000.0f, 22050.0f, 32000.0f, 48000.0f, 192000.0f, 384000.0f, 768000.0f})
        EXPECT_FALSE(sameBits(runAt(rate).left, at44k.left)) << rate;
    EXPECT_FALSE(sameBits(runAt(384000.0f).left, runAt(192000.0f).left));
    // A rate no host runs at, or none at all, runs as 44.1 kHz.
    for (float rate : {0.0f, -48000.0f, 7999.0f, 768001.0f, std::numeric_limits<float>::infinity(),
                       std::numeric_limits<float>::quiet_NaN()})
        EXPECT_TRUE(sameBits(runAt(rate).left, at44k.left)) << rate;
}

TEST(StripFilterBankRate, UpdateAfterARateChangeRebuildsEverySection)
{
    // As at a resume: the bank is set up at one rate, then given another and updated. It must
    // then filter exactly like a bank set up at the new rate from the start.
    const Stereo in = stereoNoise(3000);
    for (float lpFreq : {0.5f, 0.97f, 1.0f}) {
        Settings s;
        s.hpOn = s.lpOn = s.hp24 = s.lp18 = true;
        s.hpFreq = 0.6f;
        s.lpFreq = lpFreq;
        for (float from : {44100.0f, 192000.0f}) {
            for (float to : {48000.0f, 96000.0f}) {
                s.rate = from;
                StripFilterBank bank;
                apply(bank, s);
                bank.setSampleRate(to);
                bank.update();
                Stereo out = in;
                bank.process(out.left.data(), out.right.data(), int(out.left.size()));
                s.rate = to;
                const Stereo direct = runInBlocks(s, in, {3000});
                EXPECT_TRUE(sameBits(out.left, direct.left)) << from << " -> " << to << ", LPFreq " << lpFreq;
            }
        }
    }
}

// ---- Bypass -----------------------------------------------------------------------------

TEST(StripFilterBankBypass, HighAndLowPassOffPassUnchanged)
{
    const Stereo in = stereoNoise(3000);
    for (float rate : {44100.0f, 48000.0f, 96000.0f, 192000.0f}) {
        for (float lpFreq : {0.0f, 0.5f, 0.93f, 0.97f, 1.0f}) {
            Settings s;
            s.rate = rate;
            s.hp24 = s.lp18 = true;
            s.lpFreq = lpFreq;
            const Stereo out = runInBlocks(s, in, {100});
            EXPECT_TRUE(sameBits(out.left, in.left)) << rate << " Hz, LPFreq " << lpFreq;
            EXPECT_TRUE(sameBits(out.right, in.right)) << rate << " Hz, LPFreq " << lpFreq;
        }
    }
}

// ---- Switch law ---------------------------------------------------------------------------

// 0.49999997 + 0.5 rounds to 1 in single precision: the parameter reads "In", so the filters
// must be in too (decoded in double precision they stayed out).
TEST(StripFilterBankSwitches, DecodeInSinglePrecisionAsTheParameterModelDoes)
{
    const float edge = 0.49999997f;
    ASSERT_TRUE(switchOn(edge));
    ASSERT_FALSE(switchOn(0.49999994f));
    Settings s;
    s.hpOn = s.lpOn = true;
    s.hpFreq = 1.0f;  // 2 kHz
    s.lpFreq = 0.0f;  // 300 Hz
    StripFilterBank reference, atEdge, below;
    apply(reference, s);
    apply(atEdge, s);
    apply(below, s);
    for (float slope : {edge, 1.0f}) {
        atEdge.setHPSlope(slope);
        atEdge.setLPSlope(slope);
        atEdge.setHPOn(edge);
        atEdge.setLPOn(edge);
        atEdge.update();
        reference.setHPSlope(1.0f);
        reference.setLPSlope(1.0f);
        reference.update();
        const auto want = measureGains(reference, 44100.0, 1000.0, 1000.0);
        const auto got = measureGains(atEdge, 44100.0, 1000.0, 1000.0);
        EXPECT_LT(want.first, 0.5);
        EXPECT_DOUBLE_EQ(got.first, want.first) << slope;
        EXPECT_DOUBLE_EQ(got.second, want.second) << slope;
    }
    below.setHPOn(0.49999994f);
    below.setLPOn(0.49999994f);
    below.update();
    const auto open = measureGains(below, 44100.0, 1000.0, 1000.0);
    EXPECT_NEAR(open.first, 1.0, 1e-6);
}

// ---- Non-finite input -------------------------------------------------------------------

TEST(StripFilterBankNonFinite, SectionsReturnToRestAfterTheChunk)
{
    Settings s;
    s.hpOn = s.lpOn = s.hp24 = s.lp18 = true;
    s.hpFreq = 0.4f;
    s.lpFreq = 0.6f;
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
        const Stereo clean = stereoNoise(1000);
        Stereo in = clean;
        in.left[100] = bad;  // in the chunk of frames 64..127
        const Stereo out = runInBlocks(s, in, {1000});

        // The right channel never saw the bad sample.
        EXPECT_TRUE(sameBits(out.right, runInBlocks(s, clean, {1000}).right));
        // From the next chunk on, the left channel is what a bank at rest makes of the rest.
        Stereo tail{std::vector<float>(in.left.begin() + 128, in.left.end()),
                    std::vector<float>(in.right.begin() + 128, in.right.end())};
        const Stereo fresh = runInBlocks(s, tail, {872});
        EXPECT_TRUE(std::equal(out.left.begin() + 128, out.left.end(), fresh.left.begin()));
        for (size_t i = 128; i < out.left.size(); ++i)
            ASSERT_TRUE(std::isfinite(out.left[i])) << "frame " << i;
        // Before the bad sample the output is untouched by it.
        EXPECT_TRUE(std::equal(out.left.begin(), out.left.begin() + 100, runInBlocks(s, clean, {1000}).left.begin()));
    }
}

TEST(StripFilterBankNonFinite, SettersIgnoreValuesThatAreNotNumbers)
{
    StripFilterBank bank;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    bank.setHPOn(nan);
    bank.setHPSlope(nan);
    bank.setHPFreq(nan);
    bank.setLPOn(nan);
    bank.setLPSlope(nan);
    bank.setLPFreq(nan);
    bank.update();
    EXPECT_EQ(bank.hpFreqValue(), 0.0f);
    EXPECT_EQ(bank.lpFreqValue(), 0.0f);
    bank.setHPOn(1.0f);
    bank.setLPOn(1.0f);
    Stereo x = stereoNoise(500);
    bank.process(x.left.data(), x.right.data(), 500);
    for (float v : x.left)
        ASSERT_TRUE(std::isfinite(v));
}
