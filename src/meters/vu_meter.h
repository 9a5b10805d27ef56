// VUmeter: two modelled VU needles (a second-order low-pass whose damping follows the
// deflection), a hold value per needle and the shared frame (over indicator, display delay).
// Thread contracts as MeterEngine.
#pragma once

#include "meters/meter_engine_frame.h"
#include "meters/peak_follower.h"

#include <emmintrin.h>

// One second-order low-pass section of the needle model.
struct NeedleSection {
    double designRate = 44100; // Hz
    double f0 = 2.0;           // corner frequency, Hz
    double q = 0.68;           // quality
    double epsilon = 1e-12;    // anti-denormal offset, sign flipped every step
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

    void design(double rate, double cornerHz, double topQ, double bottomQ);
};

// Both needle banks for the length of one block, channel 1 in the low and channel 2 in the
// high lane of SSE2 registers: each lane computes exactly the scalar step of its bank. The
// current sections' coefficients, offsets and states live in registers, so the step's only
// dependence on the section index is a well-predicted branch (an index changes only when its
// needle crosses into another sixteenth of its travel). The sections' stored values after
// finish() are those of stepping each bank sample by sample: the section just used keeps its
// state, the next one takes it over (x1, x2, last output, y1, y2) and keeps its own offset and
// last input. Thread: audio.
class NeedlePair {
public:
    __attribute__((always_inline)) explicit NeedlePair(NeedleBank *banks);
    // One step of both banks with the inputs (u1, u2); answers the outputs (y1, y2).
    inline __m128d step(__m128d u);
    // Stores the running sections back into the banks. Thread: audio, after the block.
    __attribute__((always_inline)) void finish();

private:
    enum Field { kB0, kB1, kB2, kA1, kA2, kEpsilon, kLastInput, kX1, kX2, kY1, kY2, kLastOutput, kFields };
    __attribute__((always_inline)) void toLanes(const double (&fields)[2][kFields]);
    __attribute__((always_inline)) void fromLanes(double (&fields)[2][kFields]) const;
    __attribute__((always_inline)) void switchSections(int changed, __m128i next);
    // A lane's offset, last input and state into its section.
    static void store(const double (&fields)[kFields], NeedleSection &section);

    NeedleBank *banks;
    int current[2], previous[2];
    __m128d b0, b1, b2, a1, a2, epsilon, lastInput, x1, x2, y1, y2, lastOutput;
    __m128i currentLanes; // current[0], current[1] in the two low 32-bit lanes
};

inline __m128d NeedlePair::step(__m128d u)
{
    epsilon = _mm_xor_pd(epsilon, _mm_set1_pd(-0.0));
    const __m128d xe = _mm_add_pd(u, epsilon);
    const __m128d y = _mm_sub_pd(
        _mm_sub_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(b0, xe), _mm_mul_pd(b1, x1)), _mm_mul_pd(b2, x2)),
                   _mm_mul_pd(a1, y1)),
        _mm_mul_pd(a2, y2));
    x2 = x1;
    x1 = xe;
    y2 = y1;
    y1 = _mm_add_pd(y, epsilon);
    lastInput = xe;
    lastOutput = y;
    // The section index: the output in single precision, clamped to 0..1 (a NaN gives 0),
    // trunc(15 · b + 0.5).
    __m128 b = _mm_cvtpd_ps(y);
    b = _mm_min_ps(_mm_max_ps(b, _mm_setzero_ps()), _mm_set1_ps(1.f));
    const __m128i next = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(15.f), b), _mm_set1_ps(0.5f)));
    previous[0] = current[0];
    previous[1] = current[1];
    const int changed = ~_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(next, currentLanes))) & 3;
    if (changed)
        switchSections(changed, next);
    return y;
}

// Every part is inline: an out-of-line call would take the pair's address, and the running
// values would have to live in memory rather than in registers.
inline NeedlePair::NeedlePair(NeedleBank *banks) : banks(banks)
{
    double fields[2][kFields];
    for (int c = 0; c < 2; ++c) {
        current[c] = banks[c].current;
        previous[c] = banks[c].previous;
        const NeedleSection &s = banks[c].sections[current[c]];
        const double values[kFields] = {s.b0, s.b1, s.b2, s.a1, s.a2, s.epsilon,
                                        s.lastInput, s.x1, s.x2, s.y1, s.y2, s.lastOutput};
        for (int f = 0; f < kFields; ++f)
            fields[c][f] = values[f];
    }
    toLanes(fields);
    currentLanes = _mm_setr_epi32(current[0], current[1], 0, 0);
}

inline void NeedlePair::toLanes(const double (&fields)[2][kFields])
{
    __m128d *const lanes[kFields] = {&b0, &b1, &b2, &a1, &a2, &epsilon, &lastInput, &x1, &x2, &y1, &y2, &lastOutput};
    for (int f = 0; f < kFields; ++f)
        *lanes[f] = _mm_setr_pd(fields[0][f], fields[1][f]);
}

inline void NeedlePair::fromLanes(double (&fields)[2][kFields]) const
{
    const __m128d *const lanes[kFields] = {&b0, &b1, &b2, &a1, &a2, &epsilon, &lastInput, &x1, &x2, &y1, &y2, &lastOutput};
    for (int f = 0; f < kFields; ++f) {
        fields[0][f] = _mm_cvtsd_f64(*lanes[f]);
        fields[1][f] = _mm_cvtsd_f64(_mm_unpackhi_pd(*lanes[f], *lanes[f]));
    }
}

inline void NeedlePair::store(const double (&fields)[kFields], NeedleSection &s)
{
    s.epsilon = fields[kEpsilon];
    s.lastInput = fields[kLastInput];
    s.x1 = fields[kX1];
    s.x2 = fields[kX2];
    s.y1 = fields[kY1];
    s.y2 = fields[kY2];
    s.lastOutput = fields[kLastOutput];
}

// The running section's offset, last input and state go back to it; the next section takes
// the state over and brings its own coefficients, offset and last input.
inline void NeedlePair::switchSections(int changed, __m128i next)
{
    double fields[2][kFields];
    fromLanes(fields);
    const int nextIndex[2] = {_mm_cvtsi128_si32(next), _mm_cvtsi128_si32(_mm_srli_si128(next, 4))};
    for (int c = 0; c < 2; ++c) {
        if (!(changed & (1 << c)))
            continue;
        store(fields[c], banks[c].sections[current[c]]);
        current[c] = nextIndex[c];
        const NeedleSection &s = banks[c].sections[current[c]];
        fields[c][kB0] = s.b0;
        fields[c][kB1] = s.b1;
        fields[c][kB2] = s.b2;
        fields[c][kA1] = s.a1;
        fields[c][kA2] = s.a2;
        fields[c][kEpsilon] = s.epsilon;
        fields[c][kLastInput] = s.lastInput;
    }
    toLanes(fields);
    currentLanes = _mm_setr_epi32(current[0], current[1], 0, 0);
}

inline void NeedlePair::finish()
{
    double fields[2][kFields];
    fromLanes(fields);
    for (int c = 0; c < 2; ++c) {
        store(fields[c], banks[c].sections[current[c]]);
        banks[c].current = current[c];
        banks[c].previous = previous[c];
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
    void redesignNeedles();
    void restState();

    std::atomic<double> inverseGain_{1.0};     // 1/g, g = 10^(r/20)
    std::atomic<double> integrationMs_{350.1}; // T = 1.167 · shown time
    std::atomic<int> needleType_{0};
    std::atomic<double> overSelector_{1.0};    // q
    HoldTime hold_;                            // H and the hold length
    std::atomic<double> holdFall_{0};          // kH, recomputed by reset()
    std::atomic<bool> redesignPending_{false}; // needle design applied by the audio thread

    NeedleBank banks_[2];                      // audio thread (and reset)
};
