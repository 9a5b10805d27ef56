// The three angle laws at the marks printed on the scales, their clamps, and the point rule that
// both the needle views and the printed scales use.
#include <gtest/gtest.h>

#include <cmath>

#include "display/needle_laws.h"

namespace {

float fromDb(float db) { return std::pow(10.0f, db / 20.0f); }

// The values are given to two decimals of a degree.
constexpr float kDegreeTolerance = 0.006f;

TEST(NeedleLaws, VuAtItsReferenceMarks)
{
    EXPECT_NEAR(vuNeedleAngle(0.0f), 136.5f, kDegreeTolerance);
    EXPECT_NEAR(vuNeedleAngle(1.0f), 77.75f, kDegreeTolerance);  // 0 VU
    EXPECT_NEAR(vuNeedleAngle(1.44f), 45.5f, kDegreeTolerance);
    EXPECT_NEAR(vuNeedleAngle(-0.05f), 139.66f, kDegreeTolerance);  // rest after reset
    EXPECT_NEAR(vuNeedleAngle(1.5f), 40.93f, kDegreeTolerance);
}

TEST(NeedleLaws, VuNegativeValuesAreNotRaisedToThePower)
{
    // m = v / 1.44 below zero, linear: -0.05 lies 91 * 0.05 / 1.44 degrees left of rest.
    EXPECT_NEAR(vuNeedleAngle(-0.05f) - vuNeedleAngle(0.0f), 91.0f * 0.05f / 1.44f, kDegreeTolerance);
}

TEST(NeedleLaws, RmsAtItsReferenceMarks)
{
    EXPECT_NEAR(rmsNeedleAngle(1.0f), 51.89f, kDegreeTolerance);
    EXPECT_NEAR(rmsNeedleAngle(0.01f), 138.08f, kDegreeTolerance);  // -40 dB
    EXPECT_NEAR(rmsNeedleAngle(fromDb(6.0f)), 38.96f, kDegreeTolerance);
    // 46 dB span 99.12 degrees: -20 dB lies halfway between -40 and +6 minus 3 dB worth.
    EXPECT_NEAR(rmsNeedleAngle(0.1f), 138.08f - 20.0f * 99.12f / 46.0f, kDegreeTolerance);
}

TEST(NeedleLaws, RmsCompressesBelowMinus40AndClamps)
{
    // -60 dB: f = 0.035, d = 0.965 * -42 + 0.035 * -60 = -42.63 dB on the scale.
    const float expected = (1.0f - (-42.63f + 40.0f) / 46.0f) * 99.12f + 38.96f;
    EXPECT_NEAR(rmsNeedleAngle(0.001f), expected, 0.01f);
    EXPECT_FLOAT_EQ(rmsNeedleAngle(0.0001f), 145.0f);  // lower clamp of the read-out
    EXPECT_FLOAT_EQ(rmsNeedleAngle(32.0f), 34.0f);
}

TEST(NeedleLaws, PpmAtItsReferenceMarksAndClamps)
{
    EXPECT_NEAR(ppmNeedleAngle(1.0f), 89.69f, kDegreeTolerance);
    for (float db = -14.0f; db <= 14.0f; db += 2.0f)
        EXPECT_NEAR(ppmNeedleAngle(fromDb(db)), ppmNeedleAngle(1.0f) - 3.75f * db, 0.002f) << db << " dB";
    EXPECT_FLOAT_EQ(ppmNeedleAngle(32.0f), 30.0f);
    EXPECT_FLOAT_EQ(ppmNeedleAngle(0.0001f), 150.0f);
}

TEST(NeedleLaws, EveryLawMovesClockwiseAsTheLevelRises)
{
    float vu = vuNeedleAngle(-0.05f), rms = rmsNeedleAngle(0.0001f), ppm = ppmNeedleAngle(0.0001f);
    for (float v = 0.0002f; v < 1.5f; v *= 1.01f) {
        const float nextVu = vuNeedleAngle(v), nextRms = rmsNeedleAngle(v), nextPpm = ppmNeedleAngle(v);
        EXPECT_LT(nextVu, vu) << v;
        EXPECT_LE(nextRms, rms) << v;
        EXPECT_LE(nextPpm, ppm) << v;
        vu = nextVu, rms = nextRms, ppm = nextPpm;
    }
}

TEST(NeedleLaws, PointsAreMeasuredFromThePixelCentreWithYDown)
{
    const NeedlePoint up = needlePoint(128.0f, 155.0f, 134.0f, 90.0f);
    EXPECT_NEAR(up.x, 128.5f, 1e-4f);
    EXPECT_NEAR(up.y, 155.5f - 134.0f, 1e-4f);
    const NeedlePoint right = needlePoint(126.0f, 149.8f, 120.0f, 0.0f);
    EXPECT_NEAR(right.x, 126.5f + 120.0f, 1e-4f);
    EXPECT_NEAR(right.y, 150.3f, 1e-4f);
}

TEST(NeedleLaws, NeedleTipsStayInsideTheViewAcrossTheirTravel)
{
    // The scale arc and its end marks must be visible: the tip at both clamps lies in the view.
    struct Case {
        const NeedleGeometry *g;
        float (*law)(float);
        float low, high;
    };
    const Case cases[] = {{&vuNeedleGeometry, vuNeedleAngle, -0.05f, 1.5f},
                          {&rmsNeedleGeometry, rmsNeedleAngle, 0.0001f, 32.0f},
                          {&ppmNeedleGeometry, ppmNeedleAngle, 0.0001f, 32.0f}};
    for (const Case &c : cases) {
        for (float v : {c.low, c.high}) {
            const NeedlePoint tip = needlePoint(c.g->pivotX, c.g->pivotY, c.g->needleTo, c.law(v));
            EXPECT_GE(tip.x, 0.0f);
            EXPECT_LE(tip.x, float(c.g->width));
            EXPECT_GE(tip.y, 0.0f);
            EXPECT_LE(tip.y, float(c.g->height));
        }
    }
}

}  // namespace
