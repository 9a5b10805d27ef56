#include "control.h"

#include "bitmap.h"

namespace VSTGUI {

CControl::CControl(const CRect &size, CControlListener *listener, long tag, CBitmap *background)
    : CView(size), listener(listener), tag(tag)
{
    setBackground(background);
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
    float old = value;
    beginEdit();
    setValue(defaultValue);
    if (value != old)
        valueChanged();
    endEdit();
    invalid();
    return true;
}

}  // namespace VSTGUI
