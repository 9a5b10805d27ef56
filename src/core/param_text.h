// The number and frequency texts of every parameter display. [any-thread] (pure functions)
#pragma once

// Longest text either function writes, without its terminator.
constexpr int kParamTextMax = 8;

// value with `decimals` fraction digits: rounded up in the last place when the remainder is at
// least 0.49999 of it (away from zero for negatives), written as an optional "-", the integer
// digits and "." with exactly `decimals` digits. No "+" and no exponent; at most 8 characters,
// fraction digits being cut first. text must hold kParamTextMax + 1 bytes.
void ParamText(double value, int decimals, char *text);

// A frequency in Hz: 2 decimals below 10 Hz, 1 below 100 Hz, none below 1000 Hz; from 1000 Hz
// on "k" notation: 1500 is 1k5, 1250 is 1k25, 12500 is 12k5, 20000 is 20k, 1050 is 1k05.
// text must hold kParamTextMax + 1 bytes.
void FreqText(double hz, char *text);

// Display of a stored HPFreq or LPFreq value: FreqText of base * 100^value, or "UNDEF" for a
// stored value outside 0..1.
void FrequencyDisplay(float value, double base, char *text);
