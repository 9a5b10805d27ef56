#include "meters/ppm_meter.h"

#include <cmath>

namespace {

const double kRest[4] = {0, 0, 0, 0};

// The PPM ballistics of one block, in locals.
struct PPMChannels {
    static constexpr bool kUsesPlainSample = false;

    __m128d inverseGain;
    OverTest over;
    PeakFollower peaks;

    __m128d step(__m128d peak, __m128d /* plain */)
    {
        const __m128d u = magnitudes(peak);
        const __m128d relative = _mm_mul_pd(u, inverseGain);
        peaks.step(relative);
        return over(u);
    }
    void storeRing(MeterEngineFrame &frame, int position) { frame.storeLevelHoldRing(peaks.state, position); }
};

}  // namespace

PPMmeter::PPMmeter(AudioEffect *owner) : MeterEngineFrame(owner, kMeterTypePPM, 4)
{
    loadInitialSettings();
    reset();
}

void PPMmeter::setSetting(VstInt32 index, float value)
{
    const float rate = sampleRate();
    switch (index) {
    case kPPMReference:
        inverseGain_.store(1.0 / std::pow(10.0, fullReferenceDb(value) / 20), std::memory_order_relaxed);
        break;
    case kPPMRiseTime:
        times_.setRiseTime(value, rate);
        break;
    case kPPMHoldTime:
        times_.setHoldTime(value, rate);
        break;
    case kPPMReturnTime:
        times_.setReturnTime(value, rate);
        break;
    case kPPMMidScaling:
        setMidFactor(midScaling(value));
        break;
    case kPPMOverCount:
        setOverCount(overCount(value));
        break;
    case kPPMOverSelector:
        overSelector_.store(overReferenceSelector(value), std::memory_order_relaxed);
        break;
    case kPPMPrecise:
        setPrecise(switchOn(value));
        break;
    default:
        break;
    }
    storeSetting(index, value, value);
}

void PPMmeter::getSettingText(VstInt32 index, char *text)
{
    switch (index) {
    case kPPMReference:
        formatReference(fullReferenceDb(getSetting(kPPMReference)), text);
        break;
    case kPPMRiseTime:
        formatRiseTime(PeakFollowerTimes::riseTimeMs(getSetting(kPPMRiseTime)), text);
        break;
    case kPPMHoldTime:
    case kPPMReturnTime:
        formatLongTime(PeakFollowerTimes::longTimeMs(getSetting(index)), text);
        break;
    default:
        break;
    }
}

void PPMmeter::reset()
{
    times_.recompute(sampleRate());
    resetFrame(kRest);
}

inline void PPMmeter::processBlock(float *channel1, float *channel2, VstInt32 frames)
{
    beginBlock();
    const __m128d inverseGain = _mm_set1_pd(inverseGain_.load(std::memory_order_relaxed));
    PPMChannels ch{
        inverseGain,
        OverTest(overSelector_.load(std::memory_order_relaxed), 2.5556419010641385, inverseGain),  // +8.15 dB
        times_.follower(loadLevelHold())};
    runBlock(channel1, channel2, frames, ch);
    finishBlock(ch.peaks.state, _mm_setzero_pd(), kRest);
}

void PPMmeter::processBlockSse2(float *channel1, float *channel2, VstInt32 frames)
{
    processBlock(channel1, channel2, frames);
}

#ifdef ZEM_ENGINE_VEX
void PPMmeter::processBlockVex(float *channel1, float *channel2, VstInt32 frames)
{
    processBlock(channel1, channel2, frames);
}

void PPMmeter::processBlockEvex(float *channel1, float *channel2, VstInt32 frames)
{
    processBlock(channel1, channel2, frames);
}
#endif

void PPMmeter::process(float *channel1, float *channel2, VstInt32 frames)
{
    processInBestEncoding(*this, channel1, channel2, frames);
}
