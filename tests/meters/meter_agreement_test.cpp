// The Linux and both Windows builds must read the same material identically, to the last bit:
// the fingerprints below are the readings every build produces.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "meter_test_support.h"

using namespace meter_test;

namespace {

uint64_t bitsOf(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// FNV-1a over the bit patterns of an engine's readings.
struct ReadingHash {
    uint64_t hash = 1469598103934665603ull;

    void mix(uint64_t v)
    {
        for (int b = 0; b < 8; ++b) {
            hash ^= (v >> (8 * b)) & 0xff;
            hash *= 1099511628211ull;
        }
    }
    void mixReadings(MeterEngine &e)
    {
        for (int q = 0; q < kMeterQuantityCount; ++q)
            mix(bitsOf(e.readoutValue(static_cast<MeterQuantity>(q), 0.25)));
        mix(static_cast<uint64_t>(e.readoutOverState(0) + 1));
        mix(static_cast<uint64_t>(e.readoutOverState(1) + 1));
    }
};

// FNV-1a over the bit patterns of every reading after every block.
uint64_t fingerprint(MeterType type, float rate, bool precise, bool midSide)
{
    MeterTestOwner owner;
    owner.resumeAt(rate);
    owner.setParameter(type == kMeterTypeVU ? 91 : type == kMeterTypePPM ? 100 : 80, precise ? 1.f : 0.f);
    owner.setParameter(4, midSide ? 1.f : 0.f);
    owner.setParameter(type == kMeterTypeVU ? 89 : type == kMeterTypePPM ? 98 : 78, 0.f);
    MeterEngine &e = *owner.engine(type);
    std::vector<float> left = sine(rate, 997, 0.95, 0.4);
    std::vector<float> right = square(rate, 123, 0.6, 0.4);
    for (size_t i = 0; i < left.size(); ++i)
        left[i] += static_cast<float>(0.04 * std::sin(0.37 * i * i / rate));
    ReadingHash hash;
    for (size_t start = 0; start + 480 <= left.size(); start += 480) {
        e.process(left.data() + start, right.data() + start, 480);
        hash.mixReadings(e);
    }
    return hash.hash;
}

}  // namespace

class MeterAgreementTest : public MeterTest {};

TEST_F(MeterAgreementTest, EveryBuildReadsTheSameBits)
{
    struct Case {
        MeterType type;
        float rate;
        bool precise;
        bool midSide;
        uint64_t expected;
    };
    const Case cases[] = {
        {kMeterTypeVU, 44100, false, false, 0x278576d56ea1b947ull},
        {kMeterTypeVU, 48000, true, true, 0x23ec9ed358be400full},
        {kMeterTypePPM, 44100, true, false, 0x3fcd5dd93860bf5dull},
        {kMeterTypePPM, 96000, true, true, 0xeb3603e4749632faull},
        {kMeterTypeRMS, 48000, true, false, 0xf6050fa537220ed3ull},
        {kMeterTypeRMS, 192000, false, true, 0x5bece9c12f67c174ull},
        {kMeterTypeRMS, 88200, true, true, 0xea67a898633761aeull},
    };
    for (const Case &c : cases) {
        const uint64_t got = fingerprint(c.type, c.rate, c.precise, c.midSide);
        EXPECT_EQ(got, c.expected) << "type " << c.type << " at " << c.rate << " Hz";
    }
}

// The VU needles' running sections across everything that sets them anew: a design while the
// needles stand deflected (integration time, needle type), a sample that is not a number (back
// to rest) and blocks of many lengths, so that the needles cross sections inside blocks, on their
// first and last samples, and in both channels at once.
TEST_F(MeterAgreementTest, VUNeedlesReadTheSameBitsAcrossRedesignAndRest)
{
    MeterTestOwner owner;
    owner.resumeAt(48000);
    MeterEngine &e = *owner.vu();
    std::vector<float> left = sine(48000, 331, 0.9, 1.5);
    std::vector<float> right = square(48000, 57, 0.5, 1.5);
    for (size_t i = 0; i < left.size(); ++i) {
        const float loud = (i / 4000) % 2 ? 1.f : 0.02f;  // the needles swing across their travel
        left[i] *= loud;
        right[i] *= 1.02f - loud;
    }
    ReadingHash hash;
    size_t start = 0;
    int blocks = 0;
    for (size_t frames = 1; start + frames <= left.size(); start += frames, frames = frames * 7 % 509 + 1) {
        if (blocks == 60)
            owner.setParameter(84, 0.7f);  // integration time
        if (blocks == 120)
            owner.setParameter(86, 1.f);  // needle type
        if (blocks == 180)
            left[start + frames / 2] = std::nanf("");
        e.process(left.data() + start, right.data() + start, static_cast<VstInt32>(frames));
        hash.mixReadings(e);
        ++blocks;
    }
    EXPECT_GT(blocks, 200);
    EXPECT_EQ(hash.hash, 0x7474792239d6c5a5ull);
}
