// Pictures: PNG images addressed by resource number, or blank pictures to draw into.
// [ui-thread]
#pragma once

#include <cstddef>

#include "base_object.h"
#include "geometry.h"

namespace VSTGUI {

// A picture as the window system holds it. Pixels are read back unpremultiplied.
class IPlatformBitmap {
public:
    virtual ~IPlatformBitmap() = default;
    virtual int getWidth() const = 0;
    virtual int getHeight() const = 0;
    virtual bool getPixel(int x, int y, CColor &color) const = 0;
    // True for a decoded image whose every pixel has full alpha. Such an image is never drawn
    // into (only blank pictures are), so the answer holds for its lifetime.
    virtual bool isOpaque() const { return false; }
};

// Implemented by the backend; each answers null on failure.
IPlatformBitmap *createPlatformBitmap(int width, int height);
IPlatformBitmap *createPlatformBitmapFromPng(const unsigned char *data, size_t size);

class CBitmap : public CBaseObject {
public:
    // The PNG resource of that number in the plug-in's module.
    explicit CBitmap(int resourceNumber);
    // A PNG image held in memory.
    CBitmap(const unsigned char *pngData, size_t size);
    // A blank, fully transparent picture.
    CBitmap(CCoord width, CCoord height);
    ~CBitmap() override;
    CBitmap(const CBitmap &) = delete;
    CBitmap &operator=(const CBitmap &) = delete;

    // False when the image could not be found or decoded; such a bitmap is 0 x 0.
    bool isLoaded() const { return platform != nullptr; }
    CCoord getWidth() const;
    CCoord getHeight() const;
    int getResourceNumber() const { return resourceNumber; }
    IPlatformBitmap *getPlatformBitmap() const { return platform; }
    bool getPixel(int x, int y, CColor &color) const;
    // Every pixel fully opaque: whatever it is drawn over cannot show through.
    bool isOpaque() const { return platform && platform->isOpaque(); }

    VSTGUI_TYPE(CBitmap, CBaseObject)

private:
    IPlatformBitmap *platform = nullptr;
    int resourceNumber = -1;
};

}  // namespace VSTGUI
