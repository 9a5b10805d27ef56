#include "controls/zem_latency_control.h"

#include "params/parameter_table.h"
#include "ui/draw_context.h"
#include "ui/font.h"
#include "ui/wheel_notch.h"

using namespace VSTGUI;

CZEMLatencyControl::CZEMLatencyControl(const CRect &size, CControlListener *listener, long tag, CBitmap *background)
    : CAnimKnob(size, listener, tag, 3, kLayerHeight, background)
{
}

int CZEMLatencyControl::milliseconds() const { return lagMilliseconds(value); }

void CZEMLatencyControl::draw(CDrawContext *context)
{
    if (background)
        context->drawBitmap(background, size, CPoint(0, 0));
    const int n = milliseconds();
    const int digits[3] = {n / 100 % 10, n / 10 % 10, n % 10};
    context->setFont(kNormalFontSmaller, 11, kBoldFace);  // the size-10 Arial, drawn at 11 in bold
    context->setFontColor(CColor(0, 0, 0, 255));
    for (int i = 0; i < 3; ++i) {
        const char text[2] = {(char)('0' + digits[i]), 0};
        CRect cell(size.left + 4 + 7 * i, size.top + 16, size.left + 10 + 7 * i, size.top + 28);
        context->drawString(text, cell, kCenterText, true);
    }
    if (background) {
        context->drawBitmap(background, size, CPoint(0, kLayerHeight));
        context->drawBitmap(background, size, CPoint(0, 2 * kLayerHeight));
    }
    setDirty(false);
}

CMouseEventResult CZEMLatencyControl::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton) || !listener)
        return kMouseEventNotHandled;
    beginGesture(where, buttons);
    const CCoord centre = size.left + (size.right - size.left) * 0.5;
    const bool inArrowColumn = where.x >= centre - 10 && where.x <= centre + 10;
    const float step = (buttons & kShift) ? 1.f / 999.f : 10.f / 999.f;
    if (inArrowColumn && (where.y <= size.top + 14 || where.y >= size.top + 26)) {
        commitValue(where.y <= size.top + 14 ? value + step : value - step, kCommitAlwaysReport);
        endGesture();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if (buttons.isDoubleClick()) {
        resetRequested = true;
        commitValue(defaultValue, kCommitAlwaysReport);
        endGesture();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    return kMouseEventHandled;
}

CMouseEventResult CZEMLatencyControl::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    Gesture *drag = currentGesture();
    if (!drag || !(buttons & kLButton))
        return kMouseEventNotHandled;
    const float pixels = (float)(drag->start.y - where.y);
    const float change = (buttons & kShift) ? pixels / 10.f / 999.f : pixels * 2.f / 999.f;
    commitValue(value + change);
    drag->start.y = where.y;
    return kMouseEventHandled;
}

bool CZEMLatencyControl::onWheel(const CPoint &, const float &distance, const CButtonState &buttons)
{
    commitValue(value + wheelChange(distance, wheelStep, (buttons & kShift) != 0, fineWheelFactor), kCommitInsideEdit);
    return true;
}
