#include "meters/meter_settings.h"

#include <cmath>
#include <initializer_list>
#include <mutex>
#include <new>

#include "meters/precise_stage.h"

#include "meters/meter_text.h"
#include "platform/defaults_store.h"

namespace {

const MeterSettingInfo kRMSSettings[] = {
    {72, "Armsreference", 0.667f}, {73, "Armsintegration", 0.5f},   {74, "ARMSRmsIntegration", 0.5f},
    {75, "Armsholdtime", 0.5f},    {76, "Armsreturn", 0.66f},       {77, "ARMSMSType", 0.5f},
    {78, "ARMSOversTag", 0.22f},   {79, "Armsoverreference", 1.0f}, {80, "Armsprecise", 0.5f},
    {81, "Armsledref", 0.5f},
};
const MeterSettingInfo kVUSettings[] = {
    {83, "Avureference", 0.25f}, {84, "Avuintegration", 0.5f}, {85, "Avuholdtime", 0.5f},
    {86, "Avutype", 0.0f},       {87, "Avumstype", 0.5f},      {88, "Avubacklit", 0.5f},
    {89, "Avuoverled", 0.22f},   {90, "Avuledref", 1.0f},      {91, "Avuprecise", 0.0f},
};
const MeterSettingInfo kPPMSettings[] = {
    {93, "Appmreference", 0.5f},     {94, "Appmintegration", 0.5f}, {95, "Appmholdtime", 0.5f},
    {96, "Appmreturn", 0.66f},       {97, "Appmmstype", 0.5f},      {98, "Appmovertag", 0.22f},
    {99, "Appmoverreference", 1.0f}, {100, "Appmprecise", 0.0f},
};

struct Substitution {
    float from;
    float to;
};

const Substitution kRiseSubstitutions[] = {
    {1.75f, 1.6f},   {2.0f, 1.7f},     {6.0f, 6.25f},   {6.25f, 6.4f},   {8.0f, 8.095f},
    {10.0f, 10.4f},  {10.25f, 10.45f}, {10.5f, 10.6f},  {11.75f, 11.6f}, {12.0f, 11.73f},
    {14.0f, 14.12f}, {16.0f, 16.09f},  {18.0f, 18.47f}, {18.25f, 18.5f}, {18.5f, 18.65f},
};
const Substitution kLongSubstitutions[] = {
    {1.75f, 1.6f},    {2.0f, 1.7f},     {5.75f, 5.6f},   {6.0f, 5.7f},     {8.0f, 8.155f},
    {11.75f, 11.6f},  {12.0f, 11.76f},  {14.0f, 14.47f}, {14.25f, 14.52f}, {14.5f, 14.6f},
    {16.0f, 16.025f}, {18.0f, 18.451f}, {18.25f, 18.5f}, {18.5f, 18.6f},
};

// The exponent of a law at step n: c = (n · 0.0125f) · 20, taken in double precision and then
// rounded to single, which gives exactly n/4 for every step (pure single-precision products
// would miss it, e.g. at n = 42, and skip the substitution). c is replaced by the law's
// substitute when listed, then divided by 20 and rounded to single precision.
template <size_t N> float lawExponent(int step, const Substitution (&list)[N])
{
    if (step < 0)
        step = 0;
    if (step > 80)
        step = 80;
    float e = static_cast<float>((static_cast<double>(step) * static_cast<double>(0.0125f)) * 20.0);
    for (const Substitution &s : list) {
        if (s.from == e) {
            e = s.to;
            break;
        }
    }
    return e / 20.0f;
}

// A stored value that is not a number in 0..1 would reach the engines unclamped.
float repairedStoredValue(float stored, float fallback)
{
    if (!std::isfinite(stored))
        return fallback;
    if (stored < 0.f)
        return 0.f;
    if (stored > 1.f)
        return 1.f;
    return stored;
}

constexpr int kAllSettingsCount = 27;

// Calls visit(type, info) for every setting of the given types, in ascending index order.
template <typename Visit> void forEachSetting(std::initializer_list<MeterType> types, Visit visit)
{
    for (MeterType type : types) {
        const MeterSettingInfo *infos = meterSettingInfos(type);
        for (int i = 0; i < meterSettingCount(type); ++i)
            visit(type, infos[i]);
    }
}

std::atomic<bool> defaultsLoaded{false};

}  // namespace

MeterSettingsSet globalMeterSettings;
MeterSettingsSet sessionMeterSettings;
std::atomic<int> calibrationScopeShared{kScopeSession};

const MeterSettingInfo *meterSettingInfos(MeterType type)
{
    return type == kMeterTypeRMS ? kRMSSettings : type == kMeterTypeVU ? kVUSettings : kPPMSettings;
}

int meterSettingCount(MeterType type) { return type == kMeterTypeRMS ? 10 : type == kMeterTypeVU ? 9 : 8; }

VstInt32 firstMeterSetting(MeterType type) { return meterSettingInfos(type)[0].index; }

VstInt32 lastMeterSetting(MeterType type) { return meterSettingInfos(type)[meterSettingCount(type) - 1].index; }

void MeterSettings::setDefaults()
{
    const MeterSettingInfo *infos = meterSettingInfos(type_);
    for (int i = 0; i < meterSettingCount(type_); ++i)
        set(infos[i].index, infos[i].defaultValue);
}

void loadDefaults()
{
    // The store is read once and both sets are filled from what it held: the same values that
    // two reads of an unchanged store give.
    StoredDefault stored[kAllSettingsCount];
    size_t count = 0;
    forEachSetting({kMeterTypeRMS, kMeterTypeVU, kMeterTypePPM}, [&](MeterType, const MeterSettingInfo &info) {
        stored[count++] = {info.name, info.defaultValue, false};
    });
    try {
        defaultsStoreReadAll(stored, count);
    } catch (...) {
        for (StoredDefault &entry : stored)
            entry.found = false;  // no memory to read the store: the built-in defaults
    }
    count = 0;
    forEachSetting({kMeterTypeRMS, kMeterTypeVU, kMeterTypePPM}, [&](MeterType type, const MeterSettingInfo &info) {
        const StoredDefault &entry = stored[count++];
        const float value = entry.found ? repairedStoredValue(entry.value, info.defaultValue) : info.defaultValue;
        globalMeterSettings.forType(type).set(info.index, value);
        sessionMeterSettings.forType(type).set(info.index, value);
    });
    defaultsLoaded.store(true);
}

void prepareMeterDefaults()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (!defaultsLoaded.load())
            loadDefaults();
        preciseTables();
    });
}

void storeDefaults(std::initializer_list<MeterType> types)
{
    StoredDefault values[kAllSettingsCount];
    size_t count = 0;
    forEachSetting(types, [&](MeterType type, const MeterSettingInfo &info) {
        if (count < kAllSettingsCount)
            values[count++] = {info.name, globalMeterSettings.forType(type).get(info.index), false};
    });
    try {
        defaultsStoreWriteAll(values, count);
    } catch (...) {
        // Without memory the store stays as it was: a failed write is skipped silently.
    }
}

void storeDefaults(MeterType type) { storeDefaults({type}); }

int timeStepTruncated(float value)
{
    const float scaled = 80.0f * value;
    return static_cast<int>(scaled);
}

int timeStepRounded(float value)
{
    const float scaled = 80.0f * value + 0.5f;
    return static_cast<int>(scaled);
}

float timeStepGridValue(int step) { return static_cast<float>(step) / 80.0f; }

int roundedSteps(float value, float steps)
{
    const float scaled = steps * value + 0.5f;
    return static_cast<int>(scaled);
}

double riseTimeLaw(int step)
{
    const float exponent = lawExponent(step, kRiseSubstitutions);
    return std::pow(101.0, static_cast<double>(exponent)) - 1.0;
}

double longTimeLaw(int step)
{
    const float exponent = lawExponent(step, kLongSubstitutions);
    return 100.0 * std::pow(100.0, static_cast<double>(exponent));
}

double rmsReferenceDb(float value) { return roundedSteps(value, 300.0f) * 0.1 - 20.0; }

double fullReferenceDb(float value) { return 24.0 * value - 24.0; }

double vuShownTimeMs(float value)
{
    const double s = roundedSteps(value, 200.0f) / 200.0;
    return 53.0330086 * std::pow(32.0, s);
}

double midScaling(float value)
{
    switch (threeState(value)) {
    case 0:
        return 1.0;
    case 1:
        return 0.708;
    default:
        return 0.5;
    }
}

int overCount(float value) { return roundedSteps(value, 9.0f) + 1; }

double overReferenceSelector(float value) { return roundedSteps(value, 3.0f) / 3.0; }

double rmsOverThreshold(int j)
{
    static const double kFactors[] = {0.5011872336, 0.5623413252,       0.6309573445, 0.7071,
                                      0.7943282347, 0.8912509381337456, 1.0};
    if (j < 0)
        j = 0;
    if (j > 6)
        j = 6;
    return kFactors[j];
}

void formatRiseTime(double ms, char *text) { formatMeterNumberWithUnit(ms, 0, "ms", text); }

void formatLongTime(double ms, char *text) { formatMeterNumberWithUnit(ms * 0.001, 2, "s", text); }

void formatReference(double db, char *text) { formatMeterNumberWithUnit(db, 1, "dBFS", text); }
