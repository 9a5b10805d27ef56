#include "controls/hint_text.h"

#include "params/parameter_table.h"

bool helpHintText(long tag, float value, int zone, std::string &text)
{
    switch (tag) {
    case kProcess:
        text = "Activates the Trim and FILTERS";
        return true;
    case kTrim:
    case kTagTrimEntry:
        text = "Click PROCESS to activate the Trim";
        return true;
    case kMeter: {
        int meter = threeState(value);
        if (meter < 0 || meter >= kMeterTypeCount)
            return false;
        if (zone == 0)  // the left arrow steps back, from VU round to PPM
            text = std::string("Changes current meter to ") +
                   kMeterTypeNames[(meter + kMeterTypeCount - 1) % kMeterTypeCount];
        else if (zone == 1)
            text = std::string("Changes current meter to ") + kMeterTypeNames[(meter + 1) % kMeterTypeCount];
        else
            text.clear();
        return true;
    }
    case kStrips:
        text = switchOn(value) ? "Hides Strips" : "Shows Strips";
        return true;
    case kShowFlt:
        text = switchOn(value) ? "Closes FILTERS editor" : "Opens FILTERS editor";
        return true;
    case kProcFlt:
    case kHPStat:
    case kHPSlope:
    case kHPFreq:
    case kLPStat:
    case kLPSlope:
    case kLPFreq:
    case kTagHPFreqEntry:
    case kTagLPFreqEntry:
        text = "Click PROCESS to activate FILTERS";
        return true;
    case kShowLbl:
        text = switchOn(value) ? "Closes LABEL editor" : "Opens LABEL editor";
        return true;
    case kTagRMSReference:
        text = "Click and drag to adjust RMS reference level";
        return true;
    case kTagVUReference:
        text = "Click and drag to adjust VU reference level";
        return true;
    case kTagPPMReference:
        text = "Click and drag to adjust PPM reference level";
        return true;
    case kTagManual:
        text = "Click to open the manual";
        return true;
    case kTagNamePlate:
        text = "Right-click to choose the editor size";
        return true;
    case kTagStandardsPlate:
        text = "Right-click to choose a standard";
        return true;
    default:
        text.clear();
        return true;
    }
}
