// The operations that the effect, the front panels and the display use on every meter engine
// (VUmeter, RMSMeter, PPMmeter). The shared engine frame implements the common ones.
// Threads: process - audio (under the effect's lock); readout* - editor; the rest - any thread
// that calls the effect's setParameter, or the UI thread.
#pragma once

#include "vst/aeffect.h"

class AudioEffect;

class MeterEngine {
public:
    virtual ~MeterEngine() = default;
    // Slot order of the product: destructor, setSetting, getSetting, getSettingText.
    virtual void setSetting(VstInt32 index, float value) = 0;
    virtual float getSetting(VstInt32 index) = 0;
    virtual void getSettingText(VstInt32 index, char *text) = 0;

    // First and last setting index of this meter type (RMS 72..81, VU 83..91, PPM 93..100).
    virtual VstInt32 firstSettingIndex() const = 0;
    virtual VstInt32 lastSettingIndex() const = 0;

    virtual void setSampleRate(float rate) = 0;  // stored; takes effect at reset()
    virtual void reset() = 0;
    virtual void process(float *channel1, float *channel2, VstInt32 frames) = 0;

    // Values that the effect writes directly into every engine (LR/MS, Hold, LagTime).
    virtual void setMidSide(float value, bool on) = 0;
    virtual void setHold(float value, int mode) = 0;
    virtual void setLag(float value, int milliseconds) = 0;
    // Display text of GSIcal (2), LR/MS (4), Hold (5) and LagTime (16) for the given value;
    // leaves the text unchanged for other indices.
    virtual void getCommonDisplay(VstInt32 index, float value, char *text) = 0;

    virtual void resetPeaks() = 0;          // internal parameter 67
    virtual void applyScope(float value) = 0;  // GSIcal changed
    virtual void syncSharedSettings() = 0;  // after each display refresh
    virtual void storeDefaults() = 0;       // internal parameter 65
};
