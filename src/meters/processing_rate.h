// The sample rate the audio path runs at for the rate a host announces. Trim, filters, meter
// ballistics and the block duration all use this one rate.
// [any-thread] (a pure function).
#pragma once

#include <cmath>

constexpr float kLowestProcessingRate = 8000.f;     // Hz
constexpr float kHighestProcessingRate = 768000.f;  // Hz
constexpr float kFallbackProcessingRate = 44100.f;  // Hz, for rates no host really runs at

// The host's own rate from 8 kHz to 768 kHz; 44.1 kHz for a rate that is not finite or lies
// outside that range (a host that never set one, or a damaged value).
inline float processingRateFor(float hostRate)
{
    return std::isfinite(hostRate) && hostRate >= kLowestProcessingRate && hostRate <= kHighestProcessingRate
               ? hostRate
               : kFallbackProcessingRate;
}
