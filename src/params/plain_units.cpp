#include "params/plain_units.h"

#include <cmath>

#include "params/parameter_table.h"

namespace {

const PlainLaw kSwitchLaw = {PlainUnit::kSwitch, 0.0, 1.0};
const PlainLaw kThreeStateLaw = {PlainUnit::kThreeState, 0.0, 2.0};
const PlainLaw kTrimLaw = {PlainUnit::kDecibels, -20.0, 20.0};
const PlainLaw kHPFreqLaw = {PlainUnit::kHertz, kHPFreqBase, 100.0 * kHPFreqBase};
const PlainLaw kLPFreqLaw = {PlainUnit::kHertz, kLPFreqBase, 100.0 * kLPFreqBase};
const PlainLaw kLagLaw = {PlainUnit::kMilliseconds, 0.0, 999.0};

const PlainLaw *const kLaws[kPlainParameterCount] = {
    &kSwitchLaw,      // Process
    &kTrimLaw,        // Trim
    &kThreeStateLaw,  // GSIcal
    &kThreeStateLaw,  // Meter
    &kSwitchLaw,      // LR/MS
    &kThreeStateLaw,  // Hold
    &kSwitchLaw,      // Strips
    &kSwitchLaw,      // ShowFlt
    &kSwitchLaw,      // ProcFlt
    &kSwitchLaw,      // HPStat
    &kSwitchLaw,      // HPSlope
    &kHPFreqLaw,      // HPFreq
    &kSwitchLaw,      // LPStat
    &kSwitchLaw,      // LPSlope
    &kLPFreqLaw,      // LPFreq
    &kSwitchLaw,      // ShowLbl
    &kLagLaw,         // LagTime
};
static_assert(kPlainParameterCount == (uint32_t)kNumRealParameters, "one law per host parameter");

}  // namespace

const PlainLaw *plainLaw(uint32_t id) { return id < kPlainParameterCount ? kLaws[id] : nullptr; }

bool plainIsStepped(uint32_t id)
{
    const PlainLaw *law = plainLaw(id);
    return law && law->unit != PlainUnit::kDecibels && law->unit != PlainUnit::kHertz;
}

bool plainIsEnumeration(uint32_t id)
{
    const PlainLaw *law = plainLaw(id);
    return law && law->unit == PlainUnit::kThreeState;
}

double plainValue(uint32_t id, float normalised)
{
    const PlainLaw *law = plainLaw(id);
    if (!law)
        return 0.0;
    switch (law->unit) {
    case PlainUnit::kSwitch:
        return switchOn(normalised) ? 1.0 : 0.0;
    case PlainUnit::kThreeState:
        return (double)threeState(normalised);
    case PlainUnit::kDecibels:
        return (double)trimDecibels(normalised);
    case PlainUnit::kHertz:
        return sweepFrequency(normalised, law->minimum);
    case PlainUnit::kMilliseconds:
        return (double)lagMilliseconds(normalised);
    }
    return 0.0;
}

float normalisedValue(uint32_t id, double plain)
{
    const PlainLaw *law = plainLaw(id);
    if (!law)
        return 0.f;
    if (!(plain >= law->minimum))
        plain = law->minimum;
    if (plain > law->maximum)
        plain = law->maximum;
    switch (law->unit) {
    case PlainUnit::kSwitch:
        return switchValue((int)plain == 1);
    case PlainUnit::kThreeState:
        return threeStateValue((int)plain);
    case PlainUnit::kDecibels:
        return trimValue(plain);
    case PlainUnit::kHertz:
        return sweepValue(plain, law->minimum);
    case PlainUnit::kMilliseconds:
        return lagValue((int)plain);
    }
    return 0.f;
}
