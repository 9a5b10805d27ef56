// Mouse, wheel, enter/exit and redraw behaviour of a real frame, driven with synthetic input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "frame_driver.h"
#include "probe_view.h"
#include "support/file_contents.h"
#include "ui/bitmap.h"
#include "ui/draw_context.h"
#include "ui/view_container.h"

using namespace VSTGUI;

namespace {

class FrameDispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CFrame(CRect(0, 0, 400, 300), parent.handle(), nullptr);
        ASSERT_TRUE(frame->isValid());
        a = new ProbeView(CRect(10, 10, 110, 110), log, "A");
        d = new ProbeView(CRect(10, 150, 110, 250), log, "D", kMouseDownEventHandledButDontNeedMovedOrUpEvents);
        container = new CViewContainer(CRect(200, 0, 400, 200));
        b = new ProbeView(CRect(20, 20, 120, 120), log, "B");
        t = new ProbeView(CRect(50, 50, 150, 150), log, "T", kMouseEventNotHandled, false);
        frame->addView(a);
        frame->addView(d);
        frame->addView(container);
        container->addView(b);
        container->addView(t);
        frame->idle();
        log.clear();
    }
    void TearDown() override { frame->forget(); }

    std::vector<std::string> only(const std::string &word) const
    {
        std::vector<std::string> out;
        for (const auto &line : log)
            if (line.find(word) != std::string::npos)
                out.push_back(line);
        return out;
    }

    TestParentWindow &parent = sharedParentWindow();
    CFrame *frame = nullptr;
    std::vector<std::string> log;
    ProbeView *a, *b, *d, *t;
    CViewContainer *container;
};

using Lines = std::vector<std::string>;

TEST_F(FrameDispatch, PressReachesTheTopmostViewInContainerCoordinatesAndFallsThroughWhenNotHandled)
{
    FrameDriver mouse(frame);
    mouse.click(250, 30);
    EXPECT_EQ(only("down").size(), 1u);
    EXPECT_EQ(only("down"), Lines({"B down 50,30"}));
    log.clear();
    mouse.click(260, 60);  // T lies over B there and declines the press
    EXPECT_EQ(only("down"), Lines({"T down 60,60", "B down 60,60"}));
    EXPECT_EQ(only("up"), Lines({"B up 60,60"}));
    log.clear();
    mouse.click(20, 20, kRButton | kShift);
    EXPECT_EQ(only("down"), Lines({"A down 20,20 shift right"}));
    log.clear();
    mouse.click(20, 20, kLButton | kDoubleClick | kControl);
    EXPECT_EQ(only("down"), Lines({"A down 20,20 ctrl double"}));
}

TEST_F(FrameDispatch, HandledPressCapturesMovesAndReleaseUntilTheButtonGoesUp)
{
    FrameDriver mouse(frame);
    mouse.press(20, 20);
    mouse.move(250, 30, kLButton);
    mouse.move(390, 290, kLButton);
    mouse.release(250, 30);
    EXPECT_EQ(only("A"),
              Lines({"A entered", "A down 20,20", "A moved 250,30", "A moved 390,290", "A up 250,30", "A exited"}));
    EXPECT_EQ(only("B"), Lines({"B entered"}));
    log.clear();
    mouse.move(251, 31);
    EXPECT_EQ(only("moved"), Lines({"B moved 51,31"}));
}

TEST_F(FrameDispatch, PressHandledWithoutFurtherEventsGetsNoMovesOrRelease)
{
    FrameDriver mouse(frame);
    mouse.press(20, 160);
    mouse.move(20, 20, kLButton);
    mouse.release(20, 20);
    EXPECT_EQ(only("D"), Lines({"D entered", "D down 20,160", "D exited"}));
    EXPECT_EQ(only("moved"), Lines({"A moved 20,20"}));
    EXPECT_TRUE(only("up").empty());
}

TEST_F(FrameDispatch, EnterAndExitFollowTheInnermostViewAndPauseDuringACapturedPress)
{
    FrameDriver mouse(frame);
    mouse.move(20, 20);
    mouse.move(250, 30);
    mouse.move(260, 60);
    mouse.move(390, 290);  // over nothing
    EXPECT_EQ(only("ed"), Lines({"A entered", "A moved 20,20", "A exited", "B entered", "B moved 50,30", "B exited",
                                 "T entered", "T moved 60,60", "T exited"}));
    log.clear();
    mouse.move(20, 20);
    mouse.press(20, 20);
    mouse.move(250, 30, kLButton);
    EXPECT_TRUE(only("exited").empty());
    mouse.release(250, 30);
    EXPECT_EQ(only("ter"), Lines({"A entered", "B entered"}));
    EXPECT_EQ(only("exited"), Lines({"A exited"}));
    log.clear();
    mouse.leave();
    EXPECT_EQ(log, Lines({"B exited"}));
}

TEST_F(FrameDispatch, WheelGoesToTheViewUnderTheMouseWithItsModifiers)
{
    FrameDriver mouse(frame);
    mouse.wheel(260, 60, 1.f, kShift);
    EXPECT_EQ(only("wheel"), Lines({"T wheel 10 60,60 shift", "B wheel 10 60,60 shift"}));
    log.clear();
    mouse.wheel(20, 20, -1.f);
    EXPECT_EQ(only("wheel"), Lines({"A wheel -10 20,20"}));
    log.clear();
    a->setVisible(false);
    mouse.wheel(20, 20, 1.f);
    a->setMouseEnabled(false);
    a->setVisible(true);
    mouse.wheel(20, 20, 1.f);
    mouse.click(20, 20);
    EXPECT_TRUE(only("A wheel").empty());
    EXPECT_TRUE(only("A down").empty());
}

TEST_F(FrameDispatch, IdleRedrawsOnlyDirtyViewsAndWhatOverlapsThem)
{
    for (ProbeView *v : {a, b, d, t})
        v->draws = 0;
    frame->idle();
    EXPECT_EQ(a->draws + b->draws + d->draws + t->draws, 0);
    a->setDirty();
    frame->idle();
    EXPECT_EQ(a->draws, 1);
    EXPECT_EQ(b->draws + d->draws + t->draws, 0);
    EXPECT_FALSE(a->isDirty());
    b->setDirty();
    frame->idle();
    EXPECT_EQ(b->draws, 1);
    EXPECT_EQ(t->draws, 1);  // it covers part of B
    EXPECT_EQ(a->draws, 1);
    EXPECT_EQ(d->draws, 0);
    // A hidden view is not drawn, and showing it draws it.
    d->setVisible(false);
    d->setDirty();
    frame->idle();
    EXPECT_EQ(d->draws, 0);
    d->setVisible(true);
    frame->idle();
    EXPECT_EQ(d->draws, 1);
}

TEST_F(FrameDispatch, RemovingWithoutReleaseKeepsTheViewForReAdding)
{
    int live = CBaseObject::liveObjects();
    ASSERT_TRUE(frame->removeView(a, false));
    EXPECT_FALSE(frame->isChild(a));
    EXPECT_EQ(a->getFrame(), nullptr);
    EXPECT_EQ(a->getNbReference(), 1);
    EXPECT_EQ(CBaseObject::liveObjects(), live);
    FrameDriver mouse(frame);
    mouse.click(20, 20);
    EXPECT_TRUE(only("A").empty());
    ASSERT_TRUE(frame->addView(a));
    EXPECT_TRUE(frame->isChild(a));
    EXPECT_EQ(a->getFrame(), frame);
    mouse.click(20, 20);
    EXPECT_EQ(only("down"), Lines({"A down 20,20"}));
    // A view cannot sit in two containers at once.
    EXPECT_FALSE(container->addView(a));
    ASSERT_TRUE(frame->removeView(a, true));
    EXPECT_EQ(CBaseObject::liveObjects(), live - 1);
}

TEST_F(FrameDispatch, ViewRemovedDuringItsOwnPressIsReleasedSafely)
{
    // A press that removes its own container (as a panel closing itself does).
    class Closer : public CView {
    public:
        Closer(const CRect &r) : CView(r) {}
        CMouseEventResult onMouseDown(CPoint &, const CButtonState &) override
        {
            getParentView()->getParentView()->removeView(getParentView(), true);
            return kMouseEventHandled;
        }
    };
    int live = CBaseObject::liveObjects();
    auto *panel = new CViewContainer(CRect(0, 0, 400, 300));
    panel->addView(new Closer(CRect(0, 0, 50, 50)));
    frame->addView(panel);
    FrameDriver mouse(frame);
    mouse.move(5, 5);
    mouse.click(5, 5);
    mouse.move(6, 6);
    EXPECT_FALSE(frame->isChild(panel));
    EXPECT_EQ(CBaseObject::liveObjects(), live);
}

// The frame's picture as written to a file and decoded again.
CBitmap *framePicture(CFrame *frame)
{
    const std::string path = (std::filesystem::temp_directory_path() / "zem-frame-zoom-test.png").string();
    if (!frame->platformWritePicture(path.c_str()))
        return nullptr;
    const std::string png = fileContents(path);
    std::remove(path.c_str());
    return new CBitmap(reinterpret_cast<const unsigned char *>(png.data()), png.size());
}

bool isRed(CBitmap *picture, int x, int y)
{
    CColor c;
    return picture->getPixel(x, y, c) && c.red == 255 && c.green == 0 && c.alpha == 255;
}

TEST_F(FrameDispatch, AtAZoomViewsKeepTheirCoordinatesTheMouseIsDividedAndTheWindowIsScaled)
{
    EXPECT_EQ(frame->getZoom(), 1.0);
    for (double refused : {0.0, -2.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(frame->setZoom(refused));
        EXPECT_EQ(frame->getZoom(), 1.0);
    }
    ASSERT_TRUE(frame->setZoom(2.0));
    EXPECT_FALSE(frame->setZoom(std::nan("")));
    EXPECT_EQ(frame->getZoom(), 2.0);
    EXPECT_EQ(frame->getWidth(), 400);  // logical
    frame->idle();
    log.clear();

    FrameDriver mouse(frame);
    mouse.click(500, 60);  // window pixels: B at 50,30 in its container
    EXPECT_EQ(only("down"), Lines({"B down 50,30"}));
    mouse.move(41, 41);
    mouse.wheel(41, 41, 1.f);
    EXPECT_EQ(only("wheel"), Lines({"A wheel 10 20,20"}));
    log.clear();
    EXPECT_TRUE(frame->onWheelAtLastMouse(-1.f, CButtonState()));  // the host's wheel: no second division
    EXPECT_EQ(only("wheel"), Lines({"A wheel -10 20,20"}));

    // The picture has the window's size and every view drawn at twice its size.
    CBitmap *picture = framePicture(frame);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->getWidth(), 800);
    EXPECT_EQ(picture->getHeight(), 600);
    EXPECT_TRUE(isRed(picture, 20, 20));    // A's top-left corner (10,10)
    EXPECT_TRUE(isRed(picture, 219, 219));  // A's bottom-right pixel
    EXPECT_FALSE(isRed(picture, 19, 19));
    EXPECT_FALSE(isRed(picture, 220, 220));
    EXPECT_FALSE(isRed(picture, 230, 30));  // beside A, outside every view
    picture->forget();

    // A dirty area is drawn at its device size, rounded outward: at 1.5 a view at 10..110 covers 15..165.
    ASSERT_TRUE(frame->setZoom(1.5));
    frame->idle();
    picture = framePicture(frame);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->getWidth(), 600);
    EXPECT_TRUE(isRed(picture, 15, 15));
    EXPECT_TRUE(isRed(picture, 164, 164));
    EXPECT_FALSE(isRed(picture, 14, 14));
    picture->forget();
}

TEST(DeviceScale, AContextAtAScaleHasALogicalSurfaceAndDrawsLarger)
{
    auto *bitmap = new CBitmap(100, 60);
    CDrawContext *context = createBitmapDrawContext(bitmap);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->getDeviceScale(), 1.0);
    context->setDeviceScale(std::nan(""));
    EXPECT_EQ(context->getDeviceScale(), 1.0);
    context->setDeviceScale(2.0);
    EXPECT_EQ(context->getDeviceScale(), 2.0);
    const CRect clip = context->getClipRect();
    EXPECT_EQ(clip.getWidth(), 50);
    EXPECT_EQ(clip.getHeight(), 30);
    context->setFillColor(kRedCColor);
    context->drawRect(CRect(5, 5, 10, 10), kDrawFilled);
    context->forget();
    EXPECT_TRUE(isRed(bitmap, 10, 10));
    EXPECT_TRUE(isRed(bitmap, 19, 19));
    EXPECT_FALSE(isRed(bitmap, 9, 9));
    EXPECT_FALSE(isRed(bitmap, 20, 20));
    bitmap->forget();
}

bool hasColour(CBitmap *picture, int x, int y, const CColor &wanted)
{
    CColor c;
    return picture->getPixel(x, y, c) && c == wanted;
}

TEST(DeviceScale, APartOfABitmapAtAScaleCoversItsScaledAreaFromItsOwnFramesOnly)
{
    // A strip of four frames, one pixel each: red, green, blue, white. A bitmap without a set at
    // the device scale is resampled, but only from the part asked for: no red or white reaches it.
    auto *strip = new CBitmap(4, 1);
    const CColor colours[4] = {kRedCColor, CColor(0, 255, 0, 255), CColor(0, 0, 255, 255), kWhiteCColor};
    CDrawContext *context = createBitmapDrawContext(strip);
    ASSERT_NE(context, nullptr);
    for (int i = 0; i < 4; ++i) {
        context->setFillColor(colours[i]);
        context->drawRect(CRect(i, 0, i + 1, 1), kDrawFilled);
    }
    context->forget();
    auto *target = new CBitmap(20, 10);
    context = createBitmapDrawContext(target);
    context->setDeviceScale(2.0);
    context->setOffset(CPoint(1, 0));
    // Frames 1 and 2 at (2,1)-(4,2): window pixels (4,2)-(8,4).
    context->drawBitmap(strip, CRect(1, 1, 3, 2), CPoint(1, 0));
    context->forget();
    for (int y : {2, 3}) {
        for (int x = 4; x < 8; ++x) {
            CColor c;
            ASSERT_TRUE(target->getPixel(x, y, c));
            EXPECT_EQ(c.red, 0) << x << "," << y;
            EXPECT_EQ(c.alpha, 255) << x << "," << y;
        }
        CColor left, right;
        ASSERT_TRUE(target->getPixel(4, y, left) && target->getPixel(7, y, right));
        EXPECT_GT(left.green, 200);
        EXPECT_GT(right.blue, 200);
        EXPECT_TRUE(hasColour(target, 3, y, CColor(0, 0, 0, 0)));
        EXPECT_TRUE(hasColour(target, 8, y, CColor(0, 0, 0, 0)));
    }
    EXPECT_TRUE(hasColour(target, 4, 1, CColor(0, 0, 0, 0)));
    EXPECT_TRUE(hasColour(target, 4, 4, CColor(0, 0, 0, 0)));
    strip->forget();
    target->forget();
}

TEST(FrameLifetime, EveryObjectIsReleasedWhenTheFrameGoes)
{
    int live = CBaseObject::liveObjects();
    {
        TestParentWindow &parent = sharedParentWindow();
        std::vector<std::string> log;
        auto *frame = new CFrame(CRect(0, 0, 300, 200), parent.handle(), nullptr);
        auto *bitmap = new CBitmap(40, 40);
        auto *container = new CViewContainer(CRect(0, 0, 300, 200));
        container->setBackground(bitmap);
        auto *view = new ProbeView(CRect(0, 0, 10, 10), log, "v");
        view->setBackground(bitmap);
        container->addView(view);
        frame->addView(container);
        bitmap->forget();
        frame->idle();
        FrameDriver(frame).click(5, 5);
        EXPECT_GT(CBaseObject::liveObjects(), live);
        frame->forget();
    }
    EXPECT_EQ(CBaseObject::liveObjects(), live);
}

}  // namespace
