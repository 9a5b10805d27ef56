// The Windows backend: pictures and drawing through GDI+. [ui-thread]
#pragma once

#include <windows.h>
// Left out by WIN32_LEAN_AND_MEAN, needed by GDI+ (streams, property ids).
#include <ole2.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <string>

#include "gdiplus_session.h"
#include "ui/bitmap.h"
#include "ui/draw_context.h"

namespace VSTGUI {

std::wstring toWide(const char *utf8);

class GdiplusBitmap : public IPlatformBitmap {
public:
    // Takes over the bitmap and one GDI+ reference (acquireGdiplus), given back with it.
    explicit GdiplusBitmap(Gdiplus::Bitmap *bitmap, bool opaque = false) : bitmap(bitmap), opaque(opaque) {}
    ~GdiplusBitmap() override
    {
        delete bitmap;
        releaseGdiplus();
    }
    int getWidth() const override { return (int)bitmap->GetWidth(); }
    int getHeight() const override { return (int)bitmap->GetHeight(); }
    bool getPixel(int x, int y, CColor &color) const override;
    bool isOpaque() const override { return opaque; }
    Gdiplus::Bitmap *get() const { return bitmap; }

private:
    Gdiplus::Bitmap *bitmap;
    bool opaque;
};

class GdiplusDrawContext : public CDrawContext {
public:
    // Draws into the picture (the window's back buffer or an offscreen bitmap).
    explicit GdiplusDrawContext(Gdiplus::Bitmap *target);
    ~GdiplusDrawContext() override;

    void drawLine(const CPoint &from, const CPoint &to) override;
    void drawRect(const CRect &rect, CDrawStyle style = kDrawStroked) override;
    void drawBitmap(CBitmap *bitmap, const CRect &dest, const CPoint &source = CPoint(), float alpha = 1.f) override;
    // Draws everything after it through the graphics' scale transform.
    void setDeviceScale(double scale) override;

    // For platform fonts: the graphics clipped to the clip rectangle, and a brush of the font
    // colour at the current opacity.
    Gdiplus::Graphics *getGraphics();
    Gdiplus::SolidBrush *getFontBrush();
    Gdiplus::Color toColor(const CColor &color) const;

private:
    void prepare();

    // Draws the bitmap part pixel by pixel (pixel_blend.h); false when the pictures' pixels
    // cannot be reached, and GDI+ draws it. Every coordinate is in pixels of the target.
    bool blendBitmap(Gdiplus::Bitmap *picture, const CRect &targetClip, const CPoint &targetOrigin,
                     const CPoint &source, CCoord width, CCoord height, float opacity);
    // A zoomed drawing (logical coordinates) from the bitmap's pixel set for the device scale.
    void drawScaledBitmap(const CBitmap &bitmap, const CPoint &origin, const CPoint &source, CCoord width,
                          CCoord height, float opacity);

    Gdiplus::Bitmap *target;
    bool holdsGdiplus;  // a reference of the GDI+ session
    Gdiplus::Graphics *graphics;
    Gdiplus::SolidBrush *fontBrush = nullptr;
};

}  // namespace VSTGUI
