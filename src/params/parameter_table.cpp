#include "parameter_table.h"

#include <cmath>

namespace {

constexpr VstInt32 kSwitch = kVstParameterIsSwitch | kVstParameterUsesFloatStep;
constexpr VstInt32 kStepped = kVstParameterUsesFloatStep;

const ParameterInfo kTable[kNumRealParameters] = {
    {"Process", 0.f, kSwitch, 1.f, 1.f, 1.f},
    {"Trim", 0.5f, kStepped, 1.f / 41.f, 1.f / 401.f, 1.f / 41.f},
    {"GSIcal", 0.f, kStepped, 0.5f, 0.5f, 0.5f},
    {"Meter", 0.f, kStepped, 0.5f, 0.5f, 0.5f},
    {"LR/MS", 0.f, kSwitch, 1.f, 1.f, 1.f},
    {"Hold", 0.f, kStepped, 0.5f, 0.5f, 0.5f},
    {"Strips", 1.f, kSwitch, 1.f, 1.f, 1.f},
    {"ShowFlt", 0.f, kSwitch, 1.f, 1.f, 1.f},
    {"ProcFlt", 0.f, kSwitch, 1.f, 1.f, 1.f},
    {"HPStat", 1.f, kSwitch, 1.f, 1.f, 1.f},
    {"HPSlope", 0.f, kSwitch, 1.f, 1.f, 1.f},
    {"HPFreq", 0.f, kStepped, 1.f / 41.f, 1.f / 401.f, 1.f / 41.f},
    {"LPStat", 1.f, kSwitch, 1.f, 1.f, 1.f},
    {"LPSlope", 0.f, kSwitch, 1.f, 1.f, 1.f},
    {"LPFreq", 1.f, kStepped, 1.f / 41.f, 1.f / 401.f, 1.f / 41.f},
    {"ShowLbl", 0.f, kSwitch, 1.f, 1.f, 1.f},
    {"LagTime", 0.f, kStepped, (float)(1.0 / 99.9), 1.f / 999.f, (float)(1.0 / 99.9)},
};

}  // namespace

const ParameterInfo *parameterInfo(VstInt32 index) { return isRealParameter(index) ? &kTable[index] : nullptr; }

bool isRealParameter(VstInt32 index) { return index >= 0 && index < kNumRealParameters; }

bool isMeterSetting(VstInt32 index)
{
    return (index >= kFirstRMSSetting && index <= kLastRMSSetting) ||
           (index >= kFirstVUSetting && index <= kLastVUSetting) ||
           (index >= kFirstPPMSetting && index <= kLastPPMSetting);
}

float trimDecibels(float value) { return (float)(int)(value * 400.f + 0.5f) * 0.1f - 20.f; }

int lagMilliseconds(float value) { return (int)(value * 999.f + 0.5f); }

double sweepFrequency(float value, double base)
{
    double hz = base * std::pow(100.0, (double)value);
    return std::fmin(std::fmax(hz, base), 100.0 * base);
}

float trimValue(double decibels)
{
    const float sum = (float)decibels + 20.f;
    const float value = (float)(sum * 0.025);
    return value < 0.f ? 0.f : (value > 1.f ? 1.f : value);
}

float lagValue(int milliseconds)
{
    if (milliseconds <= 0)
        return 0.f;
    return milliseconds >= 999 ? 1.f : (float)milliseconds / 999.f;
}

float sweepValue(double hz, double base)
{
    if (!(hz > base))
        return 0.f;
    double value = std::log(hz / base) / std::log(100.0);
    return value >= 1 ? 1.f : (float)value;
}
