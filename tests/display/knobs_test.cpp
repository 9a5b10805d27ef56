// The settings knobs through a real frame: drag law, Shift rebasing, reset, wheel and the frame
// sets of the drawing variants.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "params/parameter_table.h"
#include "display/anim_knob4.h"
#include "ui/frame_driver.h"

using namespace VSTGUI;

namespace {

using Lines = std::vector<std::string>;

class Recorder : public CControlListener {
public:
    void valueChanged(CControl *) override { ++reports; }
    void controlBeginEdit(CControl *c) override { log.push_back("begin " + std::to_string(c->getTag())); }
    void controlEndEdit(CControl *c) override { log.push_back("end " + std::to_string(c->getTag())); }
    Lines log;
    int reports = 0;
};

class Knobs : public ::testing::Test {
protected:
    void SetUp() override { frame = new CFrame(CRect(0, 0, 586, 300), parent.handle(), nullptr); }
    void TearDown() override
    {
        frame->forget();
        EXPECT_EQ(CBaseObject::liveObjects(), live);
    }
    CAnimKnob4 *knob()
    {
        auto *k = new CAnimKnob4(CRect(280, 140, 323, 181), &listener, kTagVUReference, 51, 41, nullptr);
        k->dragFactor = 0.2f;
        k->fineFactor = 10.f;
        frame->addView(k);
        return k;
    }
    int live = CBaseObject::liveObjects();
    TestParentWindow &parent = sharedParentWindow();
    CFrame *frame = nullptr;
    Recorder listener;
};

TEST_F(Knobs, TwoHundredPixelsSweepTheRangeAnyMixOfUpAndRightAndShiftTakesTwoThousand)
{
    FrameDriver mouse(frame);
    CAnimKnob4 *k = knob();
    mouse.drag(300, 160, 300, -40);  // 200 up
    EXPECT_FLOAT_EQ(k->getValue(), 1.f);
    k->setValue(0.f);
    mouse.drag(300, 160, 400, 60);  // 100 right, 100 up
    EXPECT_FLOAT_EQ(k->getValue(), 1.f);
    k->setValue(0.f);
    mouse.drag(300, 160, 400, 160);  // 100 right
    EXPECT_NEAR(k->getValue(), 0.5f, 1e-6);
    k->setValue(0.f);
    mouse.drag(300, 160, 500, 160, kLButton | kShift);  // 200 of 2000
    EXPECT_NEAR(k->getValue(), 0.1f, 1e-6);
    EXPECT_EQ(listener.log.size(), 8u);  // four matched edits
    EXPECT_EQ(listener.log.front(), "begin 83");
    EXPECT_EQ(listener.log.back(), "end 83");
}

TEST_F(Knobs, ShiftPressedAndReleasedMidDragChangesTheRateWithoutAJump)
{
    FrameDriver mouse(frame);
    CAnimKnob4 *k = knob();
    mouse.press(300, 160);
    mouse.move(300, 120, kLButton);  // 40 up: 0.2
    EXPECT_NEAR(k->getValue(), 0.2f, 1e-6);
    mouse.move(300, 120, kLButton | kShift);  // Shift pressed: no jump
    EXPECT_NEAR(k->getValue(), 0.2f, 1e-6);
    mouse.move(300, 20, kLButton | kShift);  // 100 more, fine: 0.05
    EXPECT_NEAR(k->getValue(), 0.25f, 1e-5);
    mouse.move(300, 20, kLButton);  // released: no jump
    EXPECT_NEAR(k->getValue(), 0.25f, 1e-5);
    mouse.move(300, 0, kLButton);  // 20 more at full rate: 0.1
    EXPECT_NEAR(k->getValue(), 0.35f, 1e-5);
    mouse.release(300, 0);
    EXPECT_EQ(k->getGesture(), nullptr);
}

TEST_F(Knobs, CtrlClickAndDoubleClickResetAndTheWheelStepsFractionally)
{
    FrameDriver mouse(frame);
    CAnimKnob4 *k = knob();
    k->setDefaultValue(0.75f);
    k->setValue(0.1f);
    mouse.click(300, 160, kLButton | kControl);
    EXPECT_FLOAT_EQ(k->getValue(), 0.75f);
    k->setValue(0.1f);
    mouse.click(300, 160, kLButton | kDoubleClick);
    EXPECT_FLOAT_EQ(k->getValue(), 0.75f);
    EXPECT_EQ(listener.log, Lines({"begin 83", "end 83", "begin 83", "end 83"}));

    k->wheelStep = 0.1f;
    k->setValue(0.5f);
    mouse.wheel(300, 160, 0.05f);
    EXPECT_NEAR(k->getValue(), 0.505f, 1e-6);
    mouse.wheel(300, 160, 3.f);
    EXPECT_NEAR(k->getValue(), 0.605f, 1e-6);
    mouse.wheel(300, 160, -1.f, kShift);
    EXPECT_NEAR(k->getValue(), 0.595f, 1e-6);
    // Without a listener it takes no press.
    k->setListener(nullptr);
    EXPECT_EQ(frame->platformOnMouseDown(CPoint(300, 160), CButtonState(kLButton)), kMouseEventNotHandled);
}

std::vector<int> framesOf(CAnimKnob4 &k)
{
    std::set<int> frames;
    for (int i = 0; i <= 1000; ++i) {
        k.setValue((float)i / 1000.f);
        frames.insert(k.drawnFrame());
    }
    return std::vector<int>(frames.begin(), frames.end());
}

TEST(KnobVariants, EachVariantShowsItsFrameSetOnTheFiftyOneFrameStrip)
{
    const CRect r(0, 0, 43, 41);
    CRmsLedRefKnob rmsRef(r, nullptr, 72, 51, 41, nullptr);
    CRmsOverLedKnob rmsOver(r, nullptr, 78, 51, 41, nullptr);
    CVuLedRefKnob vuRef(r, nullptr, 83, 51, 41, nullptr);
    CPpmLedRefKnob ppmRef(r, nullptr, 93, 51, 41, nullptr);
    CVuOverLedKnob vuOver(r, nullptr, 88, 51, 41, nullptr);
    CPpmOverLedKnob ppmOver(r, nullptr, 98, 51, 41, nullptr);
    CVuBackLitKnob backLit(r, nullptr, 91, 51, 41, nullptr);
    CAnimKnob4 plain(r, nullptr, 84, 51, 41, nullptr);
    EXPECT_EQ(framesOf(rmsRef), std::vector<int>({0, 8, 17, 25, 33, 42, 50}));
    EXPECT_EQ(framesOf(rmsOver), std::vector<int>({2, 6, 11, 17, 22, 28, 33, 39, 44, 47}));
    EXPECT_EQ(framesOf(vuRef), std::vector<int>({5, 19, 31, 45}));
    EXPECT_EQ(framesOf(ppmRef), std::vector<int>({5, 19, 31, 45}));
    EXPECT_EQ(framesOf(vuOver), std::vector<int>({2, 6, 11, 17, 22, 28, 33, 39, 43, 48}));
    EXPECT_EQ(framesOf(ppmOver), std::vector<int>({2, 6, 11, 17, 22, 28, 33, 39, 43, 48}));
    EXPECT_EQ(framesOf(backLit), std::vector<int>({15, 20, 25, 30, 35}));
    EXPECT_EQ(framesOf(plain).size(), 51u);
    vuRef.setValue(-0.1f);
    EXPECT_EQ(vuRef.drawnFrame(), 0);
    backLit.setValue(-0.5f);
    EXPECT_EQ(backLit.drawnFrame(), 0);
}

TEST_F(Knobs, FrontReferenceHintsItsTagAndKeepsTwentyNineCharacters)
{
    FrameDriver mouse(frame);
    auto *hint = new CHelpHintLabel(CRect(304, 0, 496, 14));
    frame->addView(hint);
    auto *reference = new CFrontReferenceControl(CRect(20, 100, 153, 111), &listener, kTagPPMReference, nullptr);
    reference->setHintTarget(hint);
    frame->addView(reference);
    reference->setReferenceText("-18 dBFS = 0 PPM with a long tail of text");
    EXPECT_EQ(std::string(reference->getReferenceText()),
              std::string("-18 dBFS = 0 PPM with a long tail of text").substr(0, 29));
    mouse.move(50, 105);
    EXPECT_STREQ(hint->getText(), "Click and drag to adjust PPM reference level");
    mouse.drag(50, 105, 50, 5);  // drags like a knob: 100 of 1000 pixels
    EXPECT_NEAR(reference->getValue(), 0.1f, 1e-6);
    mouse.move(400, 250);
    EXPECT_STREQ(hint->getText(), "");
}

}  // namespace
