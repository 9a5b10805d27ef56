#include "meters/rms_meter.h"

#include <cmath>

namespace {

const double kRest[6] = {0, 0, 0, 0, 0, 0};

// The RMS ballistics of one block, in locals. Level, hold and overs follow the peak output of
// the precise stage; the mean square averages the time-aligned plain sample, so the precise
// mode changes no RMS reading.
struct RMSChannels {
    static constexpr bool kUsesPlainSample = true;

    __m128d inverseGain;
    __m128d overThreshold;  // compared with the level relative to the reference
    PeakFollower peaks;
    __m128d averaging;
    __m128d meanSquare;

    __m128d step(__m128d peak, __m128d plain)
    {
        const __m128d relative = _mm_mul_pd(magnitudes(peak), inverseGain);
        const __m128d over = _mm_cmpge_pd(relative, overThreshold);
        peaks.step(relative);
        const __m128d plainRelative = _mm_mul_pd(magnitudes(plain), inverseGain);
        meanSquare = _mm_add_pd(
            meanSquare, _mm_mul_pd(_mm_sub_pd(_mm_mul_pd(plainRelative, plainRelative), meanSquare), averaging));
        meanSquare = flushTiny(meanSquare);
        return over;
    }
    void storeRing(MeterEngineFrame &frame, int position)
    {
        frame.storeLevelHoldRing(peaks.state, position);
        frame.storeRing(kMeterMeanSquare1, position, lowLane(meanSquare));
        frame.storeRing(kMeterMeanSquare2, position, highLane(meanSquare));
    }
};

bool isTimeSetting(VstInt32 index) { return index >= kRMSRiseTime && index <= kRMSReturnTime; }

}  // namespace

RMSMeter::RMSMeter(AudioEffect *owner) : MeterEngineFrame(owner, kMeterTypeRMS, 6)
{
    loadInitialSettings();
    reset();
}

// kM: the mean square of a step reaches 0.891 (−0.5 dB in power) of its final value after half
// of TA. Taken in single precision.
float RMSMeter::averagingCoefficient(float rate, double ms)
{
    const float seconds = static_cast<float>(0.001 * ms);
    if (seconds < 1e-5f)
        return 1.f;
    return static_cast<float>(1 - std::pow(0.109, 2 / (static_cast<double>(seconds) * rate)));
}

void RMSMeter::setSetting(VstInt32 index, float value)
{
    const float rate = sampleRate();
    switch (index) {
    case kRMSReference: {
        const double g = std::pow(10.0, rmsReferenceDb(value) / 20);
        gain_.store(g, std::memory_order_relaxed);
        inverseGain_.store(1.0 / g, std::memory_order_relaxed);
        break;
    }
    case kRMSRiseTime:
        times_.setRiseTime(value, rate);
        break;
    case kRMSAveragingTime: {
        const double ta = PeakFollowerTimes::longTimeMs(value);
        averagingMs_.store(ta, std::memory_order_relaxed);
        averaging_.store(averagingCoefficient(rate, ta), std::memory_order_relaxed);
        break;
    }
    case kRMSHoldTime:
        times_.setHoldTime(value, rate);
        break;
    case kRMSReturnTime:
        times_.setReturnTime(value, rate);
        break;
    case kRMSMidScaling:
        setMidFactor(midScaling(value));
        break;
    case kRMSOverCount:
        setOverCount(overCount(value));
        break;
    case kRMSOverThreshold:
        overIndex_.store(roundedSteps(value, 6.0f), std::memory_order_relaxed);
        break;
    case kRMSPrecise:
        setPrecise(switchOn(value));
        break;
    case kRMSOverBase:
        overFromFullScale_.store(switchOn(value), std::memory_order_relaxed);
        break;
    default:
        break;
    }
    // The time settings are kept in the scope's record on their step grid.
    storeSetting(index, value, isTimeSetting(index) ? timeStepGridValue(timeStepTruncated(value)) : value);
}

void RMSMeter::getSettingText(VstInt32 index, char *text)
{
    switch (index) {
    case kRMSReference:
        formatReference(rmsReferenceDb(getSetting(kRMSReference)), text);
        break;
    case kRMSRiseTime:
        formatRiseTime(PeakFollowerTimes::riseTimeMs(getSetting(kRMSRiseTime)), text);
        break;
    case kRMSAveragingTime:
    case kRMSHoldTime:
    case kRMSReturnTime:
        formatLongTime(PeakFollowerTimes::longTimeMs(getSetting(index)), text);
        break;
    default:
        break;
    }
}

void RMSMeter::reset()
{
    const float rate = sampleRate();
    times_.recompute(rate);
    averaging_.store(averagingCoefficient(rate, averagingMs_.load(std::memory_order_relaxed)),
                     std::memory_order_relaxed);
    resetFrame(kRest);
}

inline void RMSMeter::processBlock(float *channel1, float *channel2, VstInt32 frames)
{
    beginBlock();
    const double inverseGain = inverseGain_.load(std::memory_order_relaxed);
    const double factor = rmsOverThreshold(overIndex_.load(std::memory_order_relaxed));
    // Full-scale base: |a| ≥ e(j), i.e. a level of e(j)/g; reference base: a level of e(j).
    const double overThreshold = overFromFullScale_.load(std::memory_order_relaxed) ? factor * inverseGain : factor;
    RMSChannels ch{_mm_set1_pd(inverseGain), _mm_set1_pd(overThreshold), times_.follower(loadLevelHold()),
                   _mm_set1_pd(averaging_.load(std::memory_order_relaxed)),
                   _mm_setr_pd(current(kMeterMeanSquare1), current(kMeterMeanSquare2))};
    runBlock(channel1, channel2, frames, ch);
    if (!finishBlock(ch.peaks.state, finiteZeros(ch.meanSquare), kRest))
        return;
    setCurrent(kMeterMeanSquare1, lowLane(ch.meanSquare));
    setCurrent(kMeterMeanSquare2, highLane(ch.meanSquare));
}

void RMSMeter::processBlockSse2(float *channel1, float *channel2, VstInt32 frames)
{
    processBlock(channel1, channel2, frames);
}

#ifdef ZEM_ENGINE_VEX
void RMSMeter::processBlockVex(float *channel1, float *channel2, VstInt32 frames)
{
    processBlock(channel1, channel2, frames);
}

void RMSMeter::processBlockEvex(float *channel1, float *channel2, VstInt32 frames)
{
    processBlock(channel1, channel2, frames);
}
#endif

void RMSMeter::process(float *channel1, float *channel2, VstInt32 frames)
{
    processInBestEncoding(*this, channel1, channel2, frames);
}
