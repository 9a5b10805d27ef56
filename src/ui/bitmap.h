// Pictures: PNG images addressed by resource number, or blank pictures to draw into. An image of
// the module also has higher-resolution pixel sets (2x, 3x), read from the module only when a
// zoomed context first draws it. [ui-thread]
#pragma once

#include <cstddef>

#include "base_object.h"
#include "geometry.h"
#include "platform/png_resource.h"

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

// The pixels a zoomed drawing uses: a picture with `scale` of its pixels per logical pixel.
struct BitmapPixelSet {
    IPlatformBitmap *pixels;
    double scale;
};

class CBitmap : public CBaseObject {
public:
    // The PNG resource of that number in the plug-in's module.
    explicit CBitmap(int resourceNumber);
    // A PNG image held in memory.
    CBitmap(const unsigned char *pngData, size_t size);
    // A blank, fully transparent picture.
    CBitmap(CCoord width, CCoord height);
    // A blank picture of a logical size with `scale` pixels per logical pixel (its pixels are the
    // size times the scale, rounded up): what a zoomed view composes once and draws again, sharp.
    // A context made for it draws at that device scale.
    CBitmap(CCoord width, CCoord height, double scale);
    ~CBitmap() override;
    CBitmap(const CBitmap &) = delete;
    CBitmap &operator=(const CBitmap &) = delete;

    // False when the image could not be found or decoded; such a bitmap is 0 x 0.
    bool isLoaded() const { return platform != nullptr; }
    // The logical size; the pixels of a picture made at a scale are that much larger.
    CCoord getWidth() const;
    CCoord getHeight() const;
    int getResourceNumber() const { return resourceNumber; }
    IPlatformBitmap *getPlatformBitmap() const { return platform; }
    // Pixel (x, y) of its own pixels (the 1x image, or the pixels of a picture made at a scale).
    bool getPixel(int x, int y, CColor &color) const;
    // Pixels per logical pixel of the picture's own pixels: 1 but for a picture made at a scale.
    double getPixelScale() const { return pixelScale; }
    // Every pixel fully opaque: whatever it is drawn over cannot show through.
    bool isOpaque() const { return platform && platform->isOpaque(); }

    // The pixel set to draw from at a device scale: the smallest set at or above it, else the
    // largest there is; the 1x set at 1 and below. Pictures not from the module have their own
    // pixels only. A higher set is decoded on its first use and kept while the bitmap lives.
    BitmapPixelSet pixelSetFor(double deviceScale) const;
    // How many higher sets are decoded now (what a zoomed drawing has cost in memory).
    int decodedHigherSets() const;

    VSTGUI_TYPE(CBitmap, CBaseObject)

private:
    IPlatformBitmap *higherSet(int index) const;

    static constexpr int kHigherSets = int(sizeof kPngHigherScales / sizeof kPngHigherScales[0]);

    IPlatformBitmap *platform = nullptr;
    int resourceNumber = -1;
    double pixelScale = 1.0;
    CCoord logicalWidth = 0, logicalHeight = 0;  // of a picture made at a scale
    // Decoded on first use, by the index of their scale in kPngHigherScales; a set that is
    // missing from the module or fails to decode is not looked for again.
    mutable IPlatformBitmap *higher[kHigherSets] = {};
    mutable bool higherLookedFor[kHigherSets] = {};
};

}  // namespace VSTGUI
