// The cairo backend: pictures are ARGB32 image surfaces, text uses cairo's font selection.
// [ui-thread]
#pragma once

#include <cairo.h>

#include "ui/bitmap.h"
#include "ui/draw_context.h"

namespace VSTGUI {

class CairoBitmap : public IPlatformBitmap {
public:
    explicit CairoBitmap(cairo_surface_t *surface, bool opaque = false) : surface(surface), opaque(opaque) {}
    ~CairoBitmap() override { cairo_surface_destroy(surface); }
    int getWidth() const override { return cairo_image_surface_get_width(surface); }
    int getHeight() const override { return cairo_image_surface_get_height(surface); }
    bool getPixel(int x, int y, CColor &color) const override;
    bool isOpaque() const override { return opaque; }
    cairo_surface_t *getSurface() const { return surface; }

private:
    cairo_surface_t *surface;
    bool opaque;
};

class CairoDrawContext : public CDrawContext {
public:
    explicit CairoDrawContext(cairo_surface_t *surface);
    ~CairoDrawContext() override;

    void drawLine(const CPoint &from, const CPoint &to) override;
    void drawRect(const CRect &rect, CDrawStyle style = kDrawStroked) override;
    void drawBitmap(CBitmap *bitmap, const CRect &dest, const CPoint &source = CPoint(), float alpha = 1.f) override;
    // Draws everything after it through cairo's scale transform.
    void setDeviceScale(double scale) override;

    cairo_t *getCairo() const { return cr; }
    // Makes the area fully transparent, so that a redraw starts from nothing.
    void clearRect(const CRect &rect);
    // Saves the state and clips to the clip rectangle; end() restores it.
    void begin();
    void end() { cairo_restore(cr); }
    void setSourceColor(const CColor &color);

private:
    cairo_t *cr;
};

}  // namespace VSTGUI
