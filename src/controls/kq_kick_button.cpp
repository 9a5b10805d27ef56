#include "controls/kq_kick_button.h"

#include "ui/filmstrip.h"

using namespace VSTGUI;

CKQKickButton::CKQKickButton(const CRect &size, CControlListener *listener, long tag, CBitmap *background,
                             const CPoint &offset)
    : CKickButton(size, listener, tag, background, offset)
{
}

void CKQKickButton::draw(CDrawContext *context)
{
    drawFilmstripFrame(context, background, size, offset, frameIndex(), size.getHeight());
    setDirty(false);
}

CMouseEventResult CKQKickButton::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;  // swallowed
    beginGesture(where, buttons, false);
    pressed = true;
    commitValue(1.f, kCommitAlwaysReport);
    setDirty(true);
    return kMouseEventHandled;
}

CMouseEventResult CKQKickButton::onMouseMoved(CPoint &, const CButtonState &) { return kMouseEventHandled; }

void CKQKickButton::releasePress()
{
    value = 0.f;  // the release is not reported
    pressed = false;
    setDirty(true);
}

CMouseEventResult CKQKickButton::onMouseEntered(CPoint &, const CButtonState &)
{
    hover = true;
    setDirty(true);
    return kMouseEventHandled;
}

CMouseEventResult CKQKickButton::onMouseExited(CPoint &, const CButtonState &)
{
    hover = false;
    setDirty(true);
    return kMouseEventHandled;
}

CMouseEventResult CKQKickButtonH::onMouseEntered(CPoint &where, const CButtonState &buttons)
{
    CKQKickButton::onMouseEntered(where, buttons);
    return hintOnEnter(tag, 0.f);
}

CMouseEventResult CKQKickButtonH::onMouseExited(CPoint &where, const CButtonState &buttons)
{
    CKQKickButton::onMouseExited(where, buttons);
    return hintOnExit();
}
