#include "strips/typed_frequency.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// The frequency the text names, in Hz, and whether it holds a "k". The number is read from the
// start (after blanks and a plus sign) in the C notation whatever the host's locale.
double typedHertz(const char *text, bool &kilo)
{
    std::string s = text ? text : "";
    kilo = false;
    for (char &c : s)
        if (c == 'k') {
            c = '.';
            kilo = true;
        }
    size_t start = s.find_first_not_of(" \t");
    if (start == std::string::npos)
        return 0;
    if (s[start] == '+')
        ++start;
    double number = 0;
    const char *first = s.data() + start;
    if (std::from_chars(first, s.data() + s.size(), number).ec != std::errc())
        number = 0;
    if (std::isnan(number) || number < 0)
        number = 0;
    return kilo ? number * 1000 : number;
}

// log(f / lowest) / log(100), limited to 0..1 (0 Hz and below the lowest give 0).
float normalised(double hertz, double lowest)
{
    if (!(hertz > lowest))
        return 0.f;
    double v = std::log(hertz / lowest) / std::log(100.0);
    return v >= 1 ? 1.f : (float)v;
}

}  // namespace

float typedHighPassValue(const char *text)
{
    bool kilo = false;
    return normalised(typedHertz(text, kilo), 20.0);
}

float typedLowPassValue(const char *text)
{
    bool kilo = false;
    double hertz = typedHertz(text, kilo);
    if (!kilo && hertz >= 0.3 && hertz <= 30)
        hertz *= 1000;
    return normalised(hertz, 300.0);
}
