#include "controls/zem_slider.h"

#include "ui/draw_context.h"
#include "ui/wheel_notch.h"

using namespace VSTGUI;

namespace {
float bounded01(float v) { return v < 0.f ? 0.f : (v > 1.f ? 1.f : v); }
}  // namespace

CMouseEventResult CZEMSlider::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    if (buttons.isDoubleClick()) {
        beginEdit();
        commitValue(defaultValue);
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    beginGesture(where, buttons);
    return kMouseEventHandled;
}

CMouseEventResult CZEMSlider::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    Gesture *drag = currentGesture();
    if (!drag || !(buttons & kLButton))
        return kMouseEventNotHandled;
    const float normalized = getValueNormalized();
    const CCoord recorded = isVertical() ? drag->start.y : drag->start.x;
    const CCoord current = isVertical() ? where.y : where.x;
    const CCoord handleStart = isVertical() ? (1.f - normalized) * travel + size.top + offsetHandle.y
                                            : normalized * travel + size.left + offsetHandle.x;
    const CCoord handleEnd = handleStart + (isVertical() ? handleHeight : handleWidth);
    const bool onHandle = recorded >= handleStart && recorded <= handleEnd;
    const bool fine = (buttons & kShift) != 0;
    float next = normalized;
    if (onHandle || (drag->started && fine)) {
        drag->started = true;
        float delta = travel > 0 ? (float)((recorded - current) / travel) : 0.f;
        if (fine)
            delta *= fineDragFactor;
        next = bounded01(isVertical() ? normalized + delta : normalized - delta);
        if (isVertical())
            drag->start.y = current;
        else
            drag->start.x = current;
    } else if (drag->started) {
        next = valueAt(where);  // the handle's centre follows the pointer
    }
    commitValue(vmin + next * (vmax - vmin));
    return kMouseEventHandled;
}

bool CZEMSlider::onWheel(const CPoint &, const float &distance, const CButtonState &buttons)
{
    commitValue(value + wheelChange(distance, wheelStep, (buttons & kShift) != 0, fineWheelFactor), kCommitInsideEdit);
    return true;
}

// ---------------------------------------------------------------------------------------------

void CZEMSliderAH::draw(CDrawContext *context)
{
    float alpha = context->getGlobalAlpha();
    if (isInert())
        context->setGlobalAlpha(0.5f);
    CZEMSlider::draw(context);
    context->setGlobalAlpha(alpha);
}

CMouseEventResult CZEMSliderAH::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (isInert())
        return kMouseEventHandled;
    return CZEMSlider::onMouseDown(where, buttons);
}

CMouseEventResult CZEMSliderAH::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    if (isInert())
        return kMouseEventHandled;
    return CZEMSlider::onMouseMoved(where, buttons);
}

bool CZEMSliderAH::onWheel(const CPoint &where, const float &distance, const CButtonState &buttons)
{
    if (isInert())
        return true;
    return CZEMSlider::onWheel(where, distance, buttons);
}

CMouseEventResult CZEMSliderAH::onMouseEntered(CPoint &, const CButtonState &)
{
    return activeHintOnEnter(*this, tag);  // "Click PROCESS to activate the Trim"
}

CMouseEventResult CZEMSliderAH::onMouseExited(CPoint &, const CButtonState &) { return hintOnExit(); }
