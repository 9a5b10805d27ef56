#include "bitmap.h"

#include <cmath>

#include "platform/png_resource.h"

namespace VSTGUI {

CBitmap::CBitmap(int resourceNumber) : resourceNumber(resourceNumber)
{
    PngBytes png = findPngResource(resourceNumber);
    if (png.data && png.size)
        platform = createPlatformBitmapFromPng(png.data, png.size);
}

CBitmap::CBitmap(const unsigned char *pngData, size_t size)
{
    if (pngData && size)
        platform = createPlatformBitmapFromPng(pngData, size);
}

CBitmap::CBitmap(CCoord width, CCoord height)
{
    if (width >= 1 && height >= 1)
        platform = createPlatformBitmap((int)width, (int)height);
}

CBitmap::CBitmap(CCoord width, CCoord height, double scale)
{
    if (!(scale > 0) || !(scale < 16) || !(width >= 1) || !(height >= 1))
        return;
    // A tiny allowance keeps a product like 0.1 * 3 from taking one more pixel.
    platform = createPlatformBitmap((int)std::ceil(width * scale - 1e-9), (int)std::ceil(height * scale - 1e-9));
    if (platform && scale != 1.0) {
        pixelScale = scale;
        logicalWidth = width;
        logicalHeight = height;
    }
}

CBitmap::~CBitmap()
{
    for (IPlatformBitmap *set : higher)
        delete set;
    delete platform;
}

CCoord CBitmap::getWidth() const { return !platform ? 0 : pixelScale != 1.0 ? logicalWidth : platform->getWidth(); }

CCoord CBitmap::getHeight() const { return !platform ? 0 : pixelScale != 1.0 ? logicalHeight : platform->getHeight(); }

bool CBitmap::getPixel(int x, int y, CColor &color) const { return platform && platform->getPixel(x, y, color); }

IPlatformBitmap *CBitmap::higherSet(int index) const
{
    if (!higherLookedFor[index]) {
        higherLookedFor[index] = true;
        const int scale = kPngHigherScales[index];
        PngBytes png = findPngResource(resourceNumber, scale);
        IPlatformBitmap *set = png.data && png.size ? createPlatformBitmapFromPng(png.data, png.size) : nullptr;
        // A set of another size than its scale says would misplace every part drawn from it.
        if (set &&
            (set->getWidth() != platform->getWidth() * scale || set->getHeight() != platform->getHeight() * scale)) {
            delete set;
            set = nullptr;
        }
        higher[index] = set;
    }
    return higher[index];
}

BitmapPixelSet CBitmap::pixelSetFor(double deviceScale) const
{
    // Only images of the module have higher sets; 1x serves every scale up to 1 (and NaN).
    if (!platform || resourceNumber < 0 || !(deviceScale > 1.0))
        return BitmapPixelSet{platform, pixelScale};
    int wanted = kHigherSets - 1;
    for (int i = 0; i < kHigherSets; ++i) {
        if (kPngHigherScales[i] >= deviceScale) {
            wanted = i;
            break;
        }
    }
    // Only the wanted set is decoded; a lower one stands in when it is missing.
    for (int i = wanted; i >= 0; --i)
        if (IPlatformBitmap *set = higherSet(i))
            return BitmapPixelSet{set, double(kPngHigherScales[i])};
    return BitmapPixelSet{platform, 1};
}

int CBitmap::decodedHigherSets() const
{
    int decoded = 0;
    for (IPlatformBitmap *set : higher)
        decoded += set != nullptr;
    return decoded;
}

}  // namespace VSTGUI
