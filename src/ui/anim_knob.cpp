#include "anim_knob.h"

#include "filmstrip.h"

namespace VSTGUI {

namespace {
float clamp01(float v) { return v < 0.f ? 0.f : (v > 1.f ? 1.f : v); }
}  // namespace

CAnimKnob::CAnimKnob(const CRect &size, CControlListener *listener, long tag, int subPixmaps, CCoord heightOfOneImage,
                     CBitmap *background, const CPoint &offset)
    : CControl(size, listener, tag, background), subPixmaps(subPixmaps), heightOfOneImage(heightOfOneImage),
      offset(offset)
{
}

int CAnimKnob::frameIndex() const { return filmstripFrameOf(getValueNormalized(), subPixmaps); }

void CAnimKnob::draw(CDrawContext *context)
{
    drawFilmstripFrame(context, background, size, offset, frameIndex(), heightOfOneImage);
    setDirty(false);
}

CMouseEventResult CAnimKnob::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    if (checkDefaultValue(buttons))
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    beginGesture(where, buttons).startValue = getValueNormalized();
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    Gesture *drag = currentGesture();
    if (!drag || !(buttons & kLButton))
        return kMouseEventNotHandled;
    CCoord delta = (where.x - drag->start.x) + (drag->start.y - where.y);
    CCoord range = (buttons & kShift) ? 2000 : 200;
    float normalized = clamp01(drag->startValue + (float)(delta / range));
    commitValue(vmin + normalized * (vmax - vmin));
    return kMouseEventHandled;
}

bool CAnimKnob::onWheel(const CPoint &, const float &distance, const CButtonState &buttons)
{
    float step = distance * ((buttons & kShift) ? 0.01f : 0.1f);
    float normalized = clamp01(getValueNormalized() + step);
    commitValue(vmin + normalized * (vmax - vmin), kCommitInsideEdit);
    return true;
}

}  // namespace VSTGUI
