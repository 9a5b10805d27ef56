#include "cairo_draw_context.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ui/pixel_blend.h"

namespace VSTGUI {

bool CairoBitmap::getPixel(int x, int y, CColor &color) const
{
    if (x < 0 || y < 0 || x >= getWidth() || y >= getHeight())
        return false;
    cairo_surface_flush(surface);
    const unsigned char *row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    uint32_t pixel;
    std::memcpy(&pixel, row + 4 * x, 4);
    unsigned a = pixel >> 24, r = (pixel >> 16) & 255, g = (pixel >> 8) & 255, b = pixel & 255;
    auto unpremultiply = [a](unsigned c) { return (uint8_t)(a == 0 ? 0 : (c * 255 + a / 2) / a); };
    color = CColor(unpremultiply(r), unpremultiply(g), unpremultiply(b), (uint8_t)a);
    return true;
}

IPlatformBitmap *createPlatformBitmap(int width, int height)
{
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return new CairoBitmap(surface);
}

namespace {

struct MemoryReader {
    const unsigned char *data;
    size_t size;
    size_t position;
};

cairo_status_t readFromMemory(void *closure, unsigned char *out, unsigned int length)
{
    auto *reader = static_cast<MemoryReader *>(closure);
    if (reader->size - reader->position < length)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, reader->data + reader->position, length);
    reader->position += length;
    return CAIRO_STATUS_SUCCESS;
}

// Full alpha in every pixel of an ARGB32 surface.
bool everyPixelOpaque(cairo_surface_t *surface)
{
    cairo_surface_flush(surface);
    const unsigned char *data = cairo_image_surface_get_data(surface);
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const unsigned char *row = data + (ptrdiff_t)y * stride;
        for (int x = 0; x < width; ++x) {
            uint32_t pixel;
            std::memcpy(&pixel, row + 4 * x, 4);
            if ((pixel >> 24) != 255)
                return false;
        }
    }
    return true;
}

}  // namespace

IPlatformBitmap *createPlatformBitmapFromPng(const unsigned char *data, size_t size)
{
    MemoryReader reader{data, size, 0};
    cairo_surface_t *surface = cairo_image_surface_create_from_png_stream(readFromMemory, &reader);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
        // Opaque images decode as RGB24; keep one pixel format for every picture.
        cairo_surface_t *argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(surface),
                                                           cairo_image_surface_get_height(surface));
        cairo_t *cr = cairo_create(argb);
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        surface = argb;
    }
    return new CairoBitmap(surface, everyPixelOpaque(surface));
}

CDrawContext *createBitmapDrawContext(CBitmap *bitmap)
{
    auto *platform = bitmap ? static_cast<CairoBitmap *>(bitmap->getPlatformBitmap()) : nullptr;
    return platform ? new CairoDrawContext(platform->getSurface()) : nullptr;
}

CairoDrawContext::CairoDrawContext(cairo_surface_t *surface)
    : CDrawContext(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)),
      cr(cairo_create(surface))
{
}

CairoDrawContext::~CairoDrawContext()
{
    cairo_surface_flush(cairo_get_target(cr));
    cairo_destroy(cr);
}

void CairoDrawContext::setDeviceScale(double scale)
{
    CDrawContext::setDeviceScale(scale);
    cairo_identity_matrix(cr);
    cairo_scale(cr, deviceScale, deviceScale);
}

void CairoDrawContext::begin()
{
    cairo_save(cr);
    cairo_rectangle(cr, clip.left, clip.top, clip.getWidth(), clip.getHeight());
    cairo_clip(cr);
    cairo_set_antialias(cr, drawMode == kAntialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
}

void CairoDrawContext::setSourceColor(const CColor &color)
{
    cairo_set_source_rgba(cr, color.red / 255.0, color.green / 255.0, color.blue / 255.0,
                          color.alpha / 255.0 * globalAlpha);
}

void CairoDrawContext::drawLine(const CPoint &from, const CPoint &to)
{
    begin();
    cairo_set_line_width(cr, lineWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    if (lineStyle == kLineOnOffDash) {
        double dash = lineWidth;
        cairo_set_dash(cr, &dash, 1, 0);
    }
    setSourceColor(frameColor);
    cairo_move_to(cr, from.x + offset.x, from.y + offset.y);
    cairo_line_to(cr, to.x + offset.x, to.y + offset.y);
    cairo_stroke(cr);
    end();
}

void CairoDrawContext::drawRect(const CRect &rect, CDrawStyle style)
{
    begin();
    cairo_rectangle(cr, rect.left + offset.x, rect.top + offset.y, rect.getWidth(), rect.getHeight());
    if (style == kDrawFilled || style == kDrawFilledAndStroked) {
        setSourceColor(fillColor);
        cairo_fill_preserve(cr);
    }
    if (style == kDrawStroked || style == kDrawFilledAndStroked) {
        cairo_set_line_width(cr, lineWidth);
        setSourceColor(frameColor);
        cairo_stroke_preserve(cr);
    }
    cairo_new_path(cr);
    end();
}

void CairoDrawContext::drawBitmap(CBitmap *bitmap, const CRect &dest, const CPoint &source, float alpha)
{
    auto *platform = bitmap ? static_cast<CairoBitmap *>(bitmap->getPlatformBitmap()) : nullptr;
    if (!platform)
        return;
    CCoord width, height;
    if (!bitmapPartSize(dest, source, platform->getWidth(), platform->getHeight(), width, height))
        return;
    double x = dest.left + offset.x, y = dest.top + offset.y;
    cairo_surface_t *target = cairo_get_target(cr);
    cairo_surface_t *picture = platform->getSurface();
    if (deviceScale == 1.0 && cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_IMAGE &&
        cairo_image_surface_get_format(target) == CAIRO_FORMAT_ARGB32 &&
        cairo_image_surface_get_format(picture) == CAIRO_FORMAT_ARGB32) {
        // Pixel by pixel, as the Windows backend draws bitmaps (pixel_blend.h).
        cairo_surface_flush(target);
        cairo_surface_flush(picture);
        const PixelPlane to{cairo_image_surface_get_data(target), cairo_image_surface_get_width(target),
                            cairo_image_surface_get_height(target), cairo_image_surface_get_stride(target)};
        const PixelPlane from{cairo_image_surface_get_data(picture), platform->getWidth(), platform->getHeight(),
                              cairo_image_surface_get_stride(picture)};
        const CRect touched = blendBitmapPart(to, clip, CPoint(x, y), from, source, width, height, alpha * globalAlpha);
        if (!touched.isEmpty())
            cairo_surface_mark_dirty_rectangle(target, (int)touched.left, (int)touched.top, (int)touched.getWidth(),
                                               (int)touched.getHeight());
        return;
    }
    begin();
    cairo_set_source_surface(cr, platform->getSurface(), x - source.x, y - source.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, alpha * globalAlpha);
    end();
}

void CairoDrawContext::clearRect(const CRect &rect)
{
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_rectangle(cr, rect.left, rect.top, rect.getWidth(), rect.getHeight());
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace VSTGUI
