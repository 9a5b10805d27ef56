// The largest sample magnitude an engine takes in. An infinite sample is an overload and reads
// as this huge level (over indicator lit) instead of poisoning the ballistics; only a sample that
// is not a number returns an engine to rest. NaN passes unchanged. Thread: audio.
#pragma once

#include <emmintrin.h>

constexpr double kLargestInputMagnitude = 1e6;

// x > L ? L : (x < −L ? −L : x), as the two SSE2 instructions that answer exactly that: each
// gives its second operand, x, when x is not a number.
inline double limitInputMagnitude(double x)
{
    const __m128d limited = _mm_min_sd(_mm_set_sd(kLargestInputMagnitude), _mm_set_sd(x));
    return _mm_cvtsd_f64(_mm_max_sd(_mm_set_sd(-kLargestInputMagnitude), limited));
}

// limitInputMagnitude of both lanes.
inline __m128d limitInputMagnitudes(__m128d x)
{
    const __m128d limited = _mm_min_pd(_mm_set1_pd(kLargestInputMagnitude), x);
    return _mm_max_pd(_mm_set1_pd(-kLargestInputMagnitude), limited);
}

// Whether any of the samples lies beyond the limit (so that limitInputMagnitude would change
// it); four at a time. Thread: audio.
inline bool anyBeyondInputLimit(const float *samples, int count)
{
    const __m128 high = _mm_set1_ps(float(kLargestInputMagnitude)), low = _mm_set1_ps(-float(kLargestInputMagnitude));
    __m128 beyond = _mm_setzero_ps();
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128 x = _mm_loadu_ps(samples + i);
        beyond = _mm_or_ps(beyond, _mm_or_ps(_mm_cmpgt_ps(x, high), _mm_cmplt_ps(x, low)));
    }
    bool any = _mm_movemask_ps(beyond) != 0;
    for (; i < count; ++i)
        any |= samples[i] > float(kLargestInputMagnitude) || samples[i] < -float(kLargestInputMagnitude);
    return any;
}
