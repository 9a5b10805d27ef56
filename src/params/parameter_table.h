// The parameter index space of the effect and the table of its host parameters 0..16.
// [any-thread] (constant data and pure functions)
#pragma once

#include "vst/aeffect.h"

enum ParameterIndex {
    kProcess = 0,
    kTrim,
    kGSIcal,
    kMeter,
    kLRMS,
    kHold,
    kStrips,
    kShowFlt,
    kProcFlt,
    kHPStat,
    kHPSlope,
    kHPFreq,
    kLPStat,
    kLPSlope,
    kLPFreq,
    kShowLbl,
    kLagTime,
    kNumRealParameters,  // 17: indices 17..63 are spare
    kNumHostParameters = 64,
    kStoreDefaults = 65,
    kResetPeaks = 67,
    kLabelChanged = 69,
    kFirstRMSSetting = 72,
    kLastRMSSetting = 81,
    kFirstVUSetting = 83,
    kLastVUSetting = 91,
    kFirstPPMSetting = 93,
    kLastPPMSetting = 100
};

// The settings of the three meter types, by index; the stored names are in meter_settings.cpp.
enum MeterSettingIndex {
    kRMSReference = kFirstRMSSetting,  // 72 "Armsreference"
    kRMSRiseTime,                      // 73 "Armsintegration"
    kRMSAveragingTime,                 // 74 "ARMSRmsIntegration"
    kRMSHoldTime,                      // 75 "Armsholdtime"
    kRMSReturnTime,                    // 76 "Armsreturn"
    kRMSMidScaling,                    // 77 "ARMSMSType"
    kRMSOverCount,                     // 78 "ARMSOversTag"
    kRMSOverThreshold,                 // 79 "Armsoverreference"
    kRMSPrecise,                       // 80 "Armsprecise"
    kRMSOverBase,                      // 81 "Armsledref"
    kVUReference = kFirstVUSetting,    // 83 "Avureference"
    kVUIntegration,                    // 84 "Avuintegration"
    kVUHoldTime,                       // 85 "Avuholdtime"
    kVUNeedleType,                     // 86 "Avutype"
    kVUMidScaling,                     // 87 "Avumstype"
    kVUBacklight,                      // 88 "Avubacklit"
    kVUOverCount,                      // 89 "Avuoverled"
    kVUOverSelector,                   // 90 "Avuledref"
    kVUPrecise,                        // 91 "Avuprecise"
    kPPMReference = kFirstPPMSetting,  // 93 "Appmreference"
    kPPMRiseTime,                      // 94 "Appmintegration"
    kPPMHoldTime,                      // 95 "Appmholdtime"
    kPPMReturnTime,                    // 96 "Appmreturn"
    kPPMMidScaling,                    // 97 "Appmmstype"
    kPPMOverCount,                     // 98 "Appmovertag"
    kPPMOverSelector,                  // 99 "Appmoverreference"
    kPPMPrecise,                       // 100 "Appmprecise"
};
static_assert((int)kRMSOverBase == kLastRMSSetting && (int)kVUPrecise == kLastVUSetting &&
                  (int)kPPMPrecise == kLastPPMSetting,
              "the setting names cover each meter type's range");

// The three meter types, in the order of the Meter parameter's positions (0, 0.5, 1 read by
// threeState). Everything that holds one thing per meter type is indexed by it.
enum MeterType { kMeterTypeVU = 0, kMeterTypeRMS = 1, kMeterTypePPM = 2, kMeterTypeCount = 3 };
// Their names, as the Meter parameter shows them, the hints say them and the artwork writes them.
inline constexpr const char *kMeterTypeNames[kMeterTypeCount] = {"VU3", "RMS3", "PPM3"};

// Tags of the editor's controls that are not parameter indices. A control's tag is the
// parameter index it edits (above), or one of these.
enum ControlTag {
    kTagSettingsToggle = kStoreDefaults,  // opens and closes the settings panel
    kTagDisplayOnly = 66,                 // indicators that only show a value
    kTagMeterClick = kResetPeaks,         // a click on a meter view
    kTagTrimEntry = 68,                   // the typed trim
    kTagHPFreqEntry = 70,                 // the typed high-pass frequency
    kTagLPFreqEntry = 71,                 // the typed low-pass frequency
    kTagRMSReference = kFirstRMSSetting,  // the reference-level knobs and displays
    kTagVUReference = kFirstVUSetting,
    kTagPPMReference = kFirstPPMSetting,
    kTagStaticImage = 102,     // title pictures that never change
    kTagManual = 121,          // opens the user manual
    kTagNamePlate = 122,       // the name plate: a right click opens the size menu
    kTagStandardsPlate = 123,  // a settings panel's title: a right click opens the standards menu
};

// Value of every spare parameter 17..63.
constexpr float kSpareValue = 0.5f;
// Label of every parameter: two spaces.
constexpr const char *kParameterLabel = "  ";

struct ParameterInfo {
    const char *name;    // at most 7 characters
    float defaultValue;  // GSIcal and Meter start from the process-wide values instead
    VstInt32 flags;      // VstParameterFlags announced to the host
    float step;
    float smallStep;
    float largeStep;
};

// The table entry of a real parameter, or null for any other index.
const ParameterInfo *parameterInfo(VstInt32 index);

bool isRealParameter(VstInt32 index);
// True for 72..81, 83..91 and 93..100.
bool isMeterSetting(VstInt32 index);

// The switch law, for every reader of a switch (effect, filter bank, engines, editor, texts):
// a two-state value is on when integer(value + 0.5) is 1, a three-state value's state is
// integer(value * 2 + 0.5). The sum is taken in single precision, so 0.49999997 is on.
inline bool switchOn(float value) { return (int)(value + 0.5f) == 1; }
inline int threeState(float value) { return (int)(value * 2.f + 0.5f); }
// A three-state control's wheel step without wrap-around: a notch up or down moves one state,
// a smaller turn stays; the answer is a state's value (0, 0.5 or 1) as threeState decodes it.
inline float threeStateWheelStep(float value, float distance)
{
    if (distance > 0.1f)
        value += 0.5f;
    else if (distance < -0.1f)
        value -= 0.5f;
    return (float)threeState(value) / 2.f;
}

// Trim: integer(value * 400 + 0.5) tenths of a dB above -20 dB.
float trimDecibels(float value);
// LagTime: integer(value * 999 + 0.5) milliseconds.
int lagMilliseconds(float value);
// The sweep law of HPFreq and LPFreq: base * 100^value Hz, limited to base..100 * base.
double sweepFrequency(float value, double base);

// The inverses of the laws above, for a host that speaks in the parameters' units:
// Trim: (dB + 20) / 40 in single precision, limited to 0..1 (NaN is the caller's to avoid).
float trimValue(double decibels);
// LagTime: ms / 999, limited to 0..1.
float lagValue(int milliseconds);
// HPFreq and LPFreq: log(hz / base) / log(100), limited to 0..1; at or below base (and NaN) 0.
float sweepValue(double hz, double base);
// A two-state parameter's value for off / on, a three-state one's for the states 0..2.
inline float switchValue(bool on) { return on ? 1.f : 0.f; }
inline float threeStateValue(int state) { return (float)state * 0.5f; }

constexpr double kHPFreqBase = 20.0;   // Hz
constexpr double kLPFreqBase = 300.0;  // Hz
