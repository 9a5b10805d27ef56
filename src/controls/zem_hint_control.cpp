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
    if (hint.empty()) {
        showRestingText();
        return;
    }
    setText(hint.c_str());
    setDirty(true);
    hintShown = true;
}

void CHelpHintLabel::setRestingText(const std::string &text)
{
    if (text == restingText)
        return;
    restingText = text;
    if (!hintShown) {
        setText(restingText.c_str());
        setDirty(true);
    }
}

void CHelpHintLabel::showRestingText()
{
    hintShown = false;
    setText(restingText.c_str());
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
    hintTarget->showRestingText();
}

CMouseEventResult CZEMHintControl::hintOnEnter(long tag, float value)
{
    showHint(tag, value);
    return kMouseEventHandled;
}

CMouseEventResult CZEMHintControl::hintOnExit()
{
    clearHint();
    return kMouseEventHandled;
}

// ---------------------------------------------------------------------------------------------

CMouseEventResult CZEMActiveControl::activeHintOnEnter(CZEMHintControl &hint, long tag) const
{
    if (isInert())
        hint.showHint(tag, 0.f);
    else
        hint.clearHint();
    return kMouseEventHandled;
}
