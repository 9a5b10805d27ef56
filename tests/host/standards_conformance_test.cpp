// The standards presets measured through the built plug-in as `zem_host conformance --standard`
// measures them: each figure within the standard's tolerance, or missing it by no more than the
// table says; and the table holds what the settings search finds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "conformance.h"
#include "core/loaded_plugin.h"
#include "params/meter_standards.h"
#include "plugin_host.h"

namespace {

using StandardsConformance = LoadedPluginTest;

std::vector<const MeterStandard *> allStandards()
{
    std::vector<const MeterStandard *> all;
    for (int type = 0; type < kMeterTypeCount; ++type)
        for (int i = 0; i < meterStandardCount(MeterType(type)); ++i)
            all.push_back(meterStandard(MeterType(type), i));
    return all;
}

TEST_F(StandardsConformance, EveryPresetMeetsItsStandardOrMissesByWhatTheTableSays)
{
    const std::vector<const MeterStandard *> standards = allStandards();
    ASSERT_EQ(standards.size(), 13u);
    for (const MeterStandard *standard : standards) {
        const StandardMeasurement m = measureStandard(host(), *standard);
        ASSERT_GE(m.rows.size(), 2u) << standard->key;
        int judged = 0;
        for (const ConformanceRow &row : m.rows) {
            if (row.verdict == ConformanceRow::Verdict::Informative)
                continue;
            ++judged;
            if (standard->missedFigure &&
                row.figure.compare(0, std::strlen(standard->missedFigure), standard->missedFigure) == 0) {
                EXPECT_EQ(row.verdict, ConformanceRow::Verdict::Outside) << standard->key << ": " << row.figure;
                EXPECT_NEAR(row.excess, standard->missedBy, 0.02) << standard->key << ": " << row.figure;
            } else {
                EXPECT_EQ(row.verdict, ConformanceRow::Verdict::Within)
                    << standard->key << ": " << row.figure << " " << row.measured << " against " << row.standard;
            }
        }
        EXPECT_GE(judged, 2) << standard->key;
    }
    // The measurements give the shared settings back.
    PluginInstance after(host());
    EXPECT_EQ(after.getParameter(kPPMRiseTime), 0.5f);
    EXPECT_EQ(after.getParameter(kVUReference), 0.25f);
}

TEST_F(StandardsConformance, TheTableHoldsWhatTheSearchFinds)
{
    for (const char *key : {"vu-ebu", "k-20"}) {
        const MeterStandard *standard = meterStandardByKey(key);
        ASSERT_NE(standard, nullptr) << key;
        const StandardSearch found = searchStandard(host(), *standard);
        ASSERT_EQ(found.settings.size(), size_t(standard->count)) << key;
        for (const StandardSetting &setting : found.settings) {
            bool inTable = false;
            for (int i = 0; i < standard->count; ++i)
                inTable |= standard->settings[i].index == setting.index &&
                           sameSettingValue(setting.index, setting.value, standard->settings[i].value);
            EXPECT_TRUE(inTable) << key << ": setting " << setting.index << " = " << setting.value;
        }
        EXPECT_LT(found.measured, 100) << key << ": the search stays coarse";
    }
}

TEST(MeterStandards, TheMatchNamesTheStandardWhoseSettingsAreAllSet)
{
    // The settings as a fresh instance has them.
    std::vector<float> values(101, 0.5f);
    values[kVUReference] = 0.25f;
    values[kVUNeedleType] = 0.f;
    values[kPPMReturnTime] = 0.66f;
    values[kPPMReference] = 0.5f;
    const auto valueOf = [&values](VstInt32 index) { return values[size_t(index)]; };
    EXPECT_EQ(matchingMeterStandard(kMeterTypeVU, valueOf), -1);
    EXPECT_EQ(matchingMeterStandard(kMeterTypePPM, valueOf), -1);

    const auto apply = [&values](const char *key) {
        const MeterStandard *standard = meterStandardByKey(key);
        for (int i = 0; i < standard->count; ++i)
            values[size_t(standard->settings[i].index)] = standard->settings[i].value;
    };
    const auto positionOf = [](const char *key) {
        const MeterStandard *standard = meterStandardByKey(key);
        for (int i = 0; i < meterStandardCount(standard->type); ++i)
            if (meterStandard(standard->type, i) == standard)
                return i;
        return -2;
    };
    apply("ppm-bbc");
    EXPECT_EQ(matchingMeterStandard(kMeterTypePPM, valueOf), positionOf("ppm-bbc"));
    apply("ppm-ebu");  // the same ballistics and the EBU alignment: the fuller set is named
    EXPECT_EQ(matchingMeterStandard(kMeterTypePPM, valueOf), positionOf("ppm-ebu"));
    values[kPPMReference] = 0.26f;  // another reference: the ballistics alone still match
    EXPECT_EQ(matchingMeterStandard(kMeterTypePPM, valueOf), positionOf("ppm-bbc"));

    apply("k-14");
    EXPECT_EQ(matchingMeterStandard(kMeterTypeRMS, valueOf), positionOf("k-14"));
    // The RMS engine stores its times as the step's grid value: the same step still matches.
    values[kRMSAveragingTime] = 33.f / 80.f + 0.005f;
    EXPECT_EQ(matchingMeterStandard(kMeterTypeRMS, valueOf), positionOf("k-14"));
    values[kRMSAveragingTime] = 34.f / 80.f;
    EXPECT_EQ(matchingMeterStandard(kMeterTypeRMS, valueOf), positionOf("rms-14"));

    // Every standard's settings are its own type's, and its name fits the menu.
    for (int type = 0; type < kMeterTypeCount; ++type)
        for (int i = 0; i < meterStandardCount(MeterType(type)); ++i) {
            const MeterStandard *standard = meterStandard(MeterType(type), i);
            EXPECT_LE(std::strlen(standard->name), 44u) << standard->key;
            for (int k = 0; k < standard->count; ++k) {
                const VstInt32 index = standard->settings[k].index;
                const VstInt32 first = type == kMeterTypeVU    ? kFirstVUSetting
                                       : type == kMeterTypeRMS ? kFirstRMSSetting
                                                               : kFirstPPMSetting;
                const VstInt32 last = type == kMeterTypeVU    ? kLastVUSetting
                                      : type == kMeterTypeRMS ? kLastRMSSetting
                                                              : kLastPPMSetting;
                EXPECT_TRUE(index >= first && index <= last) << standard->key << ": " << index;
            }
        }
}

}  // namespace
