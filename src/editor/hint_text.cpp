#include "hint_text.h"

namespace {

const char *const meterNames[3] = {"VU3", "RMS3", "PPM3"};

}  // namespace

bool helpHintText(long tag, float value, int zone, std::string &text)
{
    switch (tag) {
    case 0:
        text = "Activates the Trim and FILTERS";
        return true;
    case 1:
    case 68:
        text = "Click PROCESS to activate the Trim";
        return true;
    case 3: {
        int meter = (int)(value * 2.f + 0.5f);
        if (meter < 0 || meter > 2)
            return false;
        if (zone == 0)  // the left arrow steps back, from VU round to PPM
            text = std::string("Changes current meter to ") + meterNames[(meter + 2) % 3];
        else if (zone == 1)
            text = std::string("Changes current meter to ") + meterNames[(meter + 1) % 3];
        else
            text.clear();
        return true;
    }
    case 6:
        text = value <= 0.5f ? "Shows Strips" : "Hides Strips";
        return true;
    case 7:
        text = value <= 0.5f ? "Opens FILTERS editor" : "Closes FILTERS editor";
        return true;
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 70:
    case 71:
        text = "Click PROCESS to activate FILTERS";
        return true;
    case 15:
        text = value <= 0.5f ? "Opens LABEL editor" : "Closes LABEL editor";
        return true;
    case 72:
        text = "Click and drag to adjust RMS reference level";
        return true;
    case 83:
        text = "Click and drag to adjust VU reference level";
        return true;
    case 93:
        text = "Click and drag to adjust PPM reference level";
        return true;
    case 121:
        text = "Click to open the manual";
        return true;
    default:
        text.clear();
        return true;
    }
}
