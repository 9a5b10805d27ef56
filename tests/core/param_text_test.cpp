// The number and frequency texts on their own: rounding, signs, the 8-character limit and the
// "k" notation.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/param_text.h"

namespace {

std::string paramText(double value, int decimals)
{
    char text[kParamTextMax + 1 + 8];
    std::fill(std::begin(text), std::end(text), '#');
    ParamText(value, decimals, text);
    EXPECT_EQ(text[kParamTextMax + 1], '#') << "wrote past its 9 bytes";
    return text;
}

std::string freqText(double hz)
{
    char text[kParamTextMax + 1 + 8];
    std::fill(std::begin(text), std::end(text), '#');
    FreqText(hz, text);
    EXPECT_EQ(text[kParamTextMax + 1], '#') << "wrote past its 9 bytes";
    return text;
}

std::string frequencyDisplay(float value, double base)
{
    char text[16] = {};
    FrequencyDisplay(value, base, text);
    return text;
}

}  // namespace

TEST(ParamText, WritesExactlyTheRequestedDecimals)
{
    EXPECT_EQ(paramText(0.0, 1), "0.0");
    EXPECT_EQ(paramText(10.0, 1), "10.0");
    EXPECT_EQ(paramText(-3.5, 1), "-3.5");
    EXPECT_EQ(paramText(7.0, 0), "7");
    EXPECT_EQ(paramText(1.5, 3), "1.500");
    EXPECT_EQ(paramText(42.0, 2), "42.00");
}

TEST(ParamText, RoundsUpFromJustBelowHalfAUnitAwayFromZero)
{
    EXPECT_EQ(paramText(2.3499995, 1), "2.4");  // remainder 0.499995 of the last place: up
    EXPECT_EQ(paramText(2.34998, 1), "2.3");    // remainder 0.4998: down
    EXPECT_EQ(paramText(-2.3499995, 1), "-2.4");
    EXPECT_EQ(paramText(-0.25, 1), "-0.3");
    EXPECT_EQ(paramText(0.95, 1), "1.0");
    EXPECT_EQ(paramText(9.5, 0), "10");
    EXPECT_EQ(paramText(199.99998, 0), "200");
}

TEST(ParamText, NeitherPlusSignNorExponentNorNegativeZero)
{
    EXPECT_EQ(paramText(25.0, 0), "25");
    EXPECT_EQ(paramText(1e-9, 2), "0.00");
    EXPECT_EQ(paramText(-0.0001, 1), "0.0");
    EXPECT_EQ(paramText(-0.0, 1), "0.0");
    EXPECT_EQ(paramText(0.00001, 0), "0");
}

TEST(ParamText, CutsFractionDigitsFirstToStayWithinEightCharacters)
{
    EXPECT_EQ(paramText(12345.678, 2), "12345.68");
    EXPECT_EQ(paramText(123456.78, 2), "123456.7");  // the last fraction digit went
    EXPECT_EQ(paramText(-123456.5, 1), "-123456");   // no dangling point
    EXPECT_EQ(paramText(1234567.0, 1), "1234567");
    EXPECT_EQ(paramText(99999999.0, 0), "99999999");
    EXPECT_EQ(paramText(1e30, 2).size(), 8u);
}

TEST(ParamText, NonFiniteValuesWriteZero)
{
    EXPECT_EQ(paramText(std::numeric_limits<double>::quiet_NaN(), 1), "0.0");
    EXPECT_EQ(paramText(std::numeric_limits<double>::infinity(), 0), "0");
}

TEST(FreqText, DecimalsFollowTheDecade)
{
    EXPECT_EQ(freqText(5.0), "5.00");
    EXPECT_EQ(freqText(9.999), "10.00");  // still below 10 Hz: two decimals
    EXPECT_EQ(freqText(20.0), "20.0");
    EXPECT_EQ(freqText(63.25), "63.3");
    EXPECT_EQ(freqText(200.0), "200");
    EXPECT_EQ(freqText(999.4), "999");
}

TEST(FreqText, KiloNotation)
{
    EXPECT_EQ(freqText(1000.0), "1k");
    EXPECT_EQ(freqText(1500.0), "1k5");
    EXPECT_EQ(freqText(1250.0), "1k25");
    EXPECT_EQ(freqText(1050.0), "1k05");
    EXPECT_EQ(freqText(12500.0), "12k5");
    EXPECT_EQ(freqText(12550.0), "12k5");  // tens are dropped from 10 kHz on
    EXPECT_EQ(freqText(20000.0), "20k");
    EXPECT_EQ(freqText(30000.0), "30k");
    EXPECT_EQ(freqText(1999.0), "1k99");  // digits are truncated, not rounded
    EXPECT_EQ(freqText(1009.0), "1k");
}

TEST(FreqText, StoredFrequencyValuesOutsideTheRangeAreUndefined)
{
    EXPECT_EQ(frequencyDisplay(-0.01f, 20.0), "UNDEF");
    EXPECT_EQ(frequencyDisplay(1.01f, 300.0), "UNDEF");
    EXPECT_EQ(frequencyDisplay(std::nanf(""), 300.0), "UNDEF");
    EXPECT_EQ(frequencyDisplay(0.f, 20.0), "20.0");
    EXPECT_EQ(frequencyDisplay(1.f, 20.0), "2k");
    EXPECT_EQ(frequencyDisplay(0.5f, 300.0), "3k");
}
