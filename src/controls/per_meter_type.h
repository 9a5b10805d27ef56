// One thing per meter type, indexed by MeterType: the editor's front panels, the strip holders'
// strips, the strips' hint lines. [any-thread] as plain data; what it holds keeps its own rules.
#pragma once

#include "params/parameter_table.h"

// True for the three meter types. A number read as a meter type (a three-state decode, a value
// kept as "none yet") is asked this before it is taken as a MeterType.
constexpr bool isMeterType(int type) { return type >= 0 && type < kMeterTypeCount; }

// The meter types in index order, for loops that need the type as well as its entry.
inline constexpr MeterType kMeterTypes[kMeterTypeCount] = {kMeterTypeVU, kMeterTypeRMS, kMeterTypePPM};

template <class T> class PerMeterType {
public:
    // type: one of the three; the holder's public operations check what their callers pass.
    T &operator[](MeterType type) { return items[type]; }
    const T &operator[](MeterType type) const { return items[type]; }

    T *begin() { return items; }
    T *end() { return items + kMeterTypeCount; }
    const T *begin() const { return items; }
    const T *end() const { return items + kMeterTypeCount; }

private:
    T items[kMeterTypeCount] = {};
};
