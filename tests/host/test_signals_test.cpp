// The demo's test signals: levels, burst lengths in whole samples, the square's halves and the
// exact inter-sample peak.
#include "test_signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double pi = 3.14159265358979323846;

double peak(const WavAudio &audio)
{
    double p = 0;
    for (const std::vector<float> &channel : audio.channels)
        for (float v : channel)
            p = std::max(p, double(std::fabs(v)));
    return p;
}

double amplitudeOf(double db) { return std::pow(10.0, db / 20.0); }

}  // namespace

TEST(TestSignals, SineSitsAtTheRequestedLevelOnBothChannels)
{
    SignalRecipe recipe;  // 1 kHz, -18 dBFS, 5 s at 44.1 kHz
    const WavAudio audio = makeSine(recipe);
    ASSERT_EQ(audio.channels.size(), 2u);
    EXPECT_EQ(audio.frames(), 5u * 44100u);
    EXPECT_EQ(audio.channels[0], audio.channels[1]);
    // The sampled peak of a 1 kHz sine at 44.1 kHz comes within 0.03 % of the true peak.
    EXPECT_NEAR(peak(audio) / amplitudeOf(-18.0), 1.0, 3e-4);
    EXPECT_LE(peak(audio), amplitudeOf(-18.0) * (1 + 1e-7));
    double sumSquares = 0;
    for (float v : audio.channels[0])
        sumSquares += double(v) * v;
    EXPECT_NEAR(std::sqrt(sumSquares / audio.frames()) / (amplitudeOf(-18.0) / std::sqrt(2.0)), 1.0, 1e-4);
}

TEST(TestSignals, BurstsLastTheirDurationInWholeSamplesOncePerSecond)
{
    SignalRecipe recipe;
    recipe.frequency = 5000.0;
    for (double ms : {5.0, 10.0, 100.0}) {
        const WavAudio audio = makeToneBursts(recipe, ms);
        const std::vector<float> &left = audio.channels[0];
        const size_t length = size_t(samplesFor(ms, 44100));
        size_t bursts = 0;
        for (size_t start = 22050; start < audio.frames(); start += 44100, ++bursts) {
            // Silence up to the burst and after it, sound at its last sample.
            for (size_t i = start - 22050; i < start; ++i)
                ASSERT_EQ(left[i], 0.0f) << ms << " ms, frame " << i;
            for (size_t i = start + length; i < std::min(audio.frames(), start + 22050); ++i)
                ASSERT_EQ(left[i], 0.0f) << ms << " ms, frame " << i;
            EXPECT_NE(left[start + length - 1], 0.0f) << ms << " ms";
        }
        EXPECT_EQ(bursts, 5u);
        EXPECT_NEAR(peak(audio) / amplitudeOf(-18.0), 1.0, 0.01);
    }
    EXPECT_EQ(samplesFor(5.0, 44100), 221);  // 220.5 rounds up
    EXPECT_EQ(samplesFor(10.0, 44100), 441);
    EXPECT_EQ(samplesFor(100.0, 44100), 4410);
    EXPECT_EQ(samplesFor(5.0, 48000), 240);
}

TEST(TestSignals, SquareIsFullScaleWithEvenHalves)
{
    SignalRecipe recipe;
    recipe.levelDb = 0.0;
    recipe.seconds = 1.0;
    const WavAudio audio = makeSquare(recipe);
    const std::vector<float> &left = audio.channels[0];
    size_t positive = 0, transitions = 0;
    for (size_t i = 0; i < audio.frames(); ++i) {
        ASSERT_TRUE(left[i] == 1.0f || left[i] == -1.0f) << "frame " << i;
        positive += left[i] > 0;
        if (i > 0 && left[i] != left[i - 1])
            ++transitions;
    }
    // 10 periods of 1 kHz take 441 samples, which cannot split evenly: one sample in 441 is
    // the most the halves may differ by.
    EXPECT_NEAR(double(positive) / audio.frames(), 0.5, 1.0 / 441.0);
    EXPECT_NEAR(double(transitions), 2 * 1000 - 1, 1);
}

TEST(TestSignals, InterSamplePeaksLieThreeDecibelsAboveTheSamples)
{
    SignalRecipe recipe;
    recipe.levelDb = -1.0;
    recipe.seconds = 0.1;
    const WavAudio audio = makeInterSamplePeaks(recipe);
    const std::vector<float> &left = audio.channels[0];
    const double a = amplitudeOf(-1.0);
    EXPECT_NEAR(peak(audio) / a, 1.0, 1e-7);
    // Reconstruct the waveform halfway between two samples in the middle of the signal with a
    // windowed sinc interpolator: it reaches sqrt(2) times the sample level.
    const size_t centre = audio.frames() / 2;
    double largest = 0;
    for (size_t n = centre; n < centre + 4; ++n) {
        const double t = double(n) + 0.5;
        double value = 0;
        for (long k = long(n) - 1000; k <= long(n) + 1000; ++k) {
            const double d = t - double(k);
            const double window = 0.5 + 0.5 * std::cos(pi * d / 1001.0);
            value += left[size_t(k)] * std::sin(pi * d) / (pi * d) * window;
        }
        largest = std::max(largest, std::fabs(value));
    }
    EXPECT_NEAR(largest / (a * std::sqrt(2.0)), 1.0, 1e-3);
}

TEST(TestSignals, ProgrammeHoldsTheSixSignalsInOrder)
{
    const std::vector<ProgrammeSignal> programme = makeProgramme(48000, 2.0);
    std::string names;
    for (const ProgrammeSignal &signal : programme) {
        names += signal.name + " ";
        EXPECT_EQ(signal.audio.sampleRate, 48000u) << signal.name;
        EXPECT_EQ(signal.audio.frames(), 96000u) << signal.name;
        EXPECT_FALSE(signal.description.empty()) << signal.name;
    }
    EXPECT_EQ(names, "sine burst5 burst10 burst100 square intersample ");
    // The sine and the bursts at the VU reference of -18 dBFS, the square and the inter-sample
    // signal at full scale.
    EXPECT_NEAR(peak(programme[0].audio) / amplitudeOf(-18.0), 1.0, 1e-3);
    EXPECT_NEAR(peak(programme[2].audio) / amplitudeOf(-18.0), 1.0, 1e-2);
    EXPECT_EQ(peak(programme[4].audio), 1.0);
    EXPECT_EQ(peak(programme[5].audio), 1.0);
    // 10 ms at 48 kHz in the first burst, which starts after half a second.
    const std::vector<float> &burst10 = programme[2].audio.channels[0];
    EXPECT_EQ(burst10[23999], 0.0f);
    EXPECT_NE(burst10[24000 + 479], 0.0f);
    EXPECT_EQ(burst10[24000 + 480], 0.0f);
}

TEST(TestSignals, NoiseOverTriangleIsRepeatableAndWithinFullScale)
{
    const WavAudio first = makeNoiseOverTriangle(48000, 3, 4000);
    const WavAudio second = makeNoiseOverTriangle(48000, 3, 4000);
    ASSERT_EQ(first.channels.size(), 3u);
    EXPECT_EQ(first.channels, second.channels);
    EXPECT_NE(first.channels[0], first.channels[1]);
    EXPECT_LE(peak(first), 1.0);
    EXPECT_GT(peak(first), 0.5);
}

TEST(TestSignals, OwnSineAndDecibelsMatchTheMathsLibrary)
{
    // The signals avoid the maths library so that every build writes the same bits; the own
    // functions must still be right to a few parts in 1e16, over whole and negative turns.
    for (int i = -2000; i <= 2000; ++i) {
        const double turns = i * 0.00137;
        EXPECT_NEAR(sineOfTurns(turns), std::sin(2.0 * pi * turns), 4e-16 + 1e-15 * std::fabs(turns)) << turns;
    }
    EXPECT_EQ(sineOfTurns(0.0), 0.0);
    EXPECT_DOUBLE_EQ(sineOfTurns(0.25), 1.0);
    EXPECT_DOUBLE_EQ(sineOfTurns(-0.25), -1.0);
    EXPECT_DOUBLE_EQ(sineOfTurns(1.0 / 12.0), 0.5);
    // The exponent db / 20 * ln 10 carries a rounding error that grows with its size.
    for (double db = -140.0; db <= 40.0; db += 0.37)
        EXPECT_NEAR(amplitudeOfDecibels(db) / std::pow(10.0, db / 20.0), 1.0, 1e-16 * (4.0 + std::fabs(db)))
            << db << " dB";
    EXPECT_EQ(amplitudeOfDecibels(0.0), 1.0);
}
