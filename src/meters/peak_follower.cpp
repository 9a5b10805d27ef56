#include "meters/peak_follower.h"

#include <cmath>

#include "meters/meter_settings.h"

namespace {

// kA: a rising step reaches 99 % in t ms; instantaneous at 0.05 ms and below.
double riseCoefficient(float rate, double ms)
{
    return ms > 0.05 ? 1 - std::pow(0.01, 1 / (rate * ms * 0.001)) : 1.0;
}

float holdLengthSamples(float rate, double ms)
{
    return static_cast<float>(rate * ms * 0.001);
}

} // namespace

double returnCoefficient(float rate, double ms)
{
    return 1 - std::pow(0.0625, 1 / (rate * ms * 0.001));
}

void HoldTime::set(double ms, float rate)
{
    ms_.store(ms, std::memory_order_relaxed);
    length_.store(holdLengthSamples(rate, ms), std::memory_order_relaxed);
}

void HoldTime::recompute(float rate)
{
    length_.store(holdLengthSamples(rate, ms_.load(std::memory_order_relaxed)), std::memory_order_relaxed);
}

double PeakFollowerTimes::riseTimeMs(float value)
{
    return riseTimeLaw(timeStepTruncated(value));
}

double PeakFollowerTimes::longTimeMs(float value)
{
    return longTimeLaw(timeStepTruncated(value));
}

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

void PeakFollowerTimes::setHoldTime(float value, float rate)
{
    hold_.set(longTimeMs(value), rate);
}

void PeakFollowerTimes::recompute(float rate)
{
    rise_.store(riseCoefficient(rate, riseMs_.load(std::memory_order_relaxed)), std::memory_order_relaxed);
    fall_.store(returnCoefficient(rate, returnMs_.load(std::memory_order_relaxed)), std::memory_order_relaxed);
    hold_.recompute(rate);
}
