// The library controls through a real frame: the edit protocol and the values they report.
#include <gtest/gtest.h>

#include "frame_driver.h"
#include "ui/bitmap.h"
#include "ui/controls.h"

using namespace VSTGUI;

namespace {

class Recorder : public CControlListener {
public:
    void valueChanged(CControl *c) override
    {
        log.push_back("value " + std::to_string(c->getTag()) + " " + text(c->getValue()));
    }
    void controlBeginEdit(CControl *c) override { log.push_back("begin " + std::to_string(c->getTag())); }
    void controlEndEdit(CControl *c) override { log.push_back("end " + std::to_string(c->getTag())); }
    static std::string text(float v)
    {
        char b[32];
        snprintf(b, sizeof b, "%.3f", v);
        return b;
    }
    std::vector<std::string> log;
};

using Lines = std::vector<std::string>;

class ControlsInFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CFrame(CRect(0, 0, 400, 300), parent.handle(), nullptr);
        strip = new CBitmap(20, 60);
    }
    void TearDown() override
    {
        strip->forget();
        frame->forget();
        EXPECT_EQ(CBaseObject::liveObjects(), live);
    }
    int live = CBaseObject::liveObjects();
    TestParentWindow &parent = sharedParentWindow();
    CFrame *frame = nullptr;
    CBitmap *strip = nullptr;
    Recorder listener;
};

TEST_F(ControlsInFrame, OnOffButtonTogglesWithTheLeftButtonInsideOneEdit)
{
    auto *button = new COnOffButton(CRect(10, 10, 30, 30), &listener, 4, strip);
    frame->addView(button);
    FrameDriver mouse(frame);
    mouse.click(15, 15);
    mouse.click(15, 15, kRButton);
    mouse.click(15, 15);
    EXPECT_EQ(listener.log, Lines({"begin 4", "value 4 1.000", "end 4", "begin 4", "value 4 0.000", "end 4"}));
    EXPECT_FALSE(button->isEditing());
}

TEST_F(ControlsInFrame, KickButtonReportsPressAndReleaseAndTracksThePointer)
{
    frame->addView(new CKickButton(CRect(10, 10, 30, 30), &listener, 121, strip));
    FrameDriver mouse(frame);
    mouse.click(15, 15);
    EXPECT_EQ(listener.log, Lines({"begin 121", "value 121 1.000", "value 121 0.000", "end 121"}));
    listener.log.clear();
    mouse.press(15, 15);
    mouse.move(100, 100, kLButton);
    mouse.release(100, 100);
    EXPECT_EQ(listener.log, Lines({"begin 121", "value 121 1.000", "value 121 0.000", "end 121"}));
}

TEST_F(ControlsInFrame, VerticalSliderDragsRelativelyJumpsOutsideTheHandleAndResetsWithCtrl)
{
    auto *handle = new CBitmap(20, 10);
    // 100 pixels of travel from the top; value 0.5 puts the handle at y = 50..60.
    auto *slider = new CSlider(CRect(100, 0, 120, 110), &listener, 1, CPoint(0, 0), 100, handle, nullptr, CPoint(),
                               CSlider::kVertical | CSlider::kBottom);
    handle->forget();
    slider->setValue(0.5f);
    slider->setDefaultValue(0.25f);
    frame->addView(slider);
    EXPECT_EQ(slider->getHandleRect(), CRect(100, 50, 120, 60));
    FrameDriver mouse(frame);
    mouse.drag(110, 55, 110, 35);  // 20 pixels up on the handle
    EXPECT_NEAR(slider->getValue(), 0.7f, 1e-6);
    EXPECT_EQ(listener.log.front(), "begin 1");
    EXPECT_EQ(listener.log.back(), "end 1");
    mouse.drag(110, 35, 110, 15, kLButton | kShift);  // fine: a tenth
    EXPECT_NEAR(slider->getValue(), 0.72f, 1e-6);
    mouse.click(110, 105);  // below the handle: its centre jumps there
    EXPECT_NEAR(slider->getValue(), 0.0f, 1e-6);
    mouse.click(110, 50, kLButton | kControl);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.25f);
    mouse.wheel(110, 50, 1.f);
    EXPECT_NEAR(slider->getValue(), 0.35f, 1e-6);
}

TEST_F(ControlsInFrame, AnimKnobShowsTheFrameOfItsValueAndDragsLinearly)
{
    auto *knob = new CAnimKnob(CRect(0, 0, 20, 20), &listener, 83, 3, 20, strip);
    frame->addView(knob);
    EXPECT_EQ(knob->frameIndex(), 0);
    knob->setValue(0.74f);
    EXPECT_EQ(knob->frameIndex(), 1);
    knob->setValue(0.76f);
    EXPECT_EQ(knob->frameIndex(), 2);
    knob->setValue(0.f);
    FrameDriver mouse(frame);
    mouse.drag(10, 10, 60, -40);  // 50 right + 50 up of 200
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6);
    knob->setDefaultValue(0.1f);
    mouse.click(10, 10, kLButton | kControl);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.1f);
}

TEST_F(ControlsInFrame, HorizontalSwitchPicksThePositionUnderThePointer)
{
    auto *sw = new CHorizontalSwitch(CRect(0, 0, 90, 20), &listener, 5, 3, 20, 3, strip);
    frame->addView(sw);
    FrameDriver mouse(frame);
    mouse.click(45, 10);
    EXPECT_FLOAT_EQ(sw->getValue(), 0.5f);
    mouse.drag(45, 10, 89, 10);
    EXPECT_FLOAT_EQ(sw->getValue(), 1.f);
    EXPECT_EQ(sw->position(), 2);
    mouse.click(1, 10);
    EXPECT_FLOAT_EQ(sw->getValue(), 0.f);
}

TEST_F(ControlsInFrame, MovieBitmapAndLabelIgnoreTheMouse)
{
    auto *movie = new CMovieBitmap(CRect(0, 0, 20, 20), &listener, 66, 2, 20, strip);
    auto *label = new CTextLabel(CRect(0, 0, 20, 20), "x");
    frame->addView(movie);
    frame->addView(label);
    movie->setValue(1.f);
    EXPECT_EQ(movie->frameIndex(), 1);
    FrameDriver(frame).click(5, 5);
    EXPECT_TRUE(listener.log.empty());
}

TEST(TextLabel, ValueToStringRewritesTheText)
{
    CTextLabel *label = new CTextLabel(CRect(0, 0, 50, 14), "-18 dBFS");
    label->setValueToStringFunction([](float v, char *text, void *) { snprintf(text, 256, "%d ms", (int)(v * 1000)); });
    label->setValue(0.3f);
    EXPECT_STREQ(label->getText(), "300 ms");
    EXPECT_TRUE(label->isTypeOf("CTextLabel") && label->isTypeOf("CControl") && label->isTypeOf("CView") &&
                label->isTypeOf("CBaseObject"));
    EXPECT_FALSE(label->isTypeOf("CSlider"));
    label->forget();
}

}  // namespace
