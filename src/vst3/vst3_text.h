// Texts between our 8-bit strings (ASCII and UTF-8) and the UTF-16 strings of a VST 3 host.
// [any-thread] (pure functions)
#pragma once

#include <cstddef>
#include <string>

// Writes text as UTF-16 into destination, at most capacity - 1 code units and a terminator; a
// character that does not fit whole is left out. Nothing is written when capacity is 0.
void toUtf16(const char *text, char16_t *destination, size_t capacity);

// The UTF-8 form of a NUL-terminated UTF-16 text of at most limit code units; an unpaired
// surrogate reads as U+FFFD.
std::string fromUtf16(const char16_t *text, size_t limit = 128);
