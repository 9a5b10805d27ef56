// The frame's window: created and destroyed without leaking window-system objects.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

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

#ifdef _WIN32
// Real window messages end a drag that cannot end with a release: another window takes the
// mouse, or the frame's window is disabled or hidden. The knob ends its edit exactly once.
TEST(FrameWindow, LosingTheMouseOrBeingDisabledOrHiddenUnderADragEndsTheEditOnce)
{
    struct EditLog : CControlListener {
        void valueChanged(CControl *) override { log.push_back("value"); }
        void controlBeginEdit(CControl *) override { log.push_back("begin"); }
        void controlEndEdit(CControl *) override { log.push_back("end"); }
        std::vector<std::string> log;
    } listener;
    const std::vector<std::string> matched = {"begin", "value", "end"};
    TestParentWindow &parent = sharedParentWindow();
    auto *frame = new CFrame(CRect(0, 0, 300, 200), parent.handle(), nullptr);
    ASSERT_TRUE(frame->isValid());
    frame->addView(new CAnimKnob(CRect(10, 10, 40, 40), &listener, 83, 3, 30, nullptr));
    HWND window = static_cast<HWND>(frame->getPlatformFrame()->getSystemWindow());
    FrameDriver mouse(frame);
    auto startDrag = [&] {
        listener.log.clear();
        mouse.press(20, 20);
        mouse.move(20, 0, kLButton);
        ASSERT_EQ(GetCapture(), window);
        ASSERT_NE(frame->getGestureView(), nullptr);
    };
    auto finishDrag = [&](const char *what) {
        EXPECT_EQ(listener.log, matched) << what;
        EXPECT_EQ(frame->getGestureView(), nullptr) << what;
        EXPECT_NE(GetCapture(), window) << what;
        mouse.move(20, 30, kLButton);  // the rest of the drag reaches nobody
        mouse.release(20, 30);
        EXPECT_EQ(listener.log, matched) << what;
    };

    startDrag();
    SetCapture(static_cast<HWND>(parent.handle()));  // another window takes the mouse
    finishDrag("capture taken");
    ReleaseCapture();

    startDrag();
    EnableWindow(window, FALSE);
    finishDrag("disabled");
    EnableWindow(window, TRUE);

    startDrag();
    ShowWindow(window, SW_HIDE);
    finishDrag("hidden");
    ShowWindow(window, SW_SHOWNA);

    // The frame's own release of the mouse at the end of a drag ends nothing twice.
    startDrag();
    mouse.release(20, 0);
    EXPECT_EQ(listener.log, matched);
    EXPECT_NE(GetCapture(), window);
    frame->forget();
}
#endif

}  // namespace
