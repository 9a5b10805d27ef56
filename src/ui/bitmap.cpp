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

CBitmap::~CBitmap() { delete platform; }

CCoord CBitmap::getWidth() const { return platform ? platform->getWidth() : 0; }
CCoord CBitmap::getHeight() const { return platform ? platform->getHeight() : 0; }

bool CBitmap::getPixel(int x, int y, CColor &color) const { return platform && platform->getPixel(x, y, color); }

}  // namespace VSTGUI
