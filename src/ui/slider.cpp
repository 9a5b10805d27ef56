#include "slider.h"

#include "bitmap.h"
#include "draw_context.h"

namespace VSTGUI {

namespace {
float clamp01(float v) { return v < 0.f ? 0.f : (v > 1.f ? 1.f : v); }
}  // namespace

CSlider::CSlider(const CRect &size, CControlListener *listener, long tag, const CPoint &offsetHandle, CCoord travel,
                 CBitmap *handle, CBitmap *background, const CPoint &offset, int style)
    : CControl(size, listener, tag, background), offsetHandle(offsetHandle), travel(travel), handle(handle),
      offset(offset), style(style)
{
    if (handle) {
        handle->remember();
        handleWidth = handle->getWidth();
        handleHeight = handle->getHeight();
    }
}

CSlider::~CSlider()
{
    if (handle)
        handle->forget();
}

CRect CSlider::getHandleRect() const
{
    float v = clamp01(getValueNormalized());
    CRect r(size.left + offsetHandle.x, size.top + offsetHandle.y, 0, 0);
    if (isVertical())
        r.top += (1.f - v) * travel;
    else
        r.left += v * travel;
    return r.setWidth(handleWidth).setHeight(handleHeight);
}

void CSlider::draw(CDrawContext *context)
{
    if (background)
        context->drawBitmap(background, size, offset);
    if (handle)
        context->drawBitmap(handle, getHandleRect());
    setDirty(false);
}

float CSlider::valueAt(const CPoint &where) const
{
    if (travel <= 0)
        return getValueNormalized();
    if (isVertical())
        return clamp01(1.f - (float)((where.y - size.top - offsetHandle.y - handleHeight / 2) / travel));
    return clamp01((float)((where.x - size.left - offsetHandle.x - handleWidth / 2) / travel));
}

CMouseEventResult CSlider::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    if (checkDefaultValue(buttons))
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    bool onHandle = getHandleRect().pointInside(where);
    beginGesture(where, buttons);
    if (!onHandle)
        commitValue(vmin + valueAt(where) * (vmax - vmin));
    Gesture *drag = currentGesture();
    drag->startValue = getValueNormalized();
    return kMouseEventHandled;
}

CMouseEventResult CSlider::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    Gesture *drag = currentGesture();
    if (!drag || !(buttons & kLButton))
        return kMouseEventNotHandled;
    if ((buttons & kShift) != (drag->buttons & kShift)) {
        // Rebase so that switching the fine mode does not move the handle.
        drag->start = where;
        drag->startValue = getValueNormalized();
        drag->buttons = buttons;
    }
    CCoord delta = isVertical() ? drag->start.y - where.y : where.x - drag->start.x;
    if (buttons & kShift)
        delta /= zoomFactor;
    float normalized = clamp01(travel > 0 ? drag->startValue + (float)(delta / travel) : drag->startValue);
    commitValue(vmin + normalized * (vmax - vmin));
    return kMouseEventHandled;
}

bool CSlider::onWheel(const CPoint &, const float &distance, const CButtonState &buttons)
{
    float step = distance * wheelInc;
    if (buttons & kShift)
        step /= zoomFactor;
    float normalized = clamp01(getValueNormalized() + step);
    commitValue(vmin + normalized * (vmax - vmin), kCommitInsideEdit);
    return true;
}

}  // namespace VSTGUI
