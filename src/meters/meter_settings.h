// Settings records of the three meter types, the decoding of their normalized values, the two
// time laws, the process-wide Global and Session sets and the stored per-user defaults.
#pragma once

#include <atomic>
#include <initializer_list>

#include "params/parameter_table.h"  // the switch law
#include "vst/aeffect.h"

enum MeterScope { kScopeGlobal = 0, kScopeSession = 1, kScopeInstance = 2 };

struct MeterSettingInfo {
    VstInt32 index;      // effect parameter index (72..100)
    const char *name;    // name of the stored default
    float defaultValue;  // built-in default, normalized
};

constexpr int kMaxMeterSettings = 10;

// The settings of one meter type, in ascending index order. [any-thread]
const MeterSettingInfo *meterSettingInfos(MeterType type);
int meterSettingCount(MeterType type);
VstInt32 firstMeterSetting(MeterType type);
VstInt32 lastMeterSetting(MeterType type);

// One value per setting of one meter type. Values are relaxed atomics: the sets are shared by
// every instance in the process and written from whichever thread sets a parameter.
class MeterSettings {
public:
    constexpr explicit MeterSettings(MeterType type)
        : type_(type), first_(type == kMeterTypeRMS  ? 72
                              : type == kMeterTypeVU ? 83
                                                     : 93),
          last_(type == kMeterTypeRMS  ? 81
                : type == kMeterTypeVU ? 91
                                       : 100),
          values_{}
    {
    }
    MeterSettings(const MeterSettings &) = delete;
    MeterSettings &operator=(const MeterSettings &) = delete;

    MeterType type() const { return type_; }
    bool contains(VstInt32 index) const { return index >= first_ && index <= last_; }
    // [any-thread] 0 for an index of another type.
    float get(VstInt32 index) const
    {
        return contains(index) ? values_[index - first_].load(std::memory_order_relaxed) : 0.f;
    }
    // [any-thread] Ignores an index of another type.
    void set(VstInt32 index, float value)
    {
        if (contains(index))
            values_[index - first_].store(value, std::memory_order_relaxed);
    }
    void setDefaults();  // [any-thread]

private:
    MeterType type_;
    VstInt32 first_;
    VstInt32 last_;
    std::atomic<float> values_[kMaxMeterSettings];
};

// One record per meter type.
struct MeterSettingsSet {
    MeterSettings rms{kMeterTypeRMS};
    MeterSettings vu{kMeterTypeVU};
    MeterSettings ppm{kMeterTypePPM};
    MeterSettings &forType(MeterType type) { return type == kMeterTypeRMS ? rms : type == kMeterTypeVU ? vu : ppm; }
};

// Process-wide sets: Global is loaded from the stored defaults and written back by
// storeDefaults; Session is loaded from the same values and never written back.
extern MeterSettingsSet globalMeterSettings;
extern MeterSettingsSet sessionMeterSettings;

// Scope last set by any instance (0 Global, 1 Session, 2 Instance); a new instance's engines
// start in it. 1 when the library is loaded. Written by the effect, read at engine construction.
extern std::atomic<int> calibrationScopeShared;

// Fills the Global and the Session set from the per-user store, which is read once for all
// settings; missing values keep the built-in default, a damaged value is repaired (clamped to
// 0..1, or the default when not a finite number). Never throws: without memory the sets keep
// the built-in defaults. Tests may run it again after pointing the store elsewhere.
// [ui-thread] (no instance may be processing).
void loadDefaults();

// The first load: runs loadDefaults and prepares the precise-stage tables, once per process,
// unless loadDefaults has run already. The entry point calls it before the first effect is
// built (never a static initialiser: on Windows that would run under the loader lock); engine
// creation calls it too, for code that links the engines without the entry point. Never
// throws. [any-thread] (concurrent first calls wait for the one that loads).
void prepareMeterDefaults();

// Writes the Global set's values of the given meter types to the per-user store as one batch;
// when it cannot be written the store is left as it was. [ui-thread]
void storeDefaults(std::initializer_list<MeterType> types);
void storeDefaults(MeterType type);

// ---- Decoding of normalized values. Products with the step counts are taken in single
// precision, so that a stored grid value k/80 decodes back to step k. [any-thread]
int timeStepTruncated(float value);          // trunc(80·v)
int timeStepRounded(float value);            // round(80·v)
float timeStepGridValue(int step);           // step/80 as stored by the RMS meter
int roundedSteps(float value, float steps);  // round(steps·v)

// Time laws: step 0..80 → milliseconds.
double riseTimeLaw(int step);  // 0 .. 100 ms
double longTimeLaw(int step);  // 100 ms .. 10 s

double rmsReferenceDb(float value);         // round(300·v)·0.1 − 20, −20.0 .. +10.0 dB
double fullReferenceDb(float value);        // 24·v − 24, −24 .. 0 dB (VU and PPM)
double vuShownTimeMs(float value);          // 53.0330086 · 32^(round(200·v)/200), 53 .. 1697 ms
double midScaling(float value);             // 1.0, 0.708 or 0.5
int overCount(float value);                 // round(9·v) + 1 consecutive samples
double overReferenceSelector(float value);  // round(3·v)/3
double rmsOverThreshold(int j);             // j = 0..6 → −6 .. 0 dB as a linear factor

// Texts of the time settings.
void formatRiseTime(double ms, char *text);   // whole ms then "ms"
void formatLongTime(double ms, char *text);   // seconds with 2 decimals then "s"
void formatReference(double db, char *text);  // 1 decimal then "dBFS"
