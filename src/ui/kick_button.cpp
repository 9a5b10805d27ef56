#include "kick_button.h"

#include "draw_context.h"

namespace VSTGUI {

CKickButton::CKickButton(const CRect &size, CControlListener *listener, long tag, CBitmap *background,
                         const CPoint &offset)
    : CControl(size, listener, tag, background), offset(offset)
{
}

void CKickButton::draw(CDrawContext *context)
{
    if (background) {
        CCoord y = (value >= vmax ? size.getHeight() : 0) + offset.y;
        context->drawBitmap(background, size, CPoint(offset.x, y));
    }
    setDirty(false);
}

CMouseEventResult CKickButton::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    beginGesture(where, buttons);
    pressedInside = true;
    commitValue(vmax);
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton) || !currentGesture())
        return kMouseEventNotHandled;
    bool inside = size.pointInside(where);
    if (inside != pressedInside) {
        pressedInside = inside;
        commitValue(inside ? vmax : vmin);
    }
    return kMouseEventHandled;
}

void CKickButton::releasePress()
{
    pressedInside = false;
    commitValue(vmin);
}

}  // namespace VSTGUI
