// The frame's window: created and destroyed without leaking window-system objects.
#include <gtest/gtest.h>

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include "ui/offscreen_parent.h"
#endif

#include "frame_driver.h"
#include "ui/bitmap.h"
#include "ui/controls.h"

using namespace VSTGUI;

namespace {

#ifdef _WIN32
// Windows of this thread, children included: Wine answers GetGuiResources with 0, so windows
// are also counted one by one.
struct GuiCounts {
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    int windows = countThreadWindows();
};
#endif

TEST(FrameWindow, OpeningAndClosingManyTimesLeavesNothingBehind)
{
    TestParentWindow &parent = sharedParentWindow();
    auto *background = new CBitmap(300, 200);
    // One round first, so that one-time set-up (GDI+, window class, fonts) is not counted.
    auto round = [&](int i) {
        auto *frame = new CFrame(CRect(0, 0, 300, 200), parent.handle(), nullptr);
        ASSERT_TRUE(frame->isValid());
        frame->setBackground(background);
        auto *label = new CTextLabel(CRect(10, 10, 100, 24), "text");
        frame->addView(label);
        label->setText(i % 2 ? "odd" : "even");
        frame->idle();
        FrameDriver(frame).click(20, 20);
        frame->forget();
    };
    round(0);
#ifdef _WIN32
    {
        int windows = countThreadWindows();
        auto *frame = new CFrame(CRect(0, 0, 300, 200), parent.handle(), nullptr);
        EXPECT_EQ(countThreadWindows(), windows + 1);
        frame->forget();
    }
#endif
    int live = CBaseObject::liveObjects();
#ifdef _WIN32
    GuiCounts before;
#endif
    for (int i = 1; i <= 200; ++i)
        round(i);
    EXPECT_EQ(CBaseObject::liveObjects(), live);
#ifdef _WIN32
    GuiCounts after;
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_GE(before.windows, 1);  // the parent
#endif
    background->forget();
}

TEST(FrameWindow, ANullParentGivesNoWindowOnWindows)
{
    auto *frame = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
#ifdef _WIN32
    EXPECT_FALSE(frame->isValid());
#endif
    frame->forget();
}

TEST(FrameWindow, AnExceptionInAViewNeverLeavesTheWindowsEntryPoints)
{
    class ThrowingView : public CView {
    public:
        ThrowingView() : CView(CRect(0, 0, 100, 100)) {}
        CMouseEventResult onMouseDown(CPoint &, const CButtonState &) override { throw std::runtime_error("down"); }
        bool onWheel(const CPoint &, const float &, const CButtonState &) override { throw 7; }
    };
    TestParentWindow &parent = sharedParentWindow();
    auto *frame = new CFrame(CRect(0, 0, 100, 100), parent.handle(), nullptr);
    ASSERT_TRUE(frame->isValid());
    frame->addView(new ThrowingView);
#ifdef _WIN32
    // Real window messages: the window procedure is the entry point.
    EXPECT_NO_THROW(FrameDriver(frame).press(10, 10));
    EXPECT_NO_THROW(FrameDriver(frame).release(10, 10));
    EXPECT_NO_THROW(FrameDriver(frame).wheel(10, 10, 1.f));
#else
    // The offscreen parent's entry points play the window procedure's part.
    auto *host = static_cast<OffscreenParent *>(parent.handle());
    ASSERT_EQ(host->frame, static_cast<IPlatformFrameCallback *>(frame));
    EXPECT_NO_THROW(host->mouseDown(host->frame, 10, 10, kLButton));
    EXPECT_NO_THROW(host->mouseUp(host->frame, 10, 10, kLButton));
    EXPECT_NO_THROW(host->wheel(host->frame, 10, 10, 1.f, 0));
#endif
    frame->forget();
}

}  // namespace
