// The decode laws every reader shares, at their boundaries: the two-state and three-state
// switch laws, the lag law and the wheel-notch law. The sums are single precision, so the
// values just below a half round up.
#include <gtest/gtest.h>

#include "params/parameter_table.h"
#include "ui/wheel_notch.h"

namespace {

TEST(DecodeLaws, TwoStateIsOnFromJustBelowAHalf)
{
    EXPECT_FALSE(switchOn(0.f));
    EXPECT_FALSE(switchOn(0.49999994f));
    EXPECT_TRUE(switchOn(0.49999997f));
    EXPECT_TRUE(switchOn(0.5f));
    EXPECT_TRUE(switchOn(1.f));
}

TEST(DecodeLaws, ThreeStateBoundaries)
{
    EXPECT_EQ(0, threeState(0.f));
    EXPECT_EQ(0, threeState(0.24999997f));
    EXPECT_EQ(1, threeState(0.25f));
    EXPECT_EQ(1, threeState(1.f / 3.f));
    EXPECT_EQ(1, threeState(0.5f));
    EXPECT_EQ(1, threeState(2.f / 3.f));
    EXPECT_EQ(2, threeState(0.75f));
    EXPECT_EQ(2, threeState(1.f));
}

TEST(DecodeLaws, LagMillisecondsRoundToTheNearest)
{
    EXPECT_EQ(0, lagMilliseconds(0.f));
    EXPECT_EQ(500, lagMilliseconds(0.5f));
    EXPECT_EQ(250, lagMilliseconds(250.f / 999.f));
    EXPECT_EQ(999, lagMilliseconds(1.f));
}

TEST(DecodeLaws, WheelNotchesCountMoreThanATenthAsAWholeNotch)
{
    EXPECT_FLOAT_EQ(1.f, VSTGUI::wheelNotches(0.11f));
    EXPECT_FLOAT_EQ(1.f, VSTGUI::wheelNotches(3.f));
    EXPECT_FLOAT_EQ(0.1f, VSTGUI::wheelNotches(0.1f));
    EXPECT_FLOAT_EQ(-0.1f, VSTGUI::wheelNotches(-0.1f));
    EXPECT_FLOAT_EQ(-1.f, VSTGUI::wheelNotches(-0.11f));
    EXPECT_FLOAT_EQ(0.f, VSTGUI::wheelNotches(0.f));
}

}  // namespace
