#include "controls.h"

#include "bitmap.h"

namespace VSTGUI {

namespace {

float clamp01(float v) { return v < 0.f ? 0.f : (v > 1.f ? 1.f : v); }

int frameOf(float normalized, int frames)
{
    if (frames <= 1)
        return 0;
    int index = (int)(clamp01(normalized) * (float)(frames - 1) + 0.5f);
    return index < 0 ? 0 : (index > frames - 1 ? frames - 1 : index);
}

// Frames of a filmstrip stand one below the other, heightOfOneImage apart, from offset on.
void drawFilmstripFrame(CDrawContext *context, CBitmap *strip, const CRect &size, const CPoint &offset, int frame,
                        CCoord heightOfOneImage)
{
    if (strip)
        context->drawBitmap(strip, size, CPoint(offset.x, offset.y + frame * heightOfOneImage));
}

}  // namespace

// ---------------------------------------------------------------------------------------------

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
    beginEdit();
    if (!getHandleRect().pointInside(where)) {
        float old = value;
        setValueNormalized(valueAt(where));
        if (value != old) {
            invalid();
            valueChanged();
        }
    }
    dragging = true;
    dragStart = where;
    dragStartValue = getValueNormalized();
    dragButtons = buttons;
    return kMouseEventHandled;
}

CMouseEventResult CSlider::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    if (!dragging || !(buttons & kLButton))
        return kMouseEventNotHandled;
    if ((buttons & kShift) != (dragButtons & kShift)) {
        // Rebase so that switching the fine mode does not move the handle.
        dragStart = where;
        dragStartValue = getValueNormalized();
        dragButtons = buttons;
    }
    CCoord delta = isVertical() ? dragStart.y - where.y : where.x - dragStart.x;
    if (buttons & kShift)
        delta /= zoomFactor;
    float old = value;
    setValueNormalized(travel > 0 ? dragStartValue + (float)(delta / travel) : dragStartValue);
    if (value != old) {
        invalid();
        valueChanged();
    }
    return kMouseEventHandled;
}

CMouseEventResult CSlider::onMouseUp(CPoint &, const CButtonState &)
{
    if (!dragging)
        return kMouseEventNotHandled;
    dragging = false;
    endEdit();
    return kMouseEventHandled;
}

bool CSlider::onWheel(const CPoint &, const float &distance, const CButtonState &buttons)
{
    float step = distance * wheelInc;
    if (buttons & kShift)
        step /= zoomFactor;
    float old = value;
    setValueNormalized(getValueNormalized() + step);
    if (value != old) {
        invalid();
        beginEdit();
        valueChanged();
        endEdit();
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

CAnimKnob::CAnimKnob(const CRect &size, CControlListener *listener, long tag, int subPixmaps,
                     CCoord heightOfOneImage, CBitmap *background, const CPoint &offset)
    : CControl(size, listener, tag, background), subPixmaps(subPixmaps), heightOfOneImage(heightOfOneImage),
      offset(offset)
{
}

int CAnimKnob::frameIndex() const { return frameOf(getValueNormalized(), subPixmaps); }

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
    beginEdit();
    dragging = true;
    dragStart = where;
    dragStartValue = getValueNormalized();
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    if (!dragging || !(buttons & kLButton))
        return kMouseEventNotHandled;
    CCoord delta = (where.x - dragStart.x) + (dragStart.y - where.y);
    CCoord range = (buttons & kShift) ? 2000 : 200;
    float old = value;
    setValueNormalized(dragStartValue + (float)(delta / range));
    if (value != old) {
        invalid();
        valueChanged();
    }
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseUp(CPoint &, const CButtonState &)
{
    if (!dragging)
        return kMouseEventNotHandled;
    dragging = false;
    endEdit();
    return kMouseEventHandled;
}

bool CAnimKnob::onWheel(const CPoint &, const float &distance, const CButtonState &buttons)
{
    float step = distance * ((buttons & kShift) ? 0.01f : 0.1f);
    float old = value;
    setValueNormalized(getValueNormalized() + step);
    if (value != old) {
        invalid();
        beginEdit();
        valueChanged();
        endEdit();
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

CHorizontalSwitch::CHorizontalSwitch(const CRect &size, CControlListener *listener, long tag, int subPixmaps,
                                     CCoord heightOfOneImage, int positions, CBitmap *background,
                                     const CPoint &offset)
    : CControl(size, listener, tag, background), subPixmaps(subPixmaps), heightOfOneImage(heightOfOneImage),
      positions(positions < 1 ? 1 : positions), offset(offset)
{
}

int CHorizontalSwitch::position() const { return frameOf(getValueNormalized(), positions); }

void CHorizontalSwitch::draw(CDrawContext *context)
{
    drawFilmstripFrame(context, background, size, offset, frameOf(getValueNormalized(), subPixmaps),
                       heightOfOneImage);
    setDirty(false);
}

void CHorizontalSwitch::pickAt(const CPoint &where)
{
    CCoord cell = size.getWidth() / positions;
    int pos = cell > 0 ? (int)((where.x - size.left) / cell) : 0;
    pos = pos < 0 ? 0 : (pos > positions - 1 ? positions - 1 : pos);
    float old = value;
    setValueNormalized(positions > 1 ? (float)pos / (float)(positions - 1) : 0.f);
    if (value != old) {
        invalid();
        valueChanged();
    }
}

CMouseEventResult CHorizontalSwitch::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    beginEdit();
    pickAt(where);
    return kMouseEventHandled;
}

CMouseEventResult CHorizontalSwitch::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    if (!isEditing() || !(buttons & kLButton))
        return kMouseEventNotHandled;
    pickAt(where);
    return kMouseEventHandled;
}

CMouseEventResult CHorizontalSwitch::onMouseUp(CPoint &, const CButtonState &)
{
    if (!isEditing())
        return kMouseEventNotHandled;
    endEdit();
    return kMouseEventHandled;
}

// ---------------------------------------------------------------------------------------------

CMovieBitmap::CMovieBitmap(const CRect &size, CControlListener *listener, long tag, int subPixmaps,
                           CCoord heightOfOneImage, CBitmap *background, const CPoint &offset)
    : CControl(size, listener, tag, background), subPixmaps(subPixmaps), heightOfOneImage(heightOfOneImage),
      offset(offset)
{
}

int CMovieBitmap::frameIndex() const { return frameOf(getValueNormalized(), subPixmaps); }

void CMovieBitmap::draw(CDrawContext *context)
{
    drawFilmstripFrame(context, background, size, offset, frameIndex(), heightOfOneImage);
    setDirty(false);
}

}  // namespace VSTGUI
