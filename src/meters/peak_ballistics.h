// The peak level and hold ballistics shared by the PPM and RMS meters: a level that rises with
// kA and falls with kR (both on the linear level relative to the reference), and a hold that a
// strictly higher level restarts and that falls at the return rate once the hold time is over.
// Thread: audio.
#pragma once

#include <cmath>

namespace peak_ballistics {

constexpr int kCounterLimit = 1 << 30; // far beyond any hold length; keeps the count defined

// (x + 1e-14) − 1e-14 flushes values too small to matter to 0.
inline double flushTiny(double x)
{
    return (x + 1e-14) - 1e-14; // two real additions: the build never uses fast-math
}

inline void step(double c, double rise, double fall, float holdLength, double &level, double &hold, int &counter)
{
    if (c > level)
        level = level + (c - level) * rise;
    else
        level = level + (c - level) * fall;
    level = flushTiny(level);
    if (level > hold) {
        hold = level;
        counter = 0;
    }
    if (static_cast<float>(counter) >= holdLength)
        hold = hold - fall * hold;
    hold = flushTiny(hold);
    if (counter < kCounterLimit)
        ++counter;
}

// kA: a rising step reaches 99 % in t ms; instantaneous at 0.05 ms and below.
inline double riseCoefficient(float rate, double ms)
{
    return ms > 0.05 ? 1 - std::pow(0.01, 1 / (rate * ms * 0.001)) : 1.0;
}

// kR: the level falls to 1/16 (−24.08 dB) in R ms.
inline double returnCoefficient(float rate, double ms)
{
    return 1 - std::pow(0.0625, 1 / (rate * ms * 0.001));
}

inline float holdLengthSamples(float rate, double ms)
{
    return static_cast<float>(rate * ms * 0.001);
}

} // namespace peak_ballistics
