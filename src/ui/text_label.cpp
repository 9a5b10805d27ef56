#include "bitmap.h"
#include "controls.h"

namespace VSTGUI {

CTextLabel::CTextLabel(const CRect &size, const char *initialText, CBitmap *background, int style)
    : CControl(size, nullptr, -1, background), text(initialText ? initialText : ""), font(kNormalFontVerySmall),
      style(style)
{
    font->remember();
}

CTextLabel::~CTextLabel() { font->forget(); }

void CTextLabel::setText(const char *newText)
{
    std::string t = newText ? newText : "";
    if (t != text) {
        text = t;
        setDirty(true);
    }
}

void CTextLabel::setFont(CFontDesc *newFont)
{
    if (!newFont)
        return;
    newFont->remember();
    font->forget();
    font = newFont;
    setDirty(true);
}

void CTextLabel::setValueToStringFunction(ValueToString function, void *userData)
{
    valueToString = function;
    valueToStringData = userData;
}

void CTextLabel::setValue(float newValue)
{
    CControl::setValue(newValue);
    if (valueToString) {
        char buffer[256] = {0};
        valueToString(value, buffer, valueToStringData);
        buffer[255] = 0;
        setText(buffer);
    }
}

void CTextLabel::drawBack(CDrawContext *context)
{
    if (background) {
        context->drawBitmap(background, size, backOffset);
    } else if (!(style & kNoDrawBackground)) {
        context->setFillColor(backColor);
        context->drawRect(size, kDrawFilled);
    }
    if (!(style & kNoFrame)) {
        context->setFrameColor(frameColor);
        context->setLineWidth(1);
        context->setLineStyle(kLineSolid);
        CRect r(size);
        context->drawRect(r.inset(0.5, 0.5), kDrawStroked);
    }
}

void CTextLabel::drawText(CDrawContext *context, const CRect &rect)
{
    if (text.empty())
        return;
    context->setFont(font);
    context->setFontColor(fontColor);
    context->drawString(text.c_str(), rect, horiAlign, antialias);
}

void CTextLabel::draw(CDrawContext *context)
{
    drawBack(context);
    drawText(context, size);
    setDirty(false);
}

// ---------------------------------------------------------------------------------------------

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
    beginEdit();
    value = value >= vmax ? vmin : vmax;
    invalid();
    valueChanged();
    endEdit();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

// ---------------------------------------------------------------------------------------------

CKickButton::CKickButton(const CRect &size, CControlListener *listener, long tag, CBitmap *background,
                         const CPoint &offset)
    : CControl(size, listener, tag, background), offset(offset)
{
}

void CKickButton::draw(CDrawContext *context)
{
    if (background) {
        CCoord y = (value >= vmax ? size.getHeight() : 0) + offset.y;
        context->drawBitmap(background, size, CPoint(offset.x, y));
    }
    setDirty(false);
}

CMouseEventResult CKickButton::onMouseDown(CPoint &, const CButtonState &buttons)
{
    if (!(buttons & kLButton))
        return kMouseEventNotHandled;
    beginEdit();
    pressedInside = true;
    value = vmax;
    invalid();
    valueChanged();
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    if (!(buttons & kLButton) || !isEditing())
        return kMouseEventNotHandled;
    bool inside = size.pointInside(where);
    if (inside != pressedInside) {
        pressedInside = inside;
        value = inside ? vmax : vmin;
        invalid();
        valueChanged();
    }
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint &, const CButtonState &)
{
    if (!isEditing())
        return kMouseEventNotHandled;
    if (value != vmin) {
        value = vmin;
        valueChanged();
    }
    pressedInside = false;
    invalid();
    endEdit();
    return kMouseEventHandled;
}

}  // namespace VSTGUI
