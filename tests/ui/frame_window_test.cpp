// The frame's window: created and destroyed without leaking window-system objects.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
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

}  // namespace
