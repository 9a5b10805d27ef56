#include "clap/clap_parameters.h"

#include <cmath>

#include "params/parameter_table.h"

namespace {

const ClapParameterLaw kSwitchLaw = {ClapUnit::kSwitch, 0.0, 1.0};
const ClapParameterLaw kThreeStateLaw = {ClapUnit::kThreeState, 0.0, 2.0};
const ClapParameterLaw kTrimLaw = {ClapUnit::kDecibels, -20.0, 20.0};
const ClapParameterLaw kHPFreqLaw = {ClapUnit::kHertz, kHPFreqBase, 100.0 * kHPFreqBase};
const ClapParameterLaw kLPFreqLaw = {ClapUnit::kHertz, kLPFreqBase, 100.0 * kLPFreqBase};
const ClapParameterLaw kLagLaw = {ClapUnit::kMilliseconds, 0.0, 999.0};

const ClapParameterLaw *const kLaws[kClapParameterCount] = {
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
static_assert(kClapParameterCount == (uint32_t)kNumRealParameters, "one law per host parameter");

}  // namespace

const ClapParameterLaw *clapParameterLaw(clap_id id) { return id < kClapParameterCount ? kLaws[id] : nullptr; }

uint32_t clapParameterFlags(clap_id id)
{
    const ClapParameterLaw *law = clapParameterLaw(id);
    if (!law)
        return 0;
    switch (law->unit) {
    case ClapUnit::kSwitch:
    case ClapUnit::kMilliseconds:
        return CLAP_PARAM_IS_AUTOMATABLE | CLAP_PARAM_IS_STEPPED;
    case ClapUnit::kThreeState:
        return CLAP_PARAM_IS_AUTOMATABLE | CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_ENUM;
    default:
        return CLAP_PARAM_IS_AUTOMATABLE;
    }
}

double clapPlainValue(clap_id id, float normalised)
{
    const ClapParameterLaw *law = clapParameterLaw(id);
    if (!law)
        return 0.0;
    switch (law->unit) {
    case ClapUnit::kSwitch:
        return switchOn(normalised) ? 1.0 : 0.0;
    case ClapUnit::kThreeState:
        return (double)threeState(normalised);
    case ClapUnit::kDecibels:
        return (double)trimDecibels(normalised);
    case ClapUnit::kHertz:
        return sweepFrequency(normalised, law->minimum);
    case ClapUnit::kMilliseconds:
        return (double)lagMilliseconds(normalised);
    }
    return 0.0;
}

float clapNormalisedValue(clap_id id, double plain)
{
    const ClapParameterLaw *law = clapParameterLaw(id);
    if (!law)
        return 0.f;
    if (!(plain >= law->minimum))
        plain = law->minimum;
    if (plain > law->maximum)
        plain = law->maximum;
    switch (law->unit) {
    case ClapUnit::kSwitch:
        return switchValue((int)plain == 1);
    case ClapUnit::kThreeState:
        return threeStateValue((int)plain);
    case ClapUnit::kDecibels:
        return trimValue(plain);
    case ClapUnit::kHertz:
        return sweepValue(plain, law->minimum);
    case ClapUnit::kMilliseconds:
        return lagValue((int)plain);
    }
    return 0.f;
}
