#include "control.h"

#include "bitmap.h"

namespace VSTGUI {

CControl::CControl(const CRect &size, CControlListener *listener, long tag, CBitmap *background)
    : CView(size), listener(listener), tag(tag)
{
    setBackground(background);
}

void CControl::setValue(float newValue)
{
    if (newValue != value)
        setDirty(true);
    value = newValue;
}

bool CControl::commitValue(float newValue, int flags)
{
    float old = value;
    setValue(newValue);
    bounceValue();
    bool changed = value != old;
    if (changed || (flags & kCommitAlwaysReport)) {
        setDirty(true);
        if (flags & kCommitInsideEdit)
            beginEdit();
        valueChanged();
        if (flags & kCommitInsideEdit)
            endEdit();
    }
    return changed;
}

CControl::Gesture &CControl::beginGesture(const CPoint &where, const CButtonState &buttons, bool withEdit)
{
    endGesture();
    gesture.emplace();
    gesture->start = where;
    gesture->startValue = value;
    gesture->buttons = buttons;
    if (withEdit) {
        beginEdit();
        gesture->editing = true;
    }
    return *gesture;
}

void CControl::endGesture()
{
    if (!gesture)
        return;
    bool editing = gesture->editing;
    gesture.reset();
    if (editing)
        endEdit();
}

void CControl::finishGesture()
{
    if (gesture)
        releasePress();
    endGesture();
}

CMouseEventResult CControl::onMouseUp(CPoint &, const CButtonState &)
{
    if (!gesture)
        return kMouseEventNotHandled;
    finishGesture();
    return kMouseEventHandled;
}

CMouseEventResult CControl::onMouseCancel()
{
    finishGesture();
    return kMouseEventHandled;
}

float CControl::getValueNormalized() const
{
    float range = vmax - vmin;
    return range == 0.f ? 0.f : (value - vmin) / range;
}

void CControl::setValueNormalized(float normalized)
{
    if (normalized < 0.f)
        normalized = 0.f;
    if (normalized > 1.f)
        normalized = 1.f;
    setValue(vmin + normalized * (vmax - vmin));
}

void CControl::bounceValue()
{
    if (value > vmax)
        value = vmax;
    if (value < vmin)
        value = vmin;
}

void CControl::valueChanged()
{
    if (listener)
        listener->valueChanged(this);
}

void CControl::beginEdit()
{
    ++editDepth;
    if (listener)
        listener->controlBeginEdit(this);
}

void CControl::endEdit()
{
    if (editDepth > 0)
        --editDepth;
    if (listener)
        listener->controlEndEdit(this);
}

bool CControl::checkDefaultValue(const CButtonState &buttons)
{
    if (!(buttons & kLButton) || !(buttons & kControl))
        return false;
    beginEdit();
    commitValue(defaultValue);
    endEdit();
    return true;
}

}  // namespace VSTGUI
