#include "text_label.h"

#include "bitmap.h"

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

}  // namespace VSTGUI
