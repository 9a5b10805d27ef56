// The needle views through a real frame: angles at the clamps and at rest, values that are not
// numbers, the click, the drawing checked at pixels that follow from the geometry, and the
// areas a new reading asks to redraw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "params/parameter_table.h"
#include "display/zem_meter2.h"
#include "controls/image_numbers.h"
#include "ui/bitmap.h"
#include "ui/draw_context.h"
#include "ui/frame_driver.h"

using namespace VSTGUI;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Lies under the views and records every area the frame redraws.
class Backdrop : public CView {
public:
    explicit Backdrop(const CRect &size) : CView(size) {}
    void drawRect(CDrawContext *context, const CRect &updateRect) override
    {
        areas.push_back(updateRect);
        CView::drawRect(context, updateRect);
    }
    std::vector<CRect> areas;
};

class Clicks : public CControlListener {
public:
    void valueChanged(CControl *control) override { tags.push_back(control->getTag()); }
    std::vector<long> tags;
};

// A picture of one view alone, over transparency.
struct Picture {
    explicit Picture(CView *view) : bitmap(COffscreenContext::renderView(view, view->localToFrame(view->getViewSize())))
    {
    }
    ~Picture()
    {
        if (bitmap)
            bitmap->forget();
    }
    // In the coordinates of the view's parent (the frame here).
    CColor at(const CPoint &p, const CPoint &origin) const
    {
        CColor c;
        bitmap->getPixel((int)std::floor(p.x - origin.x), (int)std::floor(p.y - origin.y), c);
        return c;
    }
    CBitmap *bitmap;
};

int channelDistance(const CColor &a, const CColor &b)
{
    return std::max({std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
}

// The pixel whose centre lies closest to the needle's axis between radii r1 and r2: the line
// covers it fully, so it shows the needle's own colour.
CPoint axisPixel(const CZEMMeter2 &view, float degrees, float r1, float r2)
{
    const CPoint p = view.pivot();
    CPoint best;
    double bestDistance = 10;
    const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
    for (float r = r1; r <= r2; r += 0.05f) {
        NeedlePoint q = needlePoint((float)p.x, (float)p.y, r, degrees);
        double cx = std::floor(q.x) + 0.5, cy = std::floor(q.y) + 0.5;
        // Distance of the pixel centre from the axis through (p + 0.5) along (c, -s).
        double dx = cx - (p.x + 0.5), dy = cy - (p.y + 0.5);
        double across = std::fabs(dx * s + dy * c);
        if (across < bestDistance) {
            bestDistance = across;
            best = CPoint(cx, cy);
        }
    }
    return best;
}

class MeterViews : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The window must show the whole frame: a window system paints only what is visible.
        parent.resize(600, 300);
        frame = new CFrame(CRect(0, 0, 586, 300), parent.handle(), nullptr);
        backdrop = new Backdrop(CRect(0, 0, 586, 300));
        frame->addView(backdrop);
    }
    void TearDown() override
    {
        frame->forget();
        EXPECT_EQ(CBaseObject::liveObjects(), live);
    }
    template <class View> View *add(CCoord x, CCoord y)
    {
        auto *view = new View(CPoint(x, y), &clicks);
        frame->addView(view);
        return view;
    }
    // Draws what is pending and answers the areas drawn.
    std::vector<CRect> redraw()
    {
        backdrop->areas.clear();
        frame->idle();
        return backdrop->areas;
    }
    int live = CBaseObject::liveObjects();
    TestParentWindow &parent = sharedParentWindow();
    CFrame *frame = nullptr;
    Backdrop *backdrop = nullptr;
    Clicks clicks;
};

TEST_F(MeterViews, AnglesAtRestAndAtTheClamps)
{
    auto *vu = add<CZEMVUMeter2>(10, 10);
    auto *rms = add<CZEMRMSMeter2>(300, 10);
    auto *ppm = add<CZEMPPMMeter2>(300, 150);
    // As built (and after a reset): VU -0.05, slightly left of rest; RMS and PPM at the bottom.
    EXPECT_NEAR(vu->needleDegrees(), 139.66f, 0.006f);
    EXPECT_FLOAT_EQ(rms->peakDegrees(), 145.0f);
    EXPECT_FLOAT_EQ(rms->rmsDegrees(), 145.0f);
    EXPECT_FLOAT_EQ(ppm->peakDegrees(), 150.0f);

    vu->setNeedleValue(1.0f);
    EXPECT_NEAR(vu->needleDegrees(), 77.75f, 0.006f);
    vu->setNeedleValue(7.0f);
    EXPECT_FLOAT_EQ(vu->getNeedleValue(), 1.5f);
    EXPECT_NEAR(vu->needleDegrees(), 40.93f, 0.006f);
    vu->setNeedleValue(-3.0f);
    EXPECT_NEAR(vu->needleDegrees(), 139.66f, 0.006f);

    rms->setRMSValue(1.0f);
    EXPECT_NEAR(rms->rmsDegrees(), 51.89f, 0.006f);
    rms->setPeakValue(32.0f);
    EXPECT_FLOAT_EQ(rms->peakDegrees(), 34.0f);
    rms->setPeakValue(0.0001f);
    EXPECT_FLOAT_EQ(rms->peakDegrees(), 145.0f);
    ppm->setPeakValue(32.0f);
    EXPECT_FLOAT_EQ(ppm->peakDegrees(), 30.0f);
    ppm->setPeakValue(1.0f);
    EXPECT_NEAR(ppm->peakDegrees(), 89.69f, 0.006f);
    ppm->setPeakValue(0.0f);
    EXPECT_FLOAT_EQ(ppm->getPeakValue(), 0.0001f);
    EXPECT_FLOAT_EQ(ppm->peakDegrees(), 150.0f);
}

TEST_F(MeterViews, AValueThatIsNotANumberStandsAtTheLowerClamp)
{
    auto *vu = add<CZEMVUMeter2>(10, 10);
    auto *rms = add<CZEMRMSMeter2>(300, 10);
    auto *ppm = add<CZEMPPMMeter2>(300, 150);
    vu->setNeedleValue(1.0f);
    vu->setNeedleValue(kNaN);
    EXPECT_FLOAT_EQ(vu->getNeedleValue(), -0.05f);
    EXPECT_FLOAT_EQ(vu->needleDegrees(), vuNeedleAngle(-0.05f));
    rms->setRMSValue(1.0f);
    rms->setRMSValue(kNaN);
    rms->setPeakValue(kNaN);
    EXPECT_FLOAT_EQ(rms->getRMSValue(), 0.0001f);
    EXPECT_FLOAT_EQ(rms->rmsDegrees(), 145.0f);
    EXPECT_FLOAT_EQ(rms->peakDegrees(), 145.0f);
    ppm->setPeakValue(1.0f);
    ppm->setPeakValue(kNaN);
    ppm->setHoldValue(-kNaN);
    EXPECT_FLOAT_EQ(ppm->peakDegrees(), 150.0f);
    EXPECT_FLOAT_EQ(ppm->holdDegrees(), 150.0f);
    // And a NaN never reaches the drawing: the needle is drawn at the bottom of the scale.
    ppm->setHoldVisible(true);
    Picture picture(ppm);
    ASSERT_NE(picture.bitmap, nullptr);
    const CPoint at = axisPixel(*ppm, 150.0f, 60, 100);
    EXPECT_LE(channelDistance(picture.at(at, CPoint(300, 150)), CZEMPPMMeter2::kNeedleColour), 8);
}

TEST_F(MeterViews, OnlyTheLeftButtonReportsTag67)
{
    auto *vu = add<CZEMVUMeter2>(10, 10);
    add<CZEMRMSMeter2>(300, 10);
    EXPECT_TRUE(vu->isTypeOf("CZEMMeter2") && vu->isTypeOf("CControl") && vu->isTypeOf("CView") &&
                vu->isTypeOf("CBaseObject"));
    FrameDriver mouse(frame);
    mouse.click(100, 60, kRButton);
    mouse.click(400, 60, kRButton);
    EXPECT_TRUE(clicks.tags.empty());
    mouse.click(100, 60, kLButton);
    mouse.click(400, 60, kLButton);
    ASSERT_EQ(clicks.tags.size(), 2u);
    EXPECT_EQ(clicks.tags[0], kResetPeaks);
    EXPECT_EQ(clicks.tags[1], 67);
}

TEST_F(MeterViews, NeedlesAreDrawnWhereTheGeometrySaysInTheirColours)
{
    auto *vu = add<CZEMVUMeter2>(10, 10);
    auto *rms = add<CZEMRMSMeter2>(300, 10);
    auto *ppm = add<CZEMPPMMeter2>(300, 150);
    vu->setNeedleValue(1.0f);
    rms->setRMSValue(0.1f);
    rms->setPeakValue(1.0f);
    ppm->setPeakValue(0.5f);
    {
        Picture picture(vu);
        ASSERT_NE(picture.bitmap, nullptr);
        CPoint at = axisPixel(*vu, vu->needleDegrees(), 100, 125);
        EXPECT_LE(channelDistance(picture.at(at, CPoint(10, 10)), CZEMVUMeter2::kNeedleColour), 8);
    }
    {
        Picture picture(rms);
        ASSERT_NE(picture.bitmap, nullptr);
        CPoint body = axisPixel(*rms, rms->peakDegrees(), 60, 95);   // inside the hold radius
        CPoint tip = axisPixel(*rms, rms->peakDegrees(), 106, 117);  // the red outer part
        EXPECT_LE(channelDistance(picture.at(body, CPoint(300, 10)), CZEMRMSMeter2::kPeakColour), 8);
        CColor red = picture.at(tip, CPoint(300, 10));
        EXPECT_GT(red.red, 150);
        EXPECT_LT(red.green, 50);
        EXPECT_LT(red.blue, 50);
        // The value needle's axis shows its thin dark centre line.
        CPoint centre = axisPixel(*rms, rms->rmsDegrees(), 60, 100);
        CColor line = picture.at(centre, CPoint(300, 10));
        EXPECT_LT(line.red, CZEMRMSMeter2::kValueColour.red - 30);
        EXPECT_EQ(line.alpha, 255);
    }
    {
        Picture picture(ppm);
        ASSERT_NE(picture.bitmap, nullptr);
        CPoint at = axisPixel(*ppm, ppm->peakDegrees(), 60, 115);
        EXPECT_LE(channelDistance(picture.at(at, CPoint(300, 150)), CZEMPPMMeter2::kNeedleColour), 8);
        // Far from the needle the view leaves the panel's face alone.
        EXPECT_EQ(picture.at(CPoint(305, 155), CPoint(300, 150)).alpha, 0);
    }
}

TEST_F(MeterViews, HoldMarkersOnlyWhenHoldIsNotOff)
{
    auto *ppm = add<CZEMPPMMeter2>(300, 150);
    ppm->setPeakValue(0.1f);
    ppm->setHoldValue(2.0f);
    const CPoint marker = axisPixel(*ppm, ppm->holdDegrees(), 110, 119);
    {
        Picture picture(ppm);
        EXPECT_EQ(picture.at(marker, CPoint(300, 150)).alpha, 0);
    }
    ppm->setHoldVisible(true);
    {
        Picture picture(ppm);
        EXPECT_LE(channelDistance(picture.at(marker, CPoint(300, 150)), CZEMPPMMeter2::kHoldColour), 8);
    }
    // A hidden marker follows the values all the same.
    ppm->setHoldVisible(false);
    ppm->setHoldValue(1.0f);
    EXPECT_FLOAT_EQ(ppm->holdDegrees(), ppmNeedleAngle(1.0f));
}

TEST_F(MeterViews, TheVUFaceFollowsTheBacklightAndCoversTheNeedleRoots)
{
    auto *vu = add<CZEMVUMeter2>(10, 10);
    CBitmap face(kImageVUFace);
    ASSERT_TRUE(face.isLoaded());
    vu->setNeedleValue(0.5f);
    for (int light : {0, 3, 4}) {
        vu->setBacklight(light);
        Picture picture(vu);
        CColor shown, expected;
        // A point of the face far from the needle and the LED, and one of the cover strip
        // right where the needle enters it.
        const CPoint faceAt(30.5, 30.5);
        picture.bitmap->getPixel((int)faceAt.x, (int)faceAt.y, shown);
        face.getPixel((int)faceAt.x, (int)faceAt.y + 122 * light, expected);
        EXPECT_EQ(shown, expected) << "backlight " << light;
        const CPoint root = axisPixel(*vu, vu->needleDegrees(), 37, 41);  // inside the cover strip
        ASSERT_GE(root.y - 10, 116);
        ASSERT_LT(root.y - 10, 122);
        picture.bitmap->getPixel((int)(root.x - 10), (int)(root.y - 10), shown);
        face.getPixel((int)(root.x - 10), (int)(root.y - 10) + 122 * light, expected);
        EXPECT_EQ(shown, expected) << "backlight " << light;
    }
}

TEST_F(MeterViews, TheLEDShowsTheOverState)
{
    auto *ppm = add<CZEMPPMMeter2>(300, 150);
    CBitmap led(kImageOverLED);
    ASSERT_TRUE(led.isLoaded());
    for (int state : {-1, 0, 1}) {
        ppm->setOverState(state);
        Picture picture(ppm);
        CColor shown, expected;
        picture.bitmap->getPixel(220, 24, shown);
        led.getPixel(10, 10 + 20 * (state + 1), expected);
        EXPECT_EQ(shown, expected) << "over state " << state;
    }
}

TEST_F(MeterViews, ASubThresholdChangeRedrawsNothing)
{
    auto *vu = add<CZEMVUMeter2>(10, 10);
    auto *ppm = add<CZEMPPMMeter2>(300, 150);
    vu->setNeedleValue(1.0f);
    ppm->setPeakValue(1.0f);
    redraw();
    // Less than 1/540 of the arc: 120 / 540 = 0.22 degrees is 0.06 dB on the PPM scale.
    const float step = ppm->visibleStep();
    EXPECT_NEAR(step, 120.0f / 540.0f, 1e-5f);
    ppm->setPeakValue(std::pow(10.0f, 0.05f / 20.0f));
    vu->setNeedleValue(1.001f);
    ppm->setOverState(-1);  // unchanged
    vu->setBacklight(0);    // unchanged
    EXPECT_TRUE(redraw().empty());
    EXPECT_NEAR(ppm->peakDegrees(), 89.69f, 0.006f);  // the needle stays where it is shown
    // The small steps do not get lost: once they add up to a visible step, the needle moves.
    ppm->setPeakValue(std::pow(10.0f, 0.1f / 20.0f));
    EXPECT_FALSE(redraw().empty());
    EXPECT_NEAR(ppm->peakDegrees(), ppmNeedleAngle(std::pow(10.0f, 0.1f / 20.0f)), 1e-4f);
}

TEST_F(MeterViews, TheRedrawnAreaCoversTheOldAndTheNewNeedleAndLittleElse)
{
    auto *ppm = add<CZEMPPMMeter2>(300, 150);
    ppm->setPeakValue(1.0f);
    redraw();
    const float oldDegrees = ppm->peakDegrees();
    ppm->setPeakValue(2.0f);  // 6 dB: 22.5 degrees
    const float newDegrees = ppm->peakDegrees();
    std::vector<CRect> areas = redraw();
    ASSERT_FALSE(areas.empty());
    auto inside = [&areas](const CPoint &p) {
        return std::any_of(areas.begin(), areas.end(), [&p](const CRect &a) { return a.pointInside(p); });
    };
    CRect area = areas[0];
    for (const CRect &a : areas)
        area.unite(a);
    const CRect view = ppm->getViewSize();
    // Every visible point of both needles lies inside.
    CRect needles;
    bool first = true;
    for (float degrees : {oldDegrees, newDegrees}) {
        for (float r = 3; r <= 121; r += 1) {
            NeedlePoint p = needlePoint((float)ppm->pivot().x, (float)ppm->pivot().y, r, degrees);
            if (!view.pointInside(CPoint(p.x, p.y)))
                continue;
            EXPECT_TRUE(inside(CPoint(p.x, p.y))) << degrees << " degrees, radius " << r;
            CRect dot(std::floor(p.x), std::floor(p.y), std::floor(p.x) + 1, std::floor(p.y) + 1);
            if (first)
                needles = dot;
            else
                needles.unite(dot);
            first = false;
        }
    }
    // Nothing far beyond: at most the line's width and its fringe around the needles' box.
    CRect generous(needles);
    generous.inset(-4, -4);
    EXPECT_TRUE(generous.bound(view) == CRect(area).unite(generous).bound(view))
        << "area " << area.left << "," << area.top << "," << area.right << "," << area.bottom;
    EXPECT_LT(area.getWidth() * area.getHeight(), view.getWidth() * view.getHeight() / 3);

    // The LED asks for its own 20 x 20 only.
    ppm->setOverState(1);
    areas = redraw();
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_TRUE(areas[0] == ppm->ledRect());
}

// Twice the sum of the areas' sizes: what one idle redraws, overlaps counted twice.
double sizeOf(const std::vector<CRect> &areas)
{
    double total = 0;
    for (const CRect &a : areas)
        total += a.getWidth() * a.getHeight();
    return total;
}

TEST_F(MeterViews, ASmallMoveOfASlantedNeedleRedrawsStripsAlongItNotItsBox)
{
    auto *ppm = add<CZEMPPMMeter2>(300, 150);
    auto *rms = add<CZEMRMSMeter2>(20, 150);
    ppm->setPeakValue(2.0f);  // +6 dB: right of the top, slanted
    rms->setPeakValue(2.0f);
    rms->setRMSValue(1.0f);
    redraw();
    for (CZEMMeter2 *view : std::vector<CZEMMeter2 *>{ppm, rms}) {
        const CPoint p = view->pivot();
        const float degrees = view == ppm ? ppm->peakDegrees() : rms->peakDegrees();
        const NeedlePoint a = needlePoint((float)p.x, (float)p.y, 3, degrees);
        const NeedlePoint b = needlePoint((float)p.x, (float)p.y, 121, degrees);
        CRect box(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
        box.inset(-3, -3);  // the line's width and fringe
        box.bound(view->getViewSize());
        // 0.3 dB: one visible step or two.
        if (view == ppm)
            ppm->setPeakValue(2.0f * std::pow(10.0f, 0.3f / 20.0f));
        else
            rms->setPeakValue(2.0f * std::pow(10.0f, 0.3f / 20.0f));
        const std::vector<CRect> areas = redraw();
        ASSERT_FALSE(areas.empty());
        EXPECT_LT(sizeOf(areas), 0.6 * box.getWidth() * box.getHeight())
            << degrees << " degrees, " << areas.size() << " areas; the needle's box is " << box.getWidth() << " x "
            << box.getHeight();
    }
}

// No stale pixel: after needles moved, every pixel in which the picture at the old readings and a
// fresh picture at the new readings differ lies in an area that was redrawn, at 100 % and 200 %.
TEST_F(MeterViews, EveryPixelAMovedNeedleChangesIsRedrawn)
{
    auto *vu = add<CZEMVUMeter2>(10, 10);
    auto *ppm = add<CZEMPPMMeter2>(300, 150);
    auto *rms = add<CZEMRMSMeter2>(20, 150);
    vu->setHoldVisible(true);
    ppm->setHoldVisible(true);
    for (double zoom : {1.0, 2.0}) {
        // A window system paints only what is visible: the parent shows the whole zoomed frame.
        parent.resize((int)(600 * zoom), (int)(300 * zoom));
        frame->setZoom(zoom);
        float level = 0.1f;
        vu->setNeedleValue(level);
        ppm->setPeakValue(level);
        rms->setPeakValue(level);
        rms->setRMSValue(level / 2);
        redraw();
        for (float step : {1.04f, 1.5f, 0.98f, 0.5f, 3.0f}) {
            const CRect whole(0, 0, 586, 300);
            CBitmap *before = COffscreenContext::renderView(frame, whole, zoom);
            level *= step;
            vu->setNeedleValue(level * 5);
            vu->setHoldValue(level * 4);
            ppm->setPeakValue(level);
            ppm->setHoldValue(level * 1.3f);
            rms->setPeakValue(level);
            rms->setRMSValue(level / 2);
            const std::vector<CRect> areas = redraw();
            CBitmap *after = COffscreenContext::renderView(frame, whole, zoom);
            ASSERT_TRUE(before && after);
            int stale = 0;
            const int width = (int)std::lround(586 * zoom), height = (int)std::lround(300 * zoom);
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    CColor old, fresh;
                    before->getPixel(x, y, old);
                    after->getPixel(x, y, fresh);
                    if (old == fresh)
                        continue;
                    const CRect pixel(x / zoom, y / zoom, (x + 1) / zoom, (y + 1) / zoom);
                    const bool redrawn = std::any_of(areas.begin(), areas.end(), [&pixel](const CRect &a) {
                        return a.left <= pixel.left && a.top <= pixel.top && a.right >= pixel.right &&
                               a.bottom >= pixel.bottom;
                    });
                    stale += redrawn ? 0 : 1;
                }
            }
            EXPECT_EQ(stale, 0) << "zoom " << zoom << ", step " << step;
            before->forget();
            after->forget();
        }
    }
}

}  // namespace
