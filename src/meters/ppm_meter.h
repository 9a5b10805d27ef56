// PPMmeter: peak programme meter with a settable rise time, a return time (the time to fall by
// 24 dB), a hold value and the shared frame.
// Threads as MeterEngine's: process [audio-thread]; the readouts [ui-thread] (the editor); the
// settings [any-thread] (whichever thread sets the effect's parameters).
#pragma once

#include "meters/meter_engine_frame.h"
#include "meters/peak_follower.h"
#include "meters/vex_encoding.h"

class PPMmeter : public MeterEngineFrame {
public:
    explicit PPMmeter(AudioEffect *owner);

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

    std::atomic<double> inverseGain_{1.0};   // 1/g, g = 10^(r/20)
    PeakFollowerTimes times_;                // t, R, H and kA, kR, hold length
    std::atomic<double> overSelector_{1.0};  // q
};
