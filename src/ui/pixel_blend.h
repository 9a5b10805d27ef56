// Bitmap parts drawn pixel by pixel with one integer arithmetic, the same in every backend: the
// window systems' own blitters round premultiplication and blending differently (a channel
// often comes out one apart), so a picture made only of bitmaps would differ between builds.
// Pixels are premultiplied ARGB32 in 32-bit words (alpha in the top byte), the layout of both
// cairo's ARGB32 surfaces and GDI+'s 32bppPARGB bitmaps. [any-thread] (pure functions).
#pragma once

#include <cstdint>

#include "geometry.h"

namespace VSTGUI {

// Rows of premultiplied ARGB32 words. stride: bytes from one row to the next.
struct PixelPlane {
    unsigned char *rows;
    int width;
    int height;
    int stride;
};

// a * b / 255, rounded to nearest (exact for 0..255 operands).
inline uint32_t multiplyChannels(uint32_t a, uint32_t b)
{
    const uint32_t t = a * b + 0x80;
    return (t + (t >> 8)) >> 8;
}

// A PNG's straight-alpha pixel as the premultiplied word every backend stores.
inline uint32_t premultipliedPixel(uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue)
{
    return alpha << 24 | multiplyChannels(red, alpha) << 16 | multiplyChannels(green, alpha) << 8 |
           multiplyChannels(blue, alpha);
}

// The source word at opacity (0..255) over the target word.
uint32_t blendPixelOver(uint32_t target, uint32_t source, uint32_t opacity);

// Draws the part of source that starts at sourceOrigin over target at destOrigin, width x height
// pixels, limited to clip (target pixels) and to both planes. A target pixel is drawn when its
// centre lies inside the part, with the source pixel under that centre (nearest neighbour).
// opacity: 0..1. Answers the target pixels touched (empty when none).
// scale: target pixels per unit of clip, destOrigin, width and height (a zoomed frame's device
// scale); each source pixel then covers scale x scale target pixels, by the same nearest rule.
CRect blendBitmapPart(const PixelPlane &target, const CRect &clip, const CPoint &destOrigin, const PixelPlane &source,
                      const CPoint &sourceOrigin, CCoord width, CCoord height, float opacity, double scale = 1.0);

// A bitmap part of width x height logical pixels that starts at sourceOrigin, drawn at
// destOrigin (logical) in a context of deviceScale from a pixel set of setScale pixels per
// logical pixel: the target pixels it covers, its edges rounded to whole pixels so that parts that
// meet in logical coordinates meet without a seam or an overlap, and the part of the set it reads.
struct ScaledBitmapPart {
    CRect device;
    CRect inSet;
    // The part is copied pixel for pixel: as many target pixels as it reads.
    bool oneToOne() const { return device.getWidth() == inSet.getWidth() && device.getHeight() == inSet.getHeight(); }
};
ScaledBitmapPart scaleBitmapPart(const CPoint &destOrigin, const CPoint &sourceOrigin, CCoord width, CCoord height,
                                 double deviceScale, double setScale);
// A logical rectangle in target pixels at the scale, rounded as scaleBitmapPart rounds.
CRect scaleToDevice(const CRect &logical, double deviceScale);

}  // namespace VSTGUI
