#include "bitmap.h"

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

CBitmap::~CBitmap()
{
    for (IPlatformBitmap *set : higher)
        delete set;
    delete platform;
}

CCoord CBitmap::getWidth() const { return platform ? platform->getWidth() : 0; }
CCoord CBitmap::getHeight() const { return platform ? platform->getHeight() : 0; }

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
        return BitmapPixelSet{platform, 1};
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
            return BitmapPixelSet{set, kPngHigherScales[i]};
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
