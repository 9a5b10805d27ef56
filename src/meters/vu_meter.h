// VUmeter: two modelled VU needles (a second-order low-pass whose damping follows the
// deflection), a hold value per needle and the shared frame (over indicator, display delay).
// Thread contracts as MeterEngine.
#pragma once

#include "meters/meter_engine_frame.h"
#include "meters/peak_follower.h"
#include "meters/vex_encoding.h"

#include <emmintrin.h>

// One second-order low-pass section of the needle model.
struct NeedleSection {
    double designRate = 44100;  // Hz
    double f0 = 2.0;            // corner frequency, Hz
    double q = 0.68;            // quality
    double epsilon = 1e-12;     // anti-denormal offset, sign flipped every step
    double a0 = 1, a1 = 0, a2 = 0, b0 = 0, b1 = 0, b2 = 0;
    double lastInput = 0, x1 = 0, x2 = 0, lastOutput = 0, y1 = 0, y2 = 0;

    void design(double rate, double cornerHz, double quality);
    double step(double x)
    {
        epsilon = -epsilon;
        const double xe = x + epsilon;
        const double y = b0 * xe + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = xe;
        y2 = y1;
        y1 = y + epsilon;
        lastInput = xe;
        lastOutput = y;
        return y;
    }
    void takeStateFrom(const NeedleSection &other)
    {
        x1 = other.x1;
        x2 = other.x2;
        lastOutput = other.lastOutput;
        y1 = other.y1;
        y2 = other.y2;
    }
    void clearState() { lastInput = x1 = x2 = lastOutput = y1 = y2 = 0; }
};

// Sixteen sections from the top damping (at rest) to the bottom one (full deflection); the
// needle's own position picks the section for the next sample.
struct NeedleBank {
    static constexpr int kSections = 16;
    double top = 0.68;
    double bottom = 0.55;
    int current = 0;
    int previous = 0;
    NeedleSection sections[kSections];

    // New coefficients for every section; the needle continues from where it stands (the
    // state of the section in use moves to section 0, which becomes current).
    void design(double rate, double cornerHz, double topQ, double bottomQ);
};

// The section of a needle output y: trunc(15 · b + 0.5) in single precision, b the output in
// single precision clamped to 0..1 (a NaN gives 0), for both lanes. [any-thread]
inline __m128i needleSections(__m128d y)
{
    __m128 b = _mm_cvtpd_ps(y);
    b = _mm_min_ps(_mm_max_ps(b, _mm_setzero_ps()), _mm_set1_ps(1.f));
    return _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(15.f), b), _mm_set1_ps(0.5f)));
}

// The section never falls as the output grows, so each section holds the outputs from where it
// starts up to where the next one starts: start[k] is the least output of section k or above,
// start[0] = −inf and start[16] = +inf. A step then tests its output against its section's two
// bounds and works the index out only when the output leaves them. Prepared once at library
// load. [any-thread]
struct NeedleSectionStarts {
    double start[NeedleBank::kSections + 1];
};
const NeedleSectionStarts &needleSectionStarts();

// Both needle banks for the length of one block, channel 1 in the low and channel 2 in the
// high lane of SSE2 registers: each lane computes exactly the scalar step of its bank. The
// current sections' coefficients, offsets and states live in registers, so the step's only
// dependence on the section index is a well-predicted branch (an index changes only when its
// needle crosses into another sixteenth of its travel). The sections' stored values after
// finish() are those of stepping each bank sample by sample: the section just used keeps its
// state, the next one takes it over (x1, x2, last output, y1, y2) and keeps its own offset and
// last input. Everything is inline: an out-of-line call would take the pair's address and force
// its values into memory. [audio-thread]
class NeedlePair {
public:
    __attribute__((always_inline)) NeedlePair(NeedleBank *banks, const NeedleSectionStarts &sectionStarts);
    // One step of both banks with the inputs (u1, u2); answers the outputs (y1, y2).
    __attribute__((always_inline)) __m128d step(__m128d u);
    // Stores the running sections back into the banks; `y` is the last step's output (the
    // needles). [audio-thread], after the block.
    __attribute__((always_inline)) void finish(__m128d y);
    // The running state (x1, x2, y1, y2) of both lanes summed times zero (finiteZeros).
    __m128d stateZeros() const
    {
        return _mm_add_pd(_mm_add_pd(finiteZeros(x1), finiteZeros(x2)), _mm_add_pd(finiteZeros(y1), finiteZeros(y2)));
    }

private:
    static double low(__m128d v) { return _mm_cvtsd_f64(v); }
    static double high(__m128d v) { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
    static double lane(__m128d v, int c) { return c == 0 ? low(v) : high(v); }
    // The section's coefficients and offset into lane c.
    __attribute__((always_inline)) void loadLane(int c, const NeedleSection &s);
    // Lane c's offset and state into its section; the last input is the lane's x1.
    __attribute__((always_inline)) void storeLane(int c, NeedleSection &s, double output, bool lastInput) const;
    __attribute__((always_inline)) void switchSections(int changed, __m128i next, __m128d y);

    NeedleBank *banks;
    int current[2];
    int switchedFrom[2];   // the section a lane left at its last switch
    int lastChanged;       // lanes whose last step switched sections
    const double *starts;  // needleSectionStarts
    __m128d b0, b1, b2, a1, a2, epsilon, x1, x2, y1, y2;
    __m128i currentLanes;    // current[0], current[1] in the two low 32-bit lanes
    __m128d lowest, beyond;  // the current sections' bounds: start[current], start[current + 1]
};

inline NeedlePair::NeedlePair(NeedleBank *banks, const NeedleSectionStarts &sectionStarts)
    : banks(banks), lastChanged(0), starts(sectionStarts.start)
{
    for (int c = 0; c < 2; ++c) {
        current[c] = banks[c].current;
        switchedFrom[c] = banks[c].previous;
        if (banks[c].previous != banks[c].current)
            lastChanged |= 1 << c;
    }
    const NeedleSection &s1 = banks[0].sections[current[0]];
    const NeedleSection &s2 = banks[1].sections[current[1]];
    b0 = _mm_setr_pd(s1.b0, s2.b0);
    b1 = _mm_setr_pd(s1.b1, s2.b1);
    b2 = _mm_setr_pd(s1.b2, s2.b2);
    a1 = _mm_setr_pd(s1.a1, s2.a1);
    a2 = _mm_setr_pd(s1.a2, s2.a2);
    epsilon = _mm_setr_pd(s1.epsilon, s2.epsilon);
    x1 = _mm_setr_pd(s1.x1, s2.x1);
    x2 = _mm_setr_pd(s1.x2, s2.x2);
    y1 = _mm_setr_pd(s1.y1, s2.y1);
    y2 = _mm_setr_pd(s1.y2, s2.y2);
    currentLanes = _mm_setr_epi32(current[0], current[1], 0, 0);
    lowest = _mm_setr_pd(starts[current[0]], starts[current[1]]);
    beyond = _mm_setr_pd(starts[current[0] + 1], starts[current[1] + 1]);
}

inline __m128d NeedlePair::step(__m128d u)
{
    epsilon = _mm_xor_pd(epsilon, _mm_set1_pd(-0.0));
    const __m128d xe = _mm_add_pd(u, epsilon);
    const __m128d y = _mm_sub_pd(
        _mm_sub_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(b0, xe), _mm_mul_pd(b1, x1)), _mm_mul_pd(b2, x2)),
                   _mm_mul_pd(a1, y1)),
        _mm_mul_pd(a2, y2));
    x2 = x1;
    x1 = xe;  // also the section's last input
    y2 = y1;
    y1 = _mm_add_pd(y, epsilon);
    // The section index changes only where the output leaves its section's bounds (or is not
    // a number).
    const __m128d inside = _mm_and_pd(_mm_cmpge_pd(y, lowest), _mm_cmplt_pd(y, beyond));
    lastChanged = 0;
    if (_mm_movemask_pd(inside) != 3) {
        const __m128i next = needleSections(y);
        const int changed = ~_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(next, currentLanes))) & 3;
        lastChanged = changed;
        if (changed)
            switchSections(changed, next, y);
    }
    return y;
}

inline void NeedlePair::loadLane(int c, const NeedleSection &s)
{
    const auto put = [c](__m128d &v, double value) {
        v = c == 0 ? _mm_move_sd(v, _mm_set_sd(value)) : _mm_unpacklo_pd(v, _mm_set_sd(value));
    };
    put(b0, s.b0);
    put(b1, s.b1);
    put(b2, s.b2);
    put(a1, s.a1);
    put(a2, s.a2);
    put(epsilon, s.epsilon);
}

inline void NeedlePair::storeLane(int c, NeedleSection &s, double output, bool lastInput) const
{
    s.epsilon = lane(epsilon, c);
    if (lastInput)
        s.lastInput = lane(x1, c);
    s.x1 = lane(x1, c);
    s.x2 = lane(x2, c);
    s.y1 = lane(y1, c);
    s.y2 = lane(y2, c);
    s.lastOutput = output;
}

// The section just used keeps its offset, last input and state; the next one brings its own
// coefficients and offset and takes the state over (the lanes keep it).
inline void NeedlePair::switchSections(int changed, __m128i next, __m128d y)
{
    const int nextIndex[2] = {_mm_cvtsi128_si32(next), _mm_cvtsi128_si32(_mm_srli_si128(next, 4))};
    for (int c = 0; c < 2; ++c) {
        if (!(changed & (1 << c)))
            continue;
        storeLane(c, banks[c].sections[current[c]], lane(y, c), true);
        switchedFrom[c] = current[c];
        current[c] = nextIndex[c];
        loadLane(c, banks[c].sections[current[c]]);
    }
    currentLanes = _mm_setr_epi32(current[0], current[1], 0, 0);
    lowest = _mm_setr_pd(starts[current[0]], starts[current[1]]);
    beyond = _mm_setr_pd(starts[current[0] + 1], starts[current[1] + 1]);
}

inline void NeedlePair::finish(__m128d y)
{
    for (int c = 0; c < 2; ++c) {
        // A section taken over by the last step has not run yet: its last input is its own.
        const bool switchedLast = (lastChanged & (1 << c)) != 0;
        storeLane(c, banks[c].sections[current[c]], lane(y, c), !switchedLast);
        banks[c].current = current[c];
        banks[c].previous = switchedLast ? switchedFrom[c] : current[c];
    }
}

class VUmeter : public MeterEngineFrame {
public:
    explicit VUmeter(AudioEffect *owner);

    void setSetting(VstInt32 index, float value) override;
    void getSettingText(VstInt32 index, char *text) override;
    void reset() override;
    void process(float *channel1, float *channel2, VstInt32 frames) override;

private:
    friend struct VUChannels;
    // The block routine, inlined into an SSE2, a VEX and an EVEX variant; process() picks one.
    __attribute__((always_inline)) inline void processBlock(float *channel1, float *channel2, VstInt32 frames);
    void processBlockSse2(float *channel1, float *channel2, VstInt32 frames);
    template <class Engine, class Frames> friend void processInBestEncoding(Engine &, float *, float *, Frames);
#ifdef ZEM_ENGINE_VEX
    ZEM_VEX_TARGET void processBlockVex(float *channel1, float *channel2, VstInt32 frames);
    ZEM_EVEX_TARGET void processBlockEvex(float *channel1, float *channel2, VstInt32 frames);
#endif
    void redesignNeedles();
    void restState();

    std::atomic<double> inverseGain_{1.0};      // 1/g, g = 10^(r/20)
    std::atomic<double> integrationMs_{350.1};  // T = 1.167 · shown time
    std::atomic<int> needleType_{0};
    std::atomic<double> overSelector_{1.0};     // q
    HoldTime hold_;                             // H and the hold length
    std::atomic<double> holdFall_{0};           // kH, recomputed by reset()
    std::atomic<bool> redesignPending_{false};  // needle design applied by the audio thread

    NeedleBank banks_[2];  // audio thread (and reset)
    const NeedleSectionStarts &sectionStarts_ = needleSectionStarts();
};
