// The library's ready-made controls. Bitmaps with several states stack equal frames
// vertically; a control is as high as one frame. Thread: the UI thread.
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

// Two frames: the upper for off (min), the lower for on (max). A left click toggles.
class COnOffButton : public CControl {
public:
    COnOffButton(const CRect &size, CControlListener *listener, long tag, CBitmap *background);
    void draw(CDrawContext *context) override;
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    VSTGUI_TYPE(COnOffButton, CControl)
};

// Reports max on press and min on release; the lower frame shows while pressed.
class CKickButton : public CControl {
public:
    CKickButton(const CRect &size, CControlListener *listener, long tag, CBitmap *background,
                const CPoint &offset = CPoint());
    void draw(CDrawContext *context) override;
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseUp(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons) override;
    VSTGUI_TYPE(CKickButton, CControl)

protected:
    CPoint offset;
    bool pressedInside = false;
};

// A handle moving over an optional background, horizontally or vertically.
class CSlider : public CControl {
public:
    enum Style { kHorizontal = 1 << 0, kVertical = 1 << 1, kLeft = 1 << 2, kRight = 1 << 3, kTop = 1 << 4,
                 kBottom = 1 << 5 };

    // travel: the handle's movement in pixels from one end to the other. offsetHandle: where the
    // handle's travel starts, relative to the control. offset: source offset of the background.
    // Horizontal sliders grow to the right (kLeft), vertical ones upwards (kBottom).
    CSlider(const CRect &size, CControlListener *listener, long tag, const CPoint &offsetHandle, CCoord travel,
            CBitmap *handle, CBitmap *background, const CPoint &offset = CPoint(), int style = kHorizontal | kLeft);
    ~CSlider() override;

    bool isVertical() const { return (style & kVertical) != 0; }
    int getStyle() const { return style; }
    CCoord getHandleTravel() const { return travel; }
    const CPoint &getOffsetHandle() const { return offsetHandle; }
    CCoord getHandleWidth() const { return handleWidth; }
    CCoord getHandleHeight() const { return handleHeight; }
    CBitmap *getHandle() const { return handle; }
    // Shift divides the drag speed by this factor.
    void setZoomFactor(float factor) { zoomFactor = factor; }
    // The handle's rectangle for the current value, in the control's coordinates (parent's).
    CRect getHandleRect() const;

    void draw(CDrawContext *context) override;
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseUp(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons) override;
    bool onWheel(const CPoint &where, const float &distance, const CButtonState &buttons) override;
    VSTGUI_TYPE(CSlider, CControl)

protected:
    // The normalised value whose handle centre lies at the pointer coordinate along the axis.
    float valueAt(const CPoint &where) const;

    CPoint offsetHandle;
    CCoord travel;
    CBitmap *handle;
    CPoint offset;
    int style;
    CCoord handleWidth = 0, handleHeight = 0;
    float zoomFactor = 10.f;
    float wheelInc = 0.1f;
    bool dragging = false;
    float dragStartValue = 0.f;
    CPoint dragStart;
    CButtonState dragButtons;
};

// A filmstrip: frame integer(normalised value x (frames - 1) + 0.5) is shown.
class CAnimKnob : public CControl {
public:
    CAnimKnob(const CRect &size, CControlListener *listener, long tag, int subPixmaps, CCoord heightOfOneImage,
              CBitmap *background, const CPoint &offset = CPoint());
    int getNumSubPixmaps() const { return subPixmaps; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage; }
    const CPoint &getOffset() const { return offset; }
    int frameIndex() const;

    void draw(CDrawContext *context) override;
    // Linear drag: 200 pixels up or right cover the range (Shift: ten times as many);
    // Ctrl-click restores the default value.
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseUp(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons) override;
    bool onWheel(const CPoint &where, const float &distance, const CButtonState &buttons) override;
    VSTGUI_TYPE(CAnimKnob, CControl)

protected:
    int subPixmaps;
    CCoord heightOfOneImage;
    CPoint offset;
    bool dragging = false;
    CPoint dragStart;
    float dragStartValue = 0.f;
};

// n positions side by side; a click or drag picks the position under the mouse.
class CHorizontalSwitch : public CControl {
public:
    CHorizontalSwitch(const CRect &size, CControlListener *listener, long tag, int subPixmaps,
                      CCoord heightOfOneImage, int positions, CBitmap *background, const CPoint &offset = CPoint());
    int getNumPositions() const { return positions; }
    int position() const;

    void draw(CDrawContext *context) override;
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseUp(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons) override;
    VSTGUI_TYPE(CHorizontalSwitch, CControl)

protected:
    void pickAt(const CPoint &where);

    int subPixmaps;
    CCoord heightOfOneImage;
    int positions;
    CPoint offset;
};

// Shows the frame of its value; it takes no mouse events.
class CMovieBitmap : public CControl {
public:
    CMovieBitmap(const CRect &size, CControlListener *listener, long tag, int subPixmaps, CCoord heightOfOneImage,
                 CBitmap *background, const CPoint &offset = CPoint());
    int frameIndex() const;
    void draw(CDrawContext *context) override;
    VSTGUI_TYPE(CMovieBitmap, CControl)

protected:
    int subPixmaps;
    CCoord heightOfOneImage;
    CPoint offset;
};

}  // namespace VSTGUI
