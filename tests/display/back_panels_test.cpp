// The settings panels on a real effect and an open editor: every control where it belongs with
// its tag, reset target and engine value, the labels with the engines' texts, the scope selector
// by Strips, the close request of an empty place, the plain write of a setting and its echo, and
// the release of everything at teardown.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "params/parameter_table.h"
#include "core/shared_state.h"
#include "core/templete.h"
#include "display/anim_knob4.h"
#include "display/back_panel.h"
#include "editor/editor_factory.h"
#include "editor/temeplete_editor.h"
#include "controls/settings_panel_layout.h"
#include "controls/zem_calibration_control.h"
#include "controls/zem_horizontal_switch.h"
#include "controls/zem_on_off_button.h"
#include "meters/meter_engine.h"
#include "support/editor_with_parts.h"
#include "support/recording_host.h"
#include "ui/bitmap.h"
#include "ui/draw_context.h"
#include "ui/frame_driver.h"
#include "ui/movie_bitmap.h"
#include "ui/probe_view.h"

using namespace VSTGUI;

namespace {

std::unique_ptr<MeterBackPanel> makeBackPanel(int type, Templete *effect, CControlListener *editor)
{
    if (type == kMeterTypeVU)
        return std::make_unique<VUBackPanel>(effect, editor);
    if (type == kMeterTypeRMS)
        return std::make_unique<RMSBackPanel>(effect, editor);
    return std::make_unique<PPMBackPanel>(effect, editor);
}

// Stands in for a front panel: it builds its type's settings panel hidden, toggles it on tag 65
// (storing the defaults when it closes), forwards the echo while the settings panel is shown and
// every control change.
class HostingPanel : public EditorFrontPanel {
public:
    HostingPanel(int type, Templete *effect, CControlListener *editor) : type(type), effect(effect), editor(editor) {}
    bool buildPanel(CFrame *frame, CBitmap *) override
    {
        back = makeBackPanel(type, effect, editor);
        return back->buildPanel(frame);
    }
    void teardownPanel() override
    {
        back->teardownPanel();
        back.reset();
    }
    void showPanel() override {}
    void hidePanel() override {}
    void parameterChanged(VstInt32 index, float value) override
    {
        if (back->isShown())
            back->parameterChanged(index, value);
    }
    void controlChanged(CControl *control) override
    {
        if (control->getTag() != kTagSettingsToggle) {
            back->controlChanged(control);
            return;
        }
        if (back->isShown()) {
            back->hidePanel();
            effect->setParameter(kStoreDefaults, 0.f);
            ++closes;
        } else {
            back->showPanel();
        }
    }
    void refreshMeters(double) override {}

    int type;
    Templete *effect;
    CControlListener *editor;
    std::unique_ptr<MeterBackPanel> back;
    int closes = 0;
};

class HostingParts : public EditorPartsFactory {
public:
    std::unique_ptr<EditorFrontPanel> createFrontPanel(MeterType type, CControlListener *editor,
                                                       Templete *effect) override
    {
        auto panel = std::make_unique<HostingPanel>(type, effect, editor);
        if (isMeterType(type))  // the editor asks for the three only
            panels[type] = panel.get();
        return panel;
    }
    std::unique_ptr<EditorFiltersHolder> createFiltersEditor(CControlListener *, Templete *) override
    {
        return nullptr;
    }
    std::unique_ptr<EditorLabelHolder> createLabelEditor(CControlListener *, Templete *) override { return nullptr; }
    HostingPanel *panels[3] = {};
};

// The editor with every report its controls make written down first.
class RecordingEditor : public TemepleteEditor {
public:
    using TemepleteEditor::TemepleteEditor;
    void valueChanged(CControl *control) override
    {
        reports.push_back(control->getTag());
        senders.push_back(control);
        TemepleteEditor::valueChanged(control);
    }
    std::vector<long> reports;
    std::vector<CControl *> senders;
};

// What each control must be, written out apart from the product's tables; where it sits and
// where its label sits come from the panels' layout table (the one the artwork is drawn to).
enum Kind { kKnob, kVariant, kSwitch, kButton };
struct Expected {
    int index;
    const std::type_info &type;
    Kind kind;
    CRect rect;  // the size here, the place from the layout table
    float defaultValue, dragFactor, fineFactor, wheelStep;
    CRect label;  // from the layout table; empty: none
};

CRect size(int w, int h) { return CRect(0, 0, w, h); }
const CRect kNone;
const CRect kFromTable;  // filled in from the layout table
CRect rectOf(const LayoutRect &r) { return CRect(r.left, r.top, r.right, r.bottom); }

// The rows of a type with the places of the layout table.
std::vector<Expected> placed(int type, std::vector<Expected> rows)
{
    for (Expected &row : rows) {
        const SettingControlRow *place = kSettingsPanelLayouts[type].row(row.index);
        EXPECT_NE(place, nullptr) << row.index;
        if (!place)
            continue;
        row.rect.offset(place->left, place->top);
        row.label = rectOf(place->label);
    }
    return rows;
}

const std::vector<Expected> &expectedControls(int type)
{
    static const std::vector<Expected> vuRows = {
        {83, typeid(CAnimKnob4), kKnob, size(43, 41), 0.25f, 0.2f, 10, 1.f / 24, kFromTable},
        {84, typeid(CAnimKnob4), kKnob, size(43, 41), 0.5f, 0.2f, 10, 1.f / 12, kFromTable},
        {85, typeid(CAnimKnob4), kKnob, size(43, 41), 0.5f, 0.2f, 10, 1.f / 12, kFromTable},
        {88, typeid(CVuBackLitKnob), kVariant, size(43, 41), 0.5f, 0.1f, 1, 1.f / 4, kFromTable},
        {90, typeid(CVuLedRefKnob), kVariant, size(43, 41), 1.f, 0.1f, 1, 1.f / 3, kFromTable},
        {89, typeid(CVuOverLedKnob), kVariant, size(43, 41), 0.22f, 0.1f, 1, 1.f / 9, kFromTable},
        {87, typeid(CZEMHorizontalSwitch), kSwitch, size(70, 41), 0, 0, 0, 0, kFromTable},
        {86, typeid(CZEMOnOffButton), kButton, size(65, 41), 0, 0, 0, 0, kFromTable},
        {91, typeid(CZEMOnOffButton), kButton, size(54, 97), 0, 0, 0, 0, kFromTable},
    };
    static const std::vector<Expected> rmsRows = {
        {72, typeid(CAnimKnob4), kKnob, size(43, 41), 0.667f, 0.2f, 10, 1.f / 30, kFromTable},
        {74, typeid(CAnimKnob4), kKnob, size(43, 41), 0.5f, 0.2f, 10, 1.f / 30, kFromTable},
        {73, typeid(CAnimKnob4), kKnob, size(43, 41), 0.5f, 0.2f, 10, 1.f / 30, kFromTable},
        {75, typeid(CAnimKnob4), kKnob, size(43, 41), 0.5f, 0.2f, 10, 1.f / 30, kFromTable},
        {76, typeid(CAnimKnob4), kKnob, size(43, 41), 0.66f, 0.2f, 10, 1.f / 30, kFromTable},
        {79, typeid(CRmsLedRefKnob), kVariant, size(43, 41), 1.f, 0.1f, 1, 1.f / 6, kFromTable},
        {78, typeid(CRmsOverLedKnob), kVariant, size(43, 41), 0.22f, 0.1f, 1, 1.f / 9, kFromTable},
        {77, typeid(CZEMHorizontalSwitch), kSwitch, size(70, 41), 0, 0, 0, 0, kFromTable},
        {81, typeid(CZEMOnOffButton), kButton, size(54, 57), 0, 0, 0, 0, kFromTable},
        {80, typeid(CZEMOnOffButton), kButton, size(54, 97), 0, 0, 0, 0, kFromTable},
    };
    static const std::vector<Expected> ppmRows = {
        {93, typeid(CAnimKnob4), kKnob, size(43, 41), 0.5f, 0.2f, 10, 1.f / 24, kFromTable},
        {94, typeid(CAnimKnob4), kKnob, size(43, 41), 0.5f, 0.2f, 10, 1.f / 30, kFromTable},
        {95, typeid(CAnimKnob4), kKnob, size(43, 41), 0.5f, 0.2f, 10, 1.f / 12, kFromTable},
        {96, typeid(CAnimKnob4), kKnob, size(43, 41), 0.66f, 0.2f, 10, 1.f / 12, kFromTable},
        {99, typeid(CPpmLedRefKnob), kVariant, size(43, 41), 1.f, 0.1f, 1, 1.f / 3, kFromTable},
        {98, typeid(CPpmOverLedKnob), kVariant, size(43, 41), 0.22f, 0.1f, 1, 1.f / 9, kFromTable},
        {97, typeid(CZEMHorizontalSwitch), kSwitch, size(70, 67), 0, 0, 0, 0, kFromTable},
        {100, typeid(CZEMOnOffButton), kButton, size(54, 97), 0, 0, 0, 0, kFromTable},
    };
    static const std::vector<Expected> vu = placed(kMeterTypeVU, vuRows);
    static const std::vector<Expected> rms = placed(kMeterTypeRMS, rmsRows);
    static const std::vector<Expected> ppm = placed(kMeterTypePPM, ppmRows);
    return type == kMeterTypeVU ? vu : type == kMeterTypeRMS ? rms : ppm;
}

// Where a setting's control and label of a type sit.
CRect controlOf(int type, int index)
{
    for (const Expected &row : expectedControls(type))
        if (row.index == index)
            return row.rect;
    ADD_FAILURE() << "no setting " << index;
    return kNone;
}
CRect labelOf(int type, int index) { return rectOf(kSettingsPanelLayouts[type].row(index)->label); }
CRect versionLabelOf(int type) { return rectOf(kSettingsPanelLayouts[type].versionLabel); }
const char *const kPlaceholders[] = {"-18 dBFS", "0 dBFS", "300 ms", "0.1 s"};

std::string settingText(MeterEngine *engine, int index)
{
    char text[64] = {};
    engine->getSettingText(index, text);
    return text;
}

// The controls of a container with this tag.
std::vector<CControl *> childrenTagged(CViewContainer *container, long tag)
{
    std::vector<CControl *> found;
    for (int i = 0; i < container->getNbViews(); ++i)
        if (auto *control = dynamic_cast<CControl *>(container->getView(i)))
            if (control->getTag() == tag)
                found.push_back(control);
    return found;
}

CPoint centre(const CRect &r) { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

class BackPanels : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.listen();
        effect = new Templete(RecordingHost::callback, editorFactoryWithParts<RecordingEditor>(parts));
        editor = static_cast<RecordingEditor *>(effect->getEditor());
        ASSERT_NE(editor, nullptr);
        // The Instance scope keeps every setting written here inside this effect.
        effect->setParameter(kGSIcal, 1.f);
    }
    void TearDown() override
    {
        delete effect;  // closes and deletes the editor
        RecordingHost::stopListening();
        calibrationScopeShared.store(scopeBefore);
        meterTypeShared.store(meterBefore);
        parent.resize(600, 300);
        EXPECT_EQ(CBaseObject::liveObjects(), live);
    }
    // Opens the editor with this meter type selected; the settings panels stay hidden.
    void open(int type, float strips = 1.f)
    {
        effect->setParameter(kMeter, (float)type * 0.5f);
        effect->setParameter(kStrips, strips);
        ASSERT_TRUE(editor->open(parent.handle()));
        frame = editor->getFrame();
        back = parts.panels[type]->back.get();
        ASSERT_NE(back, nullptr);
        ASSERT_NE(back->getContainer(), nullptr);
    }
    void toggle() { editor->valueChanged(back->getContainer()->getToggleButton()); }
    MeterEngine *engine(int type) { return effect->meterEngine((MeterType)type); }
    int closes(int type) { return parts.panels[type]->closes; }

    int live = CBaseObject::liveObjects();
    int scopeBefore = calibrationScopeShared.load();
    int meterBefore = meterTypeShared.load();
    RecordingHost host;
    HostingParts parts;
    TestParentWindow &parent = sharedParentWindow();
    Templete *effect = nullptr;
    RecordingEditor *editor = nullptr;
    CFrame *frame = nullptr;
    MeterBackPanel *back = nullptr;
};

TEST_F(BackPanels, EveryControlSitsAtItsPlaceWithItsTagResetTargetTuningAndTheEngineValue)
{
    for (int type = 0; type < 3; ++type) {
        SCOPED_TRACE(type);
        // Values apart from the reset targets, so that a control showing its default is caught.
        const std::vector<Expected> &rows = expectedControls(type);
        for (const Expected &row : rows)
            effect->setParameter(row.index, row.kind == kSwitch ? 0.5f : row.kind == kButton ? 1.f : 0.37f);
        open(type);
        CZEMBackPanelContainer *container = back->getContainer();
        EXPECT_FALSE(back->isShown());
        EXPECT_FALSE(frame->isChild(container));
        EXPECT_EQ(container->getViewSize(), CRect(0, 0, type == kMeterTypePPM ? 585 : 586, 261));
        ASSERT_NE(container->getBackground(), nullptr);
        EXPECT_EQ(container->getBackground()->getResourceNumber(), 40000 + 1000 * type);

        for (const Expected &row : rows) {
            SCOPED_TRACE(row.index);
            std::vector<CControl *> found = childrenTagged(container, row.index);
            ASSERT_EQ(found.size(), 1u);
            CControl *c = found[0];
            EXPECT_EQ(c, back->settingControl(row.index));
            EXPECT_TRUE(typeid(*c) == row.type) << typeid(*c).name();
            EXPECT_EQ(c->getViewSize(), row.rect);
            EXPECT_EQ(c->getListener(), static_cast<CControlListener *>(editor));
            EXPECT_FLOAT_EQ(c->getValue(), engine(type)->getSetting(row.index));
            EXPECT_FLOAT_EQ(c->getValue(), row.kind == kSwitch ? 0.5f : row.kind == kButton ? 1.f : 0.37f);
            if (row.kind == kKnob || row.kind == kVariant) {
                auto *knob = static_cast<CAnimKnob4 *>(c);
                EXPECT_FLOAT_EQ(knob->getDefaultValue(), row.defaultValue);
                EXPECT_FLOAT_EQ(knob->dragFactor, row.dragFactor);
                EXPECT_FLOAT_EQ(knob->fineFactor, row.fineFactor);
                EXPECT_FLOAT_EQ(knob->wheelStep, row.wheelStep);
                EXPECT_FLOAT_EQ(knob->wheelFineFactor, row.kind == kKnob ? 0.1f : 1.f);
                EXPECT_EQ(knob->getNumSubPixmaps(), 51);
                EXPECT_EQ(knob->getHeightOfOneImage(), 41);
                ASSERT_NE(knob->getBackground(), nullptr);
                EXPECT_EQ(knob->getBackground()->getResourceNumber(), 10003);
            } else if (row.kind == kSwitch) {
                auto *sw = static_cast<CZEMHorizontalSwitch *>(c);
                EXPECT_EQ(sw->getNumPositions(), 3);
                EXPECT_FLOAT_EQ(sw->getMin(), 0.f);
                EXPECT_FLOAT_EQ(sw->getMax(), 1.f);
            } else {
                auto *button = static_cast<CZEMOnOffButton *>(c);
                EXPECT_TRUE(button->directionalWheel);
                EXPECT_TRUE(button->keepWheelSign);
            }
        }
        // Nothing else carries a setting tag of this type.
        for (int index = kFirstRMSSetting; index <= kLastPPMSetting; ++index) {
            bool listed = false;
            for (const Expected &row : rows)
                listed = listed || row.index == index;
            if (!listed) {
                EXPECT_TRUE(childrenTagged(container, index).empty()) << index;
            }
        }
        editor->close();
    }
}

TEST_F(BackPanels, LabelsShowTheEngineTextsFromTheStartBesideTheVersion)
{
    for (int type = 0; type < 3; ++type) {
        SCOPED_TRACE(type);
        // A reference away from its default, so that its text is no placeholder.
        for (const Expected &row : expectedControls(type))
            if (!(row.label == kNone))
                effect->setParameter(row.index, 0.9f);
        open(type);
        int labelled = 0;
        for (const Expected &row : expectedControls(type)) {
            CTextLabel *label = back->settingLabel(row.index);
            if (row.label == kNone) {
                EXPECT_EQ(label, nullptr) << row.index;
                continue;
            }
            ++labelled;
            ASSERT_NE(label, nullptr) << row.index;
            EXPECT_TRUE(back->getContainer()->isChild(label));
            EXPECT_EQ(label->getViewSize(), row.label);
            const std::string text = settingText(engine(type), row.index);
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(label->getText(), text) << row.index;
            for (const char *placeholder : kPlaceholders)
                EXPECT_NE(text, placeholder) << row.index;
            EXPECT_EQ(label->getFont(), kNormalFontVerySmall);
            EXPECT_EQ(label->getFontColor(), CColor(200, 193, 193, 255));
            EXPECT_EQ(label->getHoriAlign(), kCenterText);
            EXPECT_EQ(label->getStyle(), CTextLabel::kNoFrame | CTextLabel::kNoDrawBackground);
        }
        EXPECT_EQ(labelled, type == kMeterTypeRMS ? 5 : type == kMeterTypeVU ? 3 : 4);
        CTextLabel *version = back->getVersionLabel();
        ASSERT_NE(version, nullptr);
        EXPECT_TRUE(back->getContainer()->isChild(version));
        EXPECT_STREQ(version->getText(), "v.3.0.2");
        EXPECT_EQ(version->getViewSize(), versionLabelOf(type));
        EXPECT_EQ(version->getFontColor(), CColor(200, 193, 193, 255));
        editor->close();
    }
}

TEST_F(BackPanels, TheScopeSelectorCoversItsZonesWithStripsAndTheWholeTopEdgeWithout)
{
    effect->setParameter(kGSIcal, 0.f);
    open(kMeterTypeRMS, 1.f);
    CZEMCalibrationControl *selector = back->getCalibrationSelector();
    CMovieBitmap *indicator = back->getCalibrationIndicator();
    ASSERT_NE(selector, nullptr);
    ASSERT_NE(indicator, nullptr);
    EXPECT_EQ(selector->getViewSize(), CRect(0, 1, 86, 12));
    EXPECT_EQ(selector->getTag(), kGSIcal);
    EXPECT_FLOAT_EQ(selector->getDefaultValue(), 0.f);
    EXPECT_EQ(selector->getBackground()->getResourceNumber(), 10014);
    EXPECT_EQ(indicator->getViewSize(), CRect(0, 180, 586, 191));
    EXPECT_EQ(indicator->getTag(), kGSIcal);
    EXPECT_EQ(indicator->getBackground()->getResourceNumber(), 10016);
    EXPECT_TRUE(back->getContainer()->isChild(selector));
    EXPECT_TRUE(back->getContainer()->isChild(indicator));

    effect->setParameter(kStrips, 0.f);
    effect->setParameter(kGSIcal, 1.f);  // both while hidden
    EXPECT_FLOAT_EQ(selector->getValue(), 0.f);
    toggle();
    ASSERT_TRUE(back->isShown());
    EXPECT_EQ(selector->getViewSize(), CRect(0, 1, 581, 12));
    EXPECT_FLOAT_EQ(selector->getValue(), 1.f);
    EXPECT_FLOAT_EQ(indicator->getValue(), 1.f);
    toggle();
    effect->setParameter(kStrips, 1.f);
    toggle();
    EXPECT_EQ(selector->getViewSize(), CRect(0, 1, 86, 12));

    // Without the strips a press right of the zones reports, keeps the scope and closes nothing.
    effect->setParameter(kStrips, 0.f);
    toggle();
    toggle();
    FrameDriver mouse(frame);
    editor->reports.clear();
    mouse.click(300, 5);
    EXPECT_EQ(editor->reports, std::vector<long>({kGSIcal}));
    EXPECT_TRUE(back->isShown());
    EXPECT_FLOAT_EQ(effect->getParameter(kGSIcal), 1.f);
    // With them the same press lands on the background, which closes the panel.
    effect->setParameter(kStrips, 1.f);
    toggle();
    toggle();
    editor->reports.clear();
    mouse.click(300, 5);
    EXPECT_EQ(editor->reports, std::vector<long>({kTagSettingsToggle}));
    EXPECT_FALSE(back->isShown());
}

TEST_F(BackPanels, AHiddenPanelIgnoresChangesAndShowingBringsEverythingBack)
{
    open(kMeterTypeVU);
    CControl *reference = back->settingControl(83);
    CTextLabel *label = back->settingLabel(83);
    CControl *needle = back->settingControl(86);
    const float before = reference->getValue();
    const std::string textBefore = label->getText();

    effect->setParameter(83, 0.8f);  // the echo reaches the panel's parameterChanged only if shown
    back->parameterChanged(83, 0.8f);
    back->parameterChanged(86, 1.f - needle->getValue());
    back->parameterChanged(kGSIcal, 0.f);
    EXPECT_FLOAT_EQ(reference->getValue(), before);
    EXPECT_EQ(label->getText(), textBefore);
    EXPECT_FLOAT_EQ(back->getCalibrationSelector()->getValue(), 1.f);
    // Nor does a control change reach the effect.
    const float needleSetting = engine(kMeterTypeVU)->getSetting(86);
    needle->setValue(1.f - needleSetting);
    back->controlChanged(needle);
    EXPECT_FLOAT_EQ(engine(kMeterTypeVU)->getSetting(86), needleSetting);

    toggle();
    ASSERT_TRUE(back->isShown());
    EXPECT_TRUE(frame->isChild(back->getContainer()));
    EXPECT_FLOAT_EQ(reference->getValue(), 0.8f);
    EXPECT_EQ(label->getText(), settingText(engine(kMeterTypeVU), 83));
    EXPECT_NE(label->getText(), textBefore);
    EXPECT_FLOAT_EQ(needle->getValue(), needleSetting);

    // While shown the echo moves control and label.
    effect->setParameter(85, 1.f);
    EXPECT_FLOAT_EQ(back->settingControl(85)->getValue(), 1.f);
    EXPECT_EQ(back->settingLabel(85)->getText(), settingText(engine(kMeterTypeVU), 85));
    effect->setParameter(kGSIcal, 0.5f);
    EXPECT_FLOAT_EQ(back->getCalibrationSelector()->getValue(), 0.5f);
    EXPECT_FLOAT_EQ(back->getCalibrationIndicator()->getValue(), 0.5f);
    effect->setParameter(kGSIcal, 1.f);
    // Settings of the other meter types are not this panel's.
    std::map<int, float> shownValues;
    for (const Expected &row : expectedControls(kMeterTypeVU))
        shownValues[row.index] = back->settingControl(row.index)->getValue();
    for (int index : {72, 76, 81, 93, 97, 100})
        back->parameterChanged(index, 0.123f);
    for (const Expected &row : expectedControls(kMeterTypeVU))
        EXPECT_FLOAT_EQ(back->settingControl(row.index)->getValue(), shownValues[row.index]) << row.index;
}

TEST_F(BackPanels, EmptyPlacesLabelsAndAnyRightClickCloseALeftClickOnAControlDoesNot)
{
    open(kMeterTypeVU);
    FrameDriver mouse(frame);
    CControl *toggleButton = back->getContainer()->getToggleButton();
    EXPECT_EQ(toggleButton->getTag(), kTagSettingsToggle);
    EXPECT_FLOAT_EQ(toggleButton->getValue(), 1.f);
    EXPECT_EQ(toggleButton->getParentView(), nullptr);

    struct Press {
        CPoint where;
        int buttons;
        bool closes;
    } presses[] = {
        {centre(labelOf(kMeterTypeVU, 83)), kLButton, true},     // label of 83
        {centre(versionLabelOf(kMeterTypeVU)), kLButton, true},  // version label
        {CPoint(300, 230), kLButton, true},                      // background
        {CPoint(300, 185), kLButton, true},                      // scope indicator
        {CPoint(300, 230), kRButton, true},
        {centre(controlOf(kMeterTypeVU, 84)), kRButton, true},  // knob 84
        {centre(controlOf(kMeterTypeVU, 88)), kRButton, true},  // backlight knob
        {centre(controlOf(kMeterTypeVU, 87)), kRButton, true},  // M/S switch
        {centre(controlOf(kMeterTypeVU, 86)), kRButton, true},  // needle type button
        {CPoint(20, 5), kRButton, true},                        // scope selector
        {centre(controlOf(kMeterTypeVU, 84)), kLButton, false},
        {centre(controlOf(kMeterTypeVU, 87)), kLButton, false},
        {centre(controlOf(kMeterTypeVU, 86)), kLButton, false},
        {centre(controlOf(kMeterTypeVU, 91)), kLButton, false},
        {CPoint(30, 5), kLButton, false},
    };
    int closed = 0;
    for (const Press &press : presses) {
        SCOPED_TRACE(std::to_string((int)press.where.x) + "," + std::to_string((int)press.where.y));
        if (!back->isShown())
            toggle();
        ASSERT_TRUE(back->isShown());
        editor->reports.clear();
        editor->senders.clear();
        mouse.click(press.where.x, press.where.y, press.buttons);
        if (press.closes) {
            ++closed;
            EXPECT_EQ(editor->reports, std::vector<long>({kTagSettingsToggle}));
            EXPECT_EQ(editor->senders, std::vector<CControl *>({toggleButton}));
            EXPECT_FALSE(back->isShown());
            EXPECT_FALSE(frame->isChild(back->getContainer()));
        } else {
            EXPECT_TRUE(back->isShown());
            for (long tag : editor->reports)
                EXPECT_NE(tag, kTagSettingsToggle);
        }
    }
    EXPECT_EQ(closes(kMeterTypeVU), closed);
}

TEST_F(BackPanels, NothingBelowTheOpenPanelFeelsTheWheelOrTheMouse)
{
    open(kMeterTypeVU);
    std::vector<std::string> log;
    // Stands for the front panel's and the strips' controls under the settings panel.
    frame->addView(new ProbeView(CRect(0, 0, 586, 261), log, "below"));
    toggle();
    FrameDriver mouse(frame);
    mouse.move(300, 230);
    mouse.wheel(300, 230, 1.f);
    mouse.wheel(300, 5, -1.f, kShift);
    const CPoint knob = centre(controlOf(kMeterTypeVU, 84));
    const float before = back->settingControl(84)->getValue();
    mouse.move(knob.x, knob.y);
    mouse.wheel(knob.x, knob.y, 1.f);
    EXPECT_NEAR(back->settingControl(84)->getValue(), before + 1.f / 12, 1e-6);
    EXPECT_TRUE(log.empty()) << log.front();
    mouse.click(300, 230);
    ASSERT_FALSE(back->isShown());
    mouse.wheel(300, 230, 1.f);
    EXPECT_FALSE(log.empty());  // closed, the panel lets everything through again
}

TEST_F(BackPanels, AControlChangeIsAPlainWriteAndItsLabelFollowsTheEcho)
{
    open(kMeterTypePPM);
    toggle();
    FrameDriver mouse(frame);
    CControl *integration = back->settingControl(94);
    CTextLabel *label = back->settingLabel(94);
    const float start = integration->getValue();
    const std::string textBefore = label->getText();
    host.automated.clear();

    const CPoint rise = centre(controlOf(kMeterTypePPM, 94));
    mouse.wheel(rise.x, rise.y, 3.f);  // one notch of 1/30
    EXPECT_NEAR(integration->getValue(), start + 1.f / 30, 1e-6);
    EXPECT_FLOAT_EQ(engine(kMeterTypePPM)->getSetting(94), integration->getValue());
    EXPECT_FLOAT_EQ(effect->getParameter(94), integration->getValue());
    EXPECT_EQ(label->getText(), settingText(engine(kMeterTypePPM), 94));
    EXPECT_NE(label->getText(), textBefore);

    // A switch and a button by mouse and wheel.
    const CRect msType = controlOf(kMeterTypePPM, 97);
    mouse.click(msType.right - 5, centre(msType).y);
    EXPECT_FLOAT_EQ(engine(kMeterTypePPM)->getSetting(97), 1.f);
    mouse.wheel(centre(msType).x, centre(msType).y, -1.f);
    EXPECT_FLOAT_EQ(engine(kMeterTypePPM)->getSetting(97), 0.5f);
    const CPoint precise = centre(controlOf(kMeterTypePPM, 100));
    effect->setParameter(100, 0.f);
    mouse.wheel(precise.x, precise.y, -1.f);  // a notch towards the user keeps it off
    EXPECT_FLOAT_EQ(engine(kMeterTypePPM)->getSetting(100), 0.f);
    mouse.wheel(precise.x, precise.y, 1.f);
    EXPECT_FLOAT_EQ(engine(kMeterTypePPM)->getSetting(100), 1.f);
    mouse.click(precise.x, precise.y);
    EXPECT_FLOAT_EQ(engine(kMeterTypePPM)->getSetting(100), 0.f);
    // Setting writes never reach the host as automation.
    EXPECT_TRUE(host.automated.empty());

    // The scope selector: the editor automates it, the panel writes it and the echo moves the
    // indicator.
    mouse.click(20, 5);
    EXPECT_FLOAT_EQ(effect->getParameter(kGSIcal), 0.5f);
    EXPECT_EQ(host.automatedIndices(), std::vector<int>({kGSIcal}));
    EXPECT_FLOAT_EQ(back->getCalibrationIndicator()->getValue(), 0.5f);
    mouse.click(30, 5);
    EXPECT_FLOAT_EQ(effect->getParameter(kGSIcal), 1.f);
    EXPECT_FLOAT_EQ(back->getCalibrationIndicator()->getValue(), 1.f);
    EXPECT_TRUE(back->isShown());
}

TEST_F(BackPanels, TheScopeIsWrittenPlainOnlyWhileShownAndForeignTagsAreLeftAlone)
{
    open(kMeterTypeRMS);
    CZEMCalibrationControl *selector = back->getCalibrationSelector();
    selector->setValue(0.5f);
    back->controlChanged(selector);  // hidden
    EXPECT_FLOAT_EQ(effect->getParameter(kGSIcal), 1.f);

    toggle();
    EXPECT_FLOAT_EQ(selector->getValue(), 1.f);  // showing took the effect's value
    selector->setValue(0.5f);
    back->controlChanged(selector);
    EXPECT_FLOAT_EQ(effect->getParameter(kGSIcal), 0.5f);
    EXPECT_TRUE(host.automated.empty());  // the panel's own write is a plain one
    EXPECT_FLOAT_EQ(back->getCalibrationIndicator()->getValue(), 0.5f);

    // A host parameter's tag and another meter type's setting go nowhere through this panel.
    CControl *borrowed = back->settingControl(72);
    const float trim = effect->getParameter(kTrim);
    const float ppmReference = effect->getParameter(93);
    borrowed->setValue(0.9f);
    for (long tag : {(long)kTrim, 93L}) {
        borrowed->setTag(tag);
        back->controlChanged(borrowed);
    }
    borrowed->setTag(72);
    EXPECT_FLOAT_EQ(effect->getParameter(kTrim), trim);
    EXPECT_FLOAT_EQ(effect->getParameter(93), ppmReference);
    selector->setValue(1.f);
    back->controlChanged(selector);
}

TEST_F(BackPanels, TheShownPanelCoversTheWindowAndHidingUncoversIt)
{
    open(kMeterTypeRMS);
    OwningPointer<CBitmap> settingsFace(new CBitmap(41000));
    OwningPointer<CBitmap> windowFace(new CBitmap(TemepleteEditor::kBackgroundBitmap));
    ASSERT_TRUE(settingsFace->isLoaded() && windowFace->isLoaded());
    // A spot without controls where the two pictures differ.
    CPoint spot(-1, -1);
    CColor settingsColour, windowColour;
    for (int y = 110; y < 165 && spot.x < 0; ++y)
        for (int x = 300; x < 420 && spot.x < 0; ++x) {
            settingsFace->getPixel(x, y, settingsColour);
            windowFace->getPixel(x, y, windowColour);
            if (settingsColour != windowColour)
                spot = CPoint(x, y);
        }
    ASSERT_GE(spot.x, 0);
    auto drawnAtSpot = [&] {
        OwningPointer<CBitmap> picture(COffscreenContext::renderView(frame, CRect(0, 0, 586, 169)));
        CColor c;
        picture->getPixel((int)spot.x, (int)spot.y, c);
        return c;
    };
    EXPECT_EQ(drawnAtSpot(), windowColour);
    toggle();
    EXPECT_EQ(drawnAtSpot(), settingsColour);
    toggle();
    EXPECT_EQ(drawnAtSpot(), windowColour);
}

TEST_F(BackPanels, TeardownShownOrHiddenReleasesEverything)
{
    open(kMeterTypeVU);
    editor->close();  // the editor keeps its background picture from the first open
    const int before = CBaseObject::liveObjects();
    open(kMeterTypeVU);
    toggle();
    ASSERT_TRUE(parts.panels[kMeterTypeVU]->back->isShown());
    ASSERT_FALSE(parts.panels[kMeterTypeRMS]->back->isShown());
    editor->close();  // the VU panel shown, the others hidden
    EXPECT_EQ(CBaseObject::liveObjects(), before);

    // On a frame of its own: torn down shown, torn down hidden, and destroyed without teardown.
    CFrame *own = new CFrame(CRect(0, 0, 586, 261), parent.handle(), nullptr);
    const int withFrame = CBaseObject::liveObjects();
    for (int type = 0; type < 3; ++type) {
        SCOPED_TRACE(type);
        for (int way = 0; way < 3; ++way) {
            std::unique_ptr<MeterBackPanel> panel = makeBackPanel(type, effect, editor);
            ASSERT_TRUE(panel->buildPanel(own));
            if (way == 0) {
                const int once = CBaseObject::liveObjects();
                panel->showPanel();
                ASSERT_TRUE(panel->buildPanel(own));  // built again: the old views go
                EXPECT_EQ(CBaseObject::liveObjects(), once);
                EXPECT_FALSE(panel->isShown());
                EXPECT_EQ(own->getNbViews(), 0);
            }
            EXPECT_GT(CBaseObject::liveObjects(), withFrame);
            if (way != 1)
                panel->showPanel();
            EXPECT_EQ(own->isChild(panel->getContainer()), way != 1);
            if (way < 2) {
                panel->teardownPanel();
                EXPECT_EQ(panel->getContainer(), nullptr);
                EXPECT_EQ(panel->settingControl(expectedControls(type)[0].index), nullptr);
                EXPECT_FALSE(panel->isShown());
                EXPECT_EQ(own->getNbViews(), 0);
            }
            panel.reset();
            EXPECT_EQ(own->getNbViews(), 0);
            EXPECT_EQ(CBaseObject::liveObjects(), withFrame);
        }
    }
    // A missing frame or picture builds nothing.
    VUBackPanel orphan(effect, editor);
    EXPECT_FALSE(orphan.buildPanel(nullptr));
    EXPECT_FALSE(orphan.buildCommon(own, nullptr));
    EXPECT_EQ(orphan.getContainer(), nullptr);
    orphan.showPanel();
    EXPECT_FALSE(orphan.isShown());
    own->forget();
}

}  // namespace
