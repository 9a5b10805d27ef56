// Drawing surfaces. Coordinates are local: the context's offset is added to every position.
// The clip rectangle is kept in surface coordinates. [ui-thread]
#pragma once

#include "base_object.h"
#include "geometry.h"

namespace VSTGUI {

class CBitmap;
class CFontDesc;
class CView;

enum CDrawMode { kAliasing = 0, kAntialias = 1 };
enum CLineStyle { kLineSolid = 0, kLineOnOffDash };
enum CDrawStyle { kDrawStroked = 0, kDrawFilled, kDrawFilledAndStroked };
enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

class CDrawContext : public CBaseObject {
public:
    CDrawContext(CCoord surfaceWidth, CCoord surfaceHeight);
    ~CDrawContext() override;

    void setLineWidth(CCoord width) { lineWidth = width; }
    CCoord getLineWidth() const { return lineWidth; }
    void setLineStyle(CLineStyle style) { lineStyle = style; }
    CLineStyle getLineStyle() const { return lineStyle; }
    void setDrawMode(CDrawMode mode) { drawMode = mode; }
    CDrawMode getDrawMode() const { return drawMode; }
    void setFrameColor(const CColor &color) { frameColor = color; }
    const CColor &getFrameColor() const { return frameColor; }
    void setFillColor(const CColor &color) { fillColor = color; }
    const CColor &getFillColor() const { return fillColor; }
    void setFontColor(const CColor &color) { fontColor = color; }
    const CColor &getFontColor() const { return fontColor; }
    // size 0 and style -1 keep the font's own; otherwise the context uses a copy with them.
    void setFont(CFontDesc *font, double size = 0, int style = -1);
    CFontDesc *getFont() const { return font; }
    // Opacity applied to everything drawn, 0..1.
    void setGlobalAlpha(float alpha);
    float getGlobalAlpha() const { return globalAlpha; }

    // The factor from logical to device pixels: every coordinate given to the context is logical
    // and the backend draws it that much larger. 1 (every context at first) draws pixel for pixel.
    // Setting it (finite, > 0, else ignored) makes the surface's logical size the device size
    // divided by it and resets the clip rectangle to the whole surface.
    virtual void setDeviceScale(double scale);
    double getDeviceScale() const { return deviceScale; }

    void setOffset(const CPoint &newOffset) { offset = newOffset; }
    const CPoint &getOffset() const { return offset; }
    // The clip rectangle, in local coordinates; it never reaches beyond the surface.
    void setClipRect(const CRect &rect);
    CRect getClipRect() const;
    void resetClipRect();
    const CRect &getAbsoluteClipRect() const { return clip; }

    void moveTo(const CPoint &point) { penPosition = point; }
    void lineTo(const CPoint &point)
    {
        drawLine(penPosition, point);
        penPosition = point;
    }
    virtual void drawLine(const CPoint &from, const CPoint &to) = 0;
    virtual void drawRect(const CRect &rect, CDrawStyle style = kDrawStroked) = 0;
    // Copies the part of the bitmap that starts at source and has dest's size (no scaling);
    // where the bitmap ends, nothing is drawn.
    virtual void drawBitmap(CBitmap *bitmap, const CRect &dest, const CPoint &source = CPoint(), float alpha = 1.f) = 0;
    // Text with the current font and font colour, clipped to rect and centred vertically.
    void drawString(const char *utf8, const CRect &rect, CHoriTxtAlign align = kCenterText, bool antialias = true);
    // Text starting at the left end of its baseline.
    void drawString(const char *utf8, const CPoint &baseline, bool antialias = true);
    CCoord getStringWidth(const char *utf8);

protected:
    // The part of a bitmap of bitmapWidth x bitmapHeight that drawBitmap copies to dest from
    // source: dest's size, cut where the bitmap ends. False when nothing is left to draw.
    static bool bitmapPartSize(const CRect &dest, const CPoint &source, CCoord bitmapWidth, CCoord bitmapHeight,
                               CCoord &width, CCoord &height);

    CCoord deviceWidth, deviceHeight;
    double deviceScale = 1.0;
    CRect surfaceRect;  // logical
    CRect clip;
    CPoint offset;
    CPoint penPosition;
    CCoord lineWidth = 1;
    CLineStyle lineStyle = kLineSolid;
    CDrawMode drawMode = kAliasing;
    CColor frameColor = kBlackCColor;
    CColor fillColor = kWhiteCColor;
    CColor fontColor = kWhiteCColor;
    CFontDesc *font = nullptr;
    float globalAlpha = 1.f;
};

// Implemented by the backend: a context that draws into the bitmap (made with its size).
CDrawContext *createBitmapDrawContext(CBitmap *bitmap);

class COffscreenContext {
public:
    // Renders the area (frame coordinates) of the view tree that holds view into a new
    // picture of the area's size times scale (rounded up): the view and everything it draws,
    // over transparency, drawn at that device scale.
    static CBitmap *renderView(CView *view, const CRect &area, double scale = 1.0);
};

}  // namespace VSTGUI
