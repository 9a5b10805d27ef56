// The effect's 17 host parameters as a CLAP host sees them: id = the effect's index 0..16 (the
// spare indices 17..63 are not offered), each in its own unit, with the one law of each parameter
// (params/parameter_table.h) between the host's plain value and the effect's normalised value.
// [any-thread] (constant data and pure functions)
#pragma once

#include "clap/clap_interface.h"

constexpr uint32_t kClapParameterCount = 17;

enum class ClapUnit {
    kSwitch,       // two-state: 0 or 1
    kThreeState,   // 0, 1 or 2
    kDecibels,     // Trim: -20..+20 dB in 0.1 dB steps
    kHertz,        // HPFreq, LPFreq on their sweep laws
    kMilliseconds  // LagTime: 0..999 ms
};

struct ClapParameterLaw {
    ClapUnit unit;
    double minimum;
    double maximum;
};

// The law of parameter id, or null for an id the host does not have.
const ClapParameterLaw *clapParameterLaw(clap_id id);
// The CLAP flags of parameter id: automatable; stepped for the switches, the three-state ones
// (also an enumeration) and the lag in whole milliseconds.
uint32_t clapParameterFlags(clap_id id);

// The plain value a normalised value stands for.
double clapPlainValue(clap_id id, float normalised);
// The normalised value of a plain value, limited to the parameter's range first (NaN is its
// minimum); a stepped value is truncated to a whole number, as CLAP reads one.
float clapNormalisedValue(clap_id id, double plain);
