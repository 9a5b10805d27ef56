// The front panels inside the effect's own editor, opened on a parent window as a host opens
// it: the trim entry, the Process-dependent trim controls, hold, the clicks on the views, the
// reference display with and without Strips, the settings panel's toggle and its defaults, the
// read-out of the engines into the views and a meter change with a settings panel open.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "params/parameter_table.h"
#include "core/templete.h"
#include "display/anim_knob4.h"
#include "display/back_panel.h"
#include "display/zem_meter2.h"
#include "display/zem_meter_full_panel.h"
#include "editor/editor_factory.h"
#include "editor/temeplete_editor.h"
#include "controls/zem_hint_control.h"
#include "controls/zem_horizontal_switch.h"
#include "controls/zem_on_off_button.h"
#include "controls/zem_slider.h"
#include "controls/zem_text_edit.h"
#include "meters/meter_engine.h"
#include "support/open_editor.h"
#include "support/recording_host.h"
#include "ui/frame_driver.h"
#include "ui/view_container.h"

#ifndef _WIN32
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "support/file_contents.h"
#endif

using namespace VSTGUI;

namespace {

// The effect, recording the commands the panels send through its parameter write.
class CommandRecordingEffect : public Templete {
public:
    explicit CommandRecordingEffect(audioMasterCallback host) : Templete(host, createTemepleteEditor) {}
    void setParameter(VstInt32 index, float value) override
    {
        if (index == kStoreDefaults || index == kResetPeaks)
            commands.push_back(index);
        Templete::setParameter(index, value);
    }
    std::vector<int> commands;
};

// Stereo blocks of a sine of the given peak amplitude, through the effect's block routine.
void feedSine(Templete &effect, float amplitude, int frames)
{
    constexpr int kBlock = 512;
    std::vector<float> in(kBlock), out0(kBlock), out1(kBlock);
    float *inputs[2] = {in.data(), in.data()};
    float *outputs[2] = {out0.data(), out1.data()};
    static double phase = 0;
    for (int done = 0; done < frames; done += kBlock) {
        for (float &sample : in) {
            sample = (float)(amplitude * std::sin(phase));
            phase += 2 * 3.14159265358979 * 1000.0 / 44100.0;
        }
        effect.processReplacing(inputs, outputs, kBlock);
    }
}

class FrontPanels : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.listen();
        parent.resize(600, 300);
        effect = new CommandRecordingEffect(RecordingHost::callback);
        effect->dispatcher(effSetSampleRate, 0, 0, nullptr, 44100.f);
        effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);
        scopeBefore = effect->getParameter(kGSIcal);
        effect->setParameter(kGSIcal, 1.f);  // Instance: the tests' settings stay their own
        effect->setParameter(kProcess, 1.f);
        effect->setParameter(kStrips, 1.f);
        effect->setParameter(kMeter, 0.f);
        liveBefore = CBaseObject::liveObjects();
    }
    void TearDown() override
    {
        closeEditor();
        effect->setParameter(kGSIcal, scopeBefore);  // the process-wide last scope as it was
        delete effect;
        RecordingHost::stopListening();
    }
    void openEditor()
    {
        session.emplace(effect->getAeffect(), parent.handle());
        ASSERT_EQ(session->openAnswer(), 1);
        editor = static_cast<TemepleteEditor *>(effect->getEditor());
        frame = editor->getFrame();
        ASSERT_NE(frame, nullptr);
    }
    void closeEditor()
    {
        if (session && editor && editor->getFrame())
            session->close();
        session.reset();
        frame = nullptr;
    }
    CZEMMeterFULLPANEL *panel(int type) const
    {
        return dynamic_cast<CZEMMeterFULLPANEL *>(editor->getPanel(MeterType(type)));
    }
    MeterEngine *engine(MeterType type) const { return effect->meterEngine(type); }
    std::string trimDisplay() const
    {
        char text[64] = {};
        effect->getParameterDisplay(kTrim, text);
        return text;
    }
    std::string settingText(MeterType type, VstInt32 index) const
    {
        char text[64] = {};
        engine(type)->getSettingText(index, text);
        return text;
    }
    // The middle of the meter selector opens and closes the settings panel.
    void clickSettingsToggle() { FrameDriver(frame).click(270, 155); }

    RecordingHost host;
    std::vector<RecordingHost::Automation> &automated = host.automated;
    TestParentWindow &parent = sharedParentWindow();
    CommandRecordingEffect *effect = nullptr;
    std::optional<OpenEditor> session;
    TemepleteEditor *editor = nullptr;
    CFrame *frame = nullptr;
    float scopeBefore = 1.f;
    int liveBefore = 0;
};

TEST_F(FrontPanels, TheEditorShowsTheSelectedMetersPanelWithItsViewsAndReferenceDisplay)
{
    effect->setParameter(kMeter, 0.5f);
    openEditor();
    for (int type = 0; type < 3; ++type) {
        CZEMMeterFULLPANEL *p = panel(type);
        ASSERT_NE(p, nullptr) << type;
        EXPECT_TRUE(p->isBuilt());
        EXPECT_EQ(p->isShown(), type == kMeterTypeRMS) << type;
        EXPECT_EQ(p->getReferenceControl()->getTag(), frontPanelLook((MeterType)type).referenceSetting);
        EXPECT_EQ(p->getReferenceControl()->getDefaultValue(), frontPanelLook((MeterType)type).referenceDefault);
        EXPECT_EQ(std::string(p->getReferenceControl()->getReferenceText()),
                  settingText((MeterType)type, p->getReferenceControl()->getTag()));
        ASSERT_NE(p->getSettingsPanel(), nullptr);
        EXPECT_FALSE(p->getSettingsPanel()->isShown());
    }
    EXPECT_NE(dynamic_cast<CZEMVUMeter2 *>(panel(0)->getLeftView()), nullptr);
    EXPECT_NE(dynamic_cast<CZEMRMSMeter2 *>(panel(1)->getRightView()), nullptr);
    EXPECT_NE(dynamic_cast<CZEMPPMMeter2 *>(panel(2)->getLeftView()), nullptr);
    // What the frame finds under the pointer is the shown panel's.
    CViewContainer *shown = panel(1)->getContainer();
    EXPECT_EQ(shown->getViewAt(CPoint(100, 5)), panel(1)->getReferenceControl());
    EXPECT_EQ(shown->getViewAt(CPoint(550, 60)), static_cast<CView *>(panel(1)->getTrimSlider()));
    EXPECT_EQ(shown->getViewAt(CPoint(300, 60)), static_cast<CView *>(panel(1)->getRightView()));
}

TEST_F(FrontPanels, TypedTrimIsAnAutomatedTrimWriteThatTheFieldThenShows)
{
    openEditor();
    struct Entry {
        const char *text;
        float value;
    } entries[] = {{"25", 1.f},   {"-30", 0.f}, {"abc", 0.5f},    {"x", 0.5f},
                   {"5", 0.625f}, {"-20", 0.f}, {"-7.5", 0.3125f}};
    FrameDriver driver(frame);
    for (const Entry &entry : entries) {
        automated.clear();
        driver.click(554, 153);  // the trim field opens its edit box
        ASSERT_TRUE(driver.type(entry.text)) << entry.text;
        ASSERT_TRUE(driver.key("enter"));
        ASSERT_EQ(automated.size(), 1u) << entry.text;
        EXPECT_EQ(automated[0].index, kTrim);
        EXPECT_EQ(automated[0].value, entry.value) << entry.text;
        EXPECT_EQ(effect->getParameter(kTrim), entry.value);
        EXPECT_EQ(std::string(panel(0)->getTrimText()->getText()), trimDisplay()) << entry.text;
        EXPECT_EQ(panel(0)->getTrimSlider()->getValue(), entry.value);
    }
    // The sum is taken in single precision before the factor.
    EXPECT_EQ(trimValueFromText("0.1"), (float)((0.1f + 20.f) * 0.025));
    EXPECT_EQ(trimValueFromText("1e39"), 1.f);
    EXPECT_EQ(trimValueFromText("1e999"), 1.f);
    EXPECT_EQ(trimValueFromText("-1e999"), 0.f);
    EXPECT_EQ(trimValueFromText(" +6 dB"), 0.65f);
    EXPECT_EQ(trimValueFromText("nan"), 0.5f);
    EXPECT_EQ(trimValueFromText(""), 0.5f);
}

TEST_F(FrontPanels, ProcessOffMakesTheTrimSliderAndFieldInertWithTheirHint)
{
    effect->setParameter(kTrim, 0.5f);
    openEditor();
    CZEMMeterFULLPANEL *p = panel(0);
    FrameDriver driver(frame);
    effect->setParameter(kProcess, 0.f);
    EXPECT_EQ(p->getTrimSlider()->getActive(), 0);
    EXPECT_EQ(p->getTrimText()->getActive(), 0);
    EXPECT_EQ(p->getProcessButton()->getValue(), 0.f);
    driver.move(554, 80);
    EXPECT_EQ(std::string(p->getHintLabel()->getText()), "Click PROCESS to activate the Trim");
    driver.wheel(554, 80, 1.f);
    driver.drag(554, 80, 554, 30);
    EXPECT_EQ(effect->getParameter(kTrim), 0.5f);
    driver.move(554, 153);
    EXPECT_EQ(std::string(p->getHintLabel()->getText()), "Click PROCESS to activate the Trim");
    driver.click(554, 153);
    EXPECT_FALSE(p->getTrimText()->isBeingEdited());
    EXPECT_TRUE(automated.empty());

    // Hidden panels follow too, and the shown one takes the mouse again.
    effect->setParameter(kProcess, 1.f);
    for (int type = 0; type < 3; ++type) {
        EXPECT_EQ(panel(type)->getTrimSlider()->getActive(), 1);
        EXPECT_EQ(panel(type)->getTrimText()->getActive(), 1);
    }
    driver.move(554, 80);
    driver.wheel(554, 80, 1.f);
    EXPECT_EQ(effect->getParameter(kTrim), 0.525f);
    EXPECT_FALSE(automated.empty());
}

// The trim slider is (538, 17)-(570, 143) with a 19-pixel handle: the handle travels 107 pixels,
// so that -20 dB puts it whole at the bottom of the control (124..143) and +20 dB at the top
// (17..36). A drag from the handle to either end and back reaches 0 and 1 and keeps the handle
// under the pointer.
TEST_F(FrontPanels, TheTrimHandleStaysWholeInsideItsControlAndADragReachesBothEndsAndComesBack)
{
    const CRect control(538, 17, 570, 143);
    const CCoord x = 554;
    effect->setParameter(kTrim, 0.5f);
    openEditor();
    CZEMSliderAH *slider = panel(0)->getTrimSlider();
    ASSERT_EQ(slider->getViewSize(), control);
    auto handleUnder = [&](CCoord y) { return slider->getHandleRect().pointInside(CPoint(x, y)); };
    auto handleInside = [&] {
        const CRect handle = slider->getHandleRect();
        return handle.top >= control.top && handle.bottom <= control.bottom;
    };

    FrameDriver driver(frame);
    driver.press(x, 80);            // the handle's centre at 0 dB
    driver.move(x, 134, kLButton);  // down to the bottom of the track
    EXPECT_EQ(effect->getParameter(kTrim), 0.f);
    EXPECT_TRUE(handleUnder(134));
    EXPECT_TRUE(handleInside());
    EXPECT_EQ(slider->getHandleRect().bottom, control.bottom);
    driver.move(x, 27, kLButton);  // up to the top
    EXPECT_EQ(effect->getParameter(kTrim), 1.f);
    EXPECT_TRUE(handleUnder(27));
    EXPECT_TRUE(handleInside());
    EXPECT_EQ(slider->getHandleRect().top, control.top);
    driver.move(x, 80, kLButton);  // and back to the middle
    driver.release(x, 80);
    EXPECT_NEAR(effect->getParameter(kTrim), 0.5f, 1.f / 107);
    EXPECT_TRUE(handleUnder(80));

    // At -20 dB, as the editor opens with Trim 0, the handle is there to be grabbed.
    effect->setParameter(kTrim, 0.f);
    EXPECT_TRUE(handleInside());
    driver.press(x, 134);
    driver.move(x, 27, kLButton);
    driver.release(x, 27);
    EXPECT_EQ(effect->getParameter(kTrim), 1.f);
}

TEST_F(FrontPanels, AMeterChangeClosesTheTrimBoxOfThePanelItHides)
{
    openEditor();
    FrameDriver driver(frame);
    driver.click(554, 153);
    ASSERT_TRUE(panel(0)->getTrimText()->isBeingEdited());
    ASSERT_TRUE(driver.type("12"));
    effect->setParameter(kMeter, 0.5f);  // the host selects RMS3
    EXPECT_FALSE(panel(0)->getTrimText()->isBeingEdited());
    EXPECT_EQ(activeInPlaceEdit, nullptr);
    EXPECT_FALSE(driver.key("enter")) << "no box is left over the RMS3 panel";
    EXPECT_TRUE(automated.empty());
    EXPECT_EQ(effect->getParameter(kTrim), 0.5f);
    EXPECT_EQ(std::string(panel(0)->getTrimText()->getText()), trimDisplay());
}

TEST_F(FrontPanels, HoldShowsTheMarkersAndOnlyInfiniteHoldKeepsTheMaximum)
{
    effect->setParameter(kMeter, 1.f);  // PPM
    openEditor();
    CZEMMeterFULLPANEL *p = panel(2);
    for (float hold : {0.f, 0.5f, 1.f}) {
        effect->setParameter(kHold, hold);
        for (int type = 0; type < 3; ++type) {
            EXPECT_EQ(panel(type)->getLeftView()->isHoldVisible(), hold != 0.f) << hold;
            EXPECT_EQ(panel(type)->getRightView()->isHoldVisible(), hold != 0.f) << hold;
        }
        EXPECT_EQ(p->getHoldSwitch()->getValue(), hold);
    }
    auto *left = static_cast<CZEMPPMMeter2 *>(p->getLeftView());
    auto *right = static_cast<CZEMPPMMeter2 *>(p->getRightView());

    // On: the hold marker falls back after a loud passage.
    effect->setParameter(kHold, 1.f);
    feedSine(*effect, 0.9f, 22050);
    p->refreshMeters(0);
    const float loud = left->getHoldValue();
    feedSine(*effect, 0.f, 5 * 44100);
    p->refreshMeters(0);
    EXPECT_LT(left->getHoldValue(), loud * 0.5f);

    // oo: the maximum stays through the silence, for both channels.
    effect->setParameter(kHold, 0.5f);
    feedSine(*effect, 0.9f, 22050);
    p->refreshMeters(0);
    const float held = left->getHoldValue();
    EXPECT_GT(held, 0.5f * loud);
    feedSine(*effect, 0.f, 5 * 44100);
    p->refreshMeters(0);
    EXPECT_EQ(left->getHoldValue(), held);
    EXPECT_EQ(right->getHoldValue(), held);

    // A right click on a view is not a reset; a left click resets the peaks.
    FrameDriver driver(frame);
    driver.click(140, 80, kRButton);
    p->refreshMeters(0);
    EXPECT_TRUE(effect->commands.empty());
    EXPECT_EQ(left->getHoldValue(), held);
    driver.click(140, 80);
    EXPECT_EQ(effect->commands, std::vector<int>({kResetPeaks}));
    p->refreshMeters(0);
    EXPECT_LT(left->getHoldValue(), 0.5f * held);
    driver.click(400, 80);
    EXPECT_EQ(effect->commands, std::vector<int>({kResetPeaks, kResetPeaks}));
}

TEST_F(FrontPanels, TheRMSNeedleIsTheRootOfTheMeanSquareTimesSqrtTwoWithinTheClamps)
{
    effect->setParameter(kMeter, 0.5f);
    openEditor();
    CZEMMeterFULLPANEL *p = panel(1);
    auto *left = static_cast<CZEMRMSMeter2 *>(p->getLeftView());
    MeterEngine *rms = engine(kMeterTypeRMS);

    feedSine(*effect, 0.25f, 2 * 44100);
    p->refreshMeters(0);
    const double meanSquare = rms->readoutValue(kMeterMeanSquare1, 0);
    EXPECT_EQ(left->getRMSValue(), (float)(std::sqrt(meanSquare) * 1.4142));
    // A steady sine: the RMS needle reads the peak.
    EXPECT_NEAR(left->getRMSValue(), left->getPeakValue(), 0.03f * left->getPeakValue());
    EXPECT_EQ(left->getPeakValue(), (float)rms->readoutValue(kMeterLevel1, 0));

    // Far above the scale: 32; silence: 0.0001.
    feedSine(*effect, 200.f, 2 * 44100);
    p->refreshMeters(0);
    ASSERT_GT(CZEMRMSMeterFULLPANEL::rmsFromMeanSquare(rms->readoutValue(kMeterMeanSquare1, 0)), 32.f);
    EXPECT_EQ(left->getRMSValue(), 32.f);
    EXPECT_EQ(left->getPeakValue(), 32.f);
    effect->dispatcher(effMainsChanged, 0, 0, nullptr, 0.f);
    effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);
    feedSine(*effect, 0.f, 44100);
    p->refreshMeters(0);
    EXPECT_EQ(left->getRMSValue(), 0.0001f);
    EXPECT_EQ(left->getPeakValue(), 0.0001f);
}

TEST_F(FrontPanels, WithoutStripsTheReferenceDisplayIsGoneAndClosingStillReleasesIt)
{
    openEditor();
    closeEditor();
    const int live = CBaseObject::liveObjects();  // the editor's background stays loaded
    for (bool stripsAtOpen : {true, false}) {
        effect->setParameter(kStrips, stripsAtOpen ? 1.f : 0.f);
        openEditor();
        for (int type = 0; type < 3; ++type) {
            CZEMMeterFULLPANEL *p = panel(type);
            EXPECT_EQ(p->getContainer()->isChild(p->getReferenceControl()), stripsAtOpen);
        }
        effect->setParameter(kStrips, 0.f);
        for (int type = 0; type < 3; ++type)
            EXPECT_FALSE(panel(type)->getContainer()->isChild(panel(type)->getReferenceControl()));
        EXPECT_EQ(panel(0)->getContainer()->getViewAt(CPoint(100, 5)), nullptr);
        effect->setParameter(kStrips, 1.f);
        EXPECT_EQ(panel(0)->getContainer()->getViewAt(CPoint(100, 5)), panel(0)->getReferenceControl());
        effect->setParameter(kStrips, 0.f);
        closeEditor();
        EXPECT_EQ(CBaseObject::liveObjects(), live) << "Strips on at open: " << stripsAtOpen;
    }
}

// 0.5 is on by the switch law: the strips show, the reference display with them, and the
// switches' hints offer to hide what is shown.
TEST_F(FrontPanels, StripSwitchesAtOneHalfAreOnForTheLayoutTheReferenceDisplayAndTheHints)
{
    effect->setParameter(kStrips, 0.5f);
    effect->setParameter(kShowFlt, 0.5f);
    effect->setParameter(kShowLbl, 0.5f);
    openEditor();
    EXPECT_EQ(frame->getHeight(), 261);
    for (int type = 0; type < 3; ++type)
        EXPECT_TRUE(panel(type)->getContainer()->isChild(panel(type)->getReferenceControl())) << type;
    FrameDriver driver(frame);
    driver.move(579, 6);  // the strips button
    EXPECT_EQ(std::string(panel(0)->getHintLabel()->getText()), "Hides Strips");
    driver.move(579, 169 + 5);  // the filter strip's switch
    EXPECT_EQ(std::string(panel(0)->getHintLabel()->getText()), "Closes FILTERS editor");
    driver.move(579, 222 + 5);  // the label strip's switch
    EXPECT_EQ(std::string(panel(0)->getHintLabel()->getText()), "Closes LABEL editor");
}

TEST_F(FrontPanels, TheSettingsPanelOpensAndClosesFromTheSelectorStoringTheDefaultsOnlyOnClosing)
{
    openEditor();
    BackPanel *settings = panel(0)->getSettingsPanel();
    clickSettingsToggle();
    EXPECT_TRUE(settings->isShown());
    EXPECT_TRUE(frame->isChild(settings->getContainer()));
    EXPECT_TRUE(effect->commands.empty());
    FrameDriver(frame).click(330, 150);  // an empty place on the settings panel
    EXPECT_FALSE(settings->isShown());
    EXPECT_FALSE(frame->isChild(settings->getContainer()));
    EXPECT_EQ(effect->commands, std::vector<int>({kStoreDefaults}));
    EXPECT_TRUE(panel(0)->isShown());
}

#ifndef _WIN32
// Another process (a stuck host, a backup tool) holds the store's lock for three seconds:
// closing the settings panel returns well within a second, skipping the write, and leaves the
// store whole and as it was; once the lock is free the next closing stores the defaults.
TEST_F(FrontPanels, ClosingTheSettingsPanelNeverWaitsLongForAStoreLockedByAnotherProcess)
{
    const std::string folder = std::string(std::getenv("XDG_CONFIG_HOME")) + "/Velmora";
    ::mkdir(folder.c_str(), 0700);
    const std::string store = folder + "/ZEMMETERS300";
    const std::string before = "ManualPath=/opt/zem/manual.pdf\n";
    FILE *file = std::fopen(store.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs(before.c_str(), file);
    std::fclose(file);

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    std::fflush(nullptr);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int lock = ::open((store + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        const char locked = lock >= 0 && ::flock(lock, LOCK_EX) == 0;
        if (::write(ready[1], &locked, 1) != 1)
            ::_exit(1);
        struct timespec hold = {3, 0};
        ::nanosleep(&hold, nullptr);
        ::_exit(0);
    }
    ASSERT_GT(holder, 0);
    ::close(ready[1]);
    char locked = 0;
    const bool heard = ::read(ready[0], &locked, 1) == 1;
    ::close(ready[0]);
    ASSERT_TRUE(heard && locked);

    openEditor();
    clickSettingsToggle();
    const auto start = std::chrono::steady_clock::now();
    FrameDriver(frame).click(330, 150);  // an empty place on the settings panel
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(effect->commands, std::vector<int>({kStoreDefaults}));
    EXPECT_LT(waited, std::chrono::seconds(1));
    EXPECT_EQ(fileContents(store), before);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);

    int entries = 0;  // the store and its lock, no temporary left behind
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const struct dirent *entry = ::readdir(dir))
            entries += entry->d_name[0] != '.';
        ::closedir(dir);
    }
    EXPECT_EQ(entries, 2);

    clickSettingsToggle();
    FrameDriver(frame).click(330, 150);
    const std::string after = fileContents(store);
    EXPECT_EQ(after.compare(0, before.size(), before), 0);
    EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 28) << "the 27 defaults below the kept line";
}
#endif

// The host shows the strips while the settings panel is open: the panel still covers them, so
// a click below the front panel lands on the settings panel's empty space and closes it.
TEST_F(FrontPanels, StripsShownWhileTheSettingsPanelIsOpenStayBelowIt)
{
    effect->setParameter(kShowFlt, 0.f);
    effect->setParameter(kShowLbl, 0.f);
    openEditor();
    BackPanel *settings = panel(0)->getSettingsPanel();
    clickSettingsToggle();
    ASSERT_TRUE(settings->isShown());
    effect->setParameter(kShowFlt, 1.f);
    effect->setParameter(kShowLbl, 1.f);
    editor->idle();
    ASSERT_EQ(frame->getHeight(), 261);
    EXPECT_TRUE(settings->isShown());
    EXPECT_TRUE(effect->commands.empty());
    FrameDriver(frame).click(330, 240);  // the label strip's tape, under the panel's empty space
    EXPECT_FALSE(settings->isShown());
    EXPECT_EQ(effect->commands, std::vector<int>({kStoreDefaults}));
}

TEST_F(FrontPanels, AReferenceSetOnTheSettingsPanelMovesTheFrontDisplayWhoseDragStartsFromIt)
{
    openEditor();
    CZEMMeterFULLPANEL *p = panel(0);
    CFrontReferenceControl *front = p->getReferenceControl();
    const float before = front->getValue();
    clickSettingsToggle();
    ASSERT_TRUE(p->getSettingsPanel()->isShown());
    // The settings panel's reference knob at (24, 36): 200 pixels span the whole range.
    const double step = before > 0.5f ? -50 : 50;
    FrameDriver(frame).drag(45, 56, 45 + step, 56);
    const float changed = engine(kMeterTypeVU)->getSetting(kTagVUReference);
    ASSERT_NEAR(changed, before + step / 200, 0.02);
    EXPECT_EQ(front->getValue(), changed);
    EXPECT_EQ(std::string(front->getReferenceText()), settingText(kMeterTypeVU, kTagVUReference));

    FrameDriver(frame).click(330, 150);
    ASSERT_FALSE(p->getSettingsPanel()->isShown());
    // 500 pixels for the full range on the front.
    FrameDriver(frame).drag(160, 6, 160 + step, 6);
    EXPECT_NEAR(front->getValue(), changed + step / 500, 1e-5);
    EXPECT_EQ(engine(kMeterTypeVU)->getSetting(kTagVUReference), front->getValue());
    EXPECT_EQ(std::string(front->getReferenceText()), settingText(kMeterTypeVU, kTagVUReference));
    // Not automated: the settings are no host parameters.
    for (const auto &write : automated)
        EXPECT_NE(write.index, kTagVUReference);
}

// Every panel of a meter type keeps its own reference to its container, shown or not: a frame
// that lets go of its views (as closing it does) takes none of them along, and the editor's
// close releases them after it with nothing left over.
TEST_F(FrontPanels, AFrameLettingGoOfItsViewsLeavesEachPanelItsContainer)
{
    openEditor();
    closeEditor();
    const int live = CBaseObject::liveObjects();  // the editor keeps its background between opens
    openEditor();
    clickSettingsToggle();  // the VU settings panel opens over the front panel and the strips
    CZEMMeterFULLPANEL *shown = panel(kMeterTypeVU);
    ASSERT_TRUE(shown->isShown());
    ASSERT_TRUE(shown->getSettingsPanel()->isShown());
    frame->removeAll();
    for (int type = 0; type < kMeterTypeCount; ++type) {
        CZEMMeterFULLPANEL *p = panel(type);
        EXPECT_FALSE(p->isShown()) << type;
        EXPECT_EQ(p->getContainer()->getNbReference(), 1) << type;
        EXPECT_EQ(p->getSettingsPanel()->getContainer()->getNbReference(), 1) << type;
        EXPECT_EQ(p->getContainer()->getParentView(), nullptr) << type;
    }
    shown->showPanel();
    EXPECT_TRUE(shown->isShown());
    EXPECT_EQ(shown->getContainer()->getNbReference(), 2);
    closeEditor();
    EXPECT_EQ(CBaseObject::liveObjects(), live);
}

TEST_F(FrontPanels, TheVUBacklightSettingLightsBothViews)
{
    openEditor();
    for (float setting : {0.f, 0.5f, 1.f, 0.74f}) {
        effect->setParameter(88, setting);
        const int expected = (int)(engine(kMeterTypeVU)->getSetting(88) * 4.f + 0.5f);
        EXPECT_EQ(static_cast<CZEMVUMeter2 *>(panel(0)->getLeftView())->getBacklight(), expected) << setting;
        EXPECT_EQ(static_cast<CZEMVUMeter2 *>(panel(0)->getRightView())->getBacklight(), expected) << setting;
    }
}

TEST_F(FrontPanels, AMeterChangeWithTheSettingsPanelOpenClosesItAndStoresTheDefaultsFirst)
{
    openEditor();
    clickSettingsToggle();
    BackPanel *vuSettings = panel(0)->getSettingsPanel();
    ASSERT_TRUE(vuSettings->isShown());
    effect->setParameterAutomated(kMeter, 0.5f);  // host automation picks RMS
    EXPECT_FALSE(vuSettings->isShown());
    EXPECT_FALSE(frame->isChild(vuSettings->getContainer()));
    EXPECT_EQ(effect->commands, std::vector<int>({kStoreDefaults}));
    EXPECT_TRUE(panel(1)->isShown());
    EXPECT_FALSE(panel(0)->isShown());
    EXPECT_FALSE(panel(1)->getSettingsPanel()->isShown());
    // The RMS panel is on top and takes the click; its selector opens its own settings panel.
    clickSettingsToggle();
    EXPECT_TRUE(panel(1)->getSettingsPanel()->isShown());
    EXPECT_FALSE(vuSettings->isShown());
    // A change without an open settings panel stores nothing.
    FrameDriver(frame).click(330, 150);
    effect->commands.clear();
    effect->setParameterAutomated(kMeter, 1.f);
    EXPECT_TRUE(effect->commands.empty());
}

// Two instances in the Session scope share their settings: a change in one reaches the other's
// open editor at its next idle.
TEST(FrontPanelsSession, AReferenceChangeInOneInstanceReachesTheOtherInstancesOpenEditor)
{
    TestParentWindow &parent = sharedParentWindow();
    parent.resize(600, 300);
    Templete first(RecordingHost::callback, createTemepleteEditor),
        second(RecordingHost::callback, createTemepleteEditor);
    const float scopeBefore = first.getParameter(kGSIcal);
    for (Templete *effect : {&first, &second}) {
        effect->setParameter(kGSIcal, 0.5f);
        effect->setParameter(kStrips, 1.f);
        effect->setParameter(kMeter, 1.f);
    }
    const float referenceBefore = first.meterEngine(kMeterTypePPM)->getSetting(kTagPPMReference);
    OpenEditor session(second.getAeffect(), parent.handle());
    ASSERT_EQ(session.openAnswer(), 1);
    auto *editor = static_cast<TemepleteEditor *>(second.getEditor());
    auto *panel = dynamic_cast<CZEMMeterFULLPANEL *>(editor->getPanel(kMeterTypePPM));
    ASSERT_NE(panel, nullptr);
    editor->idle();

    const float changed = referenceBefore > 0.5f ? 0.25f : 0.75f;
    first.setParameter(kTagPPMReference, changed);
    editor->idle();
    EXPECT_EQ(panel->getReferenceControl()->getValue(), first.meterEngine(kMeterTypePPM)->getSetting(kTagPPMReference));
    EXPECT_EQ(second.meterEngine(kMeterTypePPM)->getSetting(kTagPPMReference),
              first.meterEngine(kMeterTypePPM)->getSetting(kTagPPMReference));
    char text[64] = {};
    first.meterEngine(kMeterTypePPM)->getSettingText(kTagPPMReference, text);
    EXPECT_EQ(std::string(panel->getReferenceControl()->getReferenceText()), text);

    session.close();
    first.setParameter(kTagPPMReference, referenceBefore);  // the Session set as it was
    first.setParameter(kGSIcal, scopeBefore);
}

}  // namespace
