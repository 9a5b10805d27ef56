// The channel strips in an open editor on a real effect: the product's strip holders, driven
// through the editor's frame with synthetic input as a user would, and through the effect as a
// host would.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "params/parameter_table.h"
#include "core/templete.h"
#include "editor/editor_factory.h"
#include "editor/temeplete_editor.h"
#include "controls/zem_latency_control.h"
#include "controls/zem_on_off_button.h"
#include "controls/zem_slider.h"
#include "controls/zem_tape_label.h"
#include "controls/zem_text_edit.h"
#include "strips/strip_safe_editors.h"
#include "params/typed_entry.h"
#include "support/editor_with_parts.h"
#include "support/recording_host.h"
#include "ui/bitmap.h"
#include "ui/frame_driver.h"

using namespace VSTGUI;

namespace {

// A front panel that is nothing but its hint line, so that the strips' hints can be read.
class HintLinePanel : public EditorFrontPanel {
public:
    HintLinePanel() : hint(new CHelpHintLabel(CRect(0, 0, 200, 12))) {}
    ~HintLinePanel() override { hint->forget(); }
    bool buildPanel(CFrame *, CBitmap *) override { return true; }
    void teardownPanel() override {}
    void showPanel() override {}
    void hidePanel() override {}
    void parameterChanged(VstInt32, float) override {}
    void controlChanged(CControl *) override {}
    void refreshMeters(double) override {}
    CHelpHintLabel *getHintLabel() const override { return hint; }
    CHelpHintLabel *hint;
};

// The product's strip holders, with the hint-line panels, and the holders kept in view.
class ProductStrips : public EditorPartsFactory {
public:
    std::unique_ptr<EditorFrontPanel> createFrontPanel(MeterType type, VSTGUI::CControlListener *, Templete *) override
    {
        auto panel = std::make_unique<HintLinePanel>();
        if (isMeterType(type))  // the editor asks for the three only
            panels[type] = panel.get();
        return panel;
    }
    std::unique_ptr<EditorFiltersHolder> createFiltersEditor(VSTGUI::CControlListener *editor,
                                                             Templete *effect) override
    {
        auto holder = productEditorParts().createFiltersEditor(editor, effect);
        filters = dynamic_cast<StripFiltersSafeEditor *>(holder.get());
        return holder;
    }
    std::unique_ptr<EditorLabelHolder> createLabelEditor(VSTGUI::CControlListener *editor, Templete *effect) override
    {
        auto holder = productEditorParts().createLabelEditor(editor, effect);
        label = dynamic_cast<StripLabelSafeEditor *>(holder.get());
        return holder;
    }
    HintLinePanel *panels[3] = {};
    StripFiltersSafeEditor *filters = nullptr;
    StripLabelSafeEditor *label = nullptr;
};

class Strips : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.listen();
        effect = new Templete(RecordingHost::callback, editorFactoryWithParts(parts));
        editor = static_cast<TemepleteEditor *>(effect->getEditor());
        ASSERT_NE(editor, nullptr);
        // A new instance starts at the meter type set last in the process.
        effect->setParameter(kMeter, 0.f);
    }
    void TearDown() override
    {
        delete effect;  // closes and deletes the editor
        RecordingHost::stopListening();
        parent.resize(600, 300);
        EXPECT_EQ(activeInPlaceEdit, nullptr);
    }
    void setLayout(float strips, float showFlt, float showLbl)
    {
        effect->setParameter(kStrips, strips);
        effect->setParameter(kShowFlt, showFlt);
        effect->setParameter(kShowLbl, showLbl);
    }
    void open()
    {
        ASSERT_TRUE(editor->open(parent.handle()));
        ASSERT_NE(parts.filters, nullptr);
        ASSERT_NE(parts.label, nullptr);
    }
    int height()
    {
        ERect *r = nullptr;
        effect->dispatcher(effEditGetRect, 0, 0, &r, 0.f);
        return r ? r->bottom - r->top : -1;
    }
    // The automated values the host was told of for one index, in order.
    std::vector<float> automatedValues(VstInt32 index) const
    {
        std::vector<float> values;
        for (const RecordingHost::Automation &a : host.automated)
            if (a.index == index)
                values.push_back(a.value);
        return values;
    }
    StripFiltersEditor *filterStrip() const { return parts.filters->shownStrip(); }
    StripLabelEditor *labelStrip() const { return parts.label->shownStrip(); }
    FrameDriver driver() { return FrameDriver(editor->getFrame()); }
    // Clicks the typed-frequency field where it lies now and types the text with Enter.
    void typeFrequency(bool lowPass, const std::string &text)
    {
        CMyTextEditAH *field = filterStrip()->getField(lowPass);
        ASSERT_NE(field, nullptr);
        CRect r = field->getViewSize();
        r.offset(0, TemepleteEditor::kPanelHeight);
        FrameDriver keys = driver();
        keys.click(r.left + 20, r.top + 7);
        ASSERT_TRUE(field->isBeingEdited()) << text;
        ASSERT_TRUE(keys.type(text));
        ASSERT_TRUE(keys.key("enter"));
    }

    RecordingHost host;
    ProductStrips parts;
    TestParentWindow &parent = sharedParentWindow();
    Templete *effect = nullptr;
    TemepleteEditor *editor = nullptr;
};

// ---- typed frequencies -------------------------------------------------------------------------

TEST(TypedFrequency, HighPassReadsHertzOrKWithTheDecimalPointAndClampsToItsRange)
{
    EXPECT_NEAR(typedHighPassValue("1k5"), std::log(75.0) / std::log(100.0), 1e-6);  // 1500 Hz
    EXPECT_EQ(typedHighPassValue("5000"), 1.f);                                      // above 2 kHz
    EXPECT_EQ(typedHighPassValue("10"), 0.f);                                        // below 20 Hz
    EXPECT_NEAR(typedHighPassValue("200"), 0.5f, 1e-6);
    EXPECT_NEAR(typedHighPassValue(" +200 Hz"), 0.5f, 1e-6);
    EXPECT_NEAR(typedHighPassValue("0k2"), 0.5f, 1e-6);
    EXPECT_EQ(typedHighPassValue("-300"), 0.f);
    EXPECT_EQ(typedHighPassValue("abc"), 0.f);
    EXPECT_EQ(typedHighPassValue(""), 0.f);
    EXPECT_EQ(typedHighPassValue(nullptr), 0.f);
    EXPECT_EQ(typedHighPassValue("nan"), 0.f);
    EXPECT_EQ(typedHighPassValue("inf"), 1.f);
}

TEST(TypedFrequency, LowPassTakesSmallNumbersAsKilohertz)
{
    EXPECT_NEAR(typedLowPassValue("12"), std::log(40.0) / std::log(100.0), 1e-6);  // 12 kHz, about 0.801
    EXPECT_EQ(typedLowPassValue("250"), 0.f);                                      // 250 Hz, below 300
    EXPECT_EQ(typedLowPassValue("31"), 0.f);                                       // 31 Hz
    EXPECT_NEAR(typedLowPassValue("3k"), 0.5f, 1e-6);
    EXPECT_NEAR(typedLowPassValue("3000"), 0.5f, 1e-6);
    EXPECT_NEAR(typedLowPassValue("3"), 0.5f, 1e-6);   // kHz
    EXPECT_NEAR(typedLowPassValue("0.3"), 0.f, 1e-6);  // the lower end of the kHz rule
    EXPECT_EQ(typedLowPassValue("30"), 1.f);           // the upper end
    EXPECT_EQ(typedLowPassValue("0.2"), 0.f);          // 0.2 Hz
    EXPECT_EQ(typedLowPassValue("40k"), 1.f);
    EXPECT_EQ(typedLowPassValue("0k2"), 0.f);  // 200 Hz: "k" is never the kHz rule
    EXPECT_EQ(typedLowPassValue("xyz"), 0.f);
}

TEST_F(Strips, TypedFrequenciesReachTheEffectAsAutomatedChangesAndTheFieldFollows)
{
    effect->setParameter(kProcess, 1.f);
    setLayout(1, 1, 0);
    open();
    typeFrequency(false, "1k5");
    const float v = effect->getParameter(kHPFreq);
    EXPECT_NEAR(v, std::log(75.0) / std::log(100.0), 1e-6);
    ASSERT_FALSE(automatedValues(kHPFreq).empty());
    EXPECT_EQ(automatedValues(kHPFreq).back(), v);
    CMyTextEditAH *field = filterStrip()->getField(false);
    const CRect r = field->getViewSize();
    EXPECT_NEAR(r.left, 45 + 144.0 * v, 1e-9);
    EXPECT_EQ(r.getWidth(), 42);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 15);
    char display[64] = {};
    effect->getParameterDisplay(kHPFreq, display);
    EXPECT_STREQ(field->getText(), display);
    EXPECT_EQ(filterStrip()->getSlider(false)->getValue(), v);

    typeFrequency(false, "5000");
    EXPECT_EQ(effect->getParameter(kHPFreq), 1.f);
    typeFrequency(false, "10");
    EXPECT_EQ(effect->getParameter(kHPFreq), 0.f);
    EXPECT_EQ(filterStrip()->getField(false)->getViewSize().left, 45);

    typeFrequency(true, "12");
    EXPECT_NEAR(effect->getParameter(kLPFreq), std::log(40.0) / std::log(100.0), 1e-6);
    EXPECT_NEAR(filterStrip()->getField(true)->getViewSize().left, 310 + 144.0 * effect->getParameter(kLPFreq), 1e-9);
    typeFrequency(true, "250");
    EXPECT_EQ(effect->getParameter(kLPFreq), 0.f);
    typeFrequency(true, "31k");
    EXPECT_EQ(effect->getParameter(kLPFreq), 1.f);
    typeFrequency(true, "not a number");
    EXPECT_EQ(effect->getParameter(kLPFreq), 0.f);
    // The field shows the frequency it set, not what was typed, also when nothing changed.
    typeFrequency(true, "0k1");
    effect->getParameterDisplay(kLPFreq, display);
    EXPECT_STREQ(filterStrip()->getField(true)->getText(), display);
    EXPECT_EQ(filterStrip()->getField(true)->getViewSize().left, 310);
}

// ---- layout ------------------------------------------------------------------------------------

TEST_F(Strips, EachLayoutShowsOneStripOfEachKindAtItsPlaceAndSizesTheWindow)
{
    struct Row {
        float strips, flt, lbl;
        int height;
        const char *request;  // the size request when coming from the previous row
    } rows[] = {{1, 1, 1, 261, "586x261"}, {1, 0, 1, 221, "586x221"}, {1, 1, 0, 235, "586x235"},
                {1, 0, 0, 195, "586x195"}, {0, 1, 1, 169, "586x169"}, {0, 0, 0, 169, nullptr},
                {1, 1, 1, 261, "586x261"}};
    setLayout(1, 0, 0);
    open();
    EXPECT_EQ(height(), 195);
    EXPECT_TRUE(host.sizeRequests.empty());  // the window is built 195 high
    for (const Row &row : rows) {
        SCOPED_TRACE(row.height);
        host.sizeRequests.clear();
        setLayout(row.strips, row.flt, row.lbl);
        EXPECT_EQ(height(), row.height);
        EXPECT_EQ(editor->getFrame()->getHeight(), row.height);
        if (row.request) {
            ASSERT_FALSE(host.sizeRequests.empty());
            EXPECT_EQ(host.sizeRequests.back(), row.request);
        } else {
            EXPECT_TRUE(host.sizeRequests.empty());
        }
        if (!row.strips)
            continue;
        StripFiltersEditor *filters = filterStrip();
        StripLabelEditor *label = labelStrip();
        ASSERT_NE(filters, nullptr);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(filters, parts.filters->strip(kMeterTypeVU, row.flt != 0));
        EXPECT_EQ(label, parts.label->strip(kMeterTypeVU, row.lbl != 0));
        const int labelTop = row.flt ? 222 : 182;
        EXPECT_EQ(filters->getContainer()->getViewSize(), CRect(0, 169, 586, labelTop));
        EXPECT_EQ(label->getContainer()->getViewSize(), CRect(0, labelTop, 586, row.height));
        EXPECT_EQ(filters->getContainer()->getParentView(), editor->getFrame());
        EXPECT_EQ(label->getContainer()->getParentView(), editor->getFrame());
        // Exactly one strip of each kind is in the frame.
        int attached = 0;
        for (MeterType type : kMeterTypes)
            for (bool expanded : {false, true}) {
                attached += parts.filters->strip(type, expanded)->getContainer()->isAttached();
                attached += parts.label->strip(type, expanded)->getContainer()->isAttached();
            }
        EXPECT_EQ(attached, 2);
    }
}

// A number that is no meter type is a caller's fault: test builds stop at it, a release build
// answers no strip and leaves the shown one as it is.
TEST_F(Strips, AStripAskedForByANumberThatIsNoMeterTypeBreaksAContract)
{
    setLayout(1, 1, 1);
    open();
    StripFiltersEditor *shown = filterStrip();
    ASSERT_NE(shown, nullptr);
    const MeterType none = MeterType(kMeterTypeCount);
#ifdef ZEM_CONTRACTS_ABORT
    EXPECT_DEATH(parts.filters->strip(none, true), "contract failed: isMeterType");
    EXPECT_DEATH(parts.label->showExpanded(CPoint(0, 222), none), "contract failed: isMeterType");
#else
    EXPECT_EQ(parts.filters->strip(none, true), nullptr);
    parts.filters->showExpanded(CPoint(0, 169), none);
#endif
    EXPECT_EQ(filterStrip(), shown);
}

TEST_F(Strips, TheFormsCarryTheirBackgroundsAndControls)
{
    setLayout(1, 1, 1);
    open();
    for (MeterType type : kMeterTypes) {
        SCOPED_TRACE(type);
        StripFiltersEditor *expanded = parts.filters->strip(type, true);
        StripFiltersEditor *collapsed = parts.filters->strip(type, false);
        EXPECT_EQ(expanded->getContainer()->getBackground()->getResourceNumber(), 31000 + 100 * type);
        EXPECT_EQ(collapsed->getContainer()->getBackground()->getResourceNumber(), 40100 + 1000 * type);
        EXPECT_EQ(parts.label->strip(type, true)->getContainer()->getBackground()->getResourceNumber(),
                  34000 + 100 * type);
        EXPECT_EQ(parts.label->strip(type, false)->getContainer()->getBackground()->getResourceNumber(),
                  40100 + 1000 * type);
        EXPECT_EQ(expanded->getHeight(), 53);
        EXPECT_EQ(collapsed->getHeight(), 13);

        EXPECT_EQ(expanded->getProcessButton()->getViewSize(), CRect(541, 4, 572, 34));
        EXPECT_EQ(expanded->getShowButton()->getViewSize(), CRect(574, 0, 585, 11));
        EXPECT_EQ(expanded->getStatusButton(false)->getViewSize(), CRect(16, 20, 52, 32));
        EXPECT_EQ(expanded->getStatusButton(true)->getViewSize(), CRect(281, 20, 317, 32));
        EXPECT_EQ(expanded->getSlopeButton(false)->getViewSize(), CRect(223, 8, 252, 32));
        EXPECT_EQ(expanded->getSlopeButton(true)->getViewSize(), CRect(489, 8, 518, 32));
        EXPECT_TRUE(expanded->getSlopeButton(true)->directionalWheel && expanded->getSlopeButton(true)->keepWheelSign);
        EXPECT_FALSE(expanded->getStatusButton(true)->directionalWheel ||
                     expanded->getStatusButton(true)->keepWheelSign);
        CZEMSliderAH *slider = expanded->getSlider(true);
        EXPECT_EQ(slider->getViewSize(), CRect(323, 10, 485, 42));
        EXPECT_EQ(slider->getHandleTravel(), 162 - 19);
        EXPECT_FALSE(slider->isVertical());
        EXPECT_EQ(slider->getDefaultValue(), 0.5f);
        EXPECT_EQ(expanded->getField(true)->getFontColor(), CColor(170, 170, 170, 255));
        EXPECT_EQ(expanded->getField(true)->getTag(), kTagLPFreqEntry);

        EXPECT_EQ(collapsed->getProcessButton()->getViewSize(), CRect(547, 1, 559, 13));
        EXPECT_EQ(collapsed->getShowButton()->getViewSize(), CRect(574, 0, 585, 11));
        EXPECT_EQ(collapsed->getSlider(false), nullptr);

        StripLabelEditor *label = parts.label->strip(type, true);
        EXPECT_EQ(label->getLagControl()->getViewSize(), CRect(541, 1, 567, 39));
        EXPECT_LE(label->getLagControl()->getViewSize().bottom, label->getHeight()) << "inside its strip";
        EXPECT_EQ(label->getTapeLabel()->getViewSize(), CRect(17, 1, 523, 35));
        EXPECT_STREQ(label->getTapeLabel()->getText(), "Master Track");
        EXPECT_EQ(parts.label->strip(type, false)->getTapeLabel(), nullptr);
        EXPECT_EQ(parts.label->strip(type, false)->getShowButton()->getTag(), kShowLbl);
    }
}

TEST_F(Strips, AMeterChangeSwapsBothStripsToItsFamilyWithoutResizing)
{
    setLayout(1, 0, 1);
    effect->setParameter(kMeter, 0.f);
    open();
    EXPECT_EQ(height(), 221);
    host.sizeRequests.clear();
    effect->setParameter(kMeter, 1.f);  // PPM
    EXPECT_EQ(filterStrip(), parts.filters->strip(kMeterTypePPM, false));
    EXPECT_EQ(labelStrip(), parts.label->strip(kMeterTypePPM, true));
    EXPECT_EQ(filterStrip()->getContainer()->getViewSize(), CRect(0, 169, 586, 182));
    EXPECT_EQ(labelStrip()->getContainer()->getViewSize(), CRect(0, 182, 586, 221));
    EXPECT_EQ(filterStrip()->getContainer()->getBackground()->getResourceNumber(), 42100);
    EXPECT_EQ(labelStrip()->getContainer()->getBackground()->getResourceNumber(), 34200);
    EXPECT_FALSE(parts.filters->strip(kMeterTypeVU, false)->getContainer()->isAttached());
    EXPECT_FALSE(parts.label->strip(kMeterTypeVU, true)->getContainer()->isAttached());
    EXPECT_EQ(height(), 221);
    EXPECT_TRUE(host.sizeRequests.empty());
}

TEST_F(Strips, ShowButtonsInTheStripsSwitchTheFormsThroughTheHost)
{
    setLayout(1, 0, 0);
    open();
    FrameDriver mouse = driver();
    mouse.click(579, 169 + 5);  // ShowFlt of the collapsed filter strip
    EXPECT_EQ(effect->getParameter(kShowFlt), 1.f);
    ASSERT_FALSE(automatedValues(kShowFlt).empty());
    EXPECT_EQ(automatedValues(kShowFlt).back(), 1.f);
    EXPECT_EQ(filterStrip(), parts.filters->strip(kMeterTypeVU, true));
    EXPECT_EQ(height(), 235);
    EXPECT_EQ(filterStrip()->getShowButton()->getValue(), 1.f);
    mouse.click(579, 222 + 5);  // ShowLbl of the collapsed label strip
    EXPECT_EQ(effect->getParameter(kShowLbl), 1.f);
    EXPECT_EQ(height(), 261);
    EXPECT_EQ(host.sizeRequests.back(), "586x261");
    mouse.click(579, 169 + 5);  // ShowFlt again, now in the expanded strip
    EXPECT_EQ(effect->getParameter(kShowFlt), 0.f);
    EXPECT_EQ(height(), 221);
    EXPECT_EQ(labelStrip()->getContainer()->getViewSize(), CRect(0, 182, 586, 221));
}

// ---- filter controls and Process ------------------------------------------------------------------

TEST_F(Strips, FilterControlsFollowTheEffectAndSendTheirChanges)
{
    effect->setParameter(kProcess, 1.f);
    effect->setParameter(kHPFreq, 0.25f);
    effect->setParameter(kLPSlope, 1.f);
    setLayout(1, 1, 0);
    open();
    StripFiltersEditor *strip = filterStrip();
    EXPECT_EQ(strip->getSlider(false)->getValue(), 0.25f);
    EXPECT_EQ(strip->getField(false)->getViewSize().left, 45 + 144 * 0.25);
    EXPECT_EQ(strip->getSlopeButton(true)->getValue(), 1.f);
    char display[64] = {};
    effect->getParameterDisplay(kLPFreq, display);
    EXPECT_STREQ(strip->getField(true)->getText(), display);

    // The host moves a value: the strip of every type follows, shown or not.
    effect->setParameter(kLPFreq, 0.75f);
    for (MeterType type : kMeterTypes) {
        EXPECT_EQ(parts.filters->strip(type, true)->getSlider(true)->getValue(), 0.75f);
        EXPECT_EQ(parts.filters->strip(type, true)->getField(true)->getViewSize().left, 310 + 144 * 0.75);
    }
    effect->setParameter(kLPStat, 0.f);
    EXPECT_EQ(parts.filters->strip(kMeterTypePPM, true)->getStatusButton(true)->getValue(), 0.f);

    // The user clicks: the change goes to the host as an automated one.
    FrameDriver mouse = driver();
    effect->setParameter(kHPStat, 0.f);
    mouse.click(16 + 18, 169 + 26);  // HPStat
    EXPECT_EQ(effect->getParameter(kHPStat), 1.f);
    ASSERT_FALSE(automatedValues(kHPStat).empty());
    EXPECT_EQ(automatedValues(kHPStat).back(), 1.f);
    mouse.click(541 + 15, 169 + 19);  // ProcFlt
    EXPECT_EQ(effect->getParameter(kProcFlt), 1.f);
    mouse.wheel(100, 169 + 26, 1.f);  // HP slider, one notch
    EXPECT_NEAR(effect->getParameter(kHPFreq), 0.275f, 1e-6);
    EXPECT_NEAR(automatedValues(kHPFreq).back(), 0.275f, 1e-6);
    EXPECT_NEAR(strip->getField(false)->getViewSize().left, 45 + 144 * 0.275, 1e-4);
}

TEST_F(Strips, ProcessOffMakesTheFilterControlsInactiveButTypedFrequenciesStillCount)
{
    effect->setParameter(kProcess, 0.f);
    effect->setParameter(kProcFlt, 1.f);
    setLayout(1, 1, 0);
    open();
    StripFiltersEditor *strip = filterStrip();
    EXPECT_EQ(strip->getProcessButton()->getActive(), 0);
    EXPECT_EQ(strip->getProcessButton()->frameIndex(), 1);  // on but inactive
    EXPECT_EQ(strip->getSlider(false)->getActive(), 0);
    EXPECT_EQ(strip->getField(true)->getActive(), 0);
    EXPECT_EQ(parts.filters->strip(kMeterTypeRMS, false)->getProcessButton()->getActive(), 0);

    FrameDriver mouse = driver();
    mouse.click(16 + 18, 169 + 26);  // HPStat ignores the click
    EXPECT_EQ(effect->getParameter(kHPStat), 1.f);
    mouse.wheel(100, 169 + 26, 1.f);  // and the slider the wheel
    EXPECT_EQ(effect->getParameter(kHPFreq), 0.f);
    CRect field = strip->getField(false)->getViewSize();
    mouse.click(field.left + 20, 169 + 7);  // an inactive field opens no box
    EXPECT_EQ(activeInPlaceEdit, nullptr);
    mouse.move(100, 169 + 26);
    EXPECT_STREQ(parts.panels[0]->hint->getText(), "Click PROCESS to activate FILTERS");
    mouse.move(300, 169 + 45);  // off every control: the hint is cleared
    mouse.move(579, 169 + 5);
    EXPECT_STREQ(parts.panels[0]->hint->getText(), "Closes FILTERS editor");

    // Process on: everything reacts again.
    effect->setParameter(kProcess, 1.f);
    EXPECT_EQ(strip->getProcessButton()->frameIndex(), 2);
    EXPECT_EQ(parts.filters->strip(kMeterTypePPM, true)->getSlider(true)->getActive(), 1);
    mouse.click(16 + 18, 169 + 26);
    EXPECT_EQ(effect->getParameter(kHPStat), 0.f);

    // A box opened while Process is on commits into the effect after Process went off.
    field = strip->getField(false)->getViewSize();
    mouse.click(field.left + 20, 169 + 7);
    ASSERT_TRUE(strip->getField(false)->isBeingEdited());
    effect->setParameter(kProcess, 0.f);
    ASSERT_TRUE(mouse.type("1k5"));
    ASSERT_TRUE(mouse.key("enter"));
    EXPECT_NEAR(effect->getParameter(kHPFreq), std::log(75.0) / std::log(100.0), 1e-6);
    EXPECT_EQ(strip->getSlider(false)->getActive(), 0);
}

// ---- label strip ---------------------------------------------------------------------------------

TEST_F(Strips, ADoubleClickOnTheLagTakesTheHostsOutputLatency)
{
    host.outputLatency = 4410;  // 100 ms at 44.1 kHz
    effect->dispatcher(effSetSampleRate, 0, 0, nullptr, 44100.f);
    effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);
    setLayout(1, 0, 1);
    open();
    CZEMLatencyControl *lag = labelStrip()->getLagControl();
    const CCoord top = 182 + 1;
    FrameDriver mouse = driver();
    mouse.click(541 + 13, top + 3);  // the upper arrow: 10 ms
    EXPECT_EQ(lag->milliseconds(), 10);
    EXPECT_NEAR(effect->getParameter(kLagTime), 10.f / 999.f, 1e-6);
    mouse.press(541 + 13, top + 20, kLButton | kDoubleClick);
    mouse.release(541 + 13, top + 20);
    EXPECT_FALSE(lag->resetRequested);
    EXPECT_NEAR(effect->getParameter(kLagTime), 0.1 * 1.001001, 1e-6);
    EXPECT_NEAR(automatedValues(kLagTime).back(), 0.1 * 1.001001, 1e-6);
    EXPECT_EQ(lag->milliseconds(), 100);

    // A latency beyond 999 ms gives the longest lag.
    host.outputLatency = 441000;
    effect->dispatcher(effMainsChanged, 0, 0, nullptr, 0.f);
    effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);
    mouse.press(541 + 13, top + 20, kLButton | kDoubleClick);
    mouse.release(541 + 13, top + 20);
    EXPECT_EQ(effect->getParameter(kLagTime), 1.f);
    EXPECT_EQ(lag->milliseconds(), 999);
}

TEST_F(Strips, TheLabelIsStoredCutAtACharacterBoundaryAndSurvivesTheChunk)
{
    setLayout(1, 0, 1);
    open();
    CZEMTapeLabel *tape = labelStrip()->getTapeLabel();
    EXPECT_STREQ(tape->getText(), "Master Track");

    // Through the edit box, as a user types it.
    FrameDriver mouse = driver();
    mouse.click(200, 182 + 15);
    ASSERT_TRUE(tape->isBeingEdited());
    ASSERT_TRUE(mouse.type("Bus \xC3\x9C"
                           "berall"));
    ASSERT_TRUE(mouse.key("enter"));
    EXPECT_EQ(effect->stripLabelText(), "Bus \xC3\x9C"
                                        "berall");
    EXPECT_STREQ(tape->getText(), "Bus \xC3\x9C"
                                  "berall");
    EXPECT_TRUE(automatedValues(kLabelChanged).empty()) << "the host knows no parameter 69";

    // A label longer than 38 bytes (a field can hold one read from a chunk) is cut to 38.
    const std::string ascii = "0123456789012345678901234567890123456789ABCDEF";
    tape->setText(ascii.c_str());
    editor->valueChanged(tape);
    EXPECT_EQ(std::string(effect->stripLabelText()), ascii.substr(0, 38));
    // A two-byte character on bytes 37 and 38 does not fit: it goes whole.
    const std::string multi = std::string(37, 'a') + "\xC3\xA9" + "bc";
    tape->setText(multi.c_str());
    editor->valueChanged(tape);
    EXPECT_EQ(std::string(effect->stripLabelText()), std::string(37, 'a'));
    // One that ends on byte 38 stays.
    const std::string fits = std::string(36, 'a') + "\xC3\xA9" + "bc";
    tape->setText(fits.c_str());
    editor->valueChanged(tape);
    EXPECT_EQ(std::string(effect->stripLabelText()), fits.substr(0, 38));
    EXPECT_EQ(std::string(tape->getText()), fits.substr(0, 38));  // the echo of index 69 reloads it
    for (MeterType type : kMeterTypes)
        EXPECT_EQ(std::string(parts.label->strip(type, true)->getTapeLabel()->getText()), fits.substr(0, 38));

    void *data = nullptr;
    VstInt32 size = effect->getChunk(&data);
    ASSERT_EQ(size, Templete::kChunkSize);
    std::vector<unsigned char> image((unsigned char *)data, (unsigned char *)data + size);
    Templete other(RecordingHost::callback, nullptr);  // no editor
    other.setChunk(image.data(), size);
    EXPECT_EQ(std::string(other.stripLabelText()), fits.substr(0, 38));

    // A chunk loaded into the open editor shows its label.
    Templete source(RecordingHost::callback, nullptr);
    source.setStripLabel("Drums");
    source.getChunk(&data);
    std::vector<unsigned char> drums((unsigned char *)data, (unsigned char *)data + size);
    effect->setChunk(drums.data(), size);
    EXPECT_STREQ(tape->getText(), "Drums");
}

// The effect's own chunk with another label in it, so that loading it changes nothing else.
std::vector<unsigned char> ownChunkWithLabel(Templete &effect, const std::string &label)
{
    void *data = nullptr;
    const VstInt32 size = effect.getChunk(&data);
    std::vector<unsigned char> image((unsigned char *)data, (unsigned char *)data + size);
    std::memset(image.data() + 4, 0, 40);  // the label: 40 bytes from byte 4
    std::memcpy(image.data() + 4, label.c_str(), label.size());
    return image;
}

TEST_F(Strips, ALabelLoadedWhileItsBoxIsOpenClosesTheBoxAndStays)
{
    setLayout(1, 0, 1);
    open();
    CZEMTapeLabel *tape = labelStrip()->getTapeLabel();
    FrameDriver mouse = driver();
    mouse.click(200, 182 + 15);
    ASSERT_TRUE(tape->isBeingEdited());
    ASSERT_TRUE(mouse.type("typed"));
    std::vector<unsigned char> drums = ownChunkWithLabel(*effect, "Drums");
    effect->setChunk(drums.data(), (VstInt32)drums.size());
    EXPECT_FALSE(tape->isBeingEdited());
    EXPECT_EQ(activeInPlaceEdit, nullptr);
    EXPECT_FALSE(mouse.key("enter")) << "no box is left to commit over the loaded label";
    EXPECT_EQ(effect->stripLabelText(), "Drums");
    EXPECT_STREQ(tape->getText(), "Drums");
    EXPECT_TRUE(automatedValues(kLabelChanged).empty());
}

TEST_F(Strips, ALongLabelFromAChunkSurvivesAClickInAndAway)
{
    setLayout(1, 0, 1);
    open();
    const std::string longLabel = "Overheads, left and right (room) 2";  // 34 bytes
    std::vector<unsigned char> image = ownChunkWithLabel(*effect, longLabel);
    effect->setChunk(image.data(), (VstInt32)image.size());
    CZEMTapeLabel *tape = labelStrip()->getTapeLabel();
    ASSERT_EQ(std::string(tape->getText()), longLabel);
    FrameDriver mouse = driver();
    // Enter on the unchanged text, then a click elsewhere on the unchanged text.
    mouse.click(200, 182 + 15);
    ASSERT_TRUE(tape->isBeingEdited());
    ASSERT_TRUE(mouse.key("enter"));
    mouse.click(200, 182 + 15);
    ASSERT_TRUE(tape->isBeingEdited());
    mouse.click(300, 100);
    EXPECT_FALSE(tape->isBeingEdited());
    EXPECT_EQ(effect->stripLabelText(), longLabel);
    EXPECT_EQ(std::string(tape->getText()), longLabel);
    EXPECT_TRUE(automatedValues(kLabelChanged).empty());
}

TEST_F(Strips, TheIdleTickAnimatesOnlyTheShownExpandedLabel)
{
    setLayout(1, 0, 1);
    open();
    CZEMTapeLabel *tape = labelStrip()->getTapeLabel();
    CZEMTapeLabel *other = parts.label->strip(kMeterTypeRMS, true)->getTapeLabel();
    driver().click(200, 182 + 15);
    ASSERT_TRUE(tape->isBeingEdited());
    EXPECT_EQ(tape->getStep(), 0);
    for (int i = 0; i < 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        editor->idle();
    }
    EXPECT_GE(tape->getStep(), 1);
    EXPECT_EQ(other->getStep(), 0);

    // Collapsing the label strip drops the edit; no tick reaches the hidden label.
    effect->setParameter(kShowLbl, 0.f);
    EXPECT_FALSE(tape->isBeingEdited());
    EXPECT_EQ(activeInPlaceEdit, nullptr);
    EXPECT_STREQ(tape->getText(), "Master Track");
    const int step = tape->getStep();
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    editor->idle();
    EXPECT_EQ(tape->getStep(), step);
    EXPECT_EQ(effect->stripLabelText(), "Master Track");
}

TEST_F(Strips, HintsAppearOnTheHintLineOfTheirMeterType)
{
    effect->setParameter(kMeter, 0.5f);  // RMS
    setLayout(1, 1, 0);
    open();
    FrameDriver mouse = driver();
    mouse.move(579, 169 + 5);
    EXPECT_STREQ(parts.panels[1]->hint->getText(), "Closes FILTERS editor");
    EXPECT_STREQ(parts.panels[0]->hint->getText(), "");
    mouse.move(300, 169 + 45);
    mouse.move(579, 222 + 5);
    EXPECT_STREQ(parts.panels[1]->hint->getText(), "Opens LABEL editor");
}

// ---- life cycle ----------------------------------------------------------------------------------

TEST_F(Strips, OpenCloseCyclesReleaseEveryView)
{
    setLayout(1, 1, 1);
    effect->setParameter(kProcess, 1.f);
    // The first open loads what lives as long as the editor object (its background, the label
    // typeface); the cycles after it must leave nothing behind.
    open();
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
    const int live = CBaseObject::liveObjects();
    for (int cycle = 0; cycle < 8; ++cycle) {
        SCOPED_TRACE(cycle);
        open();
        effect->setParameter(kMeter, (cycle % 3) * 0.5f);
        effect->setParameter(kShowFlt, (float)(cycle & 1));
        if (cycle % 4 == 1) {  // close with the box of a frequency field open
            CRect r = filterStrip()->getField(false)->getViewSize();
            driver().click(r.left + 20, 169 + 7);
            EXPECT_NE(activeInPlaceEdit, nullptr);
        } else if (cycle % 4 == 2) {  // or that of the label
            driver().click(200, labelStrip()->getContainer()->getViewSize().top + 15);
            EXPECT_NE(activeInPlaceEdit, nullptr);
        }
        editor->idle();
        effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
        EXPECT_EQ(activeInPlaceEdit, nullptr);
        EXPECT_EQ(CBaseObject::liveObjects(), live);
    }
}

}  // namespace
