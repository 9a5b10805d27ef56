// What the editor's typed entries mean, as normalised parameter values: a trim in dB, and a
// frequency typed into a filter strip's text field, as the normalised value of
// HPFreq (20 Hz to 2 kHz) or LPFreq (300 Hz to 30 kHz), both on a 100:1 logarithmic travel.
// A "k" stands for the decimal point of a number of kHz ("1k5" is 1500 Hz); other text is read
// as Hz, and for the low-pass a number from 0.3 to 30 is taken as kHz. Text that is not a number,
// and negative numbers, count as 0 Hz. Thread: any.
#pragma once

// A number of dB read from the start of the text in the C notation, whatever the host's locale
// (" +6 dB" is 6 dB); a failed read is 0 dB, an overflow the largest number of its sign; the
// value of that trim, limited to -20..+20 dB.
float trimValueFromText(const char *text);

float typedHighPassValue(const char *text);
float typedLowPassValue(const char *text);
