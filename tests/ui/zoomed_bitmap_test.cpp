// Bitmaps drawn at a device scale: from the smallest pixel set at or above it (2x, 3x), pixel for
// pixel when the set matches the scale, resampled onto whole device pixels otherwise, and at 1x
// exactly as before (no higher set is ever decoded). Each backend (cairo, GDI+) in its build.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "controls/image_numbers.h"
#include "platform/png_resource.h"
#include "ui/bitmap.h"
#include "ui/draw_context.h"

using namespace VSTGUI;

namespace {

// A blank picture of a logical size at a device scale, drawn into through one context.
struct ZoomedCanvas {
    ZoomedCanvas(int logicalWidth, int logicalHeight, double scale)
        : bitmap(new CBitmap(std::ceil(logicalWidth * scale), std::ceil(logicalHeight * scale))),
          context(createBitmapDrawContext(bitmap))
    {
        if (context)
            context->setDeviceScale(scale);
    }
    ~ZoomedCanvas()
    {
        finish();
        bitmap->forget();
    }
    // Ends the drawing: every backend has flushed into the picture once its context is gone.
    void finish()
    {
        if (context)
            context->forget();
        context = nullptr;
    }
    CColor at(int x, int y) const
    {
        CColor c;
        bitmap->getPixel(x, y, c);
        return c;
    }
    CBitmap *bitmap;
    CDrawContext *context;
};

// The image of that number at a scale, decoded on its own.
struct ImageSet {
    ImageSet(int number, int scale)
    {
        const PngBytes png = findPngResource(number, scale);
        bitmap = new CBitmap(png.data, png.size);
    }
    ~ImageSet() { bitmap->forget(); }
    CColor at(int x, int y) const
    {
        CColor c;
        bitmap->getPixel(x, y, c);
        return c;
    }
    CBitmap *bitmap;
};

// The largest difference of two colours' premultiplied channels (a nearly transparent pixel's
// colour hardly shows, whatever it is).
int channelDistance(const CColor &a, const CColor &b)
{
    auto premultiplied = [](int channel, int alpha) { return (channel * alpha + 127) / 255; };
    return std::max({std::abs(premultiplied(a.red, a.alpha) - premultiplied(b.red, b.alpha)),
                     std::abs(premultiplied(a.green, a.alpha) - premultiplied(b.green, b.alpha)),
                     std::abs(premultiplied(a.blue, a.alpha) - premultiplied(b.blue, b.alpha)),
                     std::abs(a.alpha - b.alpha)});
}

// The premultiplied average of the set's pixels under the footprint of device pixel (x, y) when
// the part that starts at (sourceX, sourceY) in the set is shrunk by `factor` (set pixels per
// device pixel), each set pixel weighted by its overlap: the ideal downscale.
CColor areaAverage(const ImageSet &set, int sourceX, int sourceY, int partWidth, int partHeight, int x, int y,
                   double factor)
{
    const double x0 = x * factor, x1 = (x + 1) * factor, y0 = y * factor, y1 = (y + 1) * factor;
    double sum[4] = {}, weight = 0;
    for (int sy = (int)std::floor(y0); sy < (int)std::ceil(y1) && sy < partHeight; ++sy) {
        for (int sx = (int)std::floor(x0); sx < (int)std::ceil(x1) && sx < partWidth; ++sx) {
            const double w = (std::min<double>(x1, sx + 1) - std::max<double>(x0, sx)) *
                             (std::min<double>(y1, sy + 1) - std::max<double>(y0, sy));
            const CColor c = set.at(sourceX + sx, sourceY + sy);
            const double a = c.alpha / 255.0;
            sum[0] += w * c.red * a;
            sum[1] += w * c.green * a;
            sum[2] += w * c.blue * a;
            sum[3] += w * c.alpha;
            weight += w;
        }
    }
    const double alpha = sum[3] / weight;
    auto channel = [&](double s) { return (uint8_t)std::lround(alpha > 0 ? s / weight / (alpha / 255.0) : 0); };
    return CColor(channel(sum[0]), channel(sum[1]), channel(sum[2]), (uint8_t)std::lround(alpha));
}

TEST(ZoomedBitmap, EachScaleDrawsFromTheSmallestSetAtOrAboveIt)
{
    CBitmap knob(kImageKnobStrip);
    ASSERT_TRUE(knob.isLoaded());
    EXPECT_EQ(knob.decodedHigherSets(), 0) << "a bitmap decodes only its 1x image until a zoomed drawing";
    EXPECT_EQ(knob.pixelSetFor(1.0).scale, 1);
    EXPECT_EQ(knob.pixelSetFor(0.5).scale, 1);
    EXPECT_EQ(knob.pixelSetFor(std::numeric_limits<double>::quiet_NaN()).scale, 1);
    EXPECT_EQ(knob.decodedHigherSets(), 0);
    const BitmapPixelSet at150 = knob.pixelSetFor(1.5);
    EXPECT_EQ(at150.scale, 2);
    ASSERT_NE(at150.pixels, nullptr);
    EXPECT_EQ(at150.pixels->getWidth(), 86);
    EXPECT_EQ(at150.pixels->getHeight(), 2 * 2091);
    EXPECT_EQ(knob.decodedHigherSets(), 1) << "only the set drawn from is decoded";
    EXPECT_EQ(knob.pixelSetFor(2.0).pixels, at150.pixels) << "decoded once";
    EXPECT_EQ(knob.pixelSetFor(1.25).scale, 2);
    EXPECT_EQ(knob.pixelSetFor(2.5).scale, 3);
    EXPECT_EQ(knob.pixelSetFor(3.0).scale, 3);
    EXPECT_EQ(knob.pixelSetFor(3.5).scale, 3) << "beyond the largest set, the largest";
    EXPECT_EQ(knob.pixelSetFor(3.0).pixels->getWidth(), 3 * 43);
    EXPECT_EQ(knob.decodedHigherSets(), 2);
    EXPECT_EQ(knob.getWidth(), 43) << "the logical size stays the 1x size";
    // Pictures without sets in the module (blank, or PNG bytes) serve every scale from 1x.
    CBitmap blank(10, 10);
    EXPECT_EQ(blank.pixelSetFor(2.0).scale, 1);
    EXPECT_EQ(blank.pixelSetFor(2.0).pixels, blank.getPlatformBitmap());
}

// 200 %: a panel background and a knob filmstrip frame are the 2x set's pixels, not the 1x image
// enlarged: the drawing differs from a doubled 1x image wherever the 2x set has finer detail.
TEST(ZoomedBitmap, At200PercentThePixelsAreThe2xSetsOwn)
{
    {
        ZoomedCanvas canvas(586, 169, 2.0);
        ASSERT_NE(canvas.context, nullptr);
        CBitmap panel(kImageVUFront);
        canvas.context->drawBitmap(&panel, CRect(0, 0, 586, 169));
        canvas.finish();
        const ImageSet set(kImageVUFront, 2), single(kImageVUFront, 1);
        int different = 0, unlikeDoubled = 0;
        for (int y = 0; y < 338; ++y) {
            for (int x = 0; x < 1172; ++x) {
                const CColor c = canvas.at(x, y);
                different += c != set.at(x, y);
                unlikeDoubled += c != single.at(x / 2, y / 2);
            }
        }
        EXPECT_EQ(different, 0);
        EXPECT_GT(unlikeDoubled, 1172 * 338 / 4);
    }
    {
        // Frame 17 of the knob at (5, 3): its source offset (17 frames of 41) doubles with it.
        ZoomedCanvas canvas(60, 50, 2.0);
        CBitmap knob(kImageKnobStrip);
        canvas.context->drawBitmap(&knob, CRect(5, 3, 48, 44), CPoint(0, 17 * 41));
        canvas.finish();
        const ImageSet set(kImageKnobStrip, 2);
        int different = 0, outside = 0;
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 120; ++x) {
                const bool inPart = x >= 10 && x < 96 && y >= 6 && y < 88;
                if (inPart)
                    different += canvas.at(x, y) != set.at(x - 10, y - 6 + 17 * 82);
                else
                    outside += canvas.at(x, y).alpha != 0;
            }
        }
        EXPECT_EQ(different, 0);
        EXPECT_EQ(outside, 0) << "the part covers exactly its doubled rectangle";
    }
}

// 150 %: drawn from the 2x set shrunk by 4/3 onto whole device pixels, close to the ideal
// area-weighted downscale everywhere; a filmstrip frame never shows its neighbours.
TEST(ZoomedBitmap, At150PercentThe2xSetIsDownscaledWithAHighQualityFilter)
{
    {
        ZoomedCanvas canvas(586, 169, 1.5);
        CBitmap panel(kImageVUFront);
        canvas.context->drawBitmap(&panel, CRect(0, 0, 586, 169));
        canvas.finish();
        EXPECT_EQ(panel.decodedHigherSets(), 1);
        const ImageSet set(kImageVUFront, 2);
        long total = 0, count = 0;
        for (int y = 0; y < 253; y += 3) {
            for (int x = 0; x < 879; x += 3) {
                total += channelDistance(canvas.at(x, y), areaAverage(set, 0, 0, 1172, 338, x, y, 2 / 1.5));
                ++count;
            }
        }
        EXPECT_LT(double(total) / count, 3.0);
    }
    {
        // Each frame of the over LED at (1, 1): device (2, 2) to (32, 32).
        for (int frame = 0; frame < 3; ++frame) {
            SCOPED_TRACE(frame);
            ZoomedCanvas canvas(22, 22, 1.5);
            CBitmap led(kImageOverLED);
            canvas.context->drawBitmap(&led, CRect(1, 1, 21, 21), CPoint(0, frame * 20));
            canvas.finish();
            const ImageSet set(kImageOverLED, 2);
            long total = 0;
            int worst = 0, outside = 0;
            for (int y = 0; y < 33; ++y) {
                for (int x = 0; x < 33; ++x) {
                    const bool inPart = x >= 2 && x < 32 && y >= 2 && y < 32;
                    if (!inPart) {
                        outside += canvas.at(x, y).alpha != 0;
                        continue;
                    }
                    const int d = channelDistance(canvas.at(x, y),
                                                  areaAverage(set, 0, frame * 40, 40, 40, x - 2, y - 2, 2 / 1.5));
                    total += d;
                    worst = std::max(worst, d);
                }
            }
            // GDI+'s bicubic filter departs from the ideal box by up to 70 at the LED's sharp rim;
            // a frame read from the wrong place or from 1x departs by 12 on average.
            EXPECT_EQ(outside, 0);
            EXPECT_LT(total / 900.0, 6.0);
            EXPECT_LT(worst, 96);
        }
    }
    {
        // The VU face's backlight frames meet with very different rows (its bezel lip above the
        // next frame's paper): the first and last device rows of a frame show its own rows only.
        ZoomedCanvas canvas(250, 122, 1.5);
        CBitmap face(kImageVUFace);
        canvas.context->drawBitmap(&face, CRect(0, 0, 250, 122), CPoint(0, 2 * 122));
        canvas.finish();
        const ImageSet set(kImageVUFace, 2);
        int worst = 0;
        for (int y : {0, 1, 181, 182})
            for (int x = 0; x < 375; ++x)
                worst = std::max(
                    worst, channelDistance(canvas.at(x, y), areaAverage(set, 0, 2 * 244, 500, 244, x, y, 2 / 1.5)));
        EXPECT_LT(worst, 8);
    }
}

// A picture composed once at the device scale (as the VU meter keeps its face) holds the 2x set's
// pixels and gives them back unchanged when drawn at that scale; drawn at 100 % it is shrunk.
TEST(ZoomedBitmap, APictureMadeAtAScaleKeepsTheSetsPixels)
{
    auto *picture = new CBitmap(43, 41, 2.0);
    ASSERT_TRUE(picture->isLoaded());
    EXPECT_EQ(picture->getWidth(), 43);
    EXPECT_EQ(picture->getHeight(), 41);
    EXPECT_EQ(picture->getPixelScale(), 2.0);
    CBitmap knob(kImageKnobStrip);
    {
        CDrawContext *compose = createBitmapDrawContext(picture);
        ASSERT_NE(compose, nullptr);
        EXPECT_EQ(compose->getDeviceScale(), 2.0);
        compose->drawBitmap(&knob, CRect(0, 0, 43, 41), CPoint(0, 30 * 41));
        compose->forget();
    }
    const ImageSet set(kImageKnobStrip, 2);
    ZoomedCanvas canvas(50, 50, 2.0);
    canvas.context->drawBitmap(picture, CRect(4, 4, 47, 45));
    canvas.finish();
    int different = 0;
    for (int y = 0; y < 82; ++y)
        for (int x = 0; x < 86; ++x)
            different += canvas.at(x + 8, y + 8) != set.at(x, y + 30 * 82);
    EXPECT_EQ(different, 0);
    ZoomedCanvas single(50, 50, 1.0);
    single.context->drawBitmap(picture, CRect(4, 4, 47, 45));
    single.finish();
    EXPECT_EQ(single.at(3, 3).alpha, 0);
    EXPECT_EQ(single.at(47, 45).alpha, 0) << "43 x 41 logical pixels at 100 %, not 86 x 82";
    CColor centre;
    knob.getPixel(21, 30 * 41 + 20, centre);
    EXPECT_LE(channelDistance(single.at(25, 24), centre), 24);
    picture->forget();
}

// 100 %: the 1x pixels exactly, as before zooming existed, and no higher set decoded.
TEST(ZoomedBitmap, At100PercentTheDrawingIsThe1xImageAndNoSetIsDecoded)
{
    ZoomedCanvas canvas(60, 50, 1.0);
    CBitmap knob(kImageKnobStrip);
    canvas.context->drawBitmap(&knob, CRect(5, 3, 48, 44), CPoint(0, 17 * 41));
    canvas.finish();
    EXPECT_EQ(knob.decodedHigherSets(), 0);
    int different = 0;
    for (int y = 3; y < 44; ++y)
        for (int x = 5; x < 48; ++x) {
            CColor expected;
            knob.getPixel(x - 5, y - 3 + 17 * 41, expected);
            different += canvas.at(x, y) != expected;
        }
    EXPECT_EQ(different, 0);
}

}  // namespace
