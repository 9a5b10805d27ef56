#include "meters/ppm_meter.h"

#include <cmath>

#include "meters/peak_ballistics.h"

namespace {

const double kRest[4] = {0, 0, 0, 0};

// The PPM ballistics of one block, in locals.
struct PPMChannels {
    static constexpr bool kUsesPlainSample = false;

    double inverseGain;
    double selector;
    double rise;
    double fall;
    float holdLength;
    double level[2];
    double hold[2];
    int counter[2];

    bool step(int c, double peak, double)
    {
        const double u = std::fabs(peak);
        const double relative = u * inverseGain;
        bool over;
        if (selector < 0.25)
            over = relative >= 2.5556419010641385; // +8.15 dB above the reference
        else if (selector < 0.5)
            over = u >= 0.7071;
        else if (selector < 0.75)
            over = u >= 0.8912509381337456;
        else
            over = u >= 1.0;
        peak_ballistics::step(relative, rise, fall, holdLength, level[c], hold[c], counter[c]);
        return over;
    }
    void storeRing(MeterEngineFrame &frame, int position)
    {
        frame.storeRing(kMeterLevel1, position, level[0]);
        frame.storeRing(kMeterLevel2, position, level[1]);
        frame.storeRing(kMeterHold1, position, hold[0]);
        frame.storeRing(kMeterHold2, position, hold[1]);
    }
};

} // namespace

PPMmeter::PPMmeter(AudioEffect *owner) : MeterEngineFrame(owner, kMeterTypePPM, 4)
{
    loadInitialSettings();
    reset();
}

void PPMmeter::setSetting(VstInt32 index, float value)
{
    using namespace peak_ballistics;
    const float rate = sampleRate();
    switch (index) {
    case 93:
        inverseGain_.store(1.0 / std::pow(10.0, fullReferenceDb(value) / 20), std::memory_order_relaxed);
        break;
    case 94: {
        const double t = riseTimeLaw(timeStepTruncated(value));
        riseMs_.store(t, std::memory_order_relaxed);
        rise_.store(riseCoefficient(rate, t), std::memory_order_relaxed);
        break;
    }
    case 95: {
        const double h = longTimeLaw(timeStepTruncated(value));
        holdMs_.store(h, std::memory_order_relaxed);
        holdLength_.store(holdLengthSamples(rate, h), std::memory_order_relaxed);
        break;
    }
    case 96: {
        const double r = longTimeLaw(timeStepTruncated(value));
        returnMs_.store(r, std::memory_order_relaxed);
        fall_.store(returnCoefficient(rate, r), std::memory_order_relaxed);
        break;
    }
    case 97:
        setMidFactor(midScaling(value));
        break;
    case 98:
        setOverCount(overCount(value));
        break;
    case 99:
        overSelector_.store(overReferenceSelector(value), std::memory_order_relaxed);
        break;
    case 100:
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
    case 93:
        formatReference(fullReferenceDb(getSetting(93)), text);
        break;
    case 94:
        formatRiseTime(riseTimeLaw(timeStepTruncated(getSetting(94))), text);
        break;
    case 95:
    case 96:
        formatLongTime(longTimeLaw(timeStepTruncated(getSetting(index))), text);
        break;
    default:
        break;
    }
}

void PPMmeter::restState()
{
    holdCounter_[0] = holdCounter_[1] = 0;
}

void PPMmeter::reset()
{
    using namespace peak_ballistics;
    const float rate = sampleRate();
    rise_.store(riseCoefficient(rate, riseMs_.load(std::memory_order_relaxed)), std::memory_order_relaxed);
    fall_.store(returnCoefficient(rate, returnMs_.load(std::memory_order_relaxed)), std::memory_order_relaxed);
    holdLength_.store(holdLengthSamples(rate, holdMs_.load(std::memory_order_relaxed)), std::memory_order_relaxed);
    resetFrame(kRest);
    restState();
}

void PPMmeter::process(float *channel1, float *channel2, VstInt32 frames)
{
    beginBlock();
    PPMChannels ch{inverseGain_.load(std::memory_order_relaxed),
                   overSelector_.load(std::memory_order_relaxed),
                   rise_.load(std::memory_order_relaxed),
                   fall_.load(std::memory_order_relaxed),
                   holdLength_.load(std::memory_order_relaxed),
                   {current(kMeterLevel1), current(kMeterLevel2)},
                   {current(kMeterHold1), current(kMeterHold2)},
                   {holdCounter_[0], holdCounter_[1]}};
    runBlock(channel1, channel2, frames, ch);
    const double state[] = {ch.level[0], ch.level[1], ch.hold[0], ch.hold[1]};
    if (!finishBlock(state, 4, kRest)) {
        restState();
        return;
    }
    setCurrent(kMeterLevel1, ch.level[0]);
    setCurrent(kMeterLevel2, ch.level[1]);
    setCurrent(kMeterHold1, ch.hold[0]);
    setCurrent(kMeterHold2, ch.hold[1]);
    holdCounter_[0] = ch.counter[0];
    holdCounter_[1] = ch.counter[1];
}
