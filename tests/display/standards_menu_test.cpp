// The standards menu on a settings panel's title, in the effect's own editor opened as a host
// opens it: a right click opens the type's standards with the matching one marked; a choice
// writes exactly the standard's settings, as setParameter would, and the knobs, labels, chunk,
// stored Global defaults and the front panel's hint line follow.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "controls/zem_hint_control.h"
#include "controls/zem_name_plate.h"
#include "core/templete.h"
#include "display/back_panel.h"
#include "display/zem_meter_full_panel.h"
#include "editor/editor_factory.h"
#include "editor/temeplete_editor.h"
#include "meters/meter_engine.h"
#include "meters/meter_settings.h"
#include "params/meter_standards.h"
#include "params/parameter_table.h"
#include "platform/defaults_store.h"
#include "support/open_editor.h"
#include "support/recording_host.h"
#include "ui/frame_driver.h"

using namespace VSTGUI;

namespace {

// The effect, recording every meter setting written to it.
class SettingRecordingEffect : public Templete {
public:
    explicit SettingRecordingEffect(audioMasterCallback host) : Templete(host, createTemepleteEditor) {}
    void setParameter(VstInt32 index, float value) override
    {
        if (isMeterSetting(index))
            written.push_back({index, value});
        Templete::setParameter(index, value);
    }
    std::vector<StandardSetting> written;
};

class StandardsMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.listen();
        parent.resize(600, 300);
        effect = new SettingRecordingEffect(RecordingHost::callback);
        effect->dispatcher(effSetSampleRate, 0, 0, nullptr, 44100.f);
        effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.f);
        scopeBefore = effect->getParameter(kGSIcal);
        effect->setParameter(kGSIcal, 1.f);  // Instance: the tests' settings stay their own
        effect->setParameter(kStrips, 1.f);
    }
    void TearDown() override
    {
        if (session && editor && editor->getFrame())
            session->close();
        session.reset();
        effect->setParameter(kGSIcal, scopeBefore);
        delete effect;
        RecordingHost::stopListening();
    }
    void openSettings(MeterType type)
    {
        effect->setParameter(kMeter, 0.5f * float(type));
        session.emplace(effect->getAeffect(), parent.handle());
        ASSERT_EQ(session->openAnswer(), 1);
        editor = static_cast<TemepleteEditor *>(effect->getEditor());
        frame = editor->getFrame();
        ASSERT_NE(frame, nullptr);
        session->idle(2);
        FrameDriver(frame).click(270, 155);  // the middle of the meter selector
        settings = dynamic_cast<MeterBackPanel *>(front(type)->getSettingsPanel());
        ASSERT_NE(settings, nullptr);
        ASSERT_TRUE(settings->isShown());
    }
    CZEMMeterFULLPANEL *front(MeterType type) const
    {
        return dynamic_cast<CZEMMeterFULLPANEL *>(editor->getPanel(type));
    }
    CPopupMenu *rightClickTitle(MeterType type)
    {
        const CRect title = MeterBackPanel::titleRect(kSettingsPanelLayouts[type]);
        FrameDriver(frame).click((title.left + title.right) / 2, (title.top + title.bottom) / 2, kRButton);
        return settings->getStandardsMenu();
    }
    void choose(int item)
    {
        const CRect r = settings->getStandardsMenu()->getItemRect(item);
        FrameDriver(frame).click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        session->idle(2);  // the echo
    }

    RecordingHost host;
    TestParentWindow &parent = sharedParentWindow();
    SettingRecordingEffect *effect = nullptr;
    std::optional<OpenEditor> session;
    TemepleteEditor *editor = nullptr;
    CFrame *frame = nullptr;
    MeterBackPanel *settings = nullptr;
    float scopeBefore = 1.f;
};

TEST_F(StandardsMenu, TheTitleOpensTheTypesStandardsAndAChoiceWritesThemAsSetParameterWould)
{
    for (MeterType type : {kMeterTypeVU, kMeterTypeRMS, kMeterTypePPM}) {
        const CRect title = MeterBackPanel::titleRect(kSettingsPanelLayouts[type]);
        for (const SettingControlRow &row : kSettingsPanelLayouts[type])
            EXPECT_FALSE(title.rectOverlap(CRect(row.left, row.top, row.left + row.width(), row.top + 40)))
                << "the title plate covers no control: " << row.index;
    }
    openSettings(kMeterTypePPM);
    EXPECT_EQ(settings->getStandardsMenu(), nullptr);
    CPopupMenu *menu = rightClickTitle(kMeterTypePPM);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getItemCount(), meterStandardCount(kMeterTypePPM));
    EXPECT_EQ(menu->getMarked(), CPopupMenu::kNoChoice) << "the defaults are no standard";
    EXPECT_TRUE(settings->isShown()) << "the right press does not close the panel";

    const int bbc = 2;
    const MeterStandard *standard = meterStandard(kMeterTypePPM, bbc);
    ASSERT_STREQ(standard->key, "ppm-bbc");
    effect->written.clear();
    choose(bbc);
    EXPECT_EQ(settings->getStandardsMenu(), nullptr);
    EXPECT_TRUE(settings->isShown());
    ASSERT_EQ(effect->written.size(), size_t(standard->count)) << "one write per setting of the standard";
    for (int i = 0; i < standard->count; ++i) {
        EXPECT_EQ(effect->written[size_t(i)].index, standard->settings[i].index);
        EXPECT_EQ(effect->written[size_t(i)].value, standard->settings[i].value);
    }
    EXPECT_TRUE(host.automated.empty()) << "none of them is a host parameter";
    // The knobs and labels follow; the settings are those setParameter gives.
    EXPECT_EQ(settings->settingControl(kPPMRiseTime)->getValue(), standard->settings[0].value);
    char text[64] = {};
    effect->meterEngine(kMeterTypePPM)->getSettingText(kPPMReturnTime, text);
    EXPECT_EQ(std::string(settings->settingLabel(kPPMReturnTime)->getText()), text);
    EXPECT_EQ(std::string(text), "2.80s");
    SettingRecordingEffect direct(RecordingHost::callback);
    direct.setParameter(kGSIcal, 1.f);
    for (int i = 0; i < standard->count; ++i)
        direct.setParameter(standard->settings[i].index, standard->settings[i].value);
    for (VstInt32 index = kFirstRMSSetting; index <= kLastPPMSetting; ++index) {
        if (!isMeterSetting(index))
            continue;
        EXPECT_EQ(effect->getParameter(index), direct.getParameter(index)) << index;
    }

    // Marked now; the EBU set (its ballistics and the alignment) is marked once chosen.
    menu = rightClickTitle(kMeterTypePPM);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getMarked(), bbc);
    choose(3);
    EXPECT_EQ(effect->getParameter(kPPMReference), 0.25f);
    EXPECT_EQ(settings->matchingStandard(), 3);

    // Closed, the front panel's hint line names it while no control's hint is up.
    FrameDriver(frame).click(330, 150);
    session->idle(2);
    EXPECT_FALSE(settings->isShown());
    CHelpHintLabel *hint = front(kMeterTypePPM)->getHintLabel();
    EXPECT_EQ(std::string(hint->getText()), meterStandard(kMeterTypePPM, 3)->name);
    effect->setParameter(kPPMRiseTime, 0.f);
    session->idle(2);
    EXPECT_EQ(std::string(hint->getText()), "") << "a knob turned off the standard";
}

TEST_F(StandardsMenu, TheMenuGoesWithThePanelAndWithTheEditor)
{
    openSettings(kMeterTypeRMS);
    const float referenceBefore = effect->getParameter(kRMSReference);
    ASSERT_NE(rightClickTitle(kMeterTypeRMS), nullptr);
    FrameDriver(frame).click(300, 150, kRButton);  // outside the menu: closed without a choice
    EXPECT_EQ(settings->getStandardsMenu(), nullptr);
    EXPECT_TRUE(settings->isShown());
    FrameDriver(frame).click(settings->getTitlePlate()->getViewSize().left + 2, 40);  // a left click: the panel closes
    EXPECT_FALSE(settings->isShown());
    FrameDriver(frame).click(270, 155);
    ASSERT_NE(rightClickTitle(kMeterTypeRMS), nullptr);
    session->close();  // the editor closes with the menu open
    session.reset();
    EXPECT_EQ(effect->getParameter(kRMSReference), referenceBefore) << "nothing chosen";
}

TEST_F(StandardsMenu, AChunkSavedAfterAPresetRestoresItAndTheMatchNamesItAgain)
{
    openSettings(kMeterTypeVU);
    ASSERT_NE(rightClickTitle(kMeterTypeVU), nullptr);
    choose(1);  // SMPTE
    EXPECT_EQ(settings->matchingStandard(), 1);
    void *data = nullptr;
    const VstInt32 size = effect->getChunk(&data);
    ASSERT_GT(size, 0);
    const std::vector<unsigned char> chunk(static_cast<unsigned char *>(data),
                                           static_cast<unsigned char *>(data) + size);

    Templete restored(RecordingHost::callback, nullptr);
    restored.setParameter(kGSIcal, 1.f);
    std::vector<unsigned char> copy(chunk);
    restored.setChunk(copy.data(), VstInt32(copy.size()));
    EXPECT_EQ(matchingMeterStandard(kMeterTypeVU, [&restored](VstInt32 i) { return restored.getParameter(i); }), 1);
    for (int i = 0; i < meterStandard(kMeterTypeVU, 1)->count; ++i) {
        const StandardSetting &s = meterStandard(kMeterTypeVU, 1)->settings[i];
        EXPECT_EQ(restored.getParameter(s.index), s.value) << s.index;
    }
}

TEST_F(StandardsMenu, TheGlobalDefaultsStoredOnClosingThePanelHoldThePreset)
{
    effect->setParameter(kGSIcal, 0.f);  // Global
    openSettings(kMeterTypeRMS);
    ASSERT_NE(rightClickTitle(kMeterTypeRMS), nullptr);
    const int k14 = 4;
    const MeterStandard *standard = meterStandard(kMeterTypeRMS, k14);
    ASSERT_STREQ(standard->key, "k-14");
    choose(k14);
    FrameDriver(frame).click(330, 150);  // closing stores the Global set
    EXPECT_FALSE(settings->isShown());
    const MeterSettingInfo *infos = meterSettingInfos(kMeterTypeRMS);
    int checked = 0;
    for (int i = 0; i < meterSettingCount(kMeterTypeRMS); ++i)
        for (int k = 0; k < standard->count; ++k)
            if (infos[i].index == standard->settings[k].index) {
                float stored = -1;
                ASSERT_TRUE(defaultsStoreRead(infos[i].name, stored)) << infos[i].name;
                EXPECT_TRUE(sameSettingValue(infos[i].index, stored, standard->settings[k].value)) << infos[i].name;
                ++checked;
            }
    EXPECT_EQ(checked, standard->count);
    // Back to the built-in defaults in the Global set and the store, for the tests after.
    for (int i = 0; i < meterSettingCount(kMeterTypeRMS); ++i)
        effect->setParameter(infos[i].index, infos[i].defaultValue);
    effect->setParameter(kStoreDefaults, 0.f);
}

}  // namespace
