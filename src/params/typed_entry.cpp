#include "params/typed_entry.h"

#include "params/parameter_table.h"

#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>
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

}  // namespace

float trimValueFromText(const char *text)
{
    // The classic locale: a host that sets a locale with a decimal comma must not turn "2.5"
    // into 2. A failed read leaves 0, an overflow the largest number of its sign.
    double decibels = 0.0;
    if (text) {
        std::istringstream in(text);
        in.imbue(std::locale::classic());
        in >> decibels;
    }
    if (std::isnan(decibels))
        decibels = 0.0;
    return trimValue(decibels);
}

float typedHighPassValue(const char *text)
{
    bool kilo = false;
    return sweepValue(typedHertz(text, kilo), kHPFreqBase);
}

float typedLowPassValue(const char *text)
{
    bool kilo = false;
    double hertz = typedHertz(text, kilo);
    if (!kilo && hertz >= 0.3 && hertz <= 30)
        hertz *= 1000;
    return sweepValue(hertz, kLPFreqBase);
}
