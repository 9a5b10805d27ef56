// The WAV reader/writer and the test signals, checked through their public functions.
#include "test_signals.h"
#include "wav_io.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;

uint32_t read32(const std::vector<unsigned char> &b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

uint32_t read16(const std::vector<unsigned char> &b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8;
}

void append(std::vector<unsigned char> &b, const char *text, size_t n)
{
    b.insert(b.end(), text, text + n);
}

void append32(std::vector<unsigned char> &b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void append16(std::vector<unsigned char> &b, uint32_t v)
{
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}

// Builds a file image by hand, as another program would write it.
std::vector<unsigned char> handMadeWav(uint16_t format, uint16_t bits, bool extensible,
                                       const std::vector<unsigned char> &data, bool withListChunk)
{
    std::vector<unsigned char> b;
    append(b, "RIFF", 4);
    append32(b, 0);  // readers must not depend on the RIFF size
    append(b, "WAVE", 4);
    if (withListChunk) {
        append(b, "LIST", 4);
        append32(b, 3);  // odd size: one padding byte follows
        append(b, "abc\0", 4);
    }
    append(b, "fmt ", 4);
    append32(b, extensible ? 40 : 16);
    append16(b, extensible ? 0xFFFE : format);
    append16(b, 1);  // mono
    append32(b, 48000);
    append32(b, 48000u * bits / 8);
    append16(b, bits / 8);
    append16(b, bits);
    if (extensible) {
        append16(b, 22);
        append16(b, bits);
        append32(b, 4);
        append16(b, format);  // sub-format GUID begins with the format code
        append(b, "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    }
    append(b, "data", 4);
    append32(b, uint32_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

double peak(const WavData &audio)
{
    double p = 0;
    for (float v : audio.samples)
        p = std::max(p, double(std::fabs(v)));
    return p;
}

double amplitudeOf(double db)
{
    return std::pow(10.0, db / 20.0);
}

}  // namespace

// ---- WAV files ----------------------------------------------------------------------------

TEST(WavFile, FloatRoundTripIsExact)
{
    WavData audio;
    audio.sampleRate = 96000;
    audio.samples = {0.0f, -0.0f, 1.0f, -1.0f, 1.5f, 1e-30f, -0.123456789f, 3.0e-3f};
    const std::vector<unsigned char> image = encodeWav(audio, WavSampleFormat::Float32);
    ASSERT_EQ(image.size(), 44u + 4 * audio.samples.size());
    EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "RIFF");
    EXPECT_EQ(read32(image, 4), image.size() - 8);
    EXPECT_EQ(read16(image, 20), 3u);  // float
    EXPECT_EQ(read16(image, 22), 2u);
    EXPECT_EQ(read32(image, 24), 96000u);
    EXPECT_EQ(read32(image, 28), 96000u * 8);
    EXPECT_EQ(read16(image, 34), 32u);

    WavData back;
    ASSERT_TRUE(decodeWav(image, back));
    EXPECT_EQ(back.channels, 2);
    EXPECT_EQ(back.sampleRate, 96000);
    ASSERT_EQ(back.samples.size(), audio.samples.size());
    EXPECT_EQ(std::memcmp(back.samples.data(), audio.samples.data(), 4 * audio.samples.size()), 0);
}

TEST(WavFile, SixteenBitRoundsLimitsAndReadsBack)
{
    WavData audio;
    audio.samples = {0.5f, -0.5f, 1.0f, -1.0f, 2.0f, -2.0f, 100.4f / 32768.0f, std::nanf("")};
    const std::vector<unsigned char> image = encodeWav(audio, WavSampleFormat::Pcm16);
    ASSERT_EQ(image.size(), 44u + 2 * audio.samples.size());
    EXPECT_EQ(read16(image, 20), 1u);  // PCM
    EXPECT_EQ(read16(image, 34), 16u);
    const int16_t expected[] = {16384, -16384, 32767, -32768, 32767, -32768, 100, 0};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(int16_t(read16(image, 44 + 2 * i)), expected[i]) << "sample " << i;

    WavData back;
    ASSERT_TRUE(decodeWav(image, back));
    ASSERT_EQ(back.samples.size(), 8u);
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(back.samples[i], float(expected[i] / 32768.0)) << "sample " << i;
}

TEST(WavFile, ReadsOtherWritersFormats)
{
    // 24-bit PCM behind a LIST chunk of odd size: -0.5, +0.25 and the most negative value.
    const std::vector<unsigned char> pcm24 = {0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x80};
    WavData audio;
    ASSERT_TRUE(decodeWav(handMadeWav(1, 24, false, pcm24, true), audio));
    EXPECT_EQ(audio.channels, 1);
    EXPECT_EQ(audio.sampleRate, 48000);
    ASSERT_EQ(audio.samples.size(), 3u);
    EXPECT_EQ(audio.samples[0], -0.5f);
    EXPECT_EQ(audio.samples[1], 0.25f);
    EXPECT_EQ(audio.samples[2], -1.0f);

    // Extensible header around 32-bit float.
    std::vector<unsigned char> floats;
    append32(floats, 0x3F000000u);  // 0.5f
    append32(floats, 0xBE800000u);  // -0.25f
    ASSERT_TRUE(decodeWav(handMadeWav(3, 32, true, floats, false), audio));
    ASSERT_EQ(audio.samples.size(), 2u);
    EXPECT_EQ(audio.samples[0], 0.5f);
    EXPECT_EQ(audio.samples[1], -0.25f);
}

TEST(WavFile, RejectsWhatItCannotRead)
{
    WavData audio;
    const std::vector<unsigned char> data(8, 0);
    EXPECT_FALSE(decodeWav({}, audio));
    EXPECT_FALSE(decodeWav(handMadeWav(2, 16, false, data, false), audio));   // ADPCM
    EXPECT_FALSE(decodeWav(handMadeWav(1, 12, false, data, false), audio));   // 12-bit
    std::vector<unsigned char> notWave = handMadeWav(1, 16, false, data, false);
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    EXPECT_FALSE(decodeWav(notWave, audio));
    // A chunk that claims more bytes than the file holds, before the data.
    std::vector<unsigned char> broken = handMadeWav(1, 16, false, data, true);
    broken[16] = 0xFF;
    EXPECT_FALSE(decodeWav(broken, audio));
    EXPECT_TRUE(audio.samples.empty());

    // A truncated data chunk yields the whole frames that are there.
    std::vector<unsigned char> truncated = handMadeWav(1, 16, false, data, false);
    truncated.resize(truncated.size() - 3);
    ASSERT_TRUE(decodeWav(truncated, audio));
    EXPECT_EQ(audio.samples.size(), 2u);
}

TEST(WavFile, WritesAndReadsFiles)
{
    const std::string path = ::testing::TempDir() + "zem_signals_roundtrip.wav";
    WavData audio = makeSine(SignalSpec{});
    ASSERT_TRUE(writeWavFile(path, audio, WavSampleFormat::Float32));
    WavData back;
    ASSERT_TRUE(readWavFile(path, back));
    EXPECT_EQ(back.samples, audio.samples);
    std::remove(path.c_str());
    EXPECT_FALSE(readWavFile(path, back));
    EXPECT_FALSE(writeWavFile(::testing::TempDir() + "no/such/folder/x.wav", audio, WavSampleFormat::Pcm16));
}

// ---- Test signals -------------------------------------------------------------------------

TEST(TestSignals, SineSitsAtTheRequestedLevel)
{
    SignalSpec spec;  // 1 kHz, -18 dBFS, 5 s at 44.1 kHz
    const WavData audio = makeSine(spec);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.frames(), 5u * 44100u);
    // The sampled peak of a 1 kHz sine at 44.1 kHz comes within 0.03 % of the true peak.
    EXPECT_NEAR(peak(audio) / amplitudeOf(-18.0), 1.0, 3e-4);
    EXPECT_LE(peak(audio), amplitudeOf(-18.0) * (1 + 1e-7));
    double sumSquares = 0;
    for (size_t i = 0; i < audio.frames(); ++i) {
        sumSquares += double(audio.samples[2 * i]) * audio.samples[2 * i];
        ASSERT_EQ(audio.samples[2 * i], audio.samples[2 * i + 1]);
    }
    EXPECT_NEAR(std::sqrt(sumSquares / audio.frames()) / (amplitudeOf(-18.0) / std::sqrt(2.0)), 1.0, 1e-4);
}

TEST(TestSignals, BurstsLastTheirDurationOncePerSecond)
{
    SignalSpec spec;
    spec.frequency = 5000.0;
    for (double ms : {5.0, 10.0, 100.0}) {
        const WavData audio = makeToneBursts(spec, ms);
        const size_t length = size_t(samplesFor(ms, 44100));
        size_t bursts = 0;
        for (size_t start = 22050; start < audio.frames(); start += 44100, ++bursts) {
            // Silence up to the burst and after it, sound at its last sample.
            for (size_t i = start - 22050; i < start; ++i)
                ASSERT_EQ(audio.samples[2 * i], 0.0f) << ms << " ms, frame " << i;
            for (size_t i = start + length; i < std::min(audio.frames(), start + 22050); ++i)
                ASSERT_EQ(audio.samples[2 * i], 0.0f) << ms << " ms, frame " << i;
            EXPECT_NE(audio.samples[2 * (start + length - 1)], 0.0f);
        }
        EXPECT_EQ(bursts, 5u);
        EXPECT_NEAR(peak(audio) / amplitudeOf(-18.0), 1.0, 0.01);
    }
    EXPECT_EQ(samplesFor(5.0, 44100), 221);  // 220.5 rounds up
    EXPECT_EQ(samplesFor(10.0, 44100), 441);
    EXPECT_EQ(samplesFor(100.0, 44100), 4410);
}

TEST(TestSignals, SquareIsFullScaleWithEvenHalves)
{
    SignalSpec spec;
    spec.levelDb = 0.0;
    spec.seconds = 1.0;
    const WavData audio = makeSquare(spec);
    size_t positive = 0, transitions = 0;
    for (size_t i = 0; i < audio.frames(); ++i) {
        const float v = audio.samples[2 * i];
        ASSERT_TRUE(v == 1.0f || v == -1.0f) << "frame " << i;
        positive += v > 0;
        if (i > 0 && v != audio.samples[2 * (i - 1)])
            ++transitions;
    }
    // 10 periods of 1 kHz take 441 samples, which cannot split evenly: one sample in 441 is
    // the most the halves may differ by.
    EXPECT_NEAR(double(positive) / audio.frames(), 0.5, 1.0 / 441.0);
    EXPECT_NEAR(double(transitions), 2 * 1000 - 1, 1);
}

TEST(TestSignals, InterSamplePeaksLieThreeDecibelsAboveTheSamples)
{
    SignalSpec spec;
    spec.levelDb = -1.0;
    spec.seconds = 0.1;
    const WavData audio = makeInterSamplePeaks(spec);
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
            value += audio.samples[2 * size_t(k)] * std::sin(pi * d) / (pi * d) * window;
        }
        largest = std::max(largest, std::fabs(value));
    }
    EXPECT_NEAR(largest / (a * std::sqrt(2.0)), 1.0, 1e-3);
}
