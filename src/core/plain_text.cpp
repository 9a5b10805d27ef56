#include "core/plain_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <locale>
#include <sstream>

#include "core/templete.h"
#include "params/parameter_table.h"
#include "params/plain_units.h"
#include "params/typed_entry.h"

namespace {

constexpr size_t kTextSize = kVstMaxParamStrLen * 4;

// The text without blanks at either end, in lower case: how a typed state name is compared.
std::string foldedText(const char *text)
{
    std::string s = text ? text : "";
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    s = s.substr(first, s.find_last_not_of(" \t") - first + 1);
    for (char &c : s)
        c = (char)std::tolower((unsigned char)c);
    return s;
}

// A number at the start of the text in the C notation, whatever the host's locale.
bool leadingNumber(const char *text, double &number)
{
    std::istringstream in(text ? text : "");
    in.imbue(std::locale::classic());
    in >> number;
    return !in.fail() && std::isfinite(number);
}

// A typed frequency on the edge of a display step ("1k19" is 1190 Hz, the lowest frequency that
// shows so) can land a single-precision step below it, where the display shows the step before.
// The value a few steps up names the text meant; the lowest one that shows it is taken.
float frequencyShowingItsText(Templete &effect, uint32_t id, float value)
{
    float candidates[3] = {value, std::nextafter(value, 2.f), 0.f};
    candidates[2] = std::nextafter(candidates[1], 2.f);
    char meant[kTextSize] = {};
    effect.getParameterDisplayOf((VstInt32)id, candidates[2] > 1.f ? 1.f : candidates[2], meant);
    for (float candidate : candidates) {
        char shown[kTextSize] = {};
        candidate = candidate > 1.f ? 1.f : candidate;
        effect.getParameterDisplayOf((VstInt32)id, candidate, shown);
        if (std::strcmp(shown, meant) == 0)
            return candidate;
    }
    return value;
}

}  // namespace

std::string plainValueText(Templete &effect, uint32_t id, double plain)
{
    if (!plainLaw(id))
        return std::string();
    char display[kTextSize] = {};
    effect.getParameterDisplayOf((VstInt32)id, normalisedValue(id, plain), display);
    char label[kTextSize] = {};
    effect.getParameterLabel((VstInt32)id, label);
    std::string whole = display;
    if (!foldedText(label).empty())
        whole += label;
    return whole;
}

bool plainValueFromText(Templete &effect, uint32_t id, const char *text, double &plain)
{
    const PlainLaw *law = plainLaw(id);
    if (!law || !text)
        return false;
    switch (id) {
    case kTrim:
        plain = plainValue(id, trimValueFromText(text));
        return true;
    case kHPFreq:
    case kLPFreq: {
        float typed = frequencyShowingItsText(effect, id,
                                              id == kHPFreq ? typedHighPassValue(text) : typedLowPassValue(text));
        // A display text from 10 kHz on that ends in "k0" ("21k0") stands for 10..99 Hz above
        // the whole kHz, while typed it reads as the whole kHz, which displays without the 0: a
        // frequency in the middle of that range shows the text itself.
        char shown[kTextSize] = {};
        effect.getParameterDisplayOf((VstInt32)id, typed, shown);
        if (foldedText(shown) != foldedText(text)) {
            const float above = normalisedValue(id, plainValue(id, typed) + 55.0);
            effect.getParameterDisplayOf((VstInt32)id, above, shown);
            if (foldedText(shown) == foldedText(text))
                typed = above;
        }
        plain = plainValue(id, typed);
        return true;
    }
    case kLagTime: {
        double milliseconds = 0.0;
        if (!leadingNumber(text, milliseconds) || !std::isfinite(milliseconds))
            return false;
        // A number beyond the range means its end, as the editor's lag entry takes it; limited
        // before it becomes a whole number of milliseconds.
        milliseconds = std::min(std::max(milliseconds, law->minimum), law->maximum);
        plain = plainValue(id, lagValue((int)std::floor(milliseconds + 0.5)));
        return true;
    }
    default:
        break;
    }
    // A switch or three-state parameter: the display text of one of its states, else its number.
    const std::string typed = foldedText(text);
    for (int state = (int)law->minimum; state <= (int)law->maximum; ++state) {
        char display[kTextSize] = {};
        effect.getParameterDisplayOf((VstInt32)id, normalisedValue(id, state), display);
        if (!typed.empty() && typed == foldedText(display)) {
            plain = state;
            return true;
        }
    }
    double number = 0.0;
    if (!leadingNumber(text, number) || number < law->minimum || number > law->maximum)
        return false;
    plain = std::floor(number);
    return true;
}
