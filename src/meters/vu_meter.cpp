#include "meters/vu_meter.h"

#include <cmath>

#include "meters/processing_rate.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRestNeedle = -0.05;
constexpr double kNeedleScale = 1.56; // a steady sine at the reference reads 2/π · 1.56 ≈ 0.993
const double kRest[4] = {kRestNeedle, kRestNeedle, kRestNeedle, kRestNeedle};

} // namespace

void NeedleSection::design(double rate, double cornerHz, double quality)
{
    designRate = processingRateFor(static_cast<float>(rate));
    f0 = cornerHz > 0.499 * designRate ? 0.499 * designRate : cornerHz;
    q = quality;
    const double g = std::pow(f0 / (0.50001 * designRate), 8);
    const double qPrime = (1 - g) * q;
    const double w = 2 * kPi * f0 / designRate;
    const double alpha = std::sin(w) / (2 * qPrime);
    const double cosW = std::cos(w);
    a0 = 1 + alpha;
    a1 = -2 * cosW / a0;
    a2 = (1 - alpha) / a0;
    b0 = b2 = (1 - cosW) / 2 / a0;
    b1 = (1 - cosW) / a0;
    epsilon = 1e-12;
}

void NeedleBank::design(double rate, double cornerHz, double topQ, double bottomQ)
{
    // The needle goes on from section 0: it takes over the running state of the section in
    // use, or a needle redesigned while deflected would fall back to where section 0 last was.
    if (current != 0)
        sections[0].takeStateFrom(sections[current]);
    top = topQ;
    bottom = bottomQ;
    for (int i = 0; i < kSections; ++i)
        sections[i].design(rate, cornerHz, top - i * (top - bottom) / 15);
    current = previous = 0;
}

// The VU ballistics of one block, in locals.
struct VUChannels {
    static constexpr bool kUsesPlainSample = false;

    NeedlePair needles;
    double inverseGain;
    OverTest over;
    float holdLength;
    double holdFall;
    LevelHold state; // level is the needle

    void step(double a, double b, double, double, bool &over1, bool &over2)
    {
        const __m128d sign = _mm_set1_pd(-0.0);
        const __m128d u = _mm_andnot_pd(sign, _mm_setr_pd(a, b));
        const __m128d y = needles.step(_mm_mul_pd(_mm_mul_pd(u, _mm_set1_pd(inverseGain)), _mm_set1_pd(kNeedleScale)));
        const double u1 = _mm_cvtsd_f64(u), u2 = _mm_cvtsd_f64(_mm_unpackhi_pd(u, u));
        over1 = over(u1, u1 * inverseGain);
        over2 = over(u2, u2 * inverseGain);
        holdStep(0, _mm_cvtsd_f64(y));
        holdStep(1, _mm_cvtsd_f64(_mm_unpackhi_pd(y, y)));
    }
    void holdStep(int c, double needle)
    {
        double &hold = state.hold[c];
        int &counter = state.counter[c];
        state.level[c] = needle;
        if (needle >= hold) {
            hold = needle;
            counter = 0;
        }
        if (static_cast<float>(counter) >= holdLength)
            hold = hold - holdFall * hold;
        if (counter < LevelHold::kCounterLimit)
            ++counter;
    }
    void storeRing(MeterEngineFrame &frame, int position) { frame.storeLevelHoldRing(state, position); }
};

VUmeter::VUmeter(AudioEffect *owner) : MeterEngineFrame(owner, kMeterTypeVU, 4)
{
    for (NeedleBank &bank : banks_)
        bank.design(44100, 2.371, 0.68, 0.55);
    loadInitialSettings();
    reset();
}

void VUmeter::redesignNeedles()
{
    const double t = integrationMs_.load(std::memory_order_relaxed);
    const bool type1 = needleType_.load(std::memory_order_relaxed) != 0;
    const double tPrime = type1 ? t * 350 / 300 : t * 310 / 300;
    const double f0 = 857.6 / tPrime; // 857.6 = 0.64 · 1000 · 1.34
    for (NeedleBank &bank : banks_)
        bank.design(sampleRate(), f0, type1 ? 0.85 : 0.68, type1 ? 0.43 : 0.55);
}

void VUmeter::setSetting(VstInt32 index, float value)
{
    const float rate = sampleRate();
    switch (index) {
    case 83:
        inverseGain_.store(1.0 / std::pow(10.0, fullReferenceDb(value) / 20), std::memory_order_relaxed);
        break;
    case 84:
        integrationMs_.store(1.167 * vuShownTimeMs(value), std::memory_order_relaxed);
        redesignPending_.store(true, std::memory_order_relaxed);
        break;
    case 85:
        hold_.set(longTimeLaw(timeStepRounded(value)), rate);
        break;
    case 86:
        needleType_.store(value < 0.5f ? 0 : 1, std::memory_order_relaxed);
        redesignPending_.store(true, std::memory_order_relaxed);
        break;
    case 87:
        setMidFactor(midScaling(value));
        break;
    case 89:
        setOverCount(overCount(value));
        break;
    case 90:
        overSelector_.store(overReferenceSelector(value), std::memory_order_relaxed);
        break;
    case 91:
        setPrecise(switchOn(value));
        break;
    default: // 88, the backlight, is read by the display through getSetting
        break;
    }
    storeSetting(index, value, value);
}

void VUmeter::getSettingText(VstInt32 index, char *text)
{
    switch (index) {
    case 83:
        formatReference(fullReferenceDb(getSetting(83)), text);
        break;
    case 84:
        formatRiseTime(vuShownTimeMs(getSetting(84)), text);
        break;
    case 85:
        formatLongTime(longTimeLaw(timeStepRounded(getSetting(85))), text);
        break;
    default:
        break;
    }
}

void VUmeter::restState()
{
    for (int c = 0; c < 2; ++c) {
        for (NeedleSection &s : banks_[c].sections)
            s.clearState();
        banks_[c].current = banks_[c].previous = 0;
    }
}

void VUmeter::reset()
{
    const float rate = sampleRate();
    resetFrame(kRest);
    redesignPending_.store(false, std::memory_order_relaxed);
    redesignNeedles();
    restState();
    hold_.recompute(rate);
    holdFall_.store(returnCoefficient(rate, integrationMs_.load(std::memory_order_relaxed)), std::memory_order_relaxed);
}

void VUmeter::process(float *channel1, float *channel2, VstInt32 frames)
{
    beginBlock();
    if (redesignPending_.load(std::memory_order_relaxed) && redesignPending_.exchange(false, std::memory_order_relaxed))
        redesignNeedles();
    VUChannels ch{NeedlePair(banks_),
                  inverseGain_.load(std::memory_order_relaxed),
                  OverTest(overSelector_.load(std::memory_order_relaxed), 2.51188643150958), // +8 dB
                  hold_.length(),
                  holdFall_.load(std::memory_order_relaxed),
                  loadLevelHold()};
    runBlock(channel1, channel2, frames, ch);
    ch.needles.finish(_mm_setr_pd(ch.state.level[0], ch.state.level[1]));

    const NeedleSection &s1 = banks_[0].sections[banks_[0].current];
    const NeedleSection &s2 = banks_[1].sections[banks_[1].current];
    const double needleState[] = {s1.x1, s1.x2, s1.y1, s1.y2, s2.x1, s2.x2, s2.y1, s2.y2};
    if (!finishBlock(ch.state, needleState, static_cast<int>(sizeof needleState / sizeof needleState[0]), kRest))
        restState();
}
