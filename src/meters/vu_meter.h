// VUmeter: two modelled VU needles (a second-order low-pass whose damping follows the
// deflection), a hold value per needle and the shared frame (over indicator, display delay).
// Thread contracts as MeterEngine.
#pragma once

#include "meters/meter_engine_frame.h"
#include "meters/peak_follower.h"
#include "meters/vex_encoding.h"

#include <emmintrin.h>

// One second-order low-pass section of the needle model: its design, coefficients and its own
// anti-denormal offset. The running state (x1, x2, y1, y2) is the needle's, not the section's:
// it lives in NeedleLanes and goes on from one section to the next.
struct NeedleSection {
    double designRate = 44100;  // Hz
    double f0 = 2.0;            // corner frequency, Hz
    double q = 0.68;            // quality
    double epsilon = 1e-12;     // anti-denormal offset, sign flipped every step the section runs
    double a0 = 1, a1 = 0, a2 = 0, b0 = 0, b1 = 0, b2 = 0;

    void design(double rate, double cornerHz, double quality);
};

// Sixteen sections from the top damping (at rest) to the bottom one (full deflection); the
// needle's own position picks the section for the next sample. While a section runs, its offset
// is in NeedleLanes (the copy here is that of its last switch away).
struct NeedleBank {
    static constexpr int kSections = 16;
    double top = 0.68;
    double bottom = 0.55;
    NeedleSection sections[kSections];

    // New coefficients for every section, every offset back to +1e-12.
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

// Both needles between blocks in the layout the block works in: channel 1 in the low and
// channel 2 in the high lane. A block loads them with one aligned load each and stores them
// back the same way; nothing is converted per block. [audio-thread] (and reset)
struct alignas(16) NeedleLanes {
    __m128d b0, b1, b2, a1, a2, epsilon;  // the current sections' coefficients and offsets
    __m128d x1, x2, y1, y2;               // the needles' running state
    __m128d lowest, beyond;               // the current sections' bounds: start[current], start[current + 1]
    __m128i current;                      // the current sections in the two low 32-bit lanes

    int section(int c) const
    {
        return c == 0 ? _mm_cvtsi128_si32(current) : _mm_cvtsi128_si32(_mm_srli_si128(current, 4));
    }
    // Section 0 of both banks becomes current (its coefficients and offset into the lanes); the
    // offsets of the sections left go back into their banks. The running state stays.
    void selectFirstSections(NeedleBank *banks, const NeedleSectionStarts &starts);
    // Running state to zero.
    void clearState() { x1 = x2 = y1 = y2 = _mm_setzero_pd(); }
};

// Both needle banks for the length of one block: each lane computes exactly the scalar step of
// its bank (the same operations in the same order). The lanes live in registers, so the step's
// only dependence on the section index is a well-predicted branch (an index changes only when
// its needle crosses into another sixteenth of its travel). At a switch the section left keeps
// its offset in its bank and the next one brings its coefficients and offset; the state goes on
// in the lanes. Everything is inline: an out-of-line call would take the pair's address and
// force its values into memory. [audio-thread]
class NeedlePair {
public:
    __attribute__((always_inline))
    NeedlePair(const NeedleLanes &stored, NeedleBank *banks, const NeedleSectionStarts &sectionStarts)
        : lanes(stored), banks(banks), starts(sectionStarts.start)
    {
    }
    // One step of both banks with the inputs (u1, u2); answers the outputs (y1, y2).
    __attribute__((always_inline)) __m128d step(__m128d u);
    // The lanes to keep for the next block. [audio-thread], after the block.
    void finish(NeedleLanes &stored) const { stored = lanes; }

private:
    __attribute__((always_inline)) void switchSections(int changed, __m128i next);

    NeedleLanes lanes;
    NeedleBank *banks;
    const double *starts;  // needleSectionStarts
};

inline __m128d NeedlePair::step(__m128d u)
{
    lanes.epsilon = _mm_xor_pd(lanes.epsilon, _mm_set1_pd(-0.0));
    const __m128d xe = _mm_add_pd(u, lanes.epsilon);
    const __m128d y = _mm_sub_pd(
        _mm_sub_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(lanes.b0, xe), _mm_mul_pd(lanes.b1, lanes.x1)),
                              _mm_mul_pd(lanes.b2, lanes.x2)),
                   _mm_mul_pd(lanes.a1, lanes.y1)),
        _mm_mul_pd(lanes.a2, lanes.y2));
    lanes.x2 = lanes.x1;
    lanes.x1 = xe;
    lanes.y2 = lanes.y1;
    lanes.y1 = _mm_add_pd(y, lanes.epsilon);
    // The section index changes only where the output leaves its section's bounds (or is not
    // a number).
    const __m128d inside = _mm_and_pd(_mm_cmpge_pd(y, lanes.lowest), _mm_cmplt_pd(y, lanes.beyond));
    if (_mm_movemask_pd(inside) != 3) {
        const __m128i next = needleSections(y);
        const int changed = ~_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(next, lanes.current))) & 3;
        if (changed)
            switchSections(changed, next);
    }
    return y;
}

// The section just used keeps its offset; the next one brings its own coefficients and offset
// (the lanes keep the state).
inline void NeedlePair::switchSections(int changed, __m128i next)
{
    const int nextIndex[2] = {_mm_cvtsi128_si32(next), _mm_cvtsi128_si32(_mm_srli_si128(next, 4))};
    int current[2] = {lanes.section(0), lanes.section(1)};
    for (int c = 0; c < 2; ++c) {
        if (!(changed & (1 << c)))
            continue;
        const auto put = [c](__m128d &v, double value) {
            v = c == 0 ? _mm_move_sd(v, _mm_set_sd(value)) : _mm_unpacklo_pd(v, _mm_set_sd(value));
        };
        banks[c].sections[current[c]].epsilon = c == 0 ? _mm_cvtsd_f64(lanes.epsilon)
                                                       : _mm_cvtsd_f64(_mm_unpackhi_pd(lanes.epsilon, lanes.epsilon));
        current[c] = nextIndex[c];
        const NeedleSection &s = banks[c].sections[current[c]];
        put(lanes.b0, s.b0);
        put(lanes.b1, s.b1);
        put(lanes.b2, s.b2);
        put(lanes.a1, s.a1);
        put(lanes.a2, s.a2);
        put(lanes.epsilon, s.epsilon);
    }
    lanes.current = _mm_setr_epi32(current[0], current[1], 0, 0);
    lanes.lowest = _mm_setr_pd(starts[current[0]], starts[current[1]]);
    lanes.beyond = _mm_setr_pd(starts[current[0] + 1], starts[current[1] + 1]);
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
    NeedleLanes needles_;  // audio thread (and reset)
    const NeedleSectionStarts &sectionStarts_ = needleSectionStarts();
};
