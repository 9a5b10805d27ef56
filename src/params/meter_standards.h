// The standards each meter type can be set to in one step: for every standard a short name for
// the menu and the few settings (index, normalised value) that make the meter read as the
// standard asks, written as a settings knob writes them. The values were found by measuring the
// plug-in over its settings grid (`zem_host conformance --search KEY`), not by hand; where no
// setting meets the standard, the closest is taken and the measured deviation is noted here and
// printed in the manual's conformance chapter.
// [any-thread] (constant data and pure functions)
#pragma once

#include <functional>

#include "params/parameter_table.h"

struct StandardSetting {
    VstInt32 index;  // a meter setting, 72..100
    float value;     // the normalised value the knob writes
};

struct MeterStandard {
    static constexpr int kMaxSettings = 4;
    MeterType type;
    const char *key;   // for the command line: "vu-ebu", "ppm-bbc", "k-20" ...
    const char *name;  // for the menu and the hint line
    int count;         // used entries of settings
    StandardSetting settings[kMaxSettings];
    // The figure no setting brings within the standard's tolerance (null when every one is
    // met), and by how much the preset misses it, in the figure's unit.
    const char *missedFigure = nullptr;
    float missedBy = 0;
};

// The standards of one meter type, in menu order.
int meterStandardCount(MeterType type);
// The standard at position position (0..count-1) of type, or null.
const MeterStandard *meterStandard(MeterType type, int position);
// The standard of any type with that key, or null.
const MeterStandard *meterStandardByKey(const char *key);

// True when value sets setting index the same way as the standard's value: the same knob step
// for a stepped setting, within a thousandth of a decibel's worth for a continuous one.
bool sameSettingValue(VstInt32 index, float value, float standardValue);

// The position of the standard of type that the current settings (valueOf(index)) match, or -1
// for none. When several match (one standard's settings a part of another's), the one with the
// most settings is named.
int matchingMeterStandard(MeterType type, const std::function<float(VstInt32)> &valueOf);
