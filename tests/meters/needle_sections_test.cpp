// A VU needle step tests its output against the bounds of its section and works the section
// index out only when the output leaves them: the bounds must be exactly where the index
// changes, or a needle would keep a section it has left (or leave one it is still in).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "meters/vu_meter.h"

namespace {

int sectionOf(double y) { return _mm_cvtsi128_si32(needleSections(_mm_set1_pd(y))); }

}  // namespace

TEST(NeedleSections, EachSectionStartsExactlyWhereItsIndexBegins)
{
    const double *start = needleSectionStarts().start;
    EXPECT_EQ(start[0], -std::numeric_limits<double>::infinity());
    EXPECT_EQ(start[NeedleBank::kSections], std::numeric_limits<double>::infinity());
    for (int k = 1; k < NeedleBank::kSections; ++k) {
        EXPECT_EQ(sectionOf(start[k]), k) << k;
        EXPECT_EQ(sectionOf(std::nextafter(start[k], 0.0)), k - 1) << k;
        EXPECT_LT(start[k - 1], start[k]) << k;
    }
}

TEST(NeedleSections, BoundsAgreeWithTheIndexAcrossTheNeedleTravel)
{
    const double *start = needleSectionStarts().start;
    for (double y = -0.1; y < 1.2; y += 1.0 / 4096) {
        const int k = sectionOf(y);
        ASSERT_GE(k, 0);
        ASSERT_LT(k, NeedleBank::kSections);
        EXPECT_TRUE(y >= start[k] && y < start[k + 1]) << y;
    }
    EXPECT_EQ(sectionOf(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(sectionOf(std::numeric_limits<double>::infinity()), NeedleBank::kSections - 1);
    EXPECT_EQ(sectionOf(-std::numeric_limits<double>::infinity()), 0);
}
