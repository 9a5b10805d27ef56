#include "horizontal_switch.h"

#include "filmstrip.h"

namespace VSTGUI {

CHorizontalSwitch::CHorizontalSwitch(const CRect &size, CControlListener *listener, long tag, int subPixmaps,
                                     CCoord heightOfOneImage, int positions, CBitmap *background, const CPoint &offset)
    : CControl(size, listener, tag, background), subPixmaps(subPixmaps), heightOfOneImage(heightOfOneImage),
      positions(positions < 1 ? 1 : positions), offset(offset)
{
}

int CHorizontalSwitch::position() const { return filmstripFrameOf(getValueNormalized(), positions); }

void CHorizontalSwitch::draw(CDrawContext *context)
{
    drawFilmstripFrame(context, background, size, offset, filmstripFrameOf(getValueNormalized(), subPixmaps),
                       heightOfOneImage);
    setDirty(false);
}

void CHorizontalSwitch::pickAt(const CPoint &where)
{
    CCoord cell = size.getWidth() / positions;
    int pos = cell > 0 ? (int)((where.x - size.left) / cell) : 0;
    pos = pos < 0 ? 0 : (pos > positions - 1 ? positions - 1 : pos);
    float normalized = positions > 1 ? (float)pos / (float)(positions - 1) : 0.f;
    commitValue(vmin + normalized * (vmax - vmin));
}

CMouseEventResult CHorizontalSwitch::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    beginGesture(where, buttons);
    pickAt(where);
    return kMouseEventHandled;
}

CMouseEventResult CHorizontalSwitch::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    if (!currentGesture() || !(buttons & kLButton))
        return kMouseEventNotHandled;
    pickAt(where);
    return kMouseEventHandled;
}

}  // namespace VSTGUI
