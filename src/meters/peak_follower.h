// The peak follower shared by the PPM and RMS meters: a level that rises with kA and falls with
// kR (both on the linear level relative to the reference), and a hold that a strictly higher
// level restarts and that falls at the return rate once the hold time is over. The times and
// their coefficients are settings (PeakFollowerTimes); the running level, hold and counters are
// the frame's LevelHold, worked on in locals for one block (PeakFollower).
#pragma once

#include <atomic>

#include "meters/meter_engine_frame.h"

// (x + 1e-14) − 1e-14 flushes values too small to matter to 0. [any-thread]
inline double flushTiny(double x)
{
    return (x + 1e-14) - 1e-14;  // two real additions: the build never uses fast-math
}
inline __m128d flushTiny(__m128d x) { return _mm_sub_pd(_mm_add_pd(x, _mm_set1_pd(1e-14)), _mm_set1_pd(1e-14)); }

// The coefficient of a fall to 1/16 (−24.08 dB) in `ms`: kR of the return time, and kH of the
// VU hold over the integration time. [any-thread]
double returnCoefficient(float rate, double ms);

// A hold time H and its length in samples, fs · H · 0.001 in single precision (the VU hold
// uses it as well). A hold falls once its counter, taken in single precision, reaches the
// length; as that test only ever turns true as the count grows, the engines compare the count
// with the first one that passes it (countReaching).
class HoldTime {
public:
    // Stores H and its length at `rate`. [any-thread] that sets parameters.
    void set(double ms, float rate);
    // The length at a new rate. [ui-thread], while the effect is suspended.
    void recompute(float rate);
    // The first count c with float(c) >= the length, +inf when no count up to the counter's
    // limit reaches it. [audio-thread], once per block.
    double countReaching() const { return countReaching_.load(std::memory_order_relaxed); }

    // The first count for a length. [any-thread]
    static double firstCountReaching(float length);

private:
    void setLength(float samples);

    std::atomic<double> ms_{1000};  // H
    std::atomic<double> countReaching_{44100};
};

// The ballistics of one block, both channels in lanes: the coefficients as the block started
// and the running state.
struct PeakFollower {
    __m128d rise;       // kA
    __m128d fall;       // kR
    __m128d holdCount;  // HoldTime::countReaching
    LevelHoldLanes state;

    // One sample of both channels; `relative` is |x| relative to the reference. [audio-thread]
    void step(__m128d relative)
    {
        __m128d level = state.level, hold = state.hold, counters = state.counters;
        // A selected coefficient rather than two branches: on programme material a rise or a
        // fall is as good as random, and a mispredicted branch costs more than the level step.
        const __m128d coefficient = selectLanes(_mm_cmpgt_pd(relative, level), rise, fall);
        level = flushTiny(_mm_add_pd(level, _mm_mul_pd(_mm_sub_pd(relative, level), coefficient)));
        // level > hold ? level : hold is what the maximum instruction answers, lane by lane,
        // not-a-number and signed zeros included; one operation on the hold's own chain.
        counters = _mm_andnot_pd(_mm_cmpgt_pd(level, hold), counters);
        hold = _mm_max_pd(level, hold);
        const __m128d falling = _mm_cmpge_pd(counters, holdCount);
        hold = flushTiny(selectLanes(falling, _mm_sub_pd(hold, _mm_mul_pd(fall, hold)), hold));
        state.level = level;
        state.hold = hold;
        state.counters = LevelHoldLanes::nextCount(counters);
    }
};

// Rise, return and hold time of a peak follower with their coefficients at the sample rate.
// The settings are normalized values decoded on the truncated step grid (k = trunc(80·v)).
class PeakFollowerTimes {
public:
    // Each stores its time and its coefficient at `rate`. [any-thread] that sets
    // parameters.
    void setRiseTime(float value, float rate);
    void setReturnTime(float value, float rate);
    void setHoldTime(float value, float rate);
    // kA, kR and the hold length at a new rate. [ui-thread], while the effect is suspended.
    void recompute(float rate);
    // The block's follower: the coefficients loaded once, the running state given. [audio-thread]
    PeakFollower follower(const LevelHold &state) const
    {
        return PeakFollower{_mm_set1_pd(rise_.load(std::memory_order_relaxed)),
                            _mm_set1_pd(fall_.load(std::memory_order_relaxed)), _mm_set1_pd(hold_.countReaching()),
                            LevelHoldLanes(state)};
    }

    // Times of a normalized setting, in ms: the rise law and the long law. [any-thread]
    static double riseTimeMs(float value);
    static double longTimeMs(float value);

private:
    std::atomic<double> riseMs_{10.02};      // t
    std::atomic<double> rise_{1.0};          // kA
    std::atomic<double> returnMs_{1995.26};  // R
    std::atomic<double> fall_{0};            // kR
    HoldTime hold_;
};
