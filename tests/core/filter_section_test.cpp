// Filter sections on their own: the paired (left/right) loop must give exactly what two
// separate runs give, whatever the two sections are set to.
#include "core/filter_section.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

std::vector<float> material(size_t frames, uint32_t seed)
{
    std::vector<float> x(frames);
    for (auto &v : x) {
        seed = seed * 1664525u + 1013904223u;
        v = float(int32_t(seed)) * (0.5f / 2147483648.0f);
    }
    return x;
}

FilterSection makeSection(int type, double frequency, double q, double rate, bool enabled)
{
    FilterSection section;
    section.setSampleRate(rate);
    section.setShape(type, frequency, q);
    section.setEnabled(enabled);
    return section;
}

bool sameBits(const std::vector<float> &a, const std::vector<float> &b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace

TEST(FilterSectionPair, MatchesTwoSeparateRuns)
{
    struct Pair {
        FilterSection first, second;
    };
    const Pair pairs[] = {
        {makeSection(FilterSection::HighPass, 100.0, 0.5, 44100.0, true),
         makeSection(FilterSection::OnePoleLowPass, 3000.0, 0.5, 96000.0, true)},
        {makeSection(FilterSection::LowPass, 12000.0, 0.7, 48000.0, true),
         makeSection(FilterSection::HighPass, 40.0, 0.5, 48000.0, true)},
        {makeSection(FilterSection::LowPass, 12000.0, 0.7, 48000.0, false),
         makeSection(FilterSection::HighPass, 40.0, 0.5, 48000.0, true)},
        {makeSection(FilterSection::HighPass, 700.0, 0.5, 44100.0, true),
         makeSection(FilterSection::HighPass, 700.0, 0.5, 44100.0, false)},
    };
    for (const Pair &p : pairs) {
        Pair paired = p, separate = p;
        const std::vector<float> a = material(1000, 3), b = material(1000, 4);
        std::vector<float> pa = a, pb = b, sa = a, sb = b;
        // Two calls, so the state carried between them is compared as well.
        for (int start : {0, 300}) {
            const int n = start == 0 ? 300 : 700;
            FilterSection::processPair(paired.first, pa.data() + start, paired.second, pb.data() + start, n);
            separate.first.process(sa.data() + start, n);
            separate.second.process(sb.data() + start, n);
        }
        EXPECT_TRUE(sameBits(pa, sa));
        EXPECT_TRUE(sameBits(pb, sb));
    }
}

TEST(FilterSectionPair, DisabledSectionPassesAndForgets)
{
    FilterSection section = makeSection(FilterSection::HighPass, 500.0, 0.5, 44100.0, true);
    std::vector<float> x = material(200, 9);
    section.process(x.data(), 200);

    section.setEnabled(false);
    const std::vector<float> in = material(100, 10);
    std::vector<float> out = in;
    section.process(out.data(), 100);
    EXPECT_TRUE(sameBits(out, in));

    // Enabled again, it starts from rest: its output equals that of a fresh section.
    section.setEnabled(true);
    FilterSection fresh = makeSection(FilterSection::HighPass, 500.0, 0.5, 44100.0, true);
    std::vector<float> again = in, reference = in;
    section.process(again.data(), 100);
    fresh.process(reference.data(), 100);
    EXPECT_TRUE(sameBits(again, reference));
}
