#include "gdiplus_draw_context.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "ui/pixel_blend.h"
#include "ui/platform_frame.h"

namespace VSTGUI {

std::wstring toWide(const char *utf8)
{
    if (!utf8 || !*utf8)
        return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring out((size_t)n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &out[0], n);
    out.resize((size_t)n - 1);
    return out;
}

bool GdiplusBitmap::getPixel(int x, int y, CColor &color) const
{
    if (x < 0 || y < 0 || x >= getWidth() || y >= getHeight())
        return false;
    Gdiplus::Color c;
    if (bitmap->GetPixel(x, y, &c) != Gdiplus::Ok)
        return false;
    color = CColor(c.GetR(), c.GetG(), c.GetB(), c.GetA());
    return true;
}

IPlatformBitmap *createPlatformBitmap(int width, int height)
{
    if (!acquireGdiplus())
        return nullptr;
    auto *bitmap = new Gdiplus::Bitmap(width, height, PixelFormat32bppPARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) {
        delete bitmap;
        releaseGdiplus();
        return nullptr;
    }
    {
        Gdiplus::Graphics g(bitmap);
        g.Clear(Gdiplus::Color(0, 0, 0, 0));
    }
    return new GdiplusBitmap(bitmap);
}

namespace {
// With GDI+ running; the picture made takes the caller's reference.
IPlatformBitmap *decodePng(const unsigned char *data, size_t size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return nullptr;
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    IStream *stream = nullptr;
    if (CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
        GlobalFree(memory);
        return nullptr;
    }
    IPlatformBitmap *result = nullptr;
    Gdiplus::Bitmap decoded(stream);
    if (decoded.GetLastStatus() == Gdiplus::Ok && decoded.GetWidth() > 0 && decoded.GetHeight() > 0) {
        // Copy into a picture of our own, so that nothing refers to the stream any more. The
        // straight-alpha pixels are premultiplied here, rounded as every backend does.
        const INT width = (INT)decoded.GetWidth(), height = (INT)decoded.GetHeight();
        auto *copy = new Gdiplus::Bitmap(width, height, PixelFormat32bppPARGB);
        const Gdiplus::Rect whole(0, 0, width, height);
        Gdiplus::BitmapData from{}, to{};
        bool copied = false;
        bool opaque = true;
        if (copy->GetLastStatus() == Gdiplus::Ok &&
            decoded.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &from) == Gdiplus::Ok) {
            if (copy->LockBits(&whole, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &to) == Gdiplus::Ok) {
                for (INT y = 0; y < height; ++y) {
                    const auto *in = static_cast<const unsigned char *>(from.Scan0) + (ptrdiff_t)y * from.Stride;
                    auto *out = static_cast<unsigned char *>(to.Scan0) + (ptrdiff_t)y * to.Stride;
                    for (INT x = 0; x < width; ++x) {
                        uint32_t straight;
                        std::memcpy(&straight, in + 4 * x, 4);
                        opaque = opaque && (straight >> 24) == 255;
                        const uint32_t pixel = premultipliedPixel(straight >> 24, (straight >> 16) & 255,
                                                                  (straight >> 8) & 255, straight & 255);
                        std::memcpy(out + 4 * x, &pixel, 4);
                    }
                }
                copy->UnlockBits(&to);
                copied = true;
            }
            decoded.UnlockBits(&from);
        }
        if (copied)
            result = new GdiplusBitmap(copy, opaque);
        else
            delete copy;
    }
    stream->Release();
    return result;
}
}  // namespace

IPlatformBitmap *createPlatformBitmapFromPng(const unsigned char *data, size_t size)
{
    if (!data || size == 0 || !acquireGdiplus())
        return nullptr;
    IPlatformBitmap *result = decodePng(data, size);
    if (!result)
        releaseGdiplus();
    return result;
}

CDrawContext *createBitmapDrawContext(CBitmap *bitmap)
{
    auto *platform = bitmap ? static_cast<GdiplusBitmap *>(bitmap->getPlatformBitmap()) : nullptr;
    if (!platform)
        return nullptr;
    CDrawContext *context = new GdiplusDrawContext(platform->get());
    // A picture made at a scale is drawn into at that scale, in logical coordinates.
    if (bitmap->getPixelScale() != 1.0)
        context->setDeviceScale(bitmap->getPixelScale());
    return context;
}

GdiplusDrawContext::GdiplusDrawContext(Gdiplus::Bitmap *target)
    : CDrawContext(target->GetWidth(), target->GetHeight()), target(target), holdsGdiplus(acquireGdiplus()),
      graphics(new Gdiplus::Graphics(target))
{
    graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics->SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
}

GdiplusDrawContext::~GdiplusDrawContext()
{
    delete fontBrush;
    graphics->Flush(Gdiplus::FlushIntentionSync);
    delete graphics;
    if (holdsGdiplus)
        releaseGdiplus();  // the context may outlive its picture
}

void GdiplusDrawContext::setDeviceScale(double scale)
{
    CDrawContext::setDeviceScale(scale);
    graphics->ResetTransform();
    if (deviceScale != 1.0)
        graphics->ScaleTransform((Gdiplus::REAL)deviceScale, (Gdiplus::REAL)deviceScale);
}

Gdiplus::Color GdiplusDrawContext::toColor(const CColor &color) const
{
    return Gdiplus::Color((BYTE)(color.alpha * globalAlpha + 0.5f), color.red, color.green, color.blue);
}

void GdiplusDrawContext::prepare()
{
    graphics->SetClip(Gdiplus::RectF((Gdiplus::REAL)clip.left, (Gdiplus::REAL)clip.top, (Gdiplus::REAL)clip.getWidth(),
                                     (Gdiplus::REAL)clip.getHeight()));
    graphics->SetSmoothingMode(drawMode == kAntialias ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeNone);
}

Gdiplus::Graphics *GdiplusDrawContext::getGraphics()
{
    prepare();
    return graphics;
}

Gdiplus::SolidBrush *GdiplusDrawContext::getFontBrush()
{
    delete fontBrush;
    fontBrush = new Gdiplus::SolidBrush(toColor(fontColor));
    return fontBrush;
}

namespace {

// Length of the overlap of the pixel interval [d - 0.5, d + 0.5] with [lo, hi].
double overlap(double d, double lo, double hi)
{
    double a = d - 0.5 > lo ? d - 0.5 : lo;
    double b = d + 0.5 < hi ? d + 0.5 : hi;
    return b > a ? b - a : 0.0;
}

}  // namespace

void GdiplusDrawContext::drawLine(const CPoint &from, const CPoint &to)
{
    prepare();
    const double x0 = from.x + offset.x, y0 = from.y + offset.y, x1 = to.x + offset.x, y1 = to.y + offset.y;
    const double length = std::hypot(x1 - x0, y1 - y0);
    if (drawMode != kAntialias || lineStyle != kLineSolid || length <= 0) {
        Gdiplus::Pen pen(toColor(frameColor), (Gdiplus::REAL)lineWidth);
        pen.SetDashStyle(lineStyle == kLineOnOffDash ? Gdiplus::DashStyleDot : Gdiplus::DashStyleSolid);
        graphics->DrawLine(&pen, (Gdiplus::REAL)x0, (Gdiplus::REAL)y0, (Gdiplus::REAL)x1, (Gdiplus::REAL)y1);
        return;
    }
    // Antialiased lines are rasterised here, with box-filter coverage across and along the line,
    // so that every Windows (and Wine) draws them alike; GDI+ only blends the result. The
    // coverage is worked out in device pixels, so that a zoomed line is as sharp as any.
    const double s = deviceScale;
    const double dx0 = x0 * s, dy0 = y0 * s, dx1 = x1 * s, dy1 = y1 * s, deviceLength = length * s;
    const double half = lineWidth * s / 2, ux = (dx1 - dx0) / deviceLength, uy = (dy1 - dy0) / deviceLength;
    int left = (int)std::floor(std::min(dx0, dx1) - half - 1), right = (int)std::ceil(std::max(dx0, dx1) + half + 1);
    int top = (int)std::floor(std::min(dy0, dy1) - half - 1), bottom = (int)std::ceil(std::max(dy0, dy1) + half + 1);
    const CRect deviceClip = zoomedRect(clip, s);
    left = std::max(left, (int)deviceClip.left);
    top = std::max(top, (int)deviceClip.top);
    right = std::min(right, (int)std::ceil(deviceClip.right));
    bottom = std::min(bottom, (int)std::ceil(deviceClip.bottom));
    if (right <= left || bottom <= top)
        return;
    Gdiplus::Bitmap mask(right - left, bottom - top, PixelFormat32bppARGB);
    Gdiplus::BitmapData data;
    Gdiplus::Rect lockArea(0, 0, right - left, bottom - top);
    if (mask.LockBits(&lockArea, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return;
    const Gdiplus::Color color = toColor(frameColor);
    for (int y = top; y < bottom; ++y) {
        auto *row = reinterpret_cast<uint32_t *>(static_cast<unsigned char *>(data.Scan0) + (y - top) * data.Stride);
        for (int x = left; x < right; ++x) {
            double px = x + 0.5 - dx0, py = y + 0.5 - dy0;
            double along = px * ux + py * uy, across = px * uy - py * ux;
            double coverage = overlap(across, -half, half) * overlap(along, 0, deviceLength);
            uint32_t alpha = (uint32_t)(color.GetA() * coverage + 0.5);
            row[x - left] = (alpha << 24) | ((uint32_t)color.GetR() << 16) | ((uint32_t)color.GetG() << 8) |
                            color.GetB();
        }
    }
    mask.UnlockBits(&data);
    // The mask is in device pixels: it goes on without the scale.
    Gdiplus::Matrix scaled;
    graphics->GetTransform(&scaled);
    graphics->ResetTransform();
    graphics->DrawImage(&mask,
                        Gdiplus::RectF((Gdiplus::REAL)left, (Gdiplus::REAL)top, (Gdiplus::REAL)(right - left),
                                       (Gdiplus::REAL)(bottom - top)),
                        0, 0, (Gdiplus::REAL)(right - left), (Gdiplus::REAL)(bottom - top), Gdiplus::UnitPixel);
    graphics->SetTransform(&scaled);
}

void GdiplusDrawContext::drawRect(const CRect &rect, CDrawStyle style)
{
    prepare();
    Gdiplus::RectF r((Gdiplus::REAL)(rect.left + offset.x), (Gdiplus::REAL)(rect.top + offset.y),
                     (Gdiplus::REAL)rect.getWidth(), (Gdiplus::REAL)rect.getHeight());
    if (style == kDrawFilled || style == kDrawFilledAndStroked) {
        Gdiplus::SolidBrush brush(toColor(fillColor));
        graphics->FillRectangle(&brush, r);
    }
    if (style == kDrawStroked || style == kDrawFilledAndStroked) {
        Gdiplus::Pen pen(toColor(frameColor), (Gdiplus::REAL)lineWidth);
        graphics->DrawRectangle(&pen, r);
    }
}

void GdiplusDrawContext::drawBitmap(CBitmap *bitmap, const CRect &dest, const CPoint &source, float alpha)
{
    auto *platform = bitmap ? static_cast<GdiplusBitmap *>(bitmap->getPlatformBitmap()) : nullptr;
    if (!platform)
        return;
    CCoord width, height;
    if (!bitmapPartSize(dest, source, bitmap->getWidth(), bitmap->getHeight(), width, height))
        return;
    float opacity = alpha * globalAlpha;
    if (deviceScale != 1.0 || bitmap->getPixelScale() != 1.0) {
        drawScaledBitmap(*bitmap, CPoint(dest.left + offset.x, dest.top + offset.y), source, width, height, opacity);
        return;
    }
    if (blendBitmap(platform->get(), clip, CPoint(dest.left + offset.x, dest.top + offset.y), source, width, height,
                    opacity))
        return;
    prepare();
    Gdiplus::RectF area((Gdiplus::REAL)(dest.left + offset.x), (Gdiplus::REAL)(dest.top + offset.y),
                        (Gdiplus::REAL)width, (Gdiplus::REAL)height);
    if (opacity >= 1.f) {
        graphics->DrawImage(platform->get(), area, (Gdiplus::REAL)source.x, (Gdiplus::REAL)source.y,
                            (Gdiplus::REAL)width, (Gdiplus::REAL)height, Gdiplus::UnitPixel);
        return;
    }
    Gdiplus::ColorMatrix matrix = {
        {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, opacity, 0}, {0, 0, 0, 0, 1}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&matrix);
    graphics->DrawImage(platform->get(), area, (Gdiplus::REAL)source.x, (Gdiplus::REAL)source.y, (Gdiplus::REAL)width,
                        (Gdiplus::REAL)height, Gdiplus::UnitPixel, &attributes);
}

void GdiplusDrawContext::drawScaledBitmap(const CBitmap &bitmap, const CPoint &origin, const CPoint &source,
                                          CCoord width, CCoord height, float opacity)
{
    const BitmapPixelSet set = bitmap.pixelSetFor(deviceScale);
    Gdiplus::Bitmap *pixels = static_cast<GdiplusBitmap *>(set.pixels)->get();
    const ScaledBitmapPart part = scaleBitmapPart(origin, source, width, height, deviceScale, set.scale);
    CRect deviceClip = scaleToDevice(clip, deviceScale);
    if (part.device.isEmpty() || part.inSet.isEmpty())
        return;
    // A set at the device scale is copied pixel for pixel, the same in every build.
    if (part.oneToOne() && blendBitmap(pixels, deviceClip, part.device.getTopLeft(), part.inSet.getTopLeft(),
                                       part.inSet.getWidth(), part.inSet.getHeight(), opacity))
        return;
    if (pixels == target || pixels->GetPixelFormat() != PixelFormat32bppPARGB)
        return;
    // Otherwise the part alone is resampled onto the whole target pixels it covers: a picture
    // over the part's own rows, so that the filter never reads the neighbouring frames of a
    // filmstrip, its edges mirrored rather than faded, pixel centres at half-pixel offsets.
    const Gdiplus::Rect inSet((INT)part.inSet.left, (INT)part.inSet.top, (INT)part.inSet.getWidth(),
                              (INT)part.inSet.getHeight());
    Gdiplus::BitmapData rows{};
    if (pixels->LockBits(&inSet, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &rows) != Gdiplus::Ok)
        return;
    {
        Gdiplus::Bitmap piece(inSet.Width, inSet.Height, rows.Stride, PixelFormat32bppPARGB,
                              static_cast<BYTE *>(rows.Scan0));
        Gdiplus::ImageAttributes attributes;
        attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        if (opacity < 1.f) {
            Gdiplus::ColorMatrix matrix = {
                {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, opacity, 0}, {0, 0, 0, 0, 1}}};
            attributes.SetColorMatrix(&matrix);
        }
        Gdiplus::Matrix world;
        graphics->GetTransform(&world);
        graphics->ResetTransform();
        deviceClip.bound(part.device);
        graphics->SetClip(Gdiplus::RectF((Gdiplus::REAL)deviceClip.left, (Gdiplus::REAL)deviceClip.top,
                                         (Gdiplus::REAL)deviceClip.getWidth(), (Gdiplus::REAL)deviceClip.getHeight()));
        graphics->SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics->DrawImage(
            &piece,
            Gdiplus::RectF((Gdiplus::REAL)part.device.left, (Gdiplus::REAL)part.device.top,
                           (Gdiplus::REAL)part.device.getWidth(), (Gdiplus::REAL)part.device.getHeight()),
            0, 0, (Gdiplus::REAL)inSet.Width, (Gdiplus::REAL)inSet.Height, Gdiplus::UnitPixel, &attributes);
        graphics->Flush(Gdiplus::FlushIntentionSync);
        graphics->SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        graphics->SetTransform(&world);
    }
    pixels->UnlockBits(&rows);
}

bool GdiplusDrawContext::blendBitmap(Gdiplus::Bitmap *picture, const CRect &targetClip, const CPoint &targetOrigin,
                                     const CPoint &source, CCoord width, CCoord height, float opacity)
{
    if (target->GetPixelFormat() != PixelFormat32bppPARGB || picture->GetPixelFormat() != PixelFormat32bppPARGB)
        return false;
    // Only the target pixels the part may touch are locked: the part within the clip, rounded out.
    CRect area(targetOrigin.x, targetOrigin.y, targetOrigin.x + width, targetOrigin.y + height);
    area.bound(targetClip);
    const INT left = std::max(0, (INT)std::floor(area.left)), top = std::max(0, (INT)std::floor(area.top));
    const INT right = std::min((INT)target->GetWidth(), (INT)std::ceil(area.right));
    const INT bottom = std::min((INT)target->GetHeight(), (INT)std::ceil(area.bottom));
    if (left >= right || top >= bottom)
        return true;  // nothing to draw
    graphics->Flush(Gdiplus::FlushIntentionSync);
    const Gdiplus::Rect locked(left, top, right - left, bottom - top);
    const Gdiplus::Rect whole(0, 0, (INT)picture->GetWidth(), (INT)picture->GetHeight());
    Gdiplus::BitmapData to{}, from{};
    if (target->LockBits(&locked, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB,
                         &to) != Gdiplus::Ok)
        return false;
    if (picture == target ||
        picture->LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &from) != Gdiplus::Ok) {
        target->UnlockBits(&to);
        return false;
    }
    // The locked rows start at (left, top): the part and the clip move with them.
    const PixelPlane into{static_cast<unsigned char *>(to.Scan0), right - left, bottom - top, to.Stride};
    const PixelPlane out{static_cast<unsigned char *>(from.Scan0), whole.Width, whole.Height, from.Stride};
    CRect clipInLocked = targetClip;
    clipInLocked.offset(-left, -top);
    blendBitmapPart(into, clipInLocked, CPoint(targetOrigin.x - left, targetOrigin.y - top), out, source, width, height,
                    opacity);
    picture->UnlockBits(&from);
    target->UnlockBits(&to);
    return true;
}

}  // namespace VSTGUI
