// RMSMeter: per channel a peak level with rise and return ballistics, its hold value and a
// running mean square (one-pole average of the squared level), on the shared frame. The RMS
// value a display shows is √(mean square) · 1.4142, so a sine reads its peak level.
// Threads as MeterEngine's: process [audio-thread]; the readouts [ui-thread] (the editor); the
// settings [any-thread] (whichever thread sets the effect's parameters).
#pragma once

#include "meters/meter_engine_frame.h"
#include "meters/peak_follower.h"
#include "meters/vex_encoding.h"

class RMSMeter : public MeterEngineFrame {
public:
    explicit RMSMeter(AudioEffect *owner);

    void setSetting(VstInt32 index, float value) override;
    void getSettingText(VstInt32 index, char *text) override;
    void reset() override;
    void process(float *channel1, float *channel2, VstInt32 frames) override;

private:
    // The block routine, inlined into an SSE2, a VEX and an EVEX variant; process() picks one.
    __attribute__((always_inline)) inline void processBlock(float *channel1, float *channel2, VstInt32 frames);
    void processBlockSse2(float *channel1, float *channel2, VstInt32 frames);
    template <class Engine, class Frames> friend void processInBestEncoding(Engine &, float *, float *, Frames);
#ifdef ZEM_ENGINE_VEX
    ZEM_VEX_TARGET void processBlockVex(float *channel1, float *channel2, VstInt32 frames);
    ZEM_EVEX_TARGET void processBlockEvex(float *channel1, float *channel2, VstInt32 frames);
#endif

    static float averagingCoefficient(float rate, double ms);

    std::atomic<double> gain_{1.0};          // g = 10^(r/20)
    std::atomic<double> inverseGain_{1.0};   // 1/g
    PeakFollowerTimes times_;                // t, R, H and kA, kR, hold length
    std::atomic<double> averagingMs_{1000};  // TA
    std::atomic<float> averaging_{1.f};      // kM (single precision)
    std::atomic<int> overIndex_{6};          // j: −6 .. 0 dB
    std::atomic<bool> overFromFullScale_{true};
};
