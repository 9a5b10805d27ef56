#include "meters/peak_follower.h"

#include <cmath>
#include <limits>

#include "meters/meter_settings.h"

namespace {

// kA: a rising step reaches 99 % in t ms; instantaneous at 0.05 ms and below.
double riseCoefficient(float rate, double ms) { return ms > 0.05 ? 1 - std::pow(0.01, 1 / (rate * ms * 0.001)) : 1.0; }

float holdLengthSamples(float rate, double ms) { return static_cast<float>(rate * ms * 0.001); }

}  // namespace

double returnCoefficient(float rate, double ms) { return 1 - std::pow(0.0625, 1 / (rate * ms * 0.001)); }

void HoldTime::set(double ms, float rate)
{
    ms_.store(ms, std::memory_order_relaxed);
    setLength(holdLengthSamples(rate, ms));
}

void HoldTime::recompute(float rate) { setLength(holdLengthSamples(rate, ms_.load(std::memory_order_relaxed))); }

void HoldTime::setLength(float samples)
{
    countReaching_.store(firstCountReaching(samples), std::memory_order_relaxed);
}

double HoldTime::firstCountReaching(float length)
{
    if (length <= 0.f)
        return 0;
    // Not a number, or beyond every count the counter takes: never.
    if (!(length <= static_cast<float>(LevelHold::kCounterLimit)))
        return std::numeric_limits<double>::infinity();
    // Below 2^24 every count is exact in single precision and the ceiling is the answer; above
    // it the length is a whole number and a few counts below it may round up to it.
    int count = static_cast<int>(std::ceil(length));
    while (count > 0 && static_cast<float>(count - 1) >= length)
        --count;
    return count;
}

double PeakFollowerTimes::riseTimeMs(float value) { return riseTimeLaw(timeStepTruncated(value)); }

double PeakFollowerTimes::longTimeMs(float value) { return longTimeLaw(timeStepTruncated(value)); }

void PeakFollowerTimes::setRiseTime(float value, float rate)
{
    const double t = riseTimeMs(value);
    riseMs_.store(t, std::memory_order_relaxed);
    rise_.store(riseCoefficient(rate, t), std::memory_order_relaxed);
}

void PeakFollowerTimes::setReturnTime(float value, float rate)
{
    const double r = longTimeMs(value);
    returnMs_.store(r, std::memory_order_relaxed);
    fall_.store(returnCoefficient(rate, r), std::memory_order_relaxed);
}

void PeakFollowerTimes::setHoldTime(float value, float rate) { hold_.set(longTimeMs(value), rate); }

void PeakFollowerTimes::recompute(float rate)
{
    rise_.store(riseCoefficient(rate, riseMs_.load(std::memory_order_relaxed)), std::memory_order_relaxed);
    fall_.store(returnCoefficient(rate, returnMs_.load(std::memory_order_relaxed)), std::memory_order_relaxed);
    hold_.recompute(rate);
}
