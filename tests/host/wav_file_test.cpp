// The harness's WAV files: exact round trips, 16-bit rounding and limits, other writers'
// layouts, and what is refused.
#include "wav_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

uint32_t read32(const std::vector<unsigned char> &b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

uint32_t read16(const std::vector<unsigned char> &b, size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8; }

void append(std::vector<unsigned char> &b, const char *text, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        b.push_back(static_cast<unsigned char>(text[i]));
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

// Builds a mono 48 kHz file image by hand, as another program would write it.
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
    append16(b, 1);
    append32(b, 48000);
    append32(b, 48000u * bits / 8);
    append16(b, bits / 8);
    append16(b, bits);
    if (extensible) {
        append16(b, 22);
        append16(b, bits);
        append32(b, 4);
        append16(b, format);  // the sub-format GUID begins with the format code
        append(b, "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    }
    append(b, "data", 4);
    append32(b, uint32_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

WavAudio stereo(unsigned rate, const std::vector<float> &left, const std::vector<float> &right)
{
    WavAudio audio;
    audio.sampleRate = rate;
    audio.channels = {left, right};
    return audio;
}

}  // namespace

TEST(WavFile, FloatRoundTripIsExactAndInterleaved)
{
    const WavAudio audio = stereo(96000, {0.0f, 1.0f, 1.5f, -0.123456789f}, {-0.0f, -1.0f, 1e-30f, 3.0e-3f});
    const std::vector<unsigned char> image = encodeWav(audio, WavSampleFormat::Float32);
    ASSERT_EQ(image.size(), 44u + 4 * 8);
    EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "RIFF");
    EXPECT_EQ(read32(image, 4), image.size() - 8);
    EXPECT_EQ(read16(image, 20), 3u);  // float
    EXPECT_EQ(read16(image, 22), 2u);
    EXPECT_EQ(read32(image, 24), 96000u);
    EXPECT_EQ(read32(image, 28), 96000u * 8);
    EXPECT_EQ(read16(image, 32), 8u);
    EXPECT_EQ(read16(image, 34), 32u);
    EXPECT_EQ(read32(image, 40), 32u);
    EXPECT_EQ(read32(image, 44 + 4), 0x80000000u);  // the first right sample, -0.0, follows the first left one

    WavAudio back;
    std::string error;
    ASSERT_TRUE(decodeWav(image, back, error)) << error;
    EXPECT_EQ(back.sampleRate, 96000u);
    ASSERT_EQ(back.channels.size(), 2u);
    for (size_t c = 0; c < 2; ++c) {
        ASSERT_EQ(back.channels[c].size(), 4u);
        EXPECT_EQ(std::memcmp(back.channels[c].data(), audio.channels[c].data(), 4 * 4), 0) << "channel " << c;
    }
}

TEST(WavFile, SixteenBitRoundsLimitsAndReadsBack)
{
    WavAudio audio;
    audio.channels = {{0.5f, -0.5f, 1.0f, -1.0f, 2.0f, -2.0f, 100.4f / 32768.0f, std::nanf("")}};
    const std::vector<unsigned char> image = encodeWav(audio, WavSampleFormat::Pcm16);
    ASSERT_EQ(image.size(), 44u + 2 * 8);
    EXPECT_EQ(read16(image, 20), 1u);  // PCM
    EXPECT_EQ(read16(image, 34), 16u);
    const int16_t expected[] = {16384, -16384, 32767, -32768, 32767, -32768, 100, 0};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(int16_t(read16(image, 44 + 2 * i)), expected[i]) << "sample " << i;

    WavAudio back;
    std::string error;
    ASSERT_TRUE(decodeWav(image, back, error)) << error;
    ASSERT_EQ(back.channels.size(), 1u);
    ASSERT_EQ(back.frames(), 8u);
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(back.channels[0][i], float(expected[i] / 32768.0)) << "sample " << i;
}

TEST(WavFile, ReadsOtherWritersLayouts)
{
    // 24-bit PCM behind a LIST chunk of odd size: -0.5, +0.25 and the most negative value.
    const std::vector<unsigned char> pcm24 = {0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x80};
    WavAudio audio;
    std::string error;
    ASSERT_TRUE(decodeWav(handMadeWav(1, 24, false, pcm24, true), audio, error)) << error;
    EXPECT_EQ(audio.sampleRate, 48000u);
    ASSERT_EQ(audio.channels.size(), 1u);
    ASSERT_EQ(audio.frames(), 3u);
    EXPECT_EQ(audio.channels[0][0], -0.5f);
    EXPECT_EQ(audio.channels[0][1], 0.25f);
    EXPECT_EQ(audio.channels[0][2], -1.0f);

    // 32-bit float behind an extensible header.
    std::vector<unsigned char> floats;
    append32(floats, 0x3F000000u);  // 0.5f
    append32(floats, 0xBE800000u);  // -0.25f
    ASSERT_TRUE(decodeWav(handMadeWav(3, 32, true, floats, false), audio, error)) << error;
    ASSERT_EQ(audio.frames(), 2u);
    EXPECT_EQ(audio.channels[0][0], 0.5f);
    EXPECT_EQ(audio.channels[0][1], -0.25f);

    // 32-bit PCM: the most negative value and a half.
    std::vector<unsigned char> pcm32;
    append32(pcm32, 0x80000000u);
    append32(pcm32, 0x40000000u);
    ASSERT_TRUE(decodeWav(handMadeWav(1, 32, false, pcm32, false), audio, error)) << error;
    ASSERT_EQ(audio.frames(), 2u);
    EXPECT_EQ(audio.channels[0][0], -1.0f);
    EXPECT_EQ(audio.channels[0][1], 0.5f);
}

TEST(WavFile, RefusesWhatItCannotRead)
{
    WavAudio audio;
    std::string error;
    const std::vector<unsigned char> data(8, 0);
    EXPECT_FALSE(decodeWav({}, audio, error));
    EXPECT_FALSE(decodeWav(handMadeWav(2, 16, false, data, false), audio, error));  // ADPCM
    EXPECT_FALSE(decodeWav(handMadeWav(1, 12, false, data, false), audio, error));  // 12-bit
    EXPECT_FALSE(decodeWav(handMadeWav(3, 64, false, data, false), audio, error));  // double
    std::vector<unsigned char> notWave = handMadeWav(1, 16, false, data, false);
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    EXPECT_FALSE(decodeWav(notWave, audio, error));
    // A chunk before the format that claims more bytes than the file holds.
    std::vector<unsigned char> broken = handMadeWav(1, 16, false, data, true);
    broken[16] = 0xFF;
    ASSERT_TRUE(decodeWav(handMadeWav(1, 16, false, data, false), audio, error));
    EXPECT_FALSE(decodeWav(broken, audio, error));
    EXPECT_TRUE(audio.channels.empty());
    EXPECT_FALSE(error.empty());

    // A data chunk cut short yields the whole frames that are there.
    std::vector<unsigned char> truncated = handMadeWav(1, 16, false, data, false);
    truncated.resize(truncated.size() - 3);
    ASSERT_TRUE(decodeWav(truncated, audio, error)) << error;
    EXPECT_EQ(audio.frames(), 2u);
}

TEST(WavFile, WritesAndReadsFiles)
{
    const std::string path = ::testing::TempDir() + "zem_wav_file_roundtrip.wav";
    const WavAudio audio = stereo(44100, {0.5f, -0.25f, 0.125f}, {1.0f, -1.0f, 0.0f});
    std::string error;
    ASSERT_TRUE(writeWav(path, audio, error)) << error;
    WavAudio back;
    ASSERT_TRUE(readWav(path, back, error)) << error;
    EXPECT_EQ(back.channels, audio.channels);
    ASSERT_TRUE(writeWav(path, audio, error, WavSampleFormat::Pcm16)) << error;
    ASSERT_TRUE(readWav(path, back, error)) << error;
    EXPECT_EQ(back.channels[0], audio.channels[0]);
    EXPECT_EQ(back.channels[1][0], 32767.f / 32768.f);  // full scale is limited in 16 bits
    std::remove(path.c_str());
    EXPECT_FALSE(readWav(path, back, error));
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_FALSE(writeWav(::testing::TempDir() + "no/such/folder/x.wav", audio, error));
}
