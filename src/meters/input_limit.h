// The largest sample magnitude an engine takes in. An infinite sample is an overload and reads
// as this huge level (over indicator lit) instead of poisoning the ballistics; only a sample that
// is not a number returns an engine to rest. NaN passes unchanged. [audio-thread]
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
