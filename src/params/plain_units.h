// The effect's 17 host parameters in their own units, as the CLAP, LV2 and VST 3 hosts see them:
// id = the effect's index 0..16 (the spare indices 17..63 are not offered), each with the one law
// of each parameter (params/parameter_table.h) between the host's plain value and the effect's
// normalised value. [any-thread] (constant data and pure functions)
#pragma once

#include <cstdint>

constexpr uint32_t kPlainParameterCount = 17;

enum class PlainUnit {
    kSwitch,       // two-state: 0 or 1
    kThreeState,   // 0, 1 or 2
    kDecibels,     // Trim: -20..+20 dB in 0.1 dB steps
    kHertz,        // HPFreq, LPFreq on their sweep laws
    kMilliseconds  // LagTime: 0..999 ms
};

struct PlainLaw {
    PlainUnit unit;
    double minimum;
    double maximum;
};

// The law of parameter id, or null for an id the host does not have.
const PlainLaw *plainLaw(uint32_t id);
// Stepped: the switches, the three-state ones and the lag in whole milliseconds. An enumeration:
// the three-state ones (their states have names).
bool plainIsStepped(uint32_t id);
bool plainIsEnumeration(uint32_t id);

// The plain value a normalised value stands for.
double plainValue(uint32_t id, float normalised);
// The normalised value of a plain value, limited to the parameter's range first (NaN is its
// minimum); a stepped value is truncated to a whole number, as the hosts read one.
float normalisedValue(uint32_t id, double plain);
