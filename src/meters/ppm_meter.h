// PPMmeter: peak programme meter with a settable rise time, a return time (the time to fall by
// 24 dB), a hold value and the shared frame. Thread contracts as MeterEngine.
#pragma once

#include "meters/meter_engine_frame.h"

class PPMmeter : public MeterEngineFrame {
public:
    explicit PPMmeter(AudioEffect *owner);

    void setSetting(VstInt32 index, float value) override;
    void getSettingText(VstInt32 index, char *text) override;
    void reset() override;
    void process(float *channel1, float *channel2, VstInt32 frames) override;

private:
    void restState();

    std::atomic<double> inverseGain_{1.0};  // 1/g, g = 10^(r/20)
    std::atomic<double> riseMs_{10.02};     // t
    std::atomic<double> rise_{1.0};         // kA
    std::atomic<double> returnMs_{1995.26}; // R
    std::atomic<double> fall_{0};           // kR
    std::atomic<double> holdMs_{1000};      // H
    std::atomic<float> holdLength_{44100.f}; // samples
    std::atomic<double> overSelector_{1.0}; // q
    int holdCounter_[2] = {0, 0};           // audio thread
};
