#include "pixel_blend.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace VSTGUI {

uint32_t blendPixelOver(uint32_t target, uint32_t source, uint32_t opacity)
{
    if (opacity < 255) {
        source = multiplyChannels(source >> 24, opacity) << 24 | multiplyChannels((source >> 16) & 255, opacity) << 16 |
                 multiplyChannels((source >> 8) & 255, opacity) << 8 | multiplyChannels(source & 255, opacity);
    }
    const uint32_t sourceAlpha = source >> 24;
    if (sourceAlpha == 255)
        return source;
    if (sourceAlpha == 0 && source == 0)
        return target;
    const uint32_t keep = 255 - sourceAlpha;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t channel = ((source >> shift) & 255) + multiplyChannels((target >> shift) & 255, keep);
        result |= std::min<uint32_t>(channel, 255) << shift;
    }
    return result;
}

CRect blendBitmapPart(const PixelPlane &target, const CRect &clip, const CPoint &destOrigin, const PixelPlane &source,
                      const CPoint &sourceOrigin, CCoord width, CCoord height, float opacity, double scale)
{
    // Target pixels whose centres lie inside the part and the clip: x + 0.5 in [left, right).
    auto firstPixel = [scale](CCoord edge) { return (long)std::ceil(edge * scale - 0.5); };
    const long left = std::max({firstPixel(destOrigin.x), firstPixel(clip.left), 0L});
    const long top = std::max({firstPixel(destOrigin.y), firstPixel(clip.top), 0L});
    const long right = std::min({firstPixel(destOrigin.x + width), firstPixel(clip.right), (long)target.width});
    const long bottom = std::min({firstPixel(destOrigin.y + height), firstPixel(clip.bottom), (long)target.height});
    if (left >= right || top >= bottom || opacity <= 0.f)
        return CRect();
    const uint32_t alpha = opacity >= 1.f ? 255u : (uint32_t)std::lround(opacity * 255.f);
    // The source pixel under a target pixel's centre.
    const CCoord shiftX = sourceOrigin.x - destOrigin.x + 0.5, shiftY = sourceOrigin.y - destOrigin.y + 0.5;
    auto sourcePixel = [scale](long t, CCoord shift, CCoord from, CCoord to) {
        if (scale == 1.0)
            return (long)std::floor(t + shift);
        return (long)std::floor((t + 0.5) / scale - to + from);
    };
    for (long y = top; y < bottom; ++y) {
        const long sy = sourcePixel(y, shiftY, sourceOrigin.y, destOrigin.y);
        if (sy < 0 || sy >= source.height)
            continue;
        unsigned char *targetRow = target.rows + (size_t)y * (size_t)target.stride;
        const unsigned char *sourceRow = source.rows + (size_t)sy * (size_t)source.stride;
        for (long x = left; x < right; ++x) {
            const long sx = sourcePixel(x, shiftX, sourceOrigin.x, destOrigin.x);
            if (sx < 0 || sx >= source.width)
                continue;
            uint32_t from, to;
            std::memcpy(&from, sourceRow + 4 * sx, 4);
            std::memcpy(&to, targetRow + 4 * x, 4);
            to = blendPixelOver(to, from, alpha);
            std::memcpy(targetRow + 4 * x, &to, 4);
        }
    }
    return CRect((CCoord)left, (CCoord)top, (CCoord)right, (CCoord)bottom);
}

namespace {

// A logical coordinate in pixels of the scale, to the nearest pixel edge; the slack keeps a
// product like 0.5 * 3 from rounding one way in one build and the other way in another.
CCoord toPixelEdge(CCoord logical, double scale) { return std::floor(logical * scale + 0.5 + 1e-9); }

}  // namespace

CRect scaleToDevice(const CRect &logical, double deviceScale)
{
    return CRect(toPixelEdge(logical.left, deviceScale), toPixelEdge(logical.top, deviceScale),
                 toPixelEdge(logical.right, deviceScale), toPixelEdge(logical.bottom, deviceScale));
}

ScaledBitmapPart scaleBitmapPart(const CPoint &destOrigin, const CPoint &sourceOrigin, CCoord width, CCoord height,
                                 double deviceScale, double setScale)
{
    ScaledBitmapPart part;
    part.device = scaleToDevice(CRect(destOrigin.x, destOrigin.y, destOrigin.x + width, destOrigin.y + height),
                                deviceScale);
    part.inSet = scaleToDevice(CRect(sourceOrigin.x, sourceOrigin.y, sourceOrigin.x + width, sourceOrigin.y + height),
                               setScale);
    return part;
}

}  // namespace VSTGUI
