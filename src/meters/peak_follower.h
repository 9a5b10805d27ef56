// The peak follower shared by the PPM and RMS meters: a level that rises with kA and falls with
// kR (both on the linear level relative to the reference), and a hold that a strictly higher
// level restarts and that falls at the return rate once the hold time is over. The times and
// their coefficients are settings (PeakFollowerTimes); the running level, hold and counters are
// the frame's LevelHold, worked on in locals for one block (PeakFollower).
#pragma once

#include <atomic>

#include "meters/meter_engine_frame.h"

// (x + 1e-14) − 1e-14 flushes values too small to matter to 0. Thread: any.
inline double flushTiny(double x)
{
    return (x + 1e-14) - 1e-14; // two real additions: the build never uses fast-math
}

// The coefficient of a fall to 1/16 (−24.08 dB) in `ms`: kR of the return time, and kH of the
// VU hold over the integration time. Thread: any.
double returnCoefficient(float rate, double ms);

// A hold time H and its length in samples, fs · H · 0.001 in single precision (the VU hold
// uses it as well).
class HoldTime {
public:
    // Stores H and its length at `rate`. Thread: any thread that sets parameters.
    void set(double ms, float rate);
    // The length at a new rate. Thread: UI, while the effect is suspended.
    void recompute(float rate);
    // Thread: audio, once per block.
    float length() const { return length_.load(std::memory_order_relaxed); }

private:
    std::atomic<double> ms_{1000};       // H
    std::atomic<float> length_{44100.f}; // samples
};

// The ballistics of one block: the coefficients as the block started and the running state.
struct PeakFollower {
    double rise;      // kA
    double fall;      // kR
    float holdLength; // samples
    LevelHold state;

    // One sample of channel c; `relative` is |x| relative to the reference. Thread: audio.
    void step(int c, double relative)
    {
        double &level = state.level[c];
        double &hold = state.hold[c];
        int &counter = state.counter[c];
        // A selected coefficient rather than two branches: on programme material a rise or a
        // fall is as good as random, and a mispredicted branch costs more than the level step.
        const double coefficient = relative > level ? rise : fall;
        level = flushTiny(level + (relative - level) * coefficient);
        if (level > hold) {
            hold = level;
            counter = 0;
        }
        if (static_cast<float>(counter) >= holdLength)
            hold = hold - fall * hold;
        hold = flushTiny(hold);
        if (counter < LevelHold::kCounterLimit)
            ++counter;
    }
};

// Rise, return and hold time of a peak follower with their coefficients at the sample rate.
// The settings are normalized values decoded on the truncated step grid (k = trunc(80·v)).
class PeakFollowerTimes {
public:
    // Each stores its time and its coefficient at `rate`. Thread: any thread that sets
    // parameters.
    void setRiseTime(float value, float rate);
    void setReturnTime(float value, float rate);
    void setHoldTime(float value, float rate);
    // kA, kR and the hold length at a new rate. Thread: UI, while the effect is suspended.
    void recompute(float rate);
    // The block's follower: the coefficients loaded once, the running state given. Thread: audio.
    PeakFollower follower(const LevelHold &state) const
    {
        return PeakFollower{rise_.load(std::memory_order_relaxed), fall_.load(std::memory_order_relaxed),
                            hold_.length(), state};
    }

    // Times of a normalized setting, in ms: the rise law and the long law. Thread: any.
    static double riseTimeMs(float value);
    static double longTimeMs(float value);

private:
    std::atomic<double> riseMs_{10.02};     // t
    std::atomic<double> rise_{1.0};         // kA
    std::atomic<double> returnMs_{1995.26}; // R
    std::atomic<double> fall_{0};           // kR
    HoldTime hold_;
};
