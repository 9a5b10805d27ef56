#include "meters/meter_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kMaxNumberChars = 8;

void writeRounded(double value, int decimals, char *text)
{
    double scale = 1.0;
    for (int i = 0; i < decimals; ++i)
        scale *= 10.0;
    const double scaled = std::fabs(value) * scale;
    double units = std::floor(scaled);
    if (scaled - units >= 0.49999)
        units += 1.0;
    if (!(units < 1e15)) {  // beyond what a display text can hold; keep the text bounded
        std::strcpy(text, value < 0 ? "-" : "");
        std::strcat(text, "99999999");
        text[kMaxNumberChars] = 0;
        return;
    }
    const long long whole = static_cast<long long>(units / scale);
    const long long fraction = static_cast<long long>(units - static_cast<double>(whole) * scale);
    const bool negative = value < 0 && units > 0;
    if (decimals > 0)
        std::snprintf(text, 32, "%s%lld.%0*lld", negative ? "-" : "", whole, decimals, fraction);
    else
        std::snprintf(text, 32, "%s%lld", negative ? "-" : "", whole);
}

}  // namespace

void formatMeterNumber(double value, int decimals, char *text)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 9)
        decimals = 9;
    char buffer[40];
    if (std::isnan(value))
        value = 0;
    writeRounded(value, decimals, buffer);
    size_t length = std::strlen(buffer);
    if (length > kMaxNumberChars) {
        length = kMaxNumberChars;
        buffer[length] = 0;
        // A point left at the end carries no digit after it.
        if (buffer[length - 1] == '.')
            buffer[--length] = 0;
    }
    std::memcpy(text, buffer, length + 1);
}

void formatMeterNumberWithUnit(double value, int decimals, const char *unit, char *text)
{
    formatMeterNumber(value, decimals, text);
    std::strcat(text, unit);
}
