#include "controls/zem_hint_control.h"

#include <string>

#include "controls/hint_text.h"

using namespace VSTGUI;

CHelpHintLabel::CHelpHintLabel(const CRect &size) : CTextLabel(size, "") { setMouseEnabled(false); }

void CHelpHintLabel::showHint(long tag, float value, int zone)
{
    std::string hint;
    if (!helpHintText(tag, value, zone, hint))
        return;
    setText(hint.c_str());
    setDirty(true);
}

void CZEMHintControl::showHint(long tag, float value, int zone)
{
    if (hintTarget)
        hintTarget->showHint(tag, value, zone);
}

void CZEMHintControl::clearHint()
{
    if (!hintTarget)
        return;
    hintTarget->setText("");
    hintTarget->setDirty(true);
}
