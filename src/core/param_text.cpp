#include "param_text.h"

#include "params/parameter_table.h"
#include "meters/meter_text.h"

#include <cmath>
#include <cstring>

void ParamText(double value, int decimals, char *text)
{
    // One rounding rule for every display text: the meter settings' texts use it too.
    formatMeterNumber(std::isfinite(value) ? value : 0.0, decimals, text);
}

void FreqText(double hz, char *text)
{
    if (!std::isfinite(hz)) {
        ParamText(0.0, 2, text);
        return;
    }
    if (hz < 10.0) {
        ParamText(hz, 2, text);
        return;
    }
    if (hz < 100.0) {
        ParamText(hz, 1, text);
        return;
    }
    if (hz < 1000.0) {
        ParamText(hz, 0, text);
        return;
    }
    double kilo = std::trunc(hz * 0.001);
    double rest = hz - 1000.0 * kilo;
    int hundreds = (int)(rest * 0.01);
    int tens = (int)((rest - 100.0 * hundreds) * 0.1);

    char buffer[kParamTextMax + 1];
    ParamText(kilo, 0, buffer);
    size_t length = std::strlen(buffer);
    char *out = text;
    std::memcpy(out, buffer, length);
    // The digits that follow fit only while the whole text stays within 8 characters.
    char tail[4];
    size_t tailLength = 0;
    tail[tailLength++] = 'k';
    if (hundreds != 0 || tens != 0) {
        tail[tailLength++] = (char)('0' + hundreds);
        if (tens != 0 && hz < 10000.0)
            tail[tailLength++] = (char)('0' + tens);
    }
    if (length + tailLength > (size_t)kParamTextMax)
        tailLength = (size_t)kParamTextMax > length ? (size_t)kParamTextMax - length : 0;
    std::memcpy(out + length, tail, tailLength);
    out[length + tailLength] = 0;
}

void FrequencyDisplay(float value, double base, char *text)
{
    if (!(value >= 0.f && value <= 1.f)) {
        std::strcpy(text, "UNDEF");
        return;
    }
    FreqText(sweepFrequency(value, base), text);
}
