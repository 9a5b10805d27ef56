// The editor shell on a real effect and a real frame, with recording panels and strip holders.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "params/parameter_table.h"
#include "core/templete.h"
#include "editor/editor_factory.h"
#include "controls/hint_text.h"
#include "editor/my_frame.h"
#include "editor/temeplete_editor.h"
#include "support/editor_with_parts.h"
#include "support/open_editor.h"
#include "support/recording_host.h"
#include "ui/controls.h"
#include "ui/frame_driver.h"
#ifdef _WIN32
#include <windows.h>
#else
#include "ui/cairo/offscreen_frame.h"
#endif

using namespace VSTGUI;

namespace {

using Lines = std::vector<std::string>;

#ifndef _WIN32
uint32_t testClock = 1000000;  // milliseconds, the offscreen frames' clock in the idle test
#endif

const char *const typeNames[3] = {"VU", "RMS", "PPM"};

std::string number(float v)
{
    char b[16];
    std::snprintf(b, sizeof b, "%g", v);
    return b;
}

class RecordingPanel : public EditorFrontPanel {
public:
    RecordingPanel(int type, Lines &log) : name(typeNames[type]), log(log) {}
    ~RecordingPanel() override { log.push_back(name + " deleted"); }
    bool buildPanel(CFrame *f, CBitmap *) override
    {
        frame = f;
        log.push_back(name + " build");
        return true;
    }
    void teardownPanel() override { log.push_back(name + " teardown"); }
    void showPanel() override { log.push_back(name + " show"); }
    void hidePanel() override { log.push_back(name + " hide"); }
    void parameterChanged(VstInt32 index, float value) override
    {
        log.push_back(name + " param " + std::to_string(index) + " " + number(value));
    }
    void controlChanged(CControl *control) override
    {
        log.push_back(name + " control " + std::to_string(control->getTag()));
    }
    void refreshMeters(double position) override
    {
        log.push_back(name + " refresh");
        lastPosition = position;
    }
    void closeSettingsPanel() override { log.push_back(name + " leaves settings"); }
    std::string name;
    Lines &log;
    CFrame *frame = nullptr;
    double lastPosition = -1;
};

template <class Base> class RecordingHolder : public Base {
public:
    RecordingHolder(const std::string &name, Lines &log) : name(name), log(log) {}
    ~RecordingHolder() override { log.push_back(name + " deleted"); }
    void open(CFrame *, const PerMeterType<EditorFrontPanel *> &panels) override
    {
        const bool all = panels[kMeterTypeVU] && panels[kMeterTypeRMS] && panels[kMeterTypePPM];
        log.push_back(name + " open " + (all ? "with panels" : "without panels"));
    }
    void close() override { log.push_back(name + " close"); }
    void showExpanded(const CPoint &p, MeterType type) override { place("expanded", p, type); }
    void showCollapsed(const CPoint &p, MeterType type) override { place("collapsed", p, type); }
    void parameterChanged(VstInt32 index, float value) override
    {
        log.push_back(name + " param " + std::to_string(index) + " " + number(value));
    }
    void valueChanged(CControl *control) override
    {
        log.push_back(name + " control " + std::to_string(control->getTag()));
    }

    std::string name;
    Lines &log;

private:
    void place(const char *form, const CPoint &p, int type)
    {
        log.push_back(name + " " + form + " at " + std::to_string((int)p.x) + "," + std::to_string((int)p.y) + " " +
                      typeNames[type]);
    }
};

class RecordingFilters : public RecordingHolder<EditorFiltersHolder> {
public:
    using RecordingHolder::RecordingHolder;
    void processChanged(float value) override { log.push_back(name + " process " + number(value)); }
};

class RecordingLabel : public RecordingHolder<EditorLabelHolder> {
public:
    using RecordingHolder::RecordingHolder;
    void idleTick() override { log.push_back(name + " tick"); }
};

class RecordingParts : public EditorPartsFactory {
public:
    explicit RecordingParts(Lines &log) : log(log) {}
    std::unique_ptr<EditorFrontPanel> createFrontPanel(MeterType type, VSTGUI::CControlListener *, Templete *) override
    {
        auto panel = std::make_unique<RecordingPanel>(type, log);
        if (isMeterType(type))  // the editor asks for the three only
            panels[type] = panel.get();
        return panel;
    }
    std::unique_ptr<EditorFiltersHolder> createFiltersEditor(VSTGUI::CControlListener *, Templete *) override
    {
        return std::make_unique<RecordingFilters>("filters", log);
    }
    std::unique_ptr<EditorLabelHolder> createLabelEditor(VSTGUI::CControlListener *, Templete *) override
    {
        return std::make_unique<RecordingLabel>("label", log);
    }
    Lines &log;
    RecordingPanel *panels[3] = {};
};

class EditorShell : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.listen();
        effect = new Templete(RecordingHost::callback, editorFactoryWithParts(parts));
        editor = static_cast<TemepleteEditor *>(effect->getEditor());
        ASSERT_NE(editor, nullptr);
        // Announced where the editor can live in a host's window (not yet on Linux).
        ASSERT_EQ((effect->getAeffect()->flags & effFlagsHasEditor) != 0, platformShowsInHostWindows());
    }
    void TearDown() override
    {
        delete effect;  // deletes the editor, closing it first
        RecordingHost::stopListening();
    }
    void setLayout(float strips, float showFlt, float showLbl)
    {
        effect->setParameter(6, strips);
        effect->setParameter(7, showFlt);
        effect->setParameter(15, showLbl);
    }
    int height()
    {
        ERect *r = nullptr;
        effect->dispatcher(effEditGetRect, 0, 0, &r, 0.f);
        return r ? r->bottom - r->top : -1;
    }
    Lines only(const std::string &word) const
    {
        Lines out;
        for (const auto &line : log)
            if (line.find(word) != std::string::npos)
                out.push_back(line);
        return out;
    }

    RecordingHost host;
    Lines log;
    RecordingParts parts{log};
    TestParentWindow &parent = sharedParentWindow();
    Templete *effect = nullptr;
    TemepleteEditor *editor = nullptr;
};

TEST_F(EditorShell, OpeningWithoutAParentAnswersFalseAndCreatesNothing)
{
    int live = CBaseObject::liveObjects();
    EXPECT_EQ(OpenEditor(effect->getAeffect(), nullptr).openAnswer(), 0);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(CBaseObject::liveObjects(), live);
    editor->idle();
    editor->setParameter(3, 1.f);
    EXPECT_TRUE(log.empty());
}

TEST_F(EditorShell, OpeningBuildsPanelsInOrderSelectsTheMeterAndPlacesTheStrips)
{
    setLayout(1, 0, 1);
    effect->setParameter(3, 0.5f);
    OpenEditor session(effect->getAeffect(), parent.handle());
    ASSERT_EQ(session.openAnswer(), 1);
    ASSERT_NE(editor->getFrame(), nullptr);
    EXPECT_TRUE(static_cast<MyFrame *>(editor->getFrame())->focusOnClick);
    EXPECT_EQ(editor->getKnobMode(), 2);
    EXPECT_EQ(log, Lines({"VU build", "RMS build", "PPM build", "VU hide", "RMS hide", "PPM hide", "RMS show",
                          "filters open with panels", "label open with panels", "filters collapsed at 0,169 RMS",
                          "label expanded at 0,182 RMS"}));
    EXPECT_EQ(height(), 221);
    EXPECT_EQ(editor->getFrame()->getHeight(), 221);
    EXPECT_EQ(host.sizeRequests, Lines({"586x221"}));
    log.clear();
    session.close();
    EXPECT_EQ(log, Lines({"label close", "label deleted", "filters close", "filters deleted", "VU teardown",
                          "RMS teardown", "PPM teardown", "VU deleted", "RMS deleted", "PPM deleted"}));
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(editor->getParentWindow(), nullptr);
}

// The editor's views live on the thread that opened it: an idle from any other thread is a
// caller's fault. A test build stops there; a release build leaves the views untouched.
TEST_F(EditorShell, AnIdleFromAnotherThreadThanTheEditorsBreaksAContract)
{
    OpenEditor session(effect->getAeffect(), parent.handle());
    ASSERT_TRUE(session.opened());
    session.idle();
    ASSERT_FALSE(only("refresh").empty()) << "the editor's own thread refreshes the shown panel";
    log.clear();
    auto idleElsewhere = [this] { std::thread([this] { editor->idle(); }).join(); };
#ifdef ZEM_CONTRACTS_ABORT
    EXPECT_DEATH(idleElsewhere(), "contract failed: std::this_thread::get_id\\(\\) == editorThread");
#else
    idleElsewhere();
    EXPECT_TRUE(log.empty());
#endif
    session.idle();
    EXPECT_FALSE(only("refresh").empty());
}

TEST_F(EditorShell, WindowHeightFollowsTheStripLayoutWithOneSizeRequestPerChange)
{
    setLayout(1, 0, 0);
    ASSERT_TRUE(editor->open(parent.handle()));
    EXPECT_EQ(height(), 195);
    EXPECT_TRUE(host.sizeRequests.empty());
    effect->setParameter(15, 1.f);
    EXPECT_EQ(height(), 221);
    EXPECT_EQ(host.sizeRequests, Lines({"586x221"}));
    struct Row {
        float strips, flt, lbl;
        int height;
    } rows[] = {{0, 0, 0, 169}, {0, 1, 1, 169}, {1, 0, 0, 195}, {1, 0, 1, 221}, {1, 1, 0, 235}, {1, 1, 1, 261}};
    for (const Row &row : rows) {
        host.sizeRequests.clear();
        int before = height();
        setLayout(row.strips, row.flt, row.lbl);
        EXPECT_EQ(height(), row.height);
        EXPECT_EQ(editor->getFrame()->getHeight(), row.height);
        // Each of the three writes that changes the height asks once; the last asks for the result.
        EXPECT_LE(host.sizeRequests.size(), 3u);
        if (before == row.height)
            EXPECT_TRUE(host.sizeRequests.empty()) << row.height;
        else
            EXPECT_EQ(host.sizeRequests.back(), "586x" + std::to_string(row.height));
    }
#ifdef _WIN32
    EXPECT_EQ(parent.clientHeight(), 261);
    EXPECT_EQ(parent.clientWidth(), 586);
#else
    auto *window = static_cast<OffscreenPlatformFrame *>(editor->getFrame()->getPlatformFrame());
    EXPECT_EQ(window->parentHeight(), 261);
    EXPECT_EQ(window->parentWidth(), 586);
#endif
    // Closing and opening again keeps the height without asking the host again.
    editor->close();
    host.sizeRequests.clear();
    ASSERT_TRUE(editor->open(parent.handle()));
    EXPECT_EQ(editor->getFrame()->getHeight(), 261);
    EXPECT_TRUE(host.sizeRequests.empty());
}

TEST_F(EditorShell, TheZoomFactorScalesTheRectAndAChangeWhileOpenResizesThroughTheHost)
{
    auto rectSize = [this] {
        ERect *r = nullptr;
        effect->dispatcher(effEditGetRect, 0, 0, &r, 0.f);
        return r ? std::to_string(r->right - r->left) + "x" + std::to_string(r->bottom - r->top) : "none";
    };
    EXPECT_EQ(editor->getZoomFactor(), 1.0);
    for (double refused : {0.5, 3.5, 0.0, -1.0, std::nan(""), HUGE_VAL}) {
        EXPECT_FALSE(editor->setZoomFactor(refused)) << refused;
        EXPECT_EQ(editor->getZoomFactor(), 1.0);
    }
    // Closed: only the next open's size changes.
    ASSERT_TRUE(editor->setZoomFactor(2.0));
    EXPECT_EQ(rectSize(), "1172x390");
    EXPECT_TRUE(host.sizeRequests.empty());
    setLayout(1, 0, 1);
    OpenEditor open(effect->getAeffect(), parent.handle());
    ASSERT_TRUE(open.opened());
    EXPECT_EQ(editor->getFrame()->getZoom(), 2.0);
    EXPECT_EQ(editor->getFrame()->getHeight(), 221);  // logical
    EXPECT_EQ(host.sizeRequests, Lines({"1172x442"}));
    EXPECT_EQ(rectSize(), "1172x442");
    // Open: the frame follows and the host resizes, as for a change of height.
    host.sizeRequests.clear();
    ASSERT_TRUE(editor->setZoomFactor(1.5));
    EXPECT_EQ(editor->getFrame()->getZoom(), 1.5);
    EXPECT_EQ(host.sizeRequests, Lines({"879x332"}));
    EXPECT_EQ(rectSize(), "879x332");
    EXPECT_TRUE(editor->setZoomFactor(1.5));
    EXPECT_FALSE(editor->setZoomFactor(4.0));
    EXPECT_EQ(host.sizeRequests.size(), 1u);
    // A change of height asks for the scaled size too.
    setLayout(1.f, 0.f, 0.f);
    EXPECT_EQ(host.sizeRequests.back(), "879x293");  // 195 x 1.5 = 292.5, rounded
    open.close();
    ASSERT_TRUE(editor->setZoomFactor(1.0));
    EXPECT_EQ(rectSize(), "586x195");
}

TEST_F(EditorShell, MeterSelectionHidesAllAndShowsOneOnceAndReplacesTheStripsAtTheSameHeight)
{
    setLayout(1, 1, 0);
    effect->setParameter(3, 0.5f);
    ASSERT_TRUE(editor->open(parent.handle()));
    host.sizeRequests.clear();
    log.clear();
    effect->setParameter(3, 1.f);
    EXPECT_EQ(only("show"), Lines({"PPM show"}));
    EXPECT_EQ(only("hide"), Lines({"VU hide", "RMS hide", "PPM hide"}));
    EXPECT_EQ(only(" at "), Lines({"filters expanded at 0,169 PPM", "label collapsed at 0,222 PPM"}));
    EXPECT_EQ(editor->getSelectedMeter(), 2);
    EXPECT_EQ(height(), 235);
    EXPECT_TRUE(host.sizeRequests.empty());
    log.clear();
    editor->setParameter(3, 1.f);
    EXPECT_TRUE(only("show").empty());
    EXPECT_TRUE(only("hide").empty());
    EXPECT_TRUE(only(" at ").empty());
    // Every parameter then reaches both strips and all three panels, in this order.
    EXPECT_EQ(log, Lines({"label param 3 1", "filters param 3 1", "VU param 3 1", "RMS param 3 1", "PPM param 3 1"}));
}

TEST_F(EditorShell, TheLeavingMetersSettingsPanelClosesBeforeAnyPanelIsHiddenOrShown)
{
    effect->setParameter(3, 0.f);
    ASSERT_TRUE(editor->open(parent.handle()));
    EXPECT_TRUE(only("leaves").empty());  // nothing was shown before the first selection
    log.clear();
    effect->setParameter(3, 1.f);
    Lines order = only("leaves");
    for (const auto &line : only("show"))
        order.push_back(line);
    EXPECT_EQ(order, Lines({"VU leaves settings", "PPM show"}));
    EXPECT_EQ(log.front(), "VU leaves settings");
    log.clear();
    effect->setParameter(3, 1.f);
    EXPECT_TRUE(only("leaves").empty());
}

TEST_F(EditorShell, ChangesFromAnotherThreadWaitForIdleAndArriveInIndexOrderWithCurrentValues)
{
    setLayout(1, 0, 0);
    effect->setParameter(3, 0.f);
    ASSERT_TRUE(editor->open(parent.handle()));
    editor->idle();
    log.clear();
    host.sizeRequests.clear();
    std::thread automation([&] {
        effect->setParameter(15, 1.f);  // would resize the window
        effect->setParameter(3, 1.f);   // would switch the panels
        effect->setParameter(1, 0.25f);
        effect->setParameter(15, 0.f);  // the effect's value at idle is the one that counts
        effect->setParameter(15, 1.f);
        effect->setParameter(kLabelChanged, 0.f);
    });
    automation.join();
    EXPECT_TRUE(log.empty()) << log.front();
    EXPECT_TRUE(host.sizeRequests.empty());
    EXPECT_EQ(height(), 195);
    editor->idle();
    EXPECT_EQ(
        only(" param "),
        Lines({"label param 1 0.25", "filters param 1 0.25", "VU param 1 0.25", "RMS param 1 0.25", "PPM param 1 0.25",
               "label param 3 1",    "filters param 3 1",    "VU param 3 1",    "RMS param 3 1",    "PPM param 3 1",
               "label param 15 1",   "filters param 15 1",   "VU param 15 1",   "RMS param 15 1",   "PPM param 15 1",
               "label param 69 0",   "filters param 69 0",   "VU param 69 0",   "RMS param 69 0",   "PPM param 69 0"}));
    EXPECT_EQ(only("show"), Lines({"PPM show"}));
    EXPECT_EQ(host.sizeRequests, Lines({"586x221"}));
    log.clear();
    editor->idle();
    EXPECT_TRUE(only(" param ").empty()) << "each pending change is applied once";
    // A change on the editor's own thread is applied at once.
    effect->setParameter(1, 0.75f);
    EXPECT_EQ(only(" param ").size(), 5u);
}

TEST_F(EditorShell, ProcessReachesTheFilterStripBeforeTheParameterFansOut)
{
    ASSERT_TRUE(editor->open(parent.handle()));
    log.clear();
    effect->setParameter(0, 1.f);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "filters process 1");
    EXPECT_EQ(only("param 0").size(), 5u);
}

TEST_F(EditorShell, ControlChangesAreAutomatedOnlyForHostParametersAndReachPanelThenStrips)
{
    effect->setParameter(3, 0.f);
    ASSERT_TRUE(editor->open(parent.handle()));
    log.clear();
    CControl lag(CRect(0, 0, 10, 10), editor, 16);
    lag.setValue(0.3f);
    editor->valueChanged(&lag);
    CControl reference(CRect(0, 0, 10, 10), editor, 72);
    editor->valueChanged(&reference);
    EXPECT_TRUE(host.automated.empty());
    EXPECT_EQ(log, Lines({"VU control 16", "label control 16", "filters control 16", "VU control 72",
                          "label control 72", "filters control 72"}));
    log.clear();
    CControl strips(CRect(0, 0, 10, 10), editor, 6);
    strips.setValue(0.f);
    editor->valueChanged(&strips);
    EXPECT_EQ(host.automatedIndices(), std::vector<int>({6}));
    EXPECT_EQ(effect->getParameter(6), 0.f);
    EXPECT_EQ(height(), 169);
    // The automated write comes back as a parameter before the panel sees the control.
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[log.size() - 3], "VU control 6");
    EXPECT_NE(std::find(log.begin(), log.end(), "VU param 6 0"), log.end());
    EXPECT_LT(std::find(log.begin(), log.end(), "VU param 6 0") - log.begin(), (long)log.size() - 3);
}

// A drag that loses its view (the panel goes, the editor closes) still ends its host edit.
TEST_F(EditorShell, DragsCutShortByAPanelRemovalOrTheEditorClosingEndTheirHostEdits)
{
    ASSERT_TRUE(editor->open(parent.handle()));
    CFrame *frame = editor->getFrame();
    auto *panel = new CViewContainer(CRect(0, 0, 300, 169));
    auto *knob = new CAnimKnob(CRect(10, 10, 40, 40), editor, kLagTime, 3, 30, nullptr);
    panel->addView(knob);
    frame->addView(panel);
    FrameDriver mouse(frame);
    mouse.press(20, 20);
    mouse.move(20, 0, kLButton);
    EXPECT_EQ(host.edits, Lines({"begin 16"}));
    frame->removeView(panel);
    EXPECT_EQ(host.edits, Lines({"begin 16", "end 16"}));
    mouse.move(20, -20, kLButton);
    mouse.release(20, -20);
    EXPECT_EQ(host.edits.size(), 2u);

    auto *trim = new CKickButton(CRect(50, 10, 80, 40), editor, kTrim, nullptr);
    frame->addView(trim);
    mouse.press(60, 20);
    EXPECT_EQ(host.edits.back(), "begin 1");
    EXPECT_EQ(effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f), 0);
    EXPECT_EQ(host.edits, Lines({"begin 16", "end 16", "begin 1", "end 1"}));
    EXPECT_EQ(editor->getFrame(), nullptr);
}

// A wheel turn during a drag of the same knob is one edit for the host: it hears the outermost
// begin and its matching end only.
TEST_F(EditorShell, AWheelTurnInsideADragIsPartOfTheDragsHostEdit)
{
    ASSERT_TRUE(editor->open(parent.handle()));
    CFrame *frame = editor->getFrame();
    auto *knob = new CAnimKnob(CRect(10, 10, 40, 40), editor, kLagTime, 3, 30, nullptr);
    frame->addView(knob);
    FrameDriver mouse(frame);
    mouse.press(20, 20);
    mouse.wheel(20, 20, 1.f);
    EXPECT_EQ(host.edits, Lines({"begin 16"}));
    mouse.release(20, 20);
    EXPECT_EQ(host.edits, Lines({"begin 16", "end 16"}));
    mouse.wheel(20, 20, 1.f);
    EXPECT_EQ(host.edits, Lines({"begin 16", "end 16", "begin 16", "end 16"}));
}

TEST_F(EditorShell, IdleGivesTheSelectedPanelTheBlocksSinceTheLastOneNeverNegative)
{
    effect->setParameter(3, 1.f);
    ASSERT_TRUE(editor->open(parent.handle()));
    effect->dispatcher(effSetSampleRate, 0, 0, nullptr, 48000.f);
    effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);
#ifndef _WIN32
    OffscreenPlatformFrame::setTickSource([] { return testClock; });
#endif
    std::vector<float> in(480, 0.f), out0(480), out1(480);
    float *inputs[2] = {in.data(), in.data()};
    float *outputs[2] = {out0.data(), out1.data()};
    effect->processReplacing(inputs, outputs, 480);  // 10 ms, stamped now
    log.clear();
    editor->idle();
    EXPECT_EQ(only("refresh"), Lines({"PPM refresh"}));
    EXPECT_GE(editor->getLastIdlePosition(), 0.0);
#ifndef _WIN32
    EXPECT_EQ(editor->getLastIdlePosition(), 0.0);
    testClock += 25;  // two and a half blocks later
    editor->idle();
    EXPECT_NEAR(editor->getLastIdlePosition(), 2.5, 1e-9);
    testClock -= 100;  // a block stamped after the idle's clock reading
    editor->idle();
    EXPECT_EQ(editor->getLastIdlePosition(), 0.0);
    OffscreenPlatformFrame::setTickSource(nullptr);
#endif
    editor->close();
    log.clear();
    editor->idle();
    EXPECT_TRUE(log.empty());
}

TEST_F(EditorShell, PressOnTheFrameTakesTheKeyboardFocus)
{
    ASSERT_TRUE(editor->open(parent.handle()));
    FrameDriver(editor->getFrame()).click(10, 10);
#ifndef _WIN32
    EXPECT_TRUE(static_cast<OffscreenPlatformFrame *>(editor->getFrame()->getPlatformFrame())->hasFocus());
#else
    EXPECT_EQ(GetFocus(), static_cast<HWND>(editor->getFrame()->getSystemWindow()));
#endif
}

TEST_F(EditorShell, KeysFromTheHostReachTheFocusViewAndTheWheelTheViewUnderTheMouse)
{
    class KeyView : public CView {
    public:
        KeyView() : CView(CRect(0, 0, 50, 50)) {}
        int onKeyDown(VstKeyCode &key) override
        {
            keys.push_back(key.character);
            return key.character == 'a' ? 1 : -1;
        }
        bool onWheel(const CPoint &, const float &distance, const CButtonState &) override
        {
            wheel += distance;
            return true;
        }
        std::vector<int> keys;
        float wheel = 0;
    };
    ASSERT_TRUE(editor->open(parent.handle()));
    auto *view = new KeyView;
    editor->getFrame()->addView(view);
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 'a', 0, nullptr, 0.f), 0);  // no focus view yet
    editor->getFrame()->setFocusView(view);
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 'a', 0, nullptr, 0.f), 1);
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 'b', 0, nullptr, 0.f), 0);
    EXPECT_EQ(view->keys, std::vector<int>({'a', 'b'}));
    FrameDriver(editor->getFrame()).move(10, 10);
    EXPECT_TRUE(editor->onWheel(2.f));
    EXPECT_EQ(view->wheel, 2.f);
    EXPECT_EQ(effect->dispatcher(effSetEditKnobMode, 0, 1, nullptr, 0.f), 1);
    EXPECT_EQ(editor->getKnobMode(), 1);
    editor->getFrame()->removeView(view, true);
    EXPECT_EQ(editor->getFrame()->getFocusView(), nullptr);
}

// A number that is no meter type is a caller's fault: test builds stop at it, a release build
// answers that there is no such panel.
TEST_F(EditorShell, APanelAskedForByANumberThatIsNoMeterTypeBreaksAContract)
{
    ASSERT_TRUE(editor->open(parent.handle()));
    ASSERT_NE(editor->getPanel(kMeterTypePPM), nullptr);
    const MeterType none = MeterType(kMeterTypeCount);
#ifdef ZEM_CONTRACTS_ABORT
    EXPECT_DEATH(editor->getPanel(none), "contract failed: isMeterType");
    EXPECT_DEATH(productEditorParts().createFrontPanel(none, editor, effect), "contract failed: isMeterType");
#else
    EXPECT_EQ(editor->getPanel(none), nullptr);
    EXPECT_EQ(productEditorParts().createFrontPanel(none, editor, effect), nullptr);
#endif
}

TEST_F(EditorShell, TwoHundredOpenAndCloseCyclesReleaseEverything)
{
    setLayout(1, 1, 1);
    ASSERT_TRUE(editor->open(parent.handle()));
    editor->idle();
    editor->close();
    int live = CBaseObject::liveObjects();
    int windows = countThreadWindows();
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(editor->open(parent.handle()));
        effect->setParameter(15, (float)(i % 2));
        editor->idle();
        FrameDriver(editor->getFrame()).click(100, 100);
        editor->close();
    }
    EXPECT_EQ(CBaseObject::liveObjects(), live);
    EXPECT_EQ(countThreadWindows(), windows);
}

// The echo's routes: Process to the filter strips, Meter to the panel selection, the three
// layout switches to the strip placement; the editor automates exactly the controls of
// parameters 0 to 7 and 15, and any other index (a setting, a spare, one out of range) only
// reaches the parts.
TEST(EchoRoutes, EachIndexHasItsOneRouteAndTheRestOnlyReachThePartsOfTheEditor)
{
    for (VstInt32 index = -2; index < 130; ++index) {
        SCOPED_TRACE(index);
        const EchoRoute route = echoRoute(index);
        EXPECT_EQ(route.filtersProcess, index == kProcess);
        EXPECT_EQ(route.selectsMeter, index == kMeter);
        EXPECT_EQ(route.placesStrips, index == kStrips || index == kShowFlt || index == kShowLbl);
        EXPECT_EQ(route.automatedByEditor, (index >= kProcess && index <= kShowFlt) || index == kShowLbl);
    }
}

TEST(EditorLifetime, TheEffectsOwnEditorOpensOnTheBackgroundAndDetachesWhenDeleted)
{
    Templete effect(RecordingHost::callback, createTemepleteEditor);
    auto *editor = dynamic_cast<TemepleteEditor *>(effect.getEditor());
    ASSERT_NE(editor, nullptr);
    ERect *r = nullptr;
    ASSERT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &r, 0.f), 1);
    EXPECT_EQ(r->right - r->left, 586);
    EXPECT_EQ(r->bottom - r->top, 195);
    OpenEditor session(effect.getAeffect());
    EXPECT_EQ(session.openAnswer(), 1);
    session.idle();
    delete editor;
    session.editorGone();
    EXPECT_EQ(effect.getEditor(), nullptr);
    EXPECT_FALSE(effect.getAeffect()->flags & effFlagsHasEditor);
}

TEST(HintText, TextsFollowTagValueAndZone)
{
    std::string text;
    auto hint = [&](long tag, float value, int zone = 0) {
        text = "unchanged";
        helpHintText(tag, value, zone, text);
        return text;
    };
    EXPECT_EQ(hint(6, 0.49f), "Shows Strips");
    EXPECT_EQ(hint(6, 0.5f), "Hides Strips");  // on by the switch law, so the hint offers to hide
    EXPECT_EQ(hint(7, 0.5f), "Closes FILTERS editor");
    EXPECT_EQ(hint(15, 0.5f), "Closes LABEL editor");
    EXPECT_EQ(hint(7, 1.f), "Closes FILTERS editor");
    EXPECT_EQ(hint(15, 0.f), "Opens LABEL editor");
    EXPECT_EQ(hint(68, 0.f), "Click PROCESS to activate the Trim");
    EXPECT_EQ(hint(71, 0.f), "Click PROCESS to activate FILTERS");
    EXPECT_EQ(hint(93, 0.f), "Click and drag to adjust PPM reference level");
    EXPECT_EQ(hint(121, 0.f), "Click to open the manual");
    EXPECT_EQ(hint(16, 0.f), "");
    EXPECT_EQ(hint(3, 0.f, 0), "Changes current meter to PPM3");
    EXPECT_EQ(hint(3, 0.5f, 0), "Changes current meter to VU3");
    EXPECT_EQ(hint(3, 1.f, 0), "Changes current meter to RMS3");
    EXPECT_EQ(hint(3, 0.f, 1), "Changes current meter to RMS3");
    EXPECT_EQ(hint(3, 1.f, 1), "Changes current meter to VU3");
    EXPECT_EQ(hint(3, 0.5f, 2), "");
    EXPECT_EQ(hint(3, 1.5f, 1), "unchanged");
}

}  // namespace
