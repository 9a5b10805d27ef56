#include "meters/precise_stage.h"

#include <emmintrin.h>

#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;

double sinc(double x)
{
    return x == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
}

double roundTo7Decimals(double x)
{
    return std::round(x * 1e7) / 1e7;
}

PreciseTables buildTables()
{
    PreciseTables t{};
    const double centres[3] = {31.75, 31.5, 31.25};
    for (int j = 0; j < 3; ++j) {
        for (int k = 0; k < PreciseStage::kLength; ++k) {
            const double d = k - centres[j];
            t.four[j][k][0] = t.four[j][k][1] = roundTo7Decimals(sinc(d) * (0.5 + 0.5 * std::cos(kPi * d / 32)));
        }
    }
    for (int k = 0; k < PreciseStage::kLength; ++k) {
        const double d = k - 31.5;
        const double window = 0.35875 + 0.48829 * std::cos(kPi * d / 32) + 0.14128 * std::cos(2 * kPi * d / 32) +
                              0.01168 * std::cos(3 * kPi * d / 32);
        t.two[0][k][0] = t.two[0][k][1] = roundTo7Decimals(sinc(d) * window);
    }
    return t;
}

// The outputs of `Frames` consecutive frames whose windows start at `window` (pairs), with
// `Phases` interpolated points each. Every lane sums its 64 products in the order k = 0..63,
// starting from 0, as the plain loop does; the frames and points only run side by side.
template <int Phases, int Frames>
inline void peaksOf(const double (*coefficients)[64][2], const double *window, double *peaks)
{
    __m128d sum[Frames][Phases];
#pragma GCC unroll 8
    for (int f = 0; f < Frames; ++f)
#pragma GCC unroll 3
        for (int j = 0; j < Phases; ++j)
            sum[f][j] = _mm_setzero_pd();
    for (int k = 0; k < PreciseStage::kLength; ++k) {
        __m128d c[Phases];
#pragma GCC unroll 3
        for (int j = 0; j < Phases; ++j)
            c[j] = _mm_load_pd(coefficients[j][k]);
#pragma GCC unroll 8
        for (int f = 0; f < Frames; ++f) {
            const __m128d h = _mm_load_pd(window + 2 * (f + k));
#pragma GCC unroll 3
            for (int j = 0; j < Phases; ++j)
                sum[f][j] = _mm_add_pd(sum[f][j], _mm_mul_pd(c[j], h));
        }
    }
    // A point replaces the value so far when its magnitude is strictly greater (never a NaN).
    const __m128d sign = _mm_set1_pd(-0.0);
#pragma GCC unroll 8
    for (int f = 0; f < Frames; ++f) {
        __m128d best = _mm_load_pd(window + 2 * (f + PreciseStage::kPlainTap));
#pragma GCC unroll 3
        for (int j = 0; j < Phases; ++j) {
            const __m128d greater = _mm_cmpgt_pd(_mm_andnot_pd(sign, sum[f][j]), _mm_andnot_pd(sign, best));
            best = _mm_or_pd(_mm_and_pd(greater, sum[f][j]), _mm_andnot_pd(greater, best));
        }
        _mm_storeu_pd(peaks + 2 * f, best);
    }
}

template <int Phases, int Frames>
void peaksOfChunk(const double (*coefficients)[64][2], const double *line, int frames, double *peaks)
{
    int i = 0;
    for (; i + Frames <= frames; i += Frames)
        peaksOf<Phases, Frames>(coefficients, line + 2 * i, peaks + 2 * i);
    for (; i < frames; ++i)
        peaksOf<Phases, 1>(coefficients, line + 2 * i, peaks + 2 * i);
}

} // namespace

const PreciseTables &preciseTables()
{
    static const PreciseTables tables = buildTables();
    return tables;
}

PreciseBand preciseBandFor(float sampleRate)
{
    if (sampleRate < 88200.f)
        return PreciseBand::Four;
    if (sampleRate < 176400.f)
        return PreciseBand::Two;
    return PreciseBand::None;
}

void PreciseStage::clear()
{
    for (double &v : line_)
        v = 0;
    chunkFrames_ = 0;
}

void PreciseStage::run(const PreciseTables &tables, PreciseBand band, const float *input1, const float *input2,
                       int frames, double *peaks)
{
    if (chunkFrames_ > 0)
        std::memmove(line_, line_ + 2 * chunkFrames_, sizeof(double) * 2 * kKept);
    double *chunk = line_ + 2 * kKept;
    for (int i = 0; i < frames; ++i) {
        chunk[2 * i] = input1[i];
        chunk[2 * i + 1] = input2[i];
    }
    chunkFrames_ = frames;
    switch (band) {
    case PreciseBand::Four:
        peaksOfChunk<3, 4>(tables.four, line_, frames, peaks);
        break;
    case PreciseBand::Two:
        peaksOfChunk<1, 8>(tables.two, line_, frames, peaks);
        break;
    case PreciseBand::None:
        for (int i = 0; i < frames; ++i) {
            peaks[2 * i] = plain(i, 0);
            peaks[2 * i + 1] = plain(i, 1);
        }
        break;
    }
}

bool PreciseStage::isFinite() const
{
    // The last 64 frames written (after a clear, the zeroed history). A product with zero is 0
    // for every finite value and NaN otherwise, in whatever order the products are added.
    const int first = chunkFrames_ > 0 ? chunkFrames_ - 1 : 0;
    const double *h = line_ + 2 * first;
    const __m128d zero = _mm_setzero_pd();
    __m128d sum[4] = {zero, zero, zero, zero};
    for (int i = 0; i < kLength; i += 4)
        for (int u = 0; u < 4; ++u)
            sum[u] = _mm_add_pd(sum[u], _mm_mul_pd(_mm_load_pd(h + 2 * (i + u)), zero));
    const __m128d total = _mm_add_pd(_mm_add_pd(sum[0], sum[1]), _mm_add_pd(sum[2], sum[3]));
    return _mm_movemask_pd(_mm_cmpeq_pd(total, zero)) == 3;
}
