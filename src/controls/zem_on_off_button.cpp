#include "controls/zem_on_off_button.h"

#include "params/parameter_table.h"
#include "ui/draw_context.h"
#include "ui/filmstrip.h"

using namespace VSTGUI;

CZEMOnOffButton::CZEMOnOffButton(const CRect &size, CControlListener *listener, long tag, CBitmap *background)
    : CControl(size, listener, tag, background)
{
}

void CZEMOnOffButton::draw(CDrawContext *context)
{
    // Deliberately value < 0.5, not the switch law: 0.49999997 draws the off half.
    drawFilmstripFrame(context, background, size, CPoint(), value < 0.5f ? 0 : 1, size.getHeight());
    setDirty(false);
}

CMouseEventResult CZEMOnOffButton::onMouseDown(CPoint &, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    commitValue(switchOn(value) ? 0.f : 1.f, kCommitInsideEdit | kCommitAlwaysReport);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool CZEMOnOffButton::onWheel(const CPoint &, const float &distance, const CButtonState &)
{
    float d = keepWheelSign ? distance : -distance;
    float next = value;
    if (!directionalWheel) {
        if (d > 0.1f || d < -0.1f)
            next = switchOn(value) ? 0.f : 1.f;
    } else if (value >= 0.5f) {  // deliberately value >= 0.5, not the switch law
        if (d < -0.1f)
            next = 0.f;
    } else if (d > 0.1f) {
        next = 1.f;
    }
    commitValue(next, kCommitInsideEdit);
    return true;
}

// ---------------------------------------------------------------------------------------------

CMouseEventResult CZEMOnOffButtonH::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    CMouseEventResult result = CZEMOnOffButton::onMouseDown(where, buttons);
    if (result != kMouseEventNotHandled)
        showHint(tag, value);
    return result;
}

bool CZEMOnOffButtonH::onWheel(const CPoint &where, const float &distance, const CButtonState &buttons)
{
    bool used = CZEMOnOffButton::onWheel(where, distance, buttons);
    showHint(tag, value);
    return used;
}

CMouseEventResult CZEMOnOffButtonH::onMouseEntered(CPoint &, const CButtonState &) { return hintOnEnter(tag, value); }

CMouseEventResult CZEMOnOffButtonH::onMouseExited(CPoint &, const CButtonState &) { return hintOnExit(); }

// ---------------------------------------------------------------------------------------------

CMouseEventResult CZEMOnOffButtonAH::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    if (isInert())
        return kMouseEventHandled;  // swallowed
    return CZEMOnOffButton::onMouseDown(where, buttons);
}

bool CZEMOnOffButtonAH::onWheel(const CPoint &where, const float &distance, const CButtonState &buttons)
{
    if (isInert())
        return true;
    return CZEMOnOffButton::onWheel(where, distance, buttons);
}

CMouseEventResult CZEMOnOffButtonAH::onMouseEntered(CPoint &, const CButtonState &)
{
    return activeHintOnEnter(*this, tag);
}

// ---------------------------------------------------------------------------------------------

// Deliberately value < 0.5, not the switch law: 0.49999997 draws frame 0.
int StripActiveButton::frameIndex() const { return value < 0.5f ? 0 : (isInert() ? 1 : 2); }

void StripActiveButton::draw(CDrawContext *context)
{
    drawFilmstripFrame(context, background, size, CPoint(), frameIndex(), size.getHeight());
    setDirty(false);
}

// ---------------------------------------------------------------------------------------------

CMouseEventResult COnOffButtonH::onMouseEntered(CPoint &, const CButtonState &) { return hintOnEnter(tag, value); }

CMouseEventResult COnOffButtonH::onMouseExited(CPoint &, const CButtonState &) { return hintOnExit(); }
