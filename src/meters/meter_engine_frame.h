// The engine frame shared by VUmeter, PPMmeter and RMSMeter: the settings scopes, the precise
// stage, the mid/side matrix, over counting, the 1 ms display-delay ring, the read-out, the
// level and hold state with its hold counters, and the peak reset. Each engine adds its
// ballistics as a small per-channel step (see runBlock).
//
// Sharing between threads: the audio thread owns the running state (locals during a block);
// everything the editor reads or another thread writes is a relaxed atomic, loaded into locals
// once per block. A settings change takes effect at the next block; a block may start with a mix
// of old and new coefficients, none of them torn.
#pragma once

#include <atomic>
#include <cmath>
#include <cstddef>
#include <memory>
#include <type_traits>

#include <emmintrin.h>

#include "meters/meter_engine.h"
#include "meters/meter_settings.h"
#include "meters/input_limit.h"
#include "meters/over_counter.h"
#include "meters/precise_stage.h"
#include "meters/processing_rate.h"

static_assert(std::atomic<double>::is_always_lock_free, "the read-out needs lock-free doubles");
static_assert(std::atomic<float>::is_always_lock_free, "settings need lock-free floats");
static_assert(std::atomic<int>::is_always_lock_free, "counters need lock-free ints");

// Level and hold of both channels with their hold counters: the running state that every
// engine's hold works on, kept from one block to the next.
struct LevelHold {
    static constexpr int kCounterLimit = 1 << 30;  // far beyond any hold length; keeps the count defined

    double level[2];  // VU needle position, or PPM/RMS peak level
    double hold[2];
    int counter[2];  // samples since the hold was last raised
};

// Inside a block the engines work on both channels at once: channel 1 in the low and channel 2
// in the high lane of an SSE2 register, each lane computing exactly what the scalar step of its
// channel would (the same operations in the same order). A mask lane is all ones or all zeros.
// [any-thread]
inline __m128d selectLanes(__m128d mask, __m128d whenSet, __m128d otherwise)
{
    return _mm_or_pd(_mm_and_pd(mask, whenSet), _mm_andnot_pd(mask, otherwise));
}
inline double lowLane(__m128d v) { return _mm_cvtsd_f64(v); }
inline double highLane(__m128d v) { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
inline __m128d magnitudes(__m128d v) { return _mm_andnot_pd(_mm_set1_pd(-0.0), v); }
// v · 0: zero for every finite value and NaN otherwise; a sum of these is zero only when all
// the values are finite, in whatever order it is added.
inline __m128d finiteZeros(__m128d v) { return _mm_mul_pd(v, _mm_setzero_pd()); }

// LevelHold in lanes for the length of a block; the counters are doubles (exact up to the
// limit), so that every step stays in the double lanes.
struct LevelHoldLanes {
    __m128d level, hold, counters;

    explicit LevelHoldLanes(const LevelHold &s)
        : level(_mm_setr_pd(s.level[0], s.level[1])), hold(_mm_setr_pd(s.hold[0], s.hold[1])),
          counters(_mm_setr_pd(s.counter[0], s.counter[1]))
    {
    }
    // The count of one more sample: 0 becomes 1, the limit stays.
    static __m128d nextCount(__m128d counters)
    {
        return _mm_min_pd(_mm_add_pd(counters, _mm_set1_pd(1.0)), _mm_set1_pd(LevelHold::kCounterLimit));
    }
};

// The over test of the VU and PPM meters by the threshold selector q: below 0.25 the level
// relative to the reference, |x| · inverseGain, against `aboveReference`, otherwise |x| against
// 0.7071 (−3 dBFS), 0.891 (−1 dBFS) or 1.0 (0 dBFS). The selector is decoded once per block
// into the factor |x| is taken with: |x| · 1 is |x| itself, so each lane compares exactly the
// value its branch of the rule names. [audio-thread]
class OverTest {
public:
    OverTest(double selector, double aboveReference, __m128d inverseGain)
        : factor(selector < 0.25 ? inverseGain : _mm_set1_pd(1.0)),
          threshold(_mm_set1_pd(selector < 0.25   ? aboveReference
                                : selector < 0.5  ? 0.7071
                                : selector < 0.75 ? 0.8912509381337456
                                                  : 1.0))
    {
    }
    // Both channels' magnitudes |x|: a lane is set where that channel's sample is over.
    __m128d operator()(__m128d magnitude) const { return _mm_cmpge_pd(_mm_mul_pd(magnitude, factor), threshold); }

private:
    __m128d factor;
    __m128d threshold;
};

struct MeterEngineFrameTicks {
    static constexpr int kOverTimerTicks = 30;  // ring steps an over stays lit
};

// The shared counting rule, both channels at once (`over` set in the lanes whose sample is
// over): an over sample adds 1; any other sample forgets a run shorter than N, while a count
// that reached N stays until the ring or the read-out picks it up. [audio-thread]
inline __m128d countOvers(__m128d over, __m128d overCount, __m128d counters)
{
    const __m128d kept = _mm_and_pd(_mm_cmple_pd(overCount, counters), counters);
    return selectLanes(over, _mm_add_pd(counters, _mm_set1_pd(1.0)), kept);
}

// One ring step of a channel's over timer: a count that reached N lights the over for 30 ticks
// and is picked up; a lit timer counts down. Answers the timer to store. [audio-thread]
inline double overTimerTick(int overCount, double &counter, double &timer)
{
    if (counter >= overCount) {
        timer = MeterEngineFrameTicks::kOverTimerTicks;
        counter = 0;
    }
    if (timer > 0)
        timer -= 1;
    return timer;
}

class MeterEngineFrame : public MeterEngine {
public:
    static constexpr int kRingSize = 1001;  // display ring: one value per millisecond
    static constexpr int kMaxLag = 999;     // ms
    static constexpr int kOverTimerTicks = MeterEngineFrameTicks::kOverTimerTicks;

    ~MeterEngineFrame() override;

    float getSetting(VstInt32 index) override;
    VstInt32 firstSettingIndex() const override { return firstMeterSetting(type_); }
    VstInt32 lastSettingIndex() const override { return lastMeterSetting(type_); }
    void setSampleRate(float rate) override { sampleRate_.store(processingRateFor(rate), std::memory_order_relaxed); }

    void setMidSide(float value, bool on) override;
    void setHold(float value, int mode) override;
    void setLag(float value, int milliseconds) override;
    void getCommonDisplay(VstInt32 index, float value, char *text) override;
    void resetPeaks() override;
    void applyScope(float value) override;
    void syncSharedSettings() override;
    void storeDefaults() override;
    double readoutValue(MeterQuantity quantity, double position) override;
    int readoutOverState(int channel) override;
    int peekOverState(int channel) const override;
    int holdMode() const override { return holdMode_.load(std::memory_order_relaxed); }
    double applyInfiniteHold(int channel, double hold) override;

    // Writes one quantity into the display ring; called by an engine's ballistics from
    // runBlock. [audio-thread]
    void storeRing(int quantity, int position, double value)
    {
        ring_[quantity * kRingSize + position].store(value, std::memory_order_relaxed);
    }
    // Writes level and hold of both channels into the display ring, from runBlock too.
    // [audio-thread]
    void storeLevelHoldRing(const LevelHoldLanes &state, int position)
    {
        storeRing(kMeterLevel1, position, lowLane(state.level));
        storeRing(kMeterLevel2, position, highLane(state.level));
        storeRing(kMeterHold1, position, lowLane(state.hold));
        storeRing(kMeterHold2, position, highLane(state.hold));
    }

    MeterType meterType() const { return type_; }
    int scope() const { return scope_.load(std::memory_order_relaxed); }  // [any-thread]
    float sampleRate() const { return sampleRate_.load(std::memory_order_relaxed); }
    int lagMilliseconds() const { return lag_.load(std::memory_order_relaxed); }

protected:
    MeterEngineFrame(AudioEffect *owner, MeterType type, int quantityCount);

    // Applies the settings of the shared scope at construction; run by each engine's
    // constructor (setSetting is virtual, so the frame's own constructor cannot).
    void loadInitialSettings();
    // Remembers the value given to setSetting and stores `recordValue` in the current scope's
    // record. Indices of other meter types are ignored.
    void storeSetting(VstInt32 index, float value, float recordValue);

    // Settings the frame uses, set by the engines' setSetting.
    void setMidFactor(double factor) { midFactor_.store(factor, std::memory_order_relaxed); }
    void setOverCount(int count) { overCount_.store(count, std::memory_order_relaxed); }
    // Any write of the precise flag clears the histories (at the start of the next block).
    void setPrecise(bool on);

    // The frame's part of reset(): ring period and positions, rings, over counters and timers,
    // hold counters, the precise band and histories, the quantities set to `rest` (per quantity).
    void resetFrame(const double *rest);
    // Start of a block: block-start copies of the quantities, pending precise clear.
    void beginBlock();
    // After a block: if level or hold, any of the engine's other state values or the precise
    // history is not finite, the frame returns to rest (as resetFrame, keeping the rates) and
    // the answer is false, so the engine rests its own state too. Otherwise the frame keeps
    // `state` for the read-out and the next block, and the engine stores the rest of its own.
    // `moreZeros` is the sum of the engine's other state values times zero (finiteZeros), 0 in
    // both lanes when they are all finite. Inline, so that the block's state stays in
    // registers.
    __attribute__((always_inline)) bool finishBlock(const LevelHoldLanes &state, __m128d moreZeros, const double *rest)
    {
        const __m128d zeros = _mm_add_pd(moreZeros, _mm_add_pd(finiteZeros(state.level), finiteZeros(state.hold)));
        if (_mm_movemask_pd(_mm_cmpeq_pd(zeros, _mm_setzero_pd())) != 3 || (preciseRan_ && !precise_.isFinite())) {
            restAfterNonFinite(rest);
            return false;
        }
        setCurrent(kMeterLevel1, lowLane(state.level));
        setCurrent(kMeterLevel2, highLane(state.level));
        setCurrent(kMeterHold1, lowLane(state.hold));
        setCurrent(kMeterHold2, highLane(state.hold));
        holdCounter_[0] = static_cast<int>(lowLane(state.counters));
        holdCounter_[1] = static_cast<int>(highLane(state.counters));
        return true;
    }

    double current(int quantity) const { return current_[quantity].load(std::memory_order_relaxed); }
    void setCurrent(int quantity, double value) { current_[quantity].store(value, std::memory_order_relaxed); }

    // Level, hold and hold counters as the last block (or the reset) left them. [audio-thread]
    LevelHold loadLevelHold() const
    {
        return LevelHold{{current(kMeterLevel1), current(kMeterLevel2)},
                         {current(kMeterHold1), current(kMeterHold2)},
                         {holdCounter_[0], holdCounter_[1]}};
    }

    // Runs the shared per-sample chain over one block. Channels is the engine's ballistics:
    //   static constexpr bool kUsesPlainSample;  (RMS averages the time-aligned plain sample)
    //   __m128d step(__m128d peaks, __m128d plains);
    //     one frame of both channels (in lanes); answers a mask set where the sample is over
    //   void storeRing(MeterEngineFrame &frame, int position);  its quantities into the ring
    // Inlined into the engine's process, so that `channels`, a local there, stays in registers.
    template <class Channels>
    __attribute__((always_inline)) inline void runBlock(const float *input1, const float *input2, VstInt32 frames,
                                                        Channels &channels);

    AudioEffect *const owner_;

private:
    MeterSettings &scopeRecord(int scope);
    void clearRings();
    // finishBlock's return to rest.
    void restAfterNonFinite(const double *rest);
    void sendToOwner(VstInt32 index, float value);

    const MeterType type_;
    const int quantityCount_;
    std::atomic<float> sampleRate_{44100.f};  // Hz; 44100 until the first reset
    std::atomic<int> scope_{kScopeSession};
    MeterSettings lastGiven_;  // values last given to setSetting
    MeterSettings instanceSettings_;
    std::atomic<bool> instanceSettingsValid_{false};

    std::atomic<float> midSideValue_{0.f};
    std::atomic<bool> midSideOn_{false};
    std::atomic<double> midFactor_{0.708};
    std::atomic<float> holdValue_{0.f};
    std::atomic<int> holdMode_{0};  // 0 off, 1 infinite, 2 on
    std::atomic<float> lagValue_{0.f};
    std::atomic<int> lag_{0};        // ms
    std::atomic<int> overCount_{3};  // N consecutive samples

    std::atomic<bool> preciseOn_{false};
    std::atomic<bool> preciseClearPending_{false};
    std::atomic<int> preciseBand_{static_cast<int>(PreciseBand::Four)};
    PreciseStage precise_;     // audio thread only
    bool preciseRan_ = false;  // the last block ran the precise stage (audio thread)

    std::atomic<double> current_[kMeterQuantityCount];     // shown quantities, latest
    std::atomic<double> blockStart_[kMeterQuantityCount];  // shown quantities at block start
    OverCounter overCounter_[2];                           // consecutive over samples; -1 after reset
    double overTimer_[2] = {0, 0};                         // ring ticks left of a shown over (audio thread)
    std::atomic<bool> overLatch_[2];
    std::atomic<double> infiniteHoldMax_[2];  // -1 after ResetPeaks

    // The display ring, quantityCount_ arrays of kRingSize values and then the over timers, 2
    // arrays of kRingSize, in zeroed pages of their own. Only a block with a lag writes it, so an
    // instance that never lags never touches those pages: they take no memory until then.
    class RingPages {
    public:
        explicit RingPages(size_t count);
        ~RingPages();
        RingPages(const RingPages &) = delete;
        RingPages &operator=(const RingPages &) = delete;
        std::atomic<double> *values() const { return values_; }

    private:
        size_t bytes_;
        std::atomic<double> *values_;
    };
    RingPages ringPages_;
    std::atomic<double> *const ring_;
    std::atomic<double> *const ringOver_;
    std::atomic<bool> ringWritten_{false};  // written since the last clear, so not all zero
    std::atomic<int> ringPosition_{0};      // p, 0..1000
    std::atomic<int> readPosition_{0};
    std::atomic<int> ringPeriod_{44};  // P, samples per ring step
    int sampleCounter_ = 0;            // audio thread
    int holdCounter_[2] = {0, 0};      // audio thread (and reset); see LevelHold
};

template <class Channels>
void MeterEngineFrame::runBlock(const float *input1, const float *input2, VstInt32 frames, Channels &channels)
{
    const bool precise = preciseOn_.load(std::memory_order_relaxed);
    const PreciseBand band = static_cast<PreciseBand>(preciseBand_.load(std::memory_order_relaxed));
    const bool midSide = midSideOn_.load(std::memory_order_relaxed);
    const __m128d midFactor = _mm_set_sd(midFactor_.load(std::memory_order_relaxed));
    const int overCount = overCount_.load(std::memory_order_relaxed);
    const __m128d overCountLanes = _mm_set1_pd(overCount);
    const int lag = lag_.load(std::memory_order_relaxed);
    const int period = ringPeriod_.load(std::memory_order_relaxed);
    const double started1 = overCounter_[0].beginBlock(), started2 = overCounter_[1].beginBlock();
    __m128d counters = _mm_setr_pd(started1, started2);
    // Plain scalars, not arrays: nothing takes their address, so they stay in registers.
    double timer1 = overTimer_[0], timer2 = overTimer_[1];
    int sampleCounter = sampleCounter_;
    int position = ringPosition_.load(std::memory_order_relaxed);

    // Mid (a + b)·m in the low lane, side a − b in the high lane.
    const auto midSideOf = [midFactor](__m128d v) __attribute__((always_inline))
    {
        const __m128d swapped = _mm_shuffle_pd(v, v, 1);
        return _mm_unpacklo_pd(_mm_mul_sd(_mm_add_sd(v, swapped), midFactor), _mm_sub_sd(v, swapped));
    };
    const auto samples = [ input1, input2 ](VstInt32 i) __attribute__((always_inline))
    {
        return _mm_cvtps_pd(_mm_unpacklo_ps(_mm_load_ss(input1 + i), _mm_load_ss(input2 + i)));
    };
    // The block's loops, in one variant per choice that holds for the whole block (mid/side, a
    // lag ring to fill): no sample asks again what the block decided.
    const auto loops = [&](auto midSideOn, auto lagOn) __attribute__((always_inline))
    {
        constexpr bool kMidSide = decltype(midSideOn)::value;
        constexpr bool kLag = decltype(lagOn)::value;
        // One frame of the chain after the precise stage: the peaks and the time-aligned plain
        // samples of both channels. Inlined into the loops below, so that the running values
        // stay in registers.
        const auto frame = [&](__m128d peaks, __m128d plains) __attribute__((always_inline))
        {
            if constexpr (kMidSide) {
                peaks = midSideOf(peaks);
                if constexpr (Channels::kUsesPlainSample)
                    plains = midSideOf(plains);
            }
            counters = countOvers(channels.step(peaks, plains), overCountLanes, counters);

            if constexpr (kLag) {
                if (++sampleCounter >= period) {
                    sampleCounter = 0;
                    if (++position >= kRingSize)
                        position = 0;
                    channels.storeRing(*this, position);
                    double counter1 = lowLane(counters), counter2 = highLane(counters);
                    ringOver_[position].store(overTimerTick(overCount, counter1, timer1), std::memory_order_relaxed);
                    ringOver_[kRingSize + position].store(overTimerTick(overCount, counter2, timer2),
                                                          std::memory_order_relaxed);
                    counters = _mm_setr_pd(counter1, counter2);
                    ringPosition_.store(position, std::memory_order_relaxed);
                }
            }
        };
        if (precise) {
            const PreciseTables &tables = preciseTables();
            double peaks[2 * PreciseStage::kChunk];
            for (VstInt32 start = 0; start < frames; start += PreciseStage::kChunk) {
                const int n = frames - start < PreciseStage::kChunk ? static_cast<int>(frames - start)
                                                                    : PreciseStage::kChunk;
                precise_.run(tables, band, input1 + start, input2 + start, n, peaks);
                for (int i = 0; i < n; ++i)
                    frame(_mm_loadu_pd(peaks + 2 * i), precise_.plains(i));
            }
        } else {
            // Both channels are limited by one minimum and one maximum: less than a scan of the
            // block for samples beyond the limit would cost.
            for (VstInt32 i = 0; i < frames; ++i) {
                const __m128d x = limitInputMagnitudes(samples(i));
                frame(x, x);
            }
        }
    };

    if (lag > 0 && !ringWritten_.load(std::memory_order_relaxed))
        ringWritten_.store(true, std::memory_order_relaxed);
    preciseRan_ = precise;
    if (midSide) {
        if (lag > 0)
            loops(std::true_type(), std::true_type());
        else
            loops(std::true_type(), std::false_type());
    } else {
        if (lag > 0)
            loops(std::false_type(), std::true_type());
        else
            loops(std::false_type(), std::false_type());
    }

    overCounter_[0].endBlock(started1, lowLane(counters));
    overCounter_[1].endBlock(started2, highLane(counters));
    overTimer_[0] = timer1;
    overTimer_[1] = timer2;
    sampleCounter_ = sampleCounter;
}
