#include "on_off_button.h"

#include "draw_context.h"

namespace VSTGUI {

COnOffButton::COnOffButton(const CRect &size, CControlListener *listener, long tag, CBitmap *background)
    : CControl(size, listener, tag, background)
{
}

void COnOffButton::draw(CDrawContext *context)
{
    if (background) {
        CCoord y = value >= vmax ? size.getHeight() : 0;
        context->drawBitmap(background, size, CPoint(0, y));
    }
    setDirty(false);
}

CMouseEventResult COnOffButton::onMouseDown(CPoint &, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    commitValue(value >= vmax ? vmin : vmax, kCommitInsideEdit | kCommitAlwaysReport);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace VSTGUI
