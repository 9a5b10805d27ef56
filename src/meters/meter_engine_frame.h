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
#include <memory>

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
// engine's hold works on, kept in locals for one block.
struct LevelHold {
    static constexpr int kCounterLimit = 1 << 30; // far beyond any hold length; keeps the count defined

    double level[2]; // VU needle position, or PPM/RMS peak level
    double hold[2];
    int counter[2];  // samples since the hold was last raised
};

// The over test of the VU and PPM meters by the threshold selector q: below 0.25 the level
// relative to the reference against `aboveReference`, otherwise |x| against 0.7071 (−3 dBFS),
// 0.891 (−1 dBFS) or 1.0 (0 dBFS). The selector is decoded once per block. Thread: audio.
class OverTest {
public:
    OverTest(double selector, double aboveReference)
        : relative(selector < 0.25),
          threshold(selector < 0.25  ? aboveReference
                    : selector < 0.5  ? 0.7071
                    : selector < 0.75 ? 0.8912509381337456
                                      : 1.0)
    {
    }
    bool operator()(double magnitude, double relativeLevel) const
    {
        return (relative ? relativeLevel : magnitude) >= threshold;
    }

private:
    bool relative;
    double threshold;
};

struct MeterEngineFrameTicks {
    static constexpr int kOverTimerTicks = 30; // ring steps an over stays lit
};

// The shared counting rule: an over sample adds 1; any other sample forgets a run shorter than
// N, while a count that reached N stays until the ring or the read-out picks it up.
// Thread: audio.
inline void countOver(bool over, int overCount, double &counter)
{
    if (over)
        counter += 1;
    else if (overCount > counter)
        counter = 0;
}

// One ring step of a channel's over timer: a count that reached N lights the over for 30 ticks
// and is picked up; a lit timer counts down. Answers the timer to store. Thread: audio.
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
    int holdMode() const override { return holdMode_.load(std::memory_order_relaxed); }
    double applyInfiniteHold(int channel, double hold) override;

    // Writes one quantity into the display ring; called by an engine's ballistics from
    // runBlock. Thread: audio.
    void storeRing(int quantity, int position, double value)
    {
        ring_[quantity * kRingSize + position].store(value, std::memory_order_relaxed);
    }
    // Writes level and hold of both channels into the display ring, from runBlock too.
    // Thread: audio.
    void storeLevelHoldRing(const LevelHold &state, int position)
    {
        storeRing(kMeterLevel1, position, state.level[0]);
        storeRing(kMeterLevel2, position, state.level[1]);
        storeRing(kMeterHold1, position, state.hold[0]);
        storeRing(kMeterHold2, position, state.hold[1]);
    }

    MeterType meterType() const { return type_; }
    int scope() const { return scope_.load(std::memory_order_relaxed); }  // Thread: any.
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
    // After a block: if level or hold, any of the engine's `more` state values or the precise
    // history is not finite, the frame returns to rest (as resetFrame, keeping the rates) and
    // the answer is false, so the engine rests its own state too. Otherwise the frame keeps
    // `state` for the read-out and the next block, and the engine stores the rest of its own.
    // `state` is taken by value so that the block's own copy never has its address taken and
    // can stay in registers through the loop; for the same reason `more` should be a copy.
    bool finishBlock(LevelHold state, const double *more, int moreCount, const double *rest);

    double current(int quantity) const { return current_[quantity].load(std::memory_order_relaxed); }
    void setCurrent(int quantity, double value) { current_[quantity].store(value, std::memory_order_relaxed); }

    // Level, hold and hold counters as the last block (or the reset) left them. Thread: audio.
    LevelHold loadLevelHold() const
    {
        return LevelHold{{current(kMeterLevel1), current(kMeterLevel2)},
                         {current(kMeterHold1), current(kMeterHold2)},
                         {holdCounter_[0], holdCounter_[1]}};
    }

    // Runs the shared per-sample chain over one block. Channels is the engine's ballistics:
    //   static constexpr bool kUsesPlainSample;  (RMS averages the time-aligned plain sample)
    //   void step(double peak1, double peak2, double plain1, double plain2, bool &over1, bool &over2);
    //     one frame of both channels; answers whether each sample is over
    //   void storeRing(MeterEngineFrame &frame, int position);  its quantities into the ring
    // Inlined into the engine's process, so that `channels`, a local there, stays in registers.
    template <class Channels>
    __attribute__((always_inline)) inline void runBlock(const float *input1, const float *input2, VstInt32 frames,
                                                        Channels &channels);

    AudioEffect *const owner_;

private:
    MeterSettings &scopeRecord(int scope);
    void clearRings();
    void sendToOwner(VstInt32 index, float value);

    const MeterType type_;
    const int quantityCount_;
    std::atomic<float> sampleRate_{44100.f};  // Hz; 44100 until the first reset
    std::atomic<int> scope_{kScopeSession};
    MeterSettings lastGiven_;                 // values last given to setSetting
    MeterSettings instanceSettings_;
    std::atomic<bool> instanceSettingsValid_{false};

    std::atomic<float> midSideValue_{0.f};
    std::atomic<bool> midSideOn_{false};
    std::atomic<double> midFactor_{0.708};
    std::atomic<float> holdValue_{0.f};
    std::atomic<int> holdMode_{0};           // 0 off, 1 infinite, 2 on
    std::atomic<float> lagValue_{0.f};
    std::atomic<int> lag_{0};                // ms
    std::atomic<int> overCount_{3};          // N consecutive samples

    std::atomic<bool> preciseOn_{false};
    std::atomic<bool> preciseClearPending_{false};
    std::atomic<int> preciseBand_{static_cast<int>(PreciseBand::Four)};
    PreciseStage precise_;                   // audio thread only
    bool preciseRan_ = false;                // the last block ran the precise stage (audio thread)

    std::atomic<double> current_[kMeterQuantityCount];     // shown quantities, latest
    std::atomic<double> blockStart_[kMeterQuantityCount];  // shown quantities at block start
    OverCounter overCounter_[2];             // consecutive over samples; -1 after reset
    double overTimer_[2] = {0, 0};           // ring ticks left of a shown over (audio thread)
    std::atomic<bool> overLatch_[2];
    std::atomic<double> infiniteHoldMax_[2]; // -1 after ResetPeaks

    std::unique_ptr<std::atomic<double>[]> ring_;  // quantityCount_ arrays of kRingSize
    std::unique_ptr<std::atomic<double>[]> ringOver_; // over timers, 2 arrays of kRingSize
    std::atomic<int> ringPosition_{0};       // p, 0..1000
    std::atomic<int> readPosition_{0};
    std::atomic<int> ringPeriod_{44};        // P, samples per ring step
    int sampleCounter_ = 0;                  // audio thread
    int holdCounter_[2] = {0, 0};            // audio thread (and reset); see LevelHold
};

template <class Channels>
void MeterEngineFrame::runBlock(const float *input1, const float *input2, VstInt32 frames, Channels &channels)
{
    const bool precise = preciseOn_.load(std::memory_order_relaxed);
    const PreciseBand band = static_cast<PreciseBand>(preciseBand_.load(std::memory_order_relaxed));
    const bool midSide = midSideOn_.load(std::memory_order_relaxed);
    const double midFactor = midFactor_.load(std::memory_order_relaxed);
    const int overCount = overCount_.load(std::memory_order_relaxed);
    const int lag = lag_.load(std::memory_order_relaxed);
    const int period = ringPeriod_.load(std::memory_order_relaxed);
    const double started1 = overCounter_[0].beginBlock(), started2 = overCounter_[1].beginBlock();
    // Plain scalars, not arrays: nothing takes their address, so they stay in registers.
    double counter1 = started1, counter2 = started2;
    double timer1 = overTimer_[0], timer2 = overTimer_[1];
    int sampleCounter = sampleCounter_;
    int position = ringPosition_.load(std::memory_order_relaxed);

    // One frame of the chain after the precise stage: a, b are the peaks, plainA, plainB the
    // time-aligned plain samples.
    // Inlined into both loops below, so that the running values stay in registers.
    const auto frame = [&](double a, double b, double plainA, double plainB) __attribute__((always_inline)) {
        if (midSide) {
            const double mid = (a + b) * midFactor;
            b = a - b;
            a = mid;
            if constexpr (Channels::kUsesPlainSample) {
                const double plainMid = (plainA + plainB) * midFactor;
                plainB = plainA - plainB;
                plainA = plainMid;
            }
        }
        bool over1, over2;
        channels.step(a, b, plainA, plainB, over1, over2);
        // A run of overs shorter than N is forgotten; a count that reached N stays until the
        // ring or the read-out picks it up.
        countOver(over1, overCount, counter1);
        countOver(over2, overCount, counter2);

        if (lag > 0 && ++sampleCounter >= period) {
            sampleCounter = 0;
            if (++position >= kRingSize)
                position = 0;
            channels.storeRing(*this, position);
            ringOver_[position].store(overTimerTick(overCount, counter1, timer1), std::memory_order_relaxed);
            ringOver_[kRingSize + position].store(overTimerTick(overCount, counter2, timer2), std::memory_order_relaxed);
            ringPosition_.store(position, std::memory_order_relaxed);
        }
    };

    preciseRan_ = precise;
    if (precise) {
        const PreciseTables &tables = preciseTables();
        double peaks[2 * PreciseStage::kChunk];
        for (VstInt32 start = 0; start < frames; start += PreciseStage::kChunk) {
            const int n = frames - start < PreciseStage::kChunk ? static_cast<int>(frames - start) : PreciseStage::kChunk;
            precise_.run(tables, band, input1 + start, input2 + start, n, peaks);
            for (int i = 0; i < n; ++i)
                frame(peaks[2 * i], peaks[2 * i + 1], precise_.plain(i, 0), precise_.plain(i, 1));
        }
    } else {
        // The limit costs more inside the frame loop than one scan of the block for samples
        // beyond it, which programme material never has.
        if (anyBeyondInputLimit(input1, frames) || anyBeyondInputLimit(input2, frames)) {
            for (VstInt32 i = 0; i < frames; ++i) {
                const double a = limitInputMagnitude(input1[i]);
                const double b = limitInputMagnitude(input2[i]);
                frame(a, b, a, b);
            }
        } else {
            for (VstInt32 i = 0; i < frames; ++i) {
                const double a = input1[i];
                const double b = input2[i];
                frame(a, b, a, b);
            }
        }
    }

    overCounter_[0].endBlock(started1, counter1);
    overCounter_[1].endBlock(started2, counter2);
    overTimer_[0] = timer1;
    overTimer_[1] = timer2;
    sampleCounter_ = sampleCounter;
}
