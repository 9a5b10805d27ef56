#include "meters/precise_stage.h"

#include "meters/input_limit.h"
#include "meters/vex_encoding.h"

#include <emmintrin.h>
#ifdef ZEM_ENGINE_VEX
// Linux x86-64: a four-lane variant where the processor has AVX (processorHasAvx), an
// eight-lane one where it has AVX-512 (processorHasAvx512). (The Windows
// compiler does not align the stack for spilled 32-byte registers, so the DLLs keep to SSE2.)
#define ZEM_PRECISE_AVX 1
#include <immintrin.h>
#endif

#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;

double sinc(double x) { return x == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x); }

double roundTo7Decimals(double x) { return std::round(x * 1e7) / 1e7; }

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
            c[j] = _mm_loadu_pd(coefficients[j][k]);
#pragma GCC unroll 8
        for (int f = 0; f < Frames; ++f) {
            const __m128d h = _mm_loadu_pd(window + 2 * (f + k));
#pragma GCC unroll 3
            for (int j = 0; j < Phases; ++j)
                sum[f][j] = _mm_add_pd(sum[f][j], _mm_mul_pd(c[j], h));
        }
    }
    // A point replaces the value so far when its magnitude is strictly greater (never a NaN).
    const __m128d sign = _mm_set1_pd(-0.0);
#pragma GCC unroll 8
    for (int f = 0; f < Frames; ++f) {
        __m128d best = _mm_loadu_pd(window + 2 * (f + PreciseStage::kPlainTap));
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

#ifdef ZEM_PRECISE_AVX
// As peaksOf, with 2·Pairs frames: one 32-byte register holds both channels of two consecutive
// frames at one tap. Every lane still sums in the order k = 0..63 from 0, so the outputs equal
// the SSE2 ones bit for bit.
template <int Phases, int Pairs>
__attribute__((target("avx"))) inline void peaksOfAvx(const double (*coefficients)[64][2], const double *window,
                                                      double *peaks)
{
    __m256d sum[Pairs][Phases];
#pragma GCC unroll 8
    for (int p = 0; p < Pairs; ++p)
#pragma GCC unroll 3
        for (int j = 0; j < Phases; ++j)
            sum[p][j] = _mm256_setzero_pd();
    for (int k = 0; k < PreciseStage::kLength; ++k) {
        __m256d c[Phases];
#pragma GCC unroll 3
        for (int j = 0; j < Phases; ++j)
            c[j] = _mm256_broadcast_sd(&coefficients[j][k][0]);
#pragma GCC unroll 8
        for (int p = 0; p < Pairs; ++p) {
            const __m256d h = _mm256_loadu_pd(window + 2 * (2 * p + k));
#pragma GCC unroll 3
            for (int j = 0; j < Phases; ++j)
                sum[p][j] = _mm256_add_pd(sum[p][j], _mm256_mul_pd(c[j], h));
        }
    }
    const __m256d sign = _mm256_set1_pd(-0.0);
#pragma GCC unroll 8
    for (int p = 0; p < Pairs; ++p) {
        __m256d best = _mm256_loadu_pd(window + 2 * (2 * p + PreciseStage::kPlainTap));
#pragma GCC unroll 3
        for (int j = 0; j < Phases; ++j) {
            const __m256d greater = _mm256_cmp_pd(_mm256_andnot_pd(sign, sum[p][j]), _mm256_andnot_pd(sign, best),
                                                  _CMP_GT_OQ);
            best = _mm256_blendv_pd(best, sum[p][j], greater);
        }
        _mm256_storeu_pd(peaks + 4 * p, best);
    }
}

template <int Phases, int Pairs>
__attribute__((target("avx"))) void peaksOfChunkAvx(const double (*coefficients)[64][2], const double *line, int frames,
                                                    double *peaks)
{
    int i = 0;
    for (; i + 2 * Pairs <= frames; i += 2 * Pairs)
        peaksOfAvx<Phases, Pairs>(coefficients, line + 2 * i, peaks + 2 * i);
    for (; i < frames; ++i)
        peaksOf<Phases, 1>(coefficients, line + 2 * i, peaks + 2 * i);
}

// As peaksOfAvx, with 4·Quads frames: one 64-byte register holds both channels of four
// consecutive frames at one tap, half the instructions per frame. The same sums in the same
// order; the build never contracts a product and a sum into one operation (-ffp-contract=off).
#define ZEM_PRECISE_AVX512_TARGET __attribute__((target("avx512f,avx512vl")))
template <int Phases, int Quads>
ZEM_PRECISE_AVX512_TARGET inline void peaksOfAvx512(const double (*coefficients)[64][2], const double *window,
                                                    double *peaks)
{
    __m512d sum[Quads][Phases];
#pragma GCC unroll 8
    for (int q = 0; q < Quads; ++q)
#pragma GCC unroll 3
        for (int j = 0; j < Phases; ++j)
            sum[q][j] = _mm512_setzero_pd();
    for (int k = 0; k < PreciseStage::kLength; ++k) {
        __m512d c[Phases];
#pragma GCC unroll 3
        for (int j = 0; j < Phases; ++j)
            c[j] = _mm512_set1_pd(coefficients[j][k][0]);
#pragma GCC unroll 8
        for (int q = 0; q < Quads; ++q) {
            const __m512d h = _mm512_loadu_pd(window + 2 * (4 * q + k));
#pragma GCC unroll 3
            for (int j = 0; j < Phases; ++j)
                sum[q][j] = _mm512_add_pd(sum[q][j], _mm512_mul_pd(c[j], h));
        }
    }
#pragma GCC unroll 8
    for (int q = 0; q < Quads; ++q) {
        __m512d best = _mm512_loadu_pd(window + 2 * (4 * q + PreciseStage::kPlainTap));
#pragma GCC unroll 3
        for (int j = 0; j < Phases; ++j) {
            const __mmask8 greater = _mm512_cmp_pd_mask(_mm512_abs_pd(sum[q][j]), _mm512_abs_pd(best), _CMP_GT_OQ);
            best = _mm512_mask_blend_pd(greater, best, sum[q][j]);
        }
        _mm512_storeu_pd(peaks + 8 * q, best);
    }
}

template <int Phases, int Quads>
ZEM_PRECISE_AVX512_TARGET void peaksOfChunkAvx512(const double (*coefficients)[64][2], const double *line, int frames,
                                                  double *peaks)
{
    int i = 0;
    for (; i + 4 * Quads <= frames; i += 4 * Quads)
        peaksOfAvx512<Phases, Quads>(coefficients, line + 2 * i, peaks + 2 * i);
    for (; i < frames; ++i)
        peaksOf<Phases, 1>(coefficients, line + 2 * i, peaks + 2 * i);
}
#endif

}  // namespace

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
        chunk[2 * i] = limitInputMagnitude(input1[i]);
        chunk[2 * i + 1] = limitInputMagnitude(input2[i]);
    }
    chunkFrames_ = frames;
    switch (band) {
    case PreciseBand::Four:
#ifdef ZEM_PRECISE_AVX
        if (processorHasAvx512) {
            peaksOfChunkAvx512<3, 4>(tables.four, line_, frames, peaks);
            break;
        }
        if (processorHasAvx) {
            peaksOfChunkAvx<3, 2>(tables.four, line_, frames, peaks);
            break;
        }
#endif
        peaksOfChunk<3, 4>(tables.four, line_, frames, peaks);
        break;
    case PreciseBand::Two:
#ifdef ZEM_PRECISE_AVX
        if (processorHasAvx512) {
            peaksOfChunkAvx512<1, 8>(tables.two, line_, frames, peaks);
            break;
        }
        if (processorHasAvx) {
            peaksOfChunkAvx<1, 4>(tables.two, line_, frames, peaks);
            break;
        }
#endif
        peaksOfChunk<1, 8>(tables.two, line_, frames, peaks);
        break;
    case PreciseBand::None:
        for (int i = 0; i < frames; ++i)
            _mm_storeu_pd(peaks + 2 * i, plains(i));
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
            sum[u] = _mm_add_pd(sum[u], _mm_mul_pd(_mm_loadu_pd(h + 2 * (i + u)), zero));
    const __m128d total = _mm_add_pd(_mm_add_pd(sum[0], sum[1]), _mm_add_pd(sum[2], sum[3]));
    return _mm_movemask_pd(_mm_cmpeq_pd(total, zero)) == 3;
}
