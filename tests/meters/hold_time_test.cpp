// The hold counters are compared with the first count that reaches the hold length instead of
// converting every count to single precision: that count must be exactly the one where the
// single-precision test first passes, for every length the settings and rates can give and for
// lengths where single precision no longer holds every count.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "meters/peak_follower.h"

namespace {

// The rule the count stands for: the hold falls once float(count) >= length.
bool reaches(int count, float length) { return static_cast<float>(count) >= length; }

void expectFirstCountReaching(float length)
{
    const double first = HoldTime::firstCountReaching(length);
    ASSERT_TRUE(first >= 0) << length;
    if (std::isinf(first)) {
        EXPECT_FALSE(reaches(LevelHold::kCounterLimit, length)) << "no count up to the limit reaches " << length;
        return;
    }
    const int count = static_cast<int>(first);
    ASSERT_EQ(first, count) << length;
    ASSERT_LE(count, LevelHold::kCounterLimit) << length;
    EXPECT_TRUE(reaches(count, length)) << length;
    if (count > 0) {
        EXPECT_FALSE(reaches(count - 1, length)) << "an earlier count already reaches " << length;
    }
}

}  // namespace

TEST(HoldTime, FirstCountReachingIsWhereTheSinglePrecisionTestFirstPasses)
{
    // Hold lengths of the settings at the usual rates, whole and fractional.
    for (float rate : {44100.f, 48000.f, 88200.f, 96000.f, 192000.f})
        for (double ms : {0.0, 0.02, 1.0, 10.0, 100.0, 333.3, 1000.0, 2500.0, 20000.0})
            expectFirstCountReaching(static_cast<float>(rate * ms * 0.001));
    for (float length : {0.25f, 0.5f, 1.f, 1.5f, 2.f, 7.99f, 4410.f, 4410.5f})
        expectFirstCountReaching(length);
    // Beyond 2^24 single precision skips counts: several counts round up to the length.
    for (float length = 16777216.f; length < 1.1e9f; length = std::nextafter(length * 1.37f, 2e9f)) {
        expectFirstCountReaching(length);
        expectFirstCountReaching(std::nextafter(length, 0.f));
        expectFirstCountReaching(std::nextafter(length, 2e9f));
    }
    expectFirstCountReaching(static_cast<float>(LevelHold::kCounterLimit));
}

TEST(HoldTime, LengthsNoCountReachesNeverLetTheHoldFall)
{
    const double never = std::numeric_limits<double>::infinity();
    EXPECT_EQ(HoldTime::firstCountReaching(std::nextafter(static_cast<float>(LevelHold::kCounterLimit), 2e9f)), never);
    EXPECT_EQ(HoldTime::firstCountReaching(std::numeric_limits<float>::infinity()), never);
    EXPECT_EQ(HoldTime::firstCountReaching(std::numeric_limits<float>::quiet_NaN()), never);
    // A length of zero or below is reached by the very first count.
    EXPECT_EQ(HoldTime::firstCountReaching(0.f), 0);
    EXPECT_EQ(HoldTime::firstCountReaching(-0.f), 0);
    EXPECT_EQ(HoldTime::firstCountReaching(-3.f), 0);
}
