#include "display/anim_knob4.h"

#include <cstring>

#include "ui/bitmap.h"
#include "ui/draw_context.h"
#include "ui/filmstrip.h"
#include "ui/font.h"
#include "ui/wheel_notch.h"

using namespace VSTGUI;

CAnimKnob4::CAnimKnob4(const CRect &size, CControlListener *listener, long tag, int subPixmaps, CCoord heightOfOneImage,
                       CBitmap *background, const CPoint &offset)
    : CAnimKnob(size, listener, tag, subPixmaps, heightOfOneImage, background, offset)
{
}

int CAnimKnob4::frameOfPosition(float q) const
{
    int index = (int)((float)(subPixmaps - 1) * q + 0.5f);
    return index < 0 ? 0 : (index > subPixmaps - 1 ? subPixmaps - 1 : index);
}

int CAnimKnob4::drawnFrame() const { return value > 0.f ? frameOfPosition(value) : 0; }

void CAnimKnob4::draw(CDrawContext *context)
{
    drawFilmstripFrame(context, background, size, CPoint(offset.x, offset.y), drawnFrame(), heightOfOneImage);
    setDirty(false);
}

float CAnimKnob4::valuePerPixel(const CButtonState &buttons) const
{
    float pixels = 1000.f * dragFactor;
    if (buttons & kShift)
        pixels *= fineFactor;
    return pixels > 0.f ? (vmax - vmin) / pixels : 0.f;
}

CMouseEventResult CAnimKnob4::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton) || !listener)
        return kMouseEventNotHandled;
    Gesture &drag = beginGesture(where, buttons);
    if ((buttons & kControl) || buttons.isDoubleClick()) {
        commitValue(defaultValue);
        endGesture();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    drag.valuePerPixel = valuePerPixel(buttons);
    onMouseMoved(where, buttons);
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob4::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    Gesture *drag = currentGesture();
    if (!drag || !(buttons & kLButton))
        return kMouseEventNotHandled;
    const float delta = (float)(where.x - drag->start.x) + (float)(drag->start.y - where.y);
    if (buttons != drag->buttons) {
        // A new rate from here on; the start moves so that the value stays where it is.
        const float rate = valuePerPixel(buttons);
        drag->startValue += (drag->valuePerPixel - rate) * delta;
        drag->valuePerPixel = rate;
        drag->buttons = buttons;
    }
    commitValue(drag->startValue + delta * drag->valuePerPixel);
    return kMouseEventHandled;
}

bool CAnimKnob4::onWheel(const CPoint &, const float &distance, const CButtonState &buttons)
{
    const float d = wheelNotches(distance);
    const float step = (buttons & kShift) ? wheelStep * wheelFineFactor * d : wheelStep * d;
    commitValue(value + step, kCommitInsideEdit);
    return true;
}

// ---------------------------------------------------------------------------------------------

int CRmsLedRefKnob::drawnFrame() const
{
    if (!(value > 0.f))
        return 0;
    return frameOfPosition((float)(int)(value * 6.f + 0.5f) / 6.f);
}

namespace {
// The over knobs keep their end positions off the strip's first and last frames.
float overPosition(float value, float lowest, float secondHighest, float highest)
{
    int c = (int)(value * 9.f + 0.5f);
    float shown = (float)c;
    if (c == 0)
        shown = lowest;
    else if (c == 8 && secondHighest > 0.f)
        shown = secondHighest;
    else if (c == 9)
        shown = highest;
    return shown / 9.f;
}
}  // namespace

int CRmsOverLedKnob::drawnFrame() const { return frameOfPosition(overPosition(value, 0.4f, 0.f, 8.5f)); }

int CVuLedRefKnob::drawnFrame() const
{
    if (value < 0.f)
        return 0;
    static const float positions[4] = {0.1f, 0.38f, 0.62f, 0.9f};
    int c = (int)(value * 3.f + 0.5f);
    c = c < 0 ? 0 : (c > 3 ? 3 : c);
    return frameOfPosition(positions[c]);
}

int CVuOverLedKnob::drawnFrame() const { return frameOfPosition(overPosition(value, 0.4f, 7.8f, 8.7f)); }

int CVuBackLitKnob::drawnFrame() const
{
    static const float positions[5] = {0.3f, 0.4f, 0.5f, 0.6f, 0.7f};
    int c = (int)(value * 4.f + 0.5f);
    return frameOfPosition(c >= 0 && c <= 4 ? positions[c] : 0.f);
}

// ---------------------------------------------------------------------------------------------

CFrontReferenceControl::CFrontReferenceControl(const CRect &size, CControlListener *listener, long tag,
                                               CBitmap *background, const CPoint &offset)
    : CAnimKnob4(size, listener, tag, 1, background ? background->getHeight() : size.getHeight(), background, offset)
{
}

void CFrontReferenceControl::setReferenceText(const char *text)
{
    std::strncpy(referenceText, text ? text : "", kTextCapacity - 1);
    referenceText[kTextCapacity - 1] = 0;
    setDirty(true);
}

void CFrontReferenceControl::draw(CDrawContext *context)
{
    if (background)
        context->drawBitmap(background, size, CPoint(0, 0));
    context->setFont(kNormalFontVerySmall);
    context->setFontColor(CColor(200, 193, 193, 255));
    context->drawString(referenceText, CRect(size.left + 81, size.top, size.right - 2, size.bottom), kCenterText, true);
    setDirty(false);
}

CMouseEventResult CFrontReferenceControl::onMouseEntered(CPoint &, const CButtonState &)
{
    return hintOnEnter(tag, 0.f);
}

CMouseEventResult CFrontReferenceControl::onMouseExited(CPoint &, const CButtonState &) { return hintOnExit(); }
