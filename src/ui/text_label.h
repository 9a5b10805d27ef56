// A text label of the view library. Bitmaps with several states stack equal frames
// vertically; a control is as high as one frame. [ui-thread]
#pragma once

#include <string>

#include "control.h"
#include "draw_context.h"
#include "font.h"

namespace VSTGUI {

// A text with font, colours and alignment over an optional picture.
class CTextLabel : public CControl {
public:
    enum Style { kNoFrame = 1 << 0, kNoDrawBackground = 1 << 1 };
    typedef void (*ValueToString)(float value, char *text256, void *userData);

    CTextLabel(const CRect &size, const char *text = nullptr, CBitmap *background = nullptr, int style = 0);
    ~CTextLabel() override;

    virtual void setText(const char *text);
    const char *getText() const { return text.c_str(); }
    void setFont(CFontDesc *newFont);
    CFontDesc *getFont() const { return font; }
    void setFontColor(const CColor &color) { fontColor = color; }
    const CColor &getFontColor() const { return fontColor; }
    void setBackColor(const CColor &color) { backColor = color; }
    const CColor &getBackColor() const { return backColor; }
    void setFrameColor(const CColor &color) { frameColor = color; }
    const CColor &getFrameColor() const { return frameColor; }
    void setHoriAlign(CHoriTxtAlign align) { horiAlign = align; }
    CHoriTxtAlign getHoriAlign() const { return horiAlign; }
    void setStyle(int newStyle) { style = newStyle; }
    int getStyle() const { return style; }
    void setAntialias(bool state) { antialias = state; }
    // The background picture is drawn from this offset.
    void setBackOffset(const CPoint &offset) { backOffset = offset; }
    const CPoint &getBackOffset() const { return backOffset; }
    // When installed, every setValue rewrites the text from the value.
    void setValueToStringFunction(ValueToString function, void *userData = nullptr);
    void setValue(float newValue) override;

    void draw(CDrawContext *context) override;
    // Draws the background picture, or the back colour unless kNoDrawBackground, and the frame.
    void drawBack(CDrawContext *context);
    void drawText(CDrawContext *context, const CRect &rect);

    VSTGUI_TYPE(CTextLabel, CControl)

protected:
    std::string text;
    CFontDesc *font;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CHoriTxtAlign horiAlign = kCenterText;
    int style;
    bool antialias = true;
    CPoint backOffset;
    ValueToString valueToString = nullptr;
    void *valueToStringData = nullptr;
};

}  // namespace VSTGUI
