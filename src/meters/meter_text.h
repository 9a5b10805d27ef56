// Number texts of the meter settings (10ms, 1.00s, -18.0dBFS). The rounding rule is the one
// every display text of the product uses, so the effect's parameter texts can share it.
// [any-thread] (pure functions).
#pragma once

// Writes value with exactly `decimals` fraction digits: rounded at that place, adding one unit
// of the last place when the remainder is at least 0.49999 of it (away from zero for negative
// values); an optional "-", the integer digits, "." and the fraction. No "+", no exponent. The
// text holds at most 8 characters plus the terminator; fraction digits are dropped first.
// `text` must hold at least 9 characters.
void formatMeterNumber(double value, int decimals, char *text);

// formatMeterNumber followed by the unit, without a space ("-18.0dBFS"). `text` must hold the
// number's 8 characters, the unit and the terminator.
void formatMeterNumberWithUnit(double value, int decimals, const char *unit, char *text);
