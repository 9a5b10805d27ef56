#include "meters/vu_meter.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "meters/processing_rate.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRestNeedle = -0.05;
constexpr double kNeedleScale = 1.56;  // a steady sine at the reference reads 2/π · 1.56 ≈ 0.993
const double kRest[4] = {kRestNeedle, kRestNeedle, kRestNeedle, kRestNeedle};

NeedleSectionStarts findSectionStarts()
{
    NeedleSectionStarts starts;
    starts.start[0] = -std::numeric_limits<double>::infinity();
    starts.start[NeedleBank::kSections] = std::numeric_limits<double>::infinity();
    const auto section = [](std::uint64_t bits) {
        double y;
        std::memcpy(&y, &bits, sizeof y);
        return _mm_cvtsi128_si32(needleSections(_mm_set1_pd(y)));
    };
    // Non-negative doubles are ordered as their bit patterns: a bisection between 0 (section 0)
    // and 2 (the last section) finds each start exactly.
    std::uint64_t two;
    const double twoValue = 2.0;
    std::memcpy(&two, &twoValue, sizeof two);
    for (int k = 1; k < NeedleBank::kSections; ++k) {
        std::uint64_t below = 0, at = two;
        while (at - below > 1) {
            const std::uint64_t middle = below + (at - below) / 2;
            (section(middle) >= k ? at : below) = middle;
        }
        std::memcpy(&starts.start[k], &at, sizeof at);
    }
    return starts;
}

}  // namespace

const NeedleSectionStarts &needleSectionStarts()
{
    static const NeedleSectionStarts starts = findSectionStarts();
    return starts;
}

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
    top = topQ;
    bottom = bottomQ;
    for (int i = 0; i < kSections; ++i)
        sections[i].design(rate, cornerHz, top - i * (top - bottom) / 15);
}

void NeedleLanes::selectFirstSections(NeedleBank *banks, const NeedleSectionStarts &starts)
{
    banks[0].sections[section(0)].epsilon = lowLane(epsilon);
    banks[1].sections[section(1)].epsilon = highLane(epsilon);
    const NeedleSection &s1 = banks[0].sections[0];
    const NeedleSection &s2 = banks[1].sections[0];
    b0 = _mm_setr_pd(s1.b0, s2.b0);
    b1 = _mm_setr_pd(s1.b1, s2.b1);
    b2 = _mm_setr_pd(s1.b2, s2.b2);
    a1 = _mm_setr_pd(s1.a1, s2.a1);
    a2 = _mm_setr_pd(s1.a2, s2.a2);
    epsilon = _mm_setr_pd(s1.epsilon, s2.epsilon);
    current = _mm_setzero_si128();
    lowest = _mm_set1_pd(starts.start[0]);
    beyond = _mm_set1_pd(starts.start[1]);
}

// The VU ballistics of one block, in locals.
struct VUChannels {
    static constexpr bool kUsesPlainSample = false;

    NeedlePair needles;
    __m128d inverseGain;
    OverTest over;
    __m128d holdCount;  // HoldTime::countReaching
    __m128d holdFall;
    LevelHoldLanes state;  // level is the needle

    __m128d step(__m128d peak, __m128d /* plain */)
    {
        const __m128d u = magnitudes(peak);
        const __m128d relative = _mm_mul_pd(u, inverseGain);
        const __m128d needle = needles.step(_mm_mul_pd(relative, _mm_set1_pd(kNeedleScale)));
        __m128d hold = state.hold, counters = state.counters;
        const __m128d raised = _mm_cmpge_pd(needle, hold);
        // needle >= hold ? needle : hold as one operation on the hold's own chain: the maximum
        // instruction answers its second operand, the needle, where the two are equal (signed
        // zeros included) or either is not a number. The two differ only for a needle that is
        // not a number, which stays so to the block's end and returns the meter to rest there.
        hold = _mm_max_pd(hold, needle);
        counters = _mm_andnot_pd(raised, counters);
        const __m128d falling = _mm_cmpge_pd(counters, holdCount);
        state.hold = selectLanes(falling, _mm_sub_pd(hold, _mm_mul_pd(holdFall, hold)), hold);
        state.counters = LevelHoldLanes::nextCount(counters);
        state.level = needle;
        return over(u);
    }
    void storeRing(MeterEngineFrame &frame, int position) { frame.storeLevelHoldRing(state, position); }
};

VUmeter::VUmeter(AudioEffect *owner) : MeterEngineFrame(owner, kMeterTypeVU, 4)
{
    for (NeedleBank &bank : banks_)
        bank.design(44100, 2.371, 0.68, 0.55);
    needles_.current = _mm_setzero_si128();
    needles_.epsilon = _mm_set1_pd(1e-12);
    needles_.selectFirstSections(banks_, sectionStarts_);
    needles_.clearState();
    loadInitialSettings();
    reset();
}

void VUmeter::redesignNeedles()
{
    const double t = integrationMs_.load(std::memory_order_relaxed);
    const bool type1 = needleType_.load(std::memory_order_relaxed) != 0;
    const double tPrime = type1 ? t * 350 / 300 : t * 310 / 300;
    const double f0 = 857.6 / tPrime;  // 857.6 = 0.64 · 1000 · 1.34
    for (NeedleBank &bank : banks_)
        bank.design(sampleRate(), f0, type1 ? 0.85 : 0.68, type1 ? 0.43 : 0.55);
    // The needles go on from section 0 where they stand: a needle redesigned while deflected
    // keeps its state instead of falling back to where section 0 last was.
    needles_.epsilon = _mm_set1_pd(1e-12);
    needles_.selectFirstSections(banks_, sectionStarts_);
}

void VUmeter::setSetting(VstInt32 index, float value)
{
    const float rate = sampleRate();
    switch (index) {
    case kVUReference:
        inverseGain_.store(1.0 / std::pow(10.0, fullReferenceDb(value) / 20), std::memory_order_relaxed);
        break;
    case kVUIntegration:
        integrationMs_.store(1.167 * vuShownTimeMs(value), std::memory_order_relaxed);
        redesignPending_.store(true, std::memory_order_relaxed);
        break;
    case kVUHoldTime:
        hold_.set(longTimeLaw(timeStepRounded(value)), rate);
        break;
    case kVUNeedleType:
        // Deliberately value < 0.5, not the switch law: 0.49999997 is needle type 0.
        needleType_.store(value < 0.5f ? 0 : 1, std::memory_order_relaxed);
        redesignPending_.store(true, std::memory_order_relaxed);
        break;
    case kVUMidScaling:
        setMidFactor(midScaling(value));
        break;
    case kVUOverCount:
        setOverCount(overCount(value));
        break;
    case kVUOverSelector:
        overSelector_.store(overReferenceSelector(value), std::memory_order_relaxed);
        break;
    case kVUPrecise:
        setPrecise(switchOn(value));
        break;
    default:  // kVUBacklight is read by the display through getSetting
        break;
    }
    storeSetting(index, value, value);
}

void VUmeter::getSettingText(VstInt32 index, char *text)
{
    switch (index) {
    case kVUReference:
        formatReference(fullReferenceDb(getSetting(kVUReference)), text);
        break;
    case kVUIntegration:
        formatRiseTime(vuShownTimeMs(getSetting(kVUIntegration)), text);
        break;
    case kVUHoldTime:
        formatLongTime(longTimeLaw(timeStepRounded(getSetting(kVUHoldTime))), text);
        break;
    default:
        break;
    }
}

void VUmeter::restState()
{
    // Each section keeps its offset.
    needles_.selectFirstSections(banks_, sectionStarts_);
    needles_.clearState();
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

inline void VUmeter::processBlock(float *channel1, float *channel2, VstInt32 frames)
{
    beginBlock();
    if (redesignPending_.load(std::memory_order_relaxed) && redesignPending_.exchange(false, std::memory_order_relaxed))
        redesignNeedles();
    const __m128d inverseGain = _mm_set1_pd(inverseGain_.load(std::memory_order_relaxed));
    VUChannels ch{NeedlePair(needles_, banks_, sectionStarts_),
                  inverseGain,
                  OverTest(overSelector_.load(std::memory_order_relaxed), 2.51188643150958, inverseGain),  // +8 dB
                  _mm_set1_pd(hold_.countReaching()),
                  _mm_set1_pd(holdFall_.load(std::memory_order_relaxed)),
                  LevelHoldLanes(loadLevelHold())};
    runBlock(channel1, channel2, frames, ch);
    ch.needles.finish(needles_);

    // The needles' state needs no test of its own: the last output sums every state value
    // with a finite coefficient, so a needle (the level) that is finite has finite state, and a
    // block without frames leaves the state as the last test passed it.
    if (!finishBlock(ch.state, _mm_setzero_pd(), kRest))
        restState();
}

void VUmeter::processBlockSse2(float *channel1, float *channel2, VstInt32 frames)
{
    processBlock(channel1, channel2, frames);
}

#ifdef ZEM_ENGINE_VEX
void VUmeter::processBlockVex(float *channel1, float *channel2, VstInt32 frames)
{
    processBlock(channel1, channel2, frames);
}

void VUmeter::processBlockEvex(float *channel1, float *channel2, VstInt32 frames)
{
    processBlock(channel1, channel2, frames);
}
#endif

void VUmeter::process(float *channel1, float *channel2, VstInt32 frames)
{
    processInBestEncoding(*this, channel1, channel2, frames);
}
