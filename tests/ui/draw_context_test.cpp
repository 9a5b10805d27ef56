// Drawing of each backend, checked against pixels that follow from the geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "ui/bitmap.h"
#include "ui/controls.h"
#include "ui/draw_context.h"
#include "ui/font.h"
#include "ui/png_writer.h"
#include "ui/view_container.h"

using namespace VSTGUI;

namespace {

struct Canvas {
    Canvas(int w, int h) : bitmap(new CBitmap(w, h)), context(createBitmapDrawContext(bitmap)) {}
    ~Canvas()
    {
        if (context)
            context->forget();
        bitmap->forget();
    }
    CColor at(int x, int y)
    {
        CColor c;
        // Reading flushes pending drawing on every backend.
        context->forget();
        context = nullptr;
        bitmap->getPixel(x, y, c);
        context = createBitmapDrawContext(bitmap);
        return c;
    }
    CBitmap *bitmap;
    CDrawContext *context;
};

TEST(DrawContext, AntialiasedLineCoversItsWidthAtAKnownAngle)
{
    Canvas canvas(120, 120);
    ASSERT_NE(canvas.context, nullptr);
    const double angle = 30.0 * 3.14159265358979323846 / 180.0;  // up and to the right
    const CPoint from(10.5, 100.5);
    const CPoint to(from.x + 100 * std::cos(angle), from.y - 100 * std::sin(angle));
    canvas.context->setDrawMode(kAntialias);
    canvas.context->setLineStyle(kLineSolid);
    canvas.context->setLineWidth(2.4);
    canvas.context->setFrameColor(kBlackCColor);
    canvas.context->drawLine(from, to);
    // Sample pixel centres by their distance to the line's axis, away from the ends.
    int inside = 0, outside = 0;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 120; ++x) {
            double px = x + 0.5 - from.x, py = y + 0.5 - from.y;
            double along = px * std::cos(angle) - py * std::sin(angle);
            double across = std::fabs(px * std::sin(angle) + py * std::cos(angle));
            if (along < 10 || along > 90)
                continue;
            CColor c = canvas.at(x, y);
            if (across < 0.4) {
                EXPECT_GE(c.alpha, 230) << x << "," << y;
                ++inside;
            } else if (across > 2.0) {
                EXPECT_EQ(c.alpha, 0) << x << "," << y;
                ++outside;
            } else if (std::fabs(across - 1.2) < 0.1) {
                // On the edge about half of the pixel is covered.
                EXPECT_GT(c.alpha, 40) << x << "," << y;
                EXPECT_LT(c.alpha, 215) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inside, 20);
    EXPECT_GT(outside, 1000);
}

TEST(DrawContext, BitmapFrameIsCopiedFromItsSourceOffsetWithoutScaling)
{
    // A three-frame strip: red, green, blue frames of 10 x 10.
    Canvas strip(10, 30);
    const CColor frames[3] = {kRedCColor, kGreenCColor, kBlueCColor};
    for (int i = 0; i < 3; ++i) {
        strip.context->setFillColor(frames[i]);
        strip.context->drawRect(CRect(0, 10 * i, 10, 10 * i + 10), kDrawFilled);
    }
    strip.at(0, 0);
    Canvas canvas(40, 40);
    canvas.context->drawBitmap(strip.bitmap, CRect(5, 5, 15, 15), CPoint(0, 20));
    // Wider than the strip: only the strip's own width is drawn.
    canvas.context->drawBitmap(strip.bitmap, CRect(20, 5, 40, 15), CPoint(0, 10));
    EXPECT_EQ(canvas.at(5, 5), kBlueCColor);
    EXPECT_EQ(canvas.at(14, 14), kBlueCColor);
    EXPECT_EQ(canvas.at(15, 14).alpha, 0);
    EXPECT_EQ(canvas.at(14, 15).alpha, 0);
    EXPECT_EQ(canvas.at(4, 5).alpha, 0);
    EXPECT_EQ(canvas.at(20, 5), kGreenCColor);
    EXPECT_EQ(canvas.at(29, 14), kGreenCColor);
    EXPECT_EQ(canvas.at(30, 10).alpha, 0);
    // Half opacity on the bitmap.
    canvas.context->drawBitmap(strip.bitmap, CRect(0, 30, 10, 40), CPoint(0, 0), 0.5f);
    CColor half = canvas.at(5, 35);
    EXPECT_NEAR(half.alpha, 128, 2);
    EXPECT_NEAR(half.red, 255, 2);
}

// A PNG of one row of straight-alpha RGBA pixels, stored without compression.
std::vector<unsigned char> pngRow(const std::vector<uint32_t> &rgba)
{
    auto crc = [](const unsigned char *p, size_t n) {
        uint32_t c = 0xFFFFFFFFu;
        for (size_t i = 0; i < n; ++i) {
            c ^= p[i];
            for (int k = 0; k < 8; ++k)
                c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
        }
        return ~c;
    };
    auto put32 = [](std::vector<unsigned char> &out, uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back((unsigned char)(v >> shift));
    };
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&](const char *type, const std::vector<unsigned char> &data) {
        put32(png, (uint32_t)data.size());
        std::vector<unsigned char> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        png.insert(png.end(), body.begin(), body.end());
        put32(png, crc(body.data(), body.size()));
    };
    std::vector<unsigned char> header;
    put32(header, (uint32_t)rgba.size());
    put32(header, 1);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA
    chunk("IHDR", header);
    std::vector<unsigned char> raw = {0};  // filter: none
    for (uint32_t p : rgba)
        put32(raw, p);
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    std::vector<unsigned char> zlib = {0x78,
                                       0x01,
                                       0x01,
                                       (unsigned char)raw.size(),
                                       (unsigned char)(raw.size() >> 8),
                                       (unsigned char)~raw.size(),
                                       (unsigned char)(~raw.size() >> 8)};
    zlib.insert(zlib.end(), raw.begin(), raw.end());
    put32(zlib, b << 16 | a);
    chunk("IDAT", zlib);
    chunk("IEND", {});
    return png;
}

TEST(DrawContext, PartlyTransparentBitmapsBlendWithOneRoundingInEveryBuild)
{
    // Straight RGBA: a half and a 30 % transparent pixel over an opaque background colour.
    const std::vector<unsigned char> pixels = pngRow({0xFF640780, 0x0AC8634D});
    const std::vector<unsigned char> backdrop = pngRow({0x28B4FAFF});
    auto *picture = new CBitmap(pixels.data(), pixels.size());
    auto *background = new CBitmap(backdrop.data(), backdrop.size());
    ASSERT_TRUE(picture->isLoaded());
    ASSERT_TRUE(background->isLoaded());
    Canvas canvas(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            canvas.context->drawBitmap(background, CRect(x, y, x + 1, y + 1));
    canvas.context->drawBitmap(picture, CRect(0, 0, 2, 1));
    canvas.context->drawBitmap(picture, CRect(1, 1, 3, 2), CPoint(0, 0), 0.6f);
    canvas.context->drawBitmap(picture, CRect(3, 0, 4, 1), CPoint(1, 0));  // from an offset
    // Premultiplied with rounding, then over the background with rounding: every build agrees
    // to the last bit, so pictures made of bitmaps compare equal.
    EXPECT_EQ(canvas.at(0, 0), CColor(148, 140, 129, 255));
    EXPECT_EQ(canvas.at(1, 0), CColor(31, 186, 205, 255));
    EXPECT_EQ(canvas.at(3, 0), CColor(31, 186, 205, 255));
    EXPECT_EQ(canvas.at(1, 1), CColor(105, 156, 177, 255));
    EXPECT_EQ(canvas.at(2, 1), CColor(35, 184, 223, 255));
    EXPECT_EQ(canvas.at(0, 1), CColor(40, 180, 250, 255));
    EXPECT_EQ(canvas.at(3, 1), CColor(40, 180, 250, 255));
    picture->forget();
    background->forget();
}

TEST(DrawContext, GlobalOpacityHalvesEverythingDrawn)
{
    Canvas canvas(20, 20);
    canvas.context->setFillColor(kBlackCColor);
    canvas.context->drawRect(CRect(0, 0, 20, 20), kDrawFilled);
    canvas.context->setGlobalAlpha(0.5f);
    canvas.context->setFillColor(kWhiteCColor);
    canvas.context->drawRect(CRect(0, 0, 10, 20), kDrawFilled);
    EXPECT_FLOAT_EQ(canvas.context->getGlobalAlpha(), 0.5f);
    CColor c = canvas.at(5, 5);
    EXPECT_NEAR(c.red, 128, 2);
    EXPECT_NEAR(c.green, 128, 2);
    EXPECT_EQ(c.alpha, 255);
    EXPECT_EQ(canvas.at(15, 5), kBlackCColor);
}

TEST(DrawContext, ClipAndOffsetApplyToEveryOperation)
{
    Canvas canvas(40, 40);
    canvas.context->setOffset(CPoint(10, 5));
    canvas.context->setClipRect(CRect(0, 0, 10, 10));  // surface (10, 5) to (20, 15)
    EXPECT_EQ(canvas.context->getClipRect(), CRect(0, 0, 10, 10));
    canvas.context->setFillColor(kRedCColor);
    canvas.context->drawRect(CRect(-5, -5, 30, 30), kDrawFilled);
    EXPECT_EQ(canvas.at(10, 5), kRedCColor);
    EXPECT_EQ(canvas.at(19, 14), kRedCColor);
    EXPECT_EQ(canvas.at(20, 14).alpha, 0);
    EXPECT_EQ(canvas.at(9, 5).alpha, 0);
    EXPECT_EQ(canvas.at(10, 15).alpha, 0);
}

// The inked box of a picture: pixels with any coverage.
CRect inkBox(Canvas &canvas, int w, int h)
{
    CRect box(w, h, -1, -1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (canvas.at(x, y).alpha > 60) {
                box.left = std::min<CCoord>(box.left, x);
                box.top = std::min<CCoord>(box.top, y);
                box.right = std::max<CCoord>(box.right, x + 1);
                box.bottom = std::max<CCoord>(box.bottom, y + 1);
            }
    return box;
}

TEST(DrawContext, TextIsCentredInItsRectangleAndClippedToIt)
{
    Canvas canvas(160, 60);
    CFontDesc font("Arial", 20);
    canvas.context->setFont(&font);
    canvas.context->setFontColor(kBlackCColor);
    const CRect area(20, 10, 140, 50);
    canvas.context->drawString("HEH", area, kCenterText, true);
    CRect ink = inkBox(canvas, 160, 60);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.left + ink.getWidth() / 2, area.left + area.getWidth() / 2, 1.5);
    EXPECT_NEAR(ink.top + ink.getHeight() / 2, area.top + area.getHeight() / 2, 2.0);
    EXPECT_NEAR(ink.getHeight(), 14.3, 2.0);  // the cap height of Arial, 0.716 em

    Canvas clipped(160, 60);
    clipped.context->setFont(&font);
    clipped.context->setFontColor(kBlackCColor);
    clipped.context->drawString("HEHEHEHEHEHE", CRect(40, 10, 80, 50), kLeftText, true);
    CRect box = inkBox(clipped, 160, 60);
    EXPECT_GE(box.left, 40);
    EXPECT_LE(box.right, 80);
    clipped.context->setFont(&font);
    EXPECT_GT(clipped.context->getStringWidth("HEHEHEHEHEHE"), 100);
}

TEST(DrawContext, PredefinedFontsAreArialAtNineAndTen)
{
    EXPECT_EQ(kNormalFontVerySmall->getName(), "Arial");
    EXPECT_EQ(kNormalFontVerySmall->getSize(), 9);
    EXPECT_EQ(kNormalFontSmaller->getSize(), 10);
    ASSERT_NE(kNormalFontSmaller->getPlatformFont(), nullptr);
    EXPECT_GT(kNormalFontSmaller->getPlatformFont()->getAscent(), 6);
#ifdef _WIN32
    EXPECT_NE(kNormalFontSmaller->getPlatformFont()->getNativeFont(), nullptr);  // for edit boxes
#endif
    // A context asked for another size or style uses a copy; the original stays as it is.
    Canvas canvas(10, 10);
    canvas.context->setFont(kNormalFontSmaller, 11, kBoldFace);
    EXPECT_EQ(canvas.context->getFont()->getSize(), 11);
    EXPECT_EQ(canvas.context->getFont()->getStyle(), kBoldFace);
    EXPECT_EQ(kNormalFontSmaller->getSize(), 10);
}

// A panel with an opaque picture paints over its parent's background, which is then left out;
// the parent's background still shows wherever the panel's picture ends or lets it through.
TEST(ViewContainer, ParentBackgroundShowsWhereAChildPanelDoesNotCoverItOpaquely)
{
    const std::vector<unsigned char> red = pngRow(std::vector<uint32_t>(6, 0xFF0000FF));
    const std::vector<unsigned char> blue = pngRow({0x0000FFFF, 0x0000FFFF});
    const std::vector<unsigned char> halfBlue = pngRow({0x0000FF80, 0x0000FF80});
    for (bool opaqueChild : {true, false}) {
        SCOPED_TRACE(opaqueChild ? "opaque panel" : "translucent panel");
        auto *parentPicture = new CBitmap(red.data(), red.size());
        const std::vector<unsigned char> &childPng = opaqueChild ? blue : halfBlue;
        auto *childPicture = new CBitmap(childPng.data(), childPng.size());
        EXPECT_TRUE(parentPicture->isOpaque());
        EXPECT_EQ(childPicture->isOpaque(), opaqueChild);
        auto *parent = new CViewContainer(CRect(0, 0, 6, 1));
        parent->setBackground(parentPicture);
        // Four pixels wide, but its picture ends after two.
        auto *child = new CViewContainer(CRect(1, 0, 5, 1));
        child->setBackground(childPicture);
        parent->addView(child);
        for (const CRect &area : {CRect(1, 0, 3, 1), CRect(1, 0, 5, 1)}) {
            Canvas canvas(6, 1);
            parent->drawRect(canvas.context, area);
            CColor c;
            for (int x = 1; x < area.right; ++x) {
                c = canvas.at(x, 0);
                if (x < 3 && opaqueChild)
                    EXPECT_EQ(c, CColor(0, 0, 255, 255)) << x;
                else if (x < 3)
                    EXPECT_TRUE(c.alpha == 255 && c.red > 100 && c.blue > 100) << x;  // blended over red
                else
                    EXPECT_EQ(c, CColor(255, 0, 0, 255)) << x;
            }
        }
        parentPicture->forget();
        childPicture->forget();
        parent->forget();
    }
}

TEST(OffscreenRendering, AViewRendersIntoAPictureOfAnArea)
{
    auto *label = new CTextLabel(CRect(10, 10, 50, 30), nullptr, nullptr, CTextLabel::kNoFrame);
    label->setBackColor(kGreenCColor);
    CBitmap *picture = COffscreenContext::renderView(label, CRect(0, 0, 40, 40));
    ASSERT_NE(picture, nullptr);
    CColor c;
    picture->getPixel(10, 10, c);
    EXPECT_EQ(c, kGreenCColor);
    picture->getPixel(9, 10, c);
    EXPECT_EQ(c.alpha, 0);
    picture->getPixel(39, 29, c);
    EXPECT_EQ(c, kGreenCColor);
    // A PNG of it decodes to the same pixels.
    std::vector<unsigned char> png = encodePng(*picture);
    CBitmap decoded(png.data(), png.size());
    ASSERT_TRUE(decoded.isLoaded());
    EXPECT_EQ(decoded.getWidth(), 40);
    decoded.getPixel(20, 20, c);
    EXPECT_EQ(c, kGreenCColor);
    decoded.getPixel(5, 5, c);
    EXPECT_EQ(c.alpha, 0);
    picture->forget();
    label->forget();
}

TEST(Bitmap, ResourcesLoadByNumberWithTheirSizes)
{
    CBitmap background(10000);
    ASSERT_TRUE(background.isLoaded());
    EXPECT_EQ(background.getWidth(), 586);
    EXPECT_EQ(background.getHeight(), 169);
    CBitmap knob(10003);
    EXPECT_EQ(knob.getHeight(), 2091);
    CBitmap missing(12345);
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_EQ(missing.getWidth(), 0);
    const unsigned char garbage[] = {1, 2, 3, 4};
    EXPECT_FALSE(CBitmap(garbage, sizeof garbage).isLoaded());
}

}  // namespace
