// Settings of the three meter types: texts, time laws, the step grid, the scopes and the
// stored defaults.
#include <cmath>
#include <cstring>
#include <limits>

#include "meter_test_support.h"
#include "meters/meter_text.h"
#include "platform/defaults_store.h"

using namespace meter_test;

namespace {

std::string text(MeterEngine *engine, VstInt32 index)
{
    char buffer[64] = "unchanged";
    engine->getSettingText(index, buffer);
    return buffer;
}

std::string number(double value, int decimals)
{
    char buffer[32];
    formatMeterNumber(value, decimals, buffer);
    return buffer;
}

}  // namespace

TEST(MeterText, RoundsAtTheLastPlaceWithTheProductsThreshold)
{
    EXPECT_EQ(number(-18.0, 1), "-18.0");
    EXPECT_EQ(number(10.022, 0), "10");
    EXPECT_EQ(number(1.99526, 2), "2.00");
    EXPECT_EQ(number(2.4999, 0), "2");    // remainder below 0.49999 of a unit
    EXPECT_EQ(number(2.499995, 0), "3");  // at least 0.49999 of a unit rounds up
    EXPECT_EQ(number(-2.6, 0), "-3");     // away from zero
    EXPECT_EQ(number(-0.001, 1), "0.0");  // nothing left to be negative
    EXPECT_EQ(number(0.05, 2), "0.05");
}

TEST(MeterText, DropsFractionDigitsBeyondEightCharacters)
{
    EXPECT_EQ(number(123456.789, 3), "123456.7");
    EXPECT_EQ(number(-1234567.5, 1), "-1234567");
    EXPECT_EQ(number(1234.5678, 4), "1234.567");
}

TEST(MeterTimeLaws, RiseLawAtEverySubstitutedStepAndTheEnds)
{
    const struct {
        int step;
        double ms;
    } listed[] = {{7, 0.447},   {8, 0.480},   {24, 3.230},  {25, 3.379},  {32, 5.475},
                  {40, 10.022}, {41, 10.150}, {42, 10.542}, {47, 13.538}, {48, 13.981},
                  {56, 25.005}, {64, 39.971}, {72, 69.956}, {73, 70.449}, {74, 72.966}};
    for (const auto &l : listed)
        EXPECT_NEAR(riseTimeLaw(l.step), l.ms, 0.0005) << "step " << l.step;
    EXPECT_EQ(riseTimeLaw(0), 0.0);
    EXPECT_NEAR(riseTimeLaw(80), 100.0, 1e-9);
    // Unsubstituted neighbours follow the plain law.
    EXPECT_NEAR(riseTimeLaw(9), std::pow(101.0, 2.25 / 20) - 1, 1e-6);
}

TEST(MeterTimeLaws, LongLawAtEverySubstitutedStepAndTheExamples)
{
    const struct {
        int step;
        double ms;
    } listed[] = {{7, 144.5},   {8, 147.9},   {23, 363.1},  {24, 371.5},   {32, 653.9},  {47, 1445.4}, {48, 1499.7},
                  {56, 2799.0}, {57, 2831.4}, {58, 2884.0}, {64, 4004.1},  {72, 7000.0}, {73, 7079.5}, {74, 7244.4},
                  {19, 298.5},  {40, 1000.0}, {52, 1995.3}, {80, 10000.0}, {0, 100.0}};
    for (const auto &l : listed)
        EXPECT_NEAR(longTimeLaw(l.step), l.ms, 0.05) << "step " << l.step;
}

TEST(MeterTimeLaws, PlainStepsFollowTheFormulas)
{
    for (int n = 0; n <= 80; ++n) {
        const bool substituted = n == 7 || n == 8 || n == 23 || n == 24 || n == 25 || n == 32 || (n >= 40 && n <= 42) ||
                                 n == 47 || n == 48 || n == 56 || n == 57 || n == 58 || n == 64 || (n >= 72 && n <= 74);
        if (substituted)
            continue;
        const double e = static_cast<float>(n / 4.0 / 20.0);
        EXPECT_DOUBLE_EQ(riseTimeLaw(n), std::pow(101.0, e) - 1) << n;
        EXPECT_DOUBLE_EQ(longTimeLaw(n), 100 * std::pow(100.0, e)) << n;
    }
}

TEST(MeterTimeLaws, EveryGridValueDecodesBackToItsStep)
{
    for (int k = 0; k <= 80; ++k) {
        const float grid = timeStepGridValue(k);
        EXPECT_EQ(timeStepTruncated(grid), k) << k;
        EXPECT_EQ(timeStepRounded(grid), k) << k;
    }
    // Rounding versus truncation of the hold times.
    EXPECT_EQ(timeStepRounded(0.99f), 79);
    EXPECT_EQ(timeStepTruncated(0.99f), 79);
    EXPECT_EQ(timeStepRounded(0.994f), 80);
    EXPECT_EQ(timeStepTruncated(0.994f), 79);
}

class MeterSettingsTest : public MeterTest {};

TEST_F(MeterSettingsTest, FreshStoreGivesTheBuiltInDefaultsAndTheirTexts)
{
    MeterTestOwner owner;
    EXPECT_EQ(text(owner.rms(), 72), "0.0dBFS");
    EXPECT_EQ(text(owner.rms(), 73), "10ms");
    EXPECT_EQ(text(owner.rms(), 74), "1.00s");
    EXPECT_EQ(text(owner.rms(), 75), "1.00s");
    EXPECT_EQ(text(owner.rms(), 76), "2.00s");
    EXPECT_EQ(text(owner.vu(), 83), "-18.0dBFS");
    EXPECT_EQ(text(owner.vu(), 84), "300ms");
    EXPECT_EQ(text(owner.vu(), 85), "1.00s");
    EXPECT_EQ(text(owner.ppm(), 93), "-12.0dBFS");
    EXPECT_EQ(text(owner.ppm(), 94), "10ms");
    EXPECT_EQ(text(owner.ppm(), 95), "1.00s");
    EXPECT_EQ(text(owner.ppm(), 96), "2.00s");
    // Settings without a text leave the buffer alone, as do other meters' indices.
    EXPECT_EQ(text(owner.rms(), 77), "unchanged");
    EXPECT_EQ(text(owner.vu(), 72), "unchanged");
    EXPECT_EQ(owner.vu()->getSetting(72), 0.f);
    EXPECT_EQ(owner.rms()->getSetting(80), 0.5f);
    EXPECT_EQ(owner.vu()->getSetting(91), 0.f);
    EXPECT_EQ(owner.ppm()->getSetting(98), 0.22f);
}

TEST_F(MeterSettingsTest, TextsFollowTheDecodingOfEachMeter)
{
    MeterTestOwner owner;
    owner.setParameter(73, 0.f);
    EXPECT_EQ(text(owner.rms(), 73), "0ms");
    owner.setParameter(73, 1.f);
    EXPECT_EQ(text(owner.rms(), 73), "100ms");
    owner.setParameter(72, 0.f);
    EXPECT_EQ(text(owner.rms(), 72), "-20.0dBFS");
    owner.setParameter(72, 1.f);
    EXPECT_EQ(text(owner.rms(), 72), "10.0dBFS");
    owner.setParameter(85, 0.994f);  // rounded: step 80
    owner.setParameter(95, 0.994f);  // truncated: step 79
    EXPECT_EQ(text(owner.vu(), 85), "10.00s");
    EXPECT_EQ(text(owner.ppm(), 95), "9.44s");
    owner.setParameter(84, 0.f);
    EXPECT_EQ(text(owner.vu(), 84), "53ms");
    owner.setParameter(84, 1.f);
    EXPECT_EQ(text(owner.vu(), 84), "1697ms");
    EXPECT_EQ(owner.vu()->getSetting(84), 1.f);

    char common[32] = "x";
    owner.vu()->getCommonDisplay(16, 0.25f, common);
    EXPECT_STREQ(common, "250 ms");
    owner.vu()->getCommonDisplay(2, 1.f, common);
    EXPECT_STREQ(common, "Instance");
    owner.vu()->getCommonDisplay(5, 0.5f, common);
    EXPECT_STREQ(common, "oo");
    owner.vu()->getCommonDisplay(4, 0.6f, common);
    EXPECT_STREQ(common, "MS");
    owner.vu()->getCommonDisplay(7, 0.6f, common);
    EXPECT_STREQ(common, "MS");
}

TEST_F(MeterSettingsTest, RMSTimesAreKeptOnTheStepGridAndSyncSettlesAfterOneRound)
{
    MeterTestOwner owner;
    // The built-in return default 0.66 lies between grid points: the record keeps step 52.
    EXPECT_EQ(sessionMeterSettings.rms.get(76), timeStepGridValue(52));
    EXPECT_EQ(owner.rms()->getSetting(76), 0.66f);
    owner.rms()->syncSharedSettings();
    EXPECT_EQ(owner.rms()->getSetting(76), timeStepGridValue(52));
    EXPECT_EQ(text(owner.rms(), 76), "2.00s");
    // Every grid value then stays put: no refresh steps a time down.
    for (int k = 0; k <= 80; ++k) {
        owner.setParameter(74, k / 80.0f + 0.004f);
        owner.rms()->syncSharedSettings();
        owner.calls.clear();
        owner.rms()->syncSharedSettings();
        EXPECT_TRUE(owner.calls.empty()) << "step " << k;
        EXPECT_EQ(timeStepTruncated(owner.rms()->getSetting(74)), k);
    }
}

TEST_F(MeterSettingsTest, SessionChangeReachesAnotherInstanceAtItsNextSync)
{
    MeterTestOwner first;
    MeterTestOwner second;
    first.setParameter(83, 0.5f);
    EXPECT_EQ(sessionMeterSettings.vu.get(83), 0.5f);
    EXPECT_EQ(text(second.vu(), 83), "-18.0dBFS");
    second.vu()->syncSharedSettings();
    EXPECT_EQ(second.getParameter(83), 0.5f);  // through the effect's setParameter
    EXPECT_EQ(text(second.vu(), 83), "-12.0dBFS");
    // Global values are untouched by Session edits.
    EXPECT_EQ(globalMeterSettings.vu.get(83), 0.25f);
}

TEST_F(MeterSettingsTest, InstanceScopeKeepsItsOwnValuesAcrossSwitches)
{
    MeterTestOwner first;
    MeterTestOwner other;
    first.setParameter(2, 1.f);  // Instance for the first time: the Session values are kept
    EXPECT_EQ(first.vu()->getSetting(83), 0.25f);
    first.setParameter(83, 0.75f);
    EXPECT_EQ(sessionMeterSettings.vu.get(83), 0.25f);
    calibrationScopeShared.store(kScopeSession);
    other.vu()->syncSharedSettings();
    EXPECT_EQ(other.vu()->getSetting(83), 0.25f);

    other.setParameter(83, 0.5f);  // a Session edit elsewhere does not reach an Instance engine
    first.vu()->syncSharedSettings();
    EXPECT_EQ(first.vu()->getSetting(83), 0.75f);

    first.setParameter(2, 0.5f);  // back to Session: the Session values return
    EXPECT_EQ(first.vu()->getSetting(83), 0.5f);
    first.setParameter(2, 1.f);  // Instance again: the instance's own values return
    EXPECT_EQ(first.vu()->getSetting(83), 0.75f);
    EXPECT_EQ(sessionMeterSettings.vu.get(83), 0.5f);
}

TEST_F(MeterSettingsTest, NewInstanceStartsInTheLastScopeSet)
{
    {
        MeterTestOwner first;
        first.setParameter(2, 0.f);  // Global
        first.setParameter(93, 0.75f);
    }
    EXPECT_EQ(globalMeterSettings.ppm.get(93), 0.75f);
    EXPECT_EQ(sessionMeterSettings.ppm.get(93), 0.5f);
    MeterTestOwner second;
    EXPECT_EQ(second.ppm()->getSetting(93), 0.75f);
    calibrationScopeShared.store(kScopeInstance);
    MeterTestOwner third;
    EXPECT_EQ(third.ppm()->getSetting(93), 0.5f);  // Instance starts from the Session values
    third.setParameter(93, 0.25f);
    EXPECT_EQ(sessionMeterSettings.ppm.get(93), 0.5f);
}

TEST_F(MeterSettingsTest, StoreDefaultsWritesOnlyTheGlobalSet)
{
    MeterTestOwner owner;  // Session scope
    owner.setParameter(83, 0.5f);
    owner.setParameter(65, 0.f);
    float value = -1;
    ASSERT_TRUE(store->readBack("Avureference", value));
    EXPECT_EQ(value, 0.25f);
    ASSERT_TRUE(store->readBack("Armsreturn", value));
    EXPECT_EQ(value, 0.66f);  // Global was never adopted by an engine in Session scope
    ASSERT_TRUE(store->readBack("Appmprecise", value));
    EXPECT_EQ(value, 0.f);

    owner.setParameter(2, 0.f);  // Global: adopts and then edits the Global set
    owner.setParameter(83, 0.75f);
    owner.setParameter(74, 0.3f);  // stored on the grid: step 24
    owner.setParameter(65, 0.f);
    ASSERT_TRUE(store->readBack("Avureference", value));
    EXPECT_EQ(value, 0.75f);
    ASSERT_TRUE(store->readBack("ARMSRmsIntegration", value));
    EXPECT_EQ(value, timeStepGridValue(24));

    // A later load fills both sets from the store.
    loadDefaults();
    EXPECT_EQ(globalMeterSettings.vu.get(83), 0.75f);
    EXPECT_EQ(sessionMeterSettings.vu.get(83), 0.75f);
    EXPECT_EQ(sessionMeterSettings.rms.get(74), timeStepGridValue(24));
}

TEST_F(MeterSettingsTest, DamagedStoredValuesAreRepaired)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float tooHigh = 2.5f;
    const float negative = -0.5f;
    const float good = 0.125f;
    store->writeRaw("Avureference", &nan, 4);
    store->writeRaw("Appmreference", &inf, 4);
    store->writeRaw("Armsreference", &tooHigh, 4);
    store->writeRaw("Avuholdtime", &negative, 4);
    store->writeRaw("Appmreturn", &good, 4);
    const unsigned char shortValue[2] = {0, 0};
    store->writeRaw("Armsreturn", shortValue, 2);
    const double wide = 0.75;
    store->writeRaw("Avutype", &wide, 8);
    loadDefaults();
    for (MeterSettingsSet *set : {&globalMeterSettings, &sessionMeterSettings}) {
        EXPECT_EQ(set->vu.get(83), 0.25f);
        EXPECT_EQ(set->ppm.get(93), 0.5f);
        EXPECT_EQ(set->rms.get(72), 1.f);
        EXPECT_EQ(set->vu.get(85), 0.f);
        EXPECT_EQ(set->ppm.get(96), 0.125f);
        EXPECT_EQ(set->rms.get(76), 0.66f);
        EXPECT_EQ(set->vu.get(86), 0.f);
    }
}

TEST_F(MeterSettingsTest, StoreKeepsOtherValuesWhenOneIsReplaced)
{
    EXPECT_TRUE(defaultsStoreWrite("Avubacklit", 0.75f));
    EXPECT_TRUE(defaultsStoreWrite("Avutype", 1.f));
    EXPECT_TRUE(defaultsStoreWrite("Avubacklit", 0.25f));
    float value = 0;
    ASSERT_TRUE(store->readBack("Avubacklit", value));
    EXPECT_EQ(value, 0.25f);
    ASSERT_TRUE(store->readBack("Avutype", value));
    EXPECT_EQ(value, 1.f);
    EXPECT_TRUE(defaultsStoreRemove("Avutype"));
    EXPECT_FALSE(store->readBack("Avutype", value));
    value = 0.5f;
    EXPECT_FALSE(defaultsStoreRead("Avutype", value));
    EXPECT_EQ(value, 0.5f);
    EXPECT_TRUE(defaultsStoreRead("Avubacklit", value));
    EXPECT_EQ(value, 0.25f);
}
