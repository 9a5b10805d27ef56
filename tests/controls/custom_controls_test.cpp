// The product's own controls through a real frame: what each reports, draws and hints.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "params/parameter_table.h"
#include "controls/kq_kick_button.h"
#include "controls/zem_calibration_control.h"
#include "controls/zem_horizontal_switch.h"
#include "controls/zem_latency_control.h"
#include "controls/zem_meter_selector_control.h"
#include "controls/zem_on_off_button.h"
#include "controls/zem_slider.h"
#include "ui/bitmap.h"
#include "ui/frame_driver.h"

using namespace VSTGUI;

namespace {

using Lines = std::vector<std::string>;

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
        std::snprintf(b, sizeof b, "%.4f", v);
        return b;
    }
    Lines log;
};

class CustomControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CFrame(CRect(0, 0, 586, 300), parent.handle(), nullptr);
        hint = new CHelpHintLabel(CRect(304, 0, 496, 14));
        frame->addView(hint);
    }
    void TearDown() override
    {
        frame->forget();
        EXPECT_EQ(CBaseObject::liveObjects(), live);
    }
    std::string hintText() const { return hint->getText(); }
    template <class T> T *add(T *control)
    {
        frame->addView(control);
        return control;
    }
    int live = CBaseObject::liveObjects();
    TestParentWindow &parent = sharedParentWindow();
    CFrame *frame = nullptr;
    CHelpHintLabel *hint = nullptr;
    Recorder listener;
    FrameDriver mouse{nullptr};
};

// ---- Hint line --------------------------------------------------------------------------------

TEST_F(CustomControls, TheHintLineTakesNoMouseAndTheLastRequestWins)
{
    mouse = FrameDriver(frame);
    auto *under = add(new CZEMOnOffButton(CRect(300, 0, 320, 14), &listener, kStrips, nullptr));
    frame->removeView(hint, false);  // back on top of the button
    frame->addView(hint);
    mouse.click(310, 5);  // falls through the label to the button below
    EXPECT_EQ(under->getValue(), 1.f);
    hint->showHint(kStrips, 0.51f, CZEMHintControl::kNoZone);
    hint->showHint(kMeter, 0.f, 0);
    EXPECT_EQ(hintText(), "Changes current meter to PPM3");
    hint->showHint(kMeter, 2.f, 0);  // no such meter: the text stays
    EXPECT_EQ(hintText(), "Changes current meter to PPM3");
    EXPECT_FALSE(hint->onWheel(CPoint(310, 5), 1.f, CButtonState()));
}

// ---- On/off buttons ---------------------------------------------------------------------------

TEST_F(CustomControls, OnOffWheelTogglesWithoutFlagsAndFollowsTheSignWithBoth)
{
    mouse = FrameDriver(frame);
    auto *plain = add(new CZEMOnOffButton(CRect(0, 20, 20, 40), &listener, kHold, nullptr));
    mouse.wheel(10, 30, 1.f);
    EXPECT_EQ(plain->getValue(), 1.f);
    mouse.wheel(10, 30, 1.f);
    EXPECT_EQ(plain->getValue(), 0.f);
    mouse.wheel(10, 30, -1.f);
    EXPECT_EQ(plain->getValue(), 1.f);
    mouse.wheel(10, 30, 0.05f);  // too small to count
    EXPECT_EQ(plain->getValue(), 1.f);
    EXPECT_EQ(listener.log, Lines({"begin 5", "value 5 1.0000", "end 5", "begin 5", "value 5 0.0000", "end 5",
                                   "begin 5", "value 5 1.0000", "end 5"}));

    auto *both = add(new CZEMOnOffButton(CRect(30, 20, 50, 40), &listener, kLRMS, nullptr));
    both->directionalWheel = both->keepWheelSign = true;
    mouse.wheel(40, 30, -1.f);
    EXPECT_EQ(both->getValue(), 0.f);  // already off
    mouse.wheel(40, 30, 1.f);
    mouse.wheel(40, 30, 1.f);
    EXPECT_EQ(both->getValue(), 1.f);  // stays on
    mouse.wheel(40, 30, -1.f);
    EXPECT_EQ(both->getValue(), 0.f);

    // Directional with the sign negated: away from the user switches off.
    both->keepWheelSign = false;
    mouse.wheel(40, 30, -1.f);
    EXPECT_EQ(both->getValue(), 1.f);
    mouse.wheel(40, 30, 1.f);
    EXPECT_EQ(both->getValue(), 0.f);
}

TEST_F(CustomControls, OnOffClickTogglesOnTheSwitchLawAndIgnoresOtherButtons)
{
    mouse = FrameDriver(frame);
    auto *button = add(new CZEMOnOffButton(CRect(0, 20, 20, 40), &listener, kProcess, nullptr));
    button->setValue(0.49999997f);  // on by the switch law
    mouse.click(10, 30);
    EXPECT_EQ(button->getValue(), 0.f);
    mouse.click(10, 30, kRButton);
    EXPECT_EQ(button->getValue(), 0.f);
    EXPECT_EQ(listener.log, Lines({"begin 0", "value 0 0.0000", "end 0"}));
}

TEST_F(CustomControls, HintButtonsFollowTheirValueAndInactiveOnesSwallowInput)
{
    mouse = FrameDriver(frame);
    auto *strips = add(new CZEMOnOffButtonH(CRect(0, 20, 20, 40), &listener, kStrips, nullptr));
    strips->setHintTarget(hint);
    mouse.move(10, 30);
    EXPECT_EQ(hintText(), "Shows Strips");
    mouse.click(10, 30);
    EXPECT_EQ(hintText(), "Hides Strips");
    mouse.wheel(10, 30, 1.f);
    EXPECT_EQ(hintText(), "Shows Strips");
    mouse.move(200, 200);
    EXPECT_EQ(hintText(), "");

    auto *procFlt = add(new CZEMOnOffButtonAH(CRect(30, 20, 50, 40), &listener, kProcFlt, nullptr));
    procFlt->setHintTarget(hint);
    procFlt->setActive(0);
    listener.log.clear();
    mouse.move(40, 30);
    EXPECT_EQ(hintText(), "Click PROCESS to activate FILTERS");
    mouse.click(40, 30);
    mouse.wheel(40, 30, 1.f);
    EXPECT_EQ(procFlt->getValue(), 0.f);
    EXPECT_TRUE(listener.log.empty());
    mouse.move(200, 200);
    EXPECT_EQ(hintText(), "");

    procFlt->setActive(1);
    hint->setText("old");
    mouse.move(40, 30);
    EXPECT_EQ(hintText(), "");  // entering an active one clears
    hint->setText("old");
    mouse.wheel(40, 30, 1.f);
    EXPECT_EQ(procFlt->getValue(), 1.f);
    EXPECT_EQ(hintText(), "old");  // no hint after an active wheel change
}

TEST_F(CustomControls, StripActiveButtonShowsOffOnInactiveAndOnActive)
{
    auto *button = add(new StripActiveButton(CRect(0, 20, 12, 32), &listener, kProcFlt, nullptr));
    EXPECT_EQ(button->frameIndex(), 0);
    button->setValue(1.f);
    EXPECT_EQ(button->frameIndex(), 2);
    button->setActive(0);
    EXPECT_EQ(button->frameIndex(), 1);
    button->setValue(0.f);
    EXPECT_EQ(button->frameIndex(), 0);
}

TEST_F(CustomControls, LibraryOnOffButtonWithHintTakesNoWheel)
{
    mouse = FrameDriver(frame);
    auto *button = add(new COnOffButtonH(CRect(0, 20, 20, 40), &listener, kShowFlt, nullptr));
    button->setHintTarget(hint);
    mouse.move(10, 30);
    EXPECT_EQ(hintText(), "Opens FILTERS editor");
    EXPECT_FALSE(frame->platformOnWheel(CPoint(10, 30), 1.f, CButtonState()));
    EXPECT_EQ(button->getValue(), 0.f);
}

// ---- Sliders ----------------------------------------------------------------------------------

// A vertical trim slider: 100 pixels of travel, a 10-pixel handle; value 0.5 puts it at 50..60.
CZEMSliderAH *trimSlider(Recorder &listener)
{
    auto *slider = new CZEMSliderAH(CRect(100, 0, 120, 110), &listener, kTrim, CPoint(0, 0), 100, nullptr, nullptr,
                                    CPoint(), CSlider::kVertical | CSlider::kBottom);
    slider->setValue(0.5f);
    slider->setDefaultValue(0.5f);
    return slider;
}

TEST_F(CustomControls, SliderDragsRelativelyOnTheHandleFinelyWithShiftAndFollowsBeyondIt)
{
    mouse = FrameDriver(frame);
    auto *slider = add(trimSlider(listener));
    // The handle is empty (no bitmap): only the recorded row counts, at the handle's top.
    mouse.press(110, 50);
    mouse.move(110, 40, kLButton);  // relative: 10 pixels up
    EXPECT_FLOAT_EQ(slider->getValue(), 0.6f);
    mouse.move(110, 30, kLButton | kShift);  // fine: a tenth
    EXPECT_FLOAT_EQ(slider->getValue(), 0.61f);
    mouse.release(110, 30);
    EXPECT_EQ(listener.log.front(), "begin 1");
    EXPECT_EQ(listener.log.back(), "end 1");

    // A press beside the handle moves nothing.
    slider->setValue(0.5f);
    mouse.press(110, 100);
    mouse.move(110, 90, kLButton);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5f);
    mouse.release(110, 90);

    // A double-click restores the default.
    slider->setValue(0.9f);
    mouse.click(110, 80, kLButton | kDoubleClick);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5f);
}

TEST_F(CustomControls, SliderWheelStepsAndTheInactiveTrimIgnoresIt)
{
    mouse = FrameDriver(frame);
    auto *slider = add(trimSlider(listener));
    slider->setHintTarget(hint);
    mouse.wheel(110, 55, 3.f);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.525f);
    mouse.wheel(110, 55, -1.f, kShift);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5225f);
    mouse.wheel(110, 55, 0.05f);
    EXPECT_NEAR(slider->getValue(), 0.5225f + 0.05f * 0.025f, 1e-6);
    slider->setActive(0);
    listener.log.clear();
    float before = slider->getValue();
    mouse.move(300, 200);
    mouse.move(110, 55);
    EXPECT_EQ(hintText(), "Click PROCESS to activate the Trim");
    mouse.wheel(110, 55, 1.f);
    mouse.drag(110, 55, 110, 10);
    EXPECT_EQ(slider->getValue(), before);
    EXPECT_TRUE(listener.log.empty());
}

TEST_F(CustomControls, ATrimDragThatOutlivesProcessStillEndsItsEdit)
{
    mouse = FrameDriver(frame);
    auto *slider = add(trimSlider(listener));
    mouse.press(110, 50);
    slider->setActive(0);
    mouse.release(110, 50);
    EXPECT_EQ(listener.log, Lines({"begin 1", "end 1"}));
}

// ---- Kick buttons -----------------------------------------------------------------------------

TEST_F(CustomControls, KickButtonReportsOnlyThePressAndShowsHoverAndPressedFrames)
{
    mouse = FrameDriver(frame);
    auto *manual = add(new CKQKickButtonH(CRect(0, 20, 10, 34), &listener, kTagManual, nullptr));
    manual->setHintTarget(hint);
    mouse.move(5, 25);
    EXPECT_EQ(manual->frameIndex(), 1);
    EXPECT_EQ(hintText(), "Click to open the manual");
    mouse.press(5, 25);
    EXPECT_EQ(manual->frameIndex(), 2);
    mouse.release(5, 25);
    EXPECT_EQ(manual->frameIndex(), 1);
    EXPECT_EQ(manual->getValue(), 0.f);
    EXPECT_EQ(listener.log, Lines({"value 121 1.0000"}));
    mouse.click(5, 25, kRButton);  // swallowed
    EXPECT_EQ(listener.log.size(), 1u);
    mouse.move(200, 200);
    EXPECT_EQ(manual->frameIndex(), 0);
    EXPECT_EQ(hintText(), "");
}

TEST_F(CustomControls, AKickButtonOrADragCutShortEndsAsItsReleaseWould)
{
    mouse = FrameDriver(frame);
    auto *manual = add(new CKQKickButtonH(CRect(0, 20, 10, 34), &listener, kTagManual, nullptr));
    mouse.press(5, 25);
    frame->cancelGesture();  // the window lost the mouse
    EXPECT_FALSE(manual->isPressed());
    EXPECT_EQ(manual->getValue(), 0.f);
    EXPECT_EQ(listener.log, Lines({"value 121 1.0000"}));  // the pop-up is not reported either

    listener.log.clear();
    auto *slider = add(trimSlider(listener));
    mouse.press(110, 50);
    mouse.move(110, 40, kLButton);
    slider->setVisible(false);
    EXPECT_EQ(listener.log, Lines({"begin 1", "value 1 0.6000", "end 1"}));
    mouse.release(110, 40);  // the cut-short drag's release finds no gesture
    EXPECT_EQ(listener.log.size(), 3u);
    EXPECT_FALSE(slider->isEditing());
}

// ---- Switches ---------------------------------------------------------------------------------

TEST_F(CustomControls, HorizontalSwitchWheelStepsOnePositionAndSnaps)
{
    mouse = FrameDriver(frame);
    auto *sw = add(new CZEMHorizontalSwitch(CRect(0, 20, 70, 61), &listener, 87, 3, 41, 3, nullptr));
    sw->setValue(0.3f);
    mouse.wheel(10, 30, 1.f);
    EXPECT_FLOAT_EQ(sw->getValue(), 1.f);  // 0.8 snaps to the top
    mouse.wheel(10, 30, 1.f);
    EXPECT_FLOAT_EQ(sw->getValue(), 1.f);
    mouse.wheel(10, 30, -1.f);
    EXPECT_FLOAT_EQ(sw->getValue(), 0.5f);
    EXPECT_EQ(listener.log, Lines({"value 87 1.0000", "value 87 0.5000"}));
}

TEST_F(CustomControls, ScopeSelectorHitZonesAt13141737And38)
{
    mouse = FrameDriver(frame);
    auto *panel = new CViewContainer(CRect(100, 100, 300, 140));
    frame->addView(panel);
    auto *scope = new CZEMCalibrationControl(CRect(0, 0, 86, 11), &listener, kGSIcal, nullptr);
    panel->addView(scope);
    const std::pair<double, float> cases[] = {{13, 0.f}, {14, 0.5f}, {37, 1.f}, {38, 1.f}, {25, 0.5f}, {60, 0.5f}};
    for (auto [x, want] : cases) {
        mouse.click(100 + x, 105);
        EXPECT_FLOAT_EQ(scope->getValue(), want) << x;
    }
    EXPECT_EQ(listener.log.size(), 6u);  // reported even when unchanged
    EXPECT_EQ(scope->frameIndex(), 1);
    listener.log.clear();
    mouse.wheel(110, 105, 1.f);
    mouse.wheel(110, 105, 1.f);
    EXPECT_FLOAT_EQ(scope->getValue(), 1.f);
    EXPECT_EQ(listener.log, Lines({"value 2 1.0000"}));
}

// ---- Meter selector ---------------------------------------------------------------------------

TEST_F(CustomControls, MeterSelectorArrowsWrapTheWheelDoesNotAndTheMiddleTogglesTheSettings)
{
    mouse = FrameDriver(frame);
    auto *selector = add(new CZEMMeterSelectorControl(CRect(200, 100, 349, 123), &listener, kMeter, nullptr));
    selector->setHintTarget(hint);
    mouse.move(210, 110);
    EXPECT_EQ(selector->frameIndex(), 1);
    EXPECT_EQ(hintText(), "Changes current meter to PPM3");
    mouse.click(210, 110);  // left from VU
    EXPECT_FLOAT_EQ(selector->getValue(), 1.f);
    EXPECT_EQ(hintText(), "Changes current meter to RMS3");
    mouse.move(340, 110);
    EXPECT_EQ(selector->frameIndex(), 2);
    mouse.click(340, 110);  // right from PPM
    EXPECT_FLOAT_EQ(selector->getValue(), 0.f);
    EXPECT_EQ(hintText(), "Changes current meter to RMS3");

    listener.log.clear();
    mouse.move(270, 110);
    EXPECT_EQ(selector->frameIndex(), 0);
    EXPECT_EQ(hintText(), "");
    mouse.click(270, 110);
    EXPECT_FLOAT_EQ(selector->getValue(), 0.f);
    EXPECT_EQ(listener.log, Lines({"value 65 1.0000"}));

    listener.log.clear();
    mouse.wheel(270, 110, -1.f);  // stops at VU3
    EXPECT_FLOAT_EQ(selector->getValue(), 0.f);
    for (int i = 0; i < 3; ++i)
        mouse.wheel(270, 110, 1.f);
    EXPECT_FLOAT_EQ(selector->getValue(), 1.f);  // stops at PPM3
    EXPECT_EQ(listener.log, Lines({"value 3 0.5000", "value 3 1.0000"}));
    mouse.leave();
    EXPECT_EQ(selector->getHoverZone(), CZEMMeterSelectorControl::kMiddle);
}

// ---- Lag display ------------------------------------------------------------------------------

TEST_F(CustomControls, LagDisplayDigitsArrowsDragAndReset)
{
    mouse = FrameDriver(frame);
    auto *lag = add(new CZEMLatencyControl(CRect(100, 100, 126, 140), &listener, kLagTime, nullptr));
    for (auto [v, ms] : {std::pair<float, int>{0.f, 0}, {1.f, 999}, {0.5f, 500}}) {
        lag->setValue(v);
        EXPECT_EQ(lag->milliseconds(), ms);
    }
    lag->setValue(995.f / 999.f);
    listener.log.clear();
    mouse.click(113, 105);  // the upper arrow: +10 ms stops at 999
    EXPECT_EQ(lag->milliseconds(), 999);
    EXPECT_EQ(listener.log, Lines({"begin 16", "value 16 1.0000", "end 16"}));
    mouse.click(113, 130, kLButton | kShift);  // the lower arrow, 1 ms
    EXPECT_EQ(lag->milliseconds(), 998);

    lag->setValue(0.f);
    mouse.drag(103, 120, 103, 70);  // 50 pixels up, 2 ms each
    EXPECT_EQ(lag->milliseconds(), 100);
    mouse.drag(103, 120, 103, 100, kLButton | kShift);  // 20 pixels, 1 ms per 10
    EXPECT_EQ(lag->milliseconds(), 102);

    listener.log.clear();
    lag->setDefaultValue(0.f);
    lag->setValue(0.f);
    mouse.click(103, 120, kLButton | kDoubleClick);
    EXPECT_TRUE(lag->resetRequested);
    EXPECT_EQ(listener.log, Lines({"begin 16", "value 16 0.0000", "end 16"}));  // even unchanged

    mouse.wheel(103, 120, 1.f);
    EXPECT_EQ(lag->milliseconds(), 10);
    mouse.wheel(103, 120, 1.f, kShift);
    EXPECT_EQ(lag->milliseconds(), 11);
}

}  // namespace
