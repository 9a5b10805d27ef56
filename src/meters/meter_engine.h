// The operations that the effect, the front panels and the display use on every meter engine
// (VUmeter, RMSMeter, PPMmeter). The shared engine frame implements the common ones.
// Threads: process [audio-thread] (under the effect's lock); setSampleRate/reset [ui-thread],
// while the effect is suspended; readout*, applyInfiniteHold [ui-thread] (the editor); the rest
// [any-thread] that calls the effect's setParameter, or the UI thread. Nothing here blocks.
#pragma once

#include "vst/aeffect.h"

class AudioEffect;

// Quantities an engine shows, by channel (channel 1 is left or mid, channel 2 right or side).
// Level is the VU needle position or the PPM/RMS peak level; mean square exists for RMS only.
enum MeterQuantity {
    kMeterLevel1,
    kMeterLevel2,
    kMeterHold1,
    kMeterHold2,
    kMeterMeanSquare1,
    kMeterMeanSquare2,
    kMeterQuantityCount
};

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

    // Stored as processingRateFor(rate) gives it; takes effect at reset().
    virtual void setSampleRate(float rate) = 0;
    // Recomputes the rate-dependent constants and returns every running value (levels, holds,
    // over indicators, display ring) to rest. Also serves suspend.
    virtual void reset() = 0;
    virtual void process(float *channel1, float *channel2, VstInt32 frames) = 0;

    // Values that the effect writes directly into every engine (LR/MS, Hold, LagTime).
    virtual void setMidSide(float value, bool on) = 0;
    virtual void setHold(float value, int mode) = 0;
    virtual void setLag(float value, int milliseconds) = 0;
    // Display text of GSIcal (2), LR/MS (4), Hold (5) and LagTime (16) for the given value;
    // leaves the text unchanged for other indices.
    virtual void getCommonDisplay(VstInt32 index, float value, char *text) = 0;

    virtual void resetPeaks() = 0;             // internal parameter 67
    virtual void applyScope(float value) = 0;  // GSIcal changed
    virtual void syncSharedSettings() = 0;     // after each display refresh
    virtual void storeDefaults() = 0;          // internal parameter 65

    // Read-out for the display. position: block durations passed since the last block (>= 0).
    // A quantity the engine does not have reads 0. [ui-thread] (the editor)
    virtual double readoutValue(MeterQuantity quantity, double position) = 0;
    // Over state of channel 0 (left/mid) or 1 (right/side): 1 over now, 0 over seen since the
    // last ResetPeaks, -1 never. Must follow readoutValue of the same refresh. [ui-thread] (the editor)
    virtual int readoutOverState(int channel) = 0;
    // The same state without taking the over from the display: 1 when an over waits for the next
    // refresh (or the lag ring shows one at its newest place), else as the display last showed
    // it. For the LV2 control outputs, read after every block. [audio-thread]
    virtual int peekOverState(int channel) const = 0;
    // Hold mode as last set: 0 off, 1 infinite, 2 on. [any-thread]
    virtual int holdMode() const = 0;
    // Infinite hold of channel 0 or 1: a hold value above the stored maximum becomes the new
    // maximum; any other value is replaced by it. Answers the value to show. [ui-thread] (the editor)
    virtual double applyInfiniteHold(int channel, double hold) = 0;
};
