// The control protocol the view library enforces: gestures that always end, one way to commit
// a value, merged redraw areas and the in-place text edit seam.
#include <gtest/gtest.h>

#include "frame_driver.h"
#include "probe_view.h"
#include "ui/bitmap.h"
#include "ui/controls.h"
#ifndef _WIN32
#include "ui/cairo/offscreen_frame.h"
#include "ui/cairo/offscreen_text_edit.h"
#endif

using namespace VSTGUI;

namespace {

using Lines = std::vector<std::string>;

class EditLog : public CControlListener {
public:
    void valueChanged(CControl *c) override { log.push_back("value " + std::to_string((int)(c->getValue() * 100))); }
    void controlBeginEdit(CControl *) override { log.push_back("begin"); }
    void controlEndEdit(CControl *) override { log.push_back("end"); }
    Lines log;
};

class GestureTest : public ::testing::Test {
protected:
    void SetUp() override { frame = new CFrame(CRect(0, 0, 400, 300), parent.handle(), nullptr); }
    void TearDown() override
    {
        if (frame)
            frame->forget();
        EXPECT_EQ(CBaseObject::liveObjects(), live);
    }
    // A knob in a panel; a drag on it is under way when this returns.
    CAnimKnob *startDragInPanel(CViewContainer *&panel)
    {
        panel = new CViewContainer(CRect(100, 100, 200, 200));
        auto *knob = new CAnimKnob(CRect(10, 10, 40, 40), &listener, 83, 3, 30, nullptr);
        panel->addView(knob);
        frame->addView(panel);
        mouse.press(120, 120);
        mouse.move(120, 100, kLButton);
        return knob;
    }
    int live = CBaseObject::liveObjects();
    TestParentWindow &parent = sharedParentWindow();
    CFrame *frame = nullptr;
    FrameDriver mouse{nullptr};
    EditLog listener;
};

TEST_F(GestureTest, DragStateExistsFromThePressToTheReleaseOnly)
{
    mouse = FrameDriver(frame);
    auto *slider = new CSlider(CRect(0, 0, 20, 110), &listener, 1, CPoint(), 100, nullptr, nullptr, CPoint(),
                               CSlider::kVertical | CSlider::kBottom);
    frame->addView(slider);
    EXPECT_EQ(slider->getGesture(), nullptr);
    mouse.press(10, 50);
    ASSERT_NE(slider->getGesture(), nullptr);
    EXPECT_EQ(frame->getGestureView(), slider);
    mouse.release(10, 50);
    EXPECT_EQ(slider->getGesture(), nullptr);
    EXPECT_EQ(frame->getGestureView(), nullptr);
    EXPECT_EQ(listener.log.front(), "begin");
    EXPECT_EQ(listener.log.back(), "end");
}

TEST_F(GestureTest, RemovingHidingOrClosingUnderADragEndsTheEditOnceAndDropsTheCapture)
{
    mouse = FrameDriver(frame);
    CViewContainer *panel = nullptr;
    // The panel holding the knob leaves the frame.
    CAnimKnob *knob = startDragInPanel(panel);
    knob->remember();
    frame->removeView(panel);
    EXPECT_EQ(listener.log, Lines({"begin", "value 10", "end"}));
    EXPECT_EQ(knob->getGesture(), nullptr);
    EXPECT_EQ(frame->getGestureView(), nullptr);
    mouse.move(120, 50, kLButton);  // the rest of the drag reaches nobody
    mouse.release(120, 50);
    EXPECT_EQ(listener.log.size(), 3u);
    knob->forget();

    // The knob itself is hidden.
    listener.log.clear();
    knob = startDragInPanel(panel);
    knob->setVisible(false);
    EXPECT_EQ(listener.log, Lines({"begin", "value 10", "end"}));
    mouse.release(120, 100);
    EXPECT_EQ(listener.log.size(), 3u);
    frame->removeView(panel);

    // The frame closes.
    listener.log.clear();
    knob = startDragInPanel(panel);
#ifndef _WIN32
    auto *window = static_cast<OffscreenPlatformFrame *>(frame->getPlatformFrame());
    EXPECT_TRUE(window->isMouseCaptured());
    frame->cancelGesture();
    EXPECT_FALSE(window->isMouseCaptured());
    EXPECT_EQ(listener.log, Lines({"begin", "value 10", "end"}));
    listener.log.clear();
    mouse.press(120, 120);
    frame->close();
    EXPECT_EQ(listener.log, Lines({"begin", "end"}));
#else
    frame->close();
    EXPECT_EQ(listener.log, Lines({"begin", "value 10", "end"}));
#endif
}

TEST_F(GestureTest, AKickButtonCutShortPopsUpAndAPressWithoutReleaseEndsAtTheNextPress)
{
    mouse = FrameDriver(frame);
    auto *kick = new CKickButton(CRect(0, 0, 20, 20), &listener, 121, nullptr);
    kick->remember();
    frame->addView(kick);
    mouse.press(5, 5);
    EXPECT_EQ(kick->getValue(), 1.f);
    frame->removeView(kick);
    EXPECT_EQ(kick->getValue(), 0.f);
    EXPECT_EQ(listener.log, Lines({"begin", "value 100", "value 0", "end"}));
    kick->forget();

    // The window lost the release (another window took the mouse): the next press ends it.
    listener.log.clear();
    auto *knob = new CAnimKnob(CRect(50, 0, 80, 30), &listener, 83, 3, 30, nullptr);
    frame->addView(knob);
    mouse.press(60, 10);
    mouse.press(60, 10);
    mouse.release(60, 10);
    EXPECT_EQ(listener.log, Lines({"begin", "end", "begin", "end"}));
}

TEST(ControlCommit, OwnerValuesMarkDirtyAndCommitsReportAsAsked)
{
    EditLog listener;
    CControl control(CRect(0, 0, 10, 10), &listener, 5);
    control.setDirty(false);
    control.setValue(0.f);
    EXPECT_FALSE(control.isDirty());
    control.setValue(0.4f);
    EXPECT_TRUE(control.isDirty());
    EXPECT_TRUE(listener.log.empty());

    control.setDirty(false);
    EXPECT_TRUE(control.commitValue(1.5f));  // kept inside [0, 1]
    EXPECT_EQ(control.getValue(), 1.f);
    EXPECT_TRUE(control.isDirty());
    EXPECT_FALSE(control.commitValue(1.f));
    EXPECT_FALSE(control.commitValue(1.f, CControl::kCommitAlwaysReport));
    EXPECT_TRUE(control.commitValue(0.25f, CControl::kCommitInsideEdit));
    EXPECT_FALSE(control.commitValue(0.25f, CControl::kCommitInsideEdit));
    EXPECT_EQ(listener.log, Lines({"value 100", "value 100", "begin", "value 25", "end"}));
    EXPECT_FALSE(control.isEditing());
}

TEST(DirtyAreas, AreasAreJoinedWhenTheUnionCostsNoMoreThanDrawingThemApart)
{
    // Two 10 x 10 areas 10 apart: the 30 x 10 union is cheaper than a second pass.
    auto joined = mergeDirtyRects({CRect(0, 0, 10, 10), CRect(20, 0, 30, 10)});
    EXPECT_EQ(joined, std::vector<CRect>({CRect(0, 0, 30, 10)}));
    // Far apart they stay two; an area inside another disappears; empty ones go.
    auto apart = mergeDirtyRects({CRect(0, 0, 10, 10), CRect(300, 200, 310, 210), CRect(2, 2, 5, 5), CRect()});
    EXPECT_EQ(apart, std::vector<CRect>({CRect(0, 0, 10, 10), CRect(300, 200, 310, 210)}));
    // Joining can chain: a third area next to the first union joins it too.
    auto chain = mergeDirtyRects({CRect(0, 0, 50, 50), CRect(200, 0, 250, 50), CRect(50, 0, 200, 50)});
    EXPECT_EQ(chain, std::vector<CRect>({CRect(0, 0, 250, 50)}));
}

TEST_F(GestureTest, TwoNeedleAreasCloseTogetherAreDrawnInOnePass)
{
    Lines log;
    auto *left = new ProbeView(CRect(0, 0, 10, 10), log, "left");
    auto *middle = new ProbeView(CRect(10, 0, 20, 10), log, "middle");
    auto *right = new ProbeView(CRect(20, 0, 30, 10), log, "right");
    auto *far = new ProbeView(CRect(300, 200, 310, 210), log, "far");
    for (CView *v : {(CView *)left, (CView *)middle, (CView *)right, (CView *)far})
        frame->addView(v);
    frame->idle();
    int middleDraws = middle->draws, farDraws = far->draws;
    left->setDirty(true);
    right->setDirty(true);
    frame->idle();
    frame->idle();
    // The one joined area covers the middle view; the far one is not touched.
    EXPECT_EQ(middle->draws, middleDraws + 1);
    EXPECT_EQ(far->draws, farDraws);
}

#ifndef _WIN32
class TextEditOwner : public IPlatformTextEditCallback {
public:
    void platformTextEditCommitted(const std::string &text) override { done("commit " + text); }
    void platformTextEditCancelled() override { done("cancel"); }
    void platformTextEditLostFocus(const std::string &text) override { done("focus lost " + text); }
    void done(const std::string &what)
    {
        log.push_back(what);
        edit.reset();  // owners release the edit while it reports
    }
    Lines log;
    std::unique_ptr<IPlatformTextEdit> edit;
};

TEST_F(GestureTest, TheOffscreenTextEditIsScriptedAndEndsExactlyOnce)
{
    auto *window = static_cast<OffscreenPlatformFrame *>(frame->getPlatformFrame());
    TextEditOwner owner;
    PlatformTextEditStyle style;
    style.rect = CRect(10, 10, 60, 25);
    style.text = "0.0";
    style.align = kRightText;
    owner.edit = window->createTextEdit(&owner, style);
    ASSERT_TRUE(owner.edit);
    EXPECT_EQ(owner.edit->getStyle().rect, CRect(10, 10, 60, 25));
    EXPECT_EQ(owner.edit->getText(), "0.0");
    OffscreenTextEdit *typing = window->activeTextEdit();
    ASSERT_NE(typing, nullptr);
    typing->type("-3.5");
    EXPECT_EQ(owner.edit->getText(), "-3.5");
    typing->pressReturn();
    EXPECT_EQ(owner.log, Lines({"commit -3.5"}));
    EXPECT_EQ(window->activeTextEdit(), nullptr);

    owner.edit = window->createTextEdit(&owner, style);
    window->activeTextEdit()->pressEscape();
    // A click on the frame takes the focus from an open edit.
    owner.edit = window->createTextEdit(&owner, style);
    window->activeTextEdit()->type("12k");
    frame->takeKeyboardFocus();
    EXPECT_EQ(owner.log, Lines({"commit -3.5", "cancel", "focus lost 12k"}));

    // Opening a second edit takes the focus from the first, which is then inert.
    TextEditOwner other;
    owner.edit = window->createTextEdit(&owner, style);
    other.edit = window->createTextEdit(&other, style);
    EXPECT_EQ(owner.log.back(), "focus lost 0.0");
    window->activeTextEdit()->pressReturn();
    EXPECT_EQ(other.log, Lines({"commit 0.0"}));
    EXPECT_EQ(owner.log.size(), 4u);
}
#endif

}  // namespace
