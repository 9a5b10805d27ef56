// The three engines driven through their entry points: calibration, ballistics, holds, overs,
// the display delay, the precise stage and recovery from non-finite input.
#include <algorithm>
#include <cmath>
#include <limits>

#include "meter_test_support.h"
#include "meters/precise_stage.h"

using namespace meter_test;

namespace {

class MeterEngineTest : public MeterTest {
protected:
    MeterTestOwner owner;
};

bool withinDb(double measured, double expected, double toleranceDb)
{
    const double ratio = measured / expected;
    return ratio > std::pow(10.0, -toleranceDb / 20) && ratio < std::pow(10.0, toleranceDb / 20);
}

}  // namespace

TEST_F(MeterEngineTest, VUSineAtTheReferenceReadsTwoOverPiTimesTheScale)
{
    const double reference = std::pow(10.0, -18.0 / 20);  // default −18 dBFS
    feed(*owner.vu(), sine(44100, 1000, reference, 3.0), 512);
    EXPECT_NEAR(latest(*owner.vu(), kMeterLevel1), 2 / kPi * 1.56, 0.002);
    EXPECT_NEAR(latest(*owner.vu(), kMeterLevel2), 2 / kPi * 1.56, 0.002);
}

TEST_F(MeterEngineTest, VUSquareAtTheReferenceReadsTheFullScale)
{
    owner.setParameter(83, 1.f);  // reference 0 dBFS
    feed(*owner.vu(), square(48000, 1000, 1.0, 3.0), 256);
    EXPECT_NEAR(latest(*owner.vu(), kMeterLevel1), 1.56, 0.002);
    EXPECT_NEAR(latest(*owner.vu(), kMeterHold1), 1.56, 0.01);
}

TEST_F(MeterEngineTest, VUNeedleTypeOneIsSlowerToRise)
{
    const double reference = std::pow(10.0, -18.0 / 20);
    const std::vector<float> burst = sine(44100, 1000, reference, 0.1);
    feed(*owner.vu(), burst, 64);
    const double type0 = latest(*owner.vu(), kMeterLevel1);
    MeterTestOwner other;
    other.setParameter(86, 1.f);
    feed(*other.vu(), burst, 64);
    const double type1 = latest(*other.vu(), kMeterLevel1);
    EXPECT_GT(type0, type1);
    EXPECT_GT(type1, 0.0);
}

TEST_F(MeterEngineTest, VUOversFollowTheSelectedThreshold)
{
    const double reference = std::pow(10.0, -18.0 / 20);
    const std::vector<float> loud = sine(44100, 1000, reference * std::pow(10.0, 8.5 / 20), 0.05);
    owner.setParameter(90, 0.f);  // +8 dB above the reference
    feed(*owner.vu(), loud, 256);
    EXPECT_EQ(owner.vu()->readoutOverState(0), 1);
    EXPECT_EQ(owner.vu()->readoutOverState(1), 1);
    EXPECT_EQ(owner.vu()->readoutOverState(0), 0);  // picked up; the latch remains
    owner.setParameter(67, 0.f);
    EXPECT_EQ(owner.vu()->readoutOverState(0), -1);
    owner.setParameter(90, 1.f);  // 0 dBFS: the same sine is far below
    feed(*owner.vu(), loud, 256);
    EXPECT_EQ(owner.vu()->readoutOverState(0), -1);
    EXPECT_EQ(owner.vu()->readoutOverState(1), -1);
}

// N consecutive over samples are needed; a shorter run is forgotten.
TEST_F(MeterEngineTest, OverCountNeedsConsecutiveSamplesInEveryEngine)
{
    for (MeterType type : {kMeterTypeVU, kMeterTypePPM, kMeterTypeRMS}) {
        MeterEngine &e = *owner.engine(type);
        owner.setParameter(80, 0.f);  // RMS precise off: no delay
        for (int n : {2, 3}) {
            owner.setParameter(type == kMeterTypeVU ? 89 : type == kMeterTypePPM ? 98 : 78, (n - 1) / 9.0f);
            e.reset();
            std::vector<float> run(1, 1.f);
            std::vector<float> quiet(1, 0.f);
            for (int i = 0; i < n - 1; ++i)
                feed(e, run, 1);
            feed(e, quiet, 1);
            EXPECT_EQ(e.readoutOverState(0), -1) << "type " << type << " N " << n;
            for (int i = 0; i < n; ++i)
                feed(e, run, 1);
            feed(e, quiet, 1);  // a reached count stays until it is picked up
            EXPECT_EQ(e.readoutOverState(0), 1) << "type " << type << " N " << n;
            EXPECT_EQ(e.readoutOverState(1), 1);
            EXPECT_EQ(e.readoutOverState(0), 0);
            owner.setParameter(67, 0.f);
        }
    }
}

TEST_F(MeterEngineTest, RMSOverBaseIsReferenceOrFullScale)
{
    owner.setParameter(72, 1.f);  // +10 dB
    owner.setParameter(79, 1.f);  // 0 dB
    owner.setParameter(81, 0.f);  // relative to the reference: |a| ≥ 3.16
    owner.setParameter(78, 0.f);  // N = 1
    const std::vector<float> fullScale(64, 1.f);
    feed(*owner.rms(), fullScale, 64);
    EXPECT_EQ(owner.rms()->readoutOverState(0), -1);
    owner.setParameter(81, 1.f);  // full scale
    feed(*owner.rms(), fullScale, 64);
    EXPECT_EQ(owner.rms()->readoutOverState(0), 1);
}

TEST_F(MeterEngineTest, PPMOverAboveTheReferenceByEightPointOneFiveDb)
{
    owner.setParameter(99, 0.f);  // reference −12 dBFS: overs from about −3.85 dBFS
    owner.setParameter(98, 0.f);
    feed(*owner.ppm(), std::vector<float>(16, static_cast<float>(std::pow(10.0, -3.95 / 20))), 16);
    EXPECT_EQ(owner.ppm()->readoutOverState(0), -1);
    feed(*owner.ppm(), std::vector<float>(16, static_cast<float>(std::pow(10.0, -3.75 / 20))), 16);
    EXPECT_EQ(owner.ppm()->readoutOverState(0), 1);
}

TEST_F(MeterEngineTest, DisplayDelayShowsWhatWasCurrentFiveHundredMillisecondsEarlier)
{
    owner.resumeAt(48000);
    MeterTestOwner twin;
    twin.resumeAt(48000);
    owner.setParameter(94, 0.f);  // instantaneous rise, so every burst shows at once
    twin.setParameter(94, 0.f);
    // With no lag the ring is never written: a lag switched on later shows an empty ring.
    feed(*owner.ppm(), sine(48000, 440, 0.5, 0.2), 48);
    owner.setParameter(16, 0.5f);  // 500 ms
    EXPECT_EQ(owner.ppm()->readoutValue(kMeterLevel1, 0), 0.0);
    owner.ppm()->reset();
    twin.ppm()->reset();

    std::vector<double> shownNow;
    for (int ms = 0; ms < 1300; ++ms) {
        // A level that changes every millisecond: bursts of rising amplitude and silences.
        const float amplitude = (ms / 7) % 2 ? 0.f : static_cast<float>(0.05 + 0.9 * ((ms * 37) % 101) / 101.0);
        std::vector<float> block(48, amplitude);
        feed(*owner.ppm(), block, 48);
        feed(*twin.ppm(), block, 48);
        shownNow.push_back(latest(*twin.ppm(), kMeterLevel1));
        const double delayed = owner.ppm()->readoutValue(kMeterLevel1, 0.3);
        if (ms >= 500)
            ASSERT_EQ(delayed, shownNow[ms - 500]) << "at " << ms << " ms";
        else
            ASSERT_EQ(delayed, 0.0) << "at " << ms << " ms";
    }
}

// A reset clears a ring that a lag has filled, and one cleared since is not cleared again:
// after two resets in a row the delayed read-outs and overs are those of silence.
TEST_F(MeterEngineTest, ResetClearsTheRingThatALagFilled)
{
    owner.resumeAt(48000);
    owner.setParameter(16, 0.1f);  // 100 ms
    owner.setParameter(98, 0.f);   // N = 1
    feed(*owner.ppm(), std::vector<float>(48 * 150, 1.f), 48);
    ASSERT_GT(owner.ppm()->readoutValue(kMeterLevel1, 0), 0.0);
    ASSERT_EQ(owner.ppm()->readoutOverState(0), 1);
    owner.ppm()->reset();
    owner.ppm()->reset();
    owner.ppm()->resetPeaks();
    feed(*owner.ppm(), std::vector<float>(48 * 50, 0.f), 48);
    for (MeterQuantity q : {kMeterLevel1, kMeterLevel2, kMeterHold1, kMeterHold2})
        EXPECT_EQ(owner.ppm()->readoutValue(q, 0), 0.0) << "quantity " << q;
    EXPECT_EQ(owner.ppm()->readoutOverState(0), -1);
}

TEST_F(MeterEngineTest, DelayedOverShowsForThirtyMilliseconds)
{
    owner.resumeAt(48000);
    owner.setParameter(16, 0.1f);  // round(99.9) = 100 ms
    owner.setParameter(98, 0.f);   // N = 1
    std::vector<float> over(48, 1.f);
    std::vector<float> quiet(48, 0.f);
    feed(*owner.ppm(), over, 48);
    int shown = 0;
    for (int ms = 1; ms < 200; ++ms) {
        feed(*owner.ppm(), quiet, 48);
        owner.ppm()->readoutValue(kMeterLevel1, 0);
        if (owner.ppm()->readoutOverState(0) == 1) {
            EXPECT_GE(ms, 99);
            ++shown;
        }
    }
    EXPECT_EQ(shown, 29);
}

TEST_F(MeterEngineTest, PreciseStageChoosesItsInterpolatorByRate)
{
    EXPECT_EQ(preciseBandFor(44100), PreciseBand::Four);
    EXPECT_EQ(preciseBandFor(48000), PreciseBand::Four);
    EXPECT_EQ(preciseBandFor(88200), PreciseBand::Two);
    EXPECT_EQ(preciseBandFor(96000), PreciseBand::Two);
    EXPECT_EQ(preciseBandFor(176400), PreciseBand::None);
    EXPECT_EQ(preciseBandFor(192000), PreciseBand::None);
}

// A sine at a quarter of the rate sampled at 45° has its peaks between samples, 3.01 dB above
// every sample. The interpolators find them; without interpolation the sample peak shows.
TEST_F(MeterEngineTest, PreciseStageFindsTheTruePeakBetweenSamples)
{
    for (float rate : {44100.f, 48000.f, 96000.f, 192000.f}) {
        MeterTestOwner o;
        o.resumeAt(rate);
        o.setParameter(93, 1.f);   // reference 0 dBFS
        o.setParameter(94, 0.f);   // instantaneous rise
        o.setParameter(100, 1.f);  // precise
        const double amplitude = 0.5;
        feed(*o.ppm(), sine(rate, rate / 4, amplitude, 0.05, kPi / 4), 100);
        const double level = latest(*o.ppm(), kMeterLevel1);
        if (rate < 176400)
            EXPECT_TRUE(withinDb(level, amplitude, 0.2)) << rate << " Hz: " << dB(level / amplitude) << " dB";
        else
            EXPECT_NEAR(level, amplitude * std::sqrt(0.5), 1e-6) << rate;

        MeterTestOwner plain;
        plain.resumeAt(rate);
        plain.setParameter(93, 1.f);
        plain.setParameter(94, 0.f);
        plain.setParameter(100, 0.f);  // the Session set holds the precise flag set above
        feed(*plain.ppm(), sine(rate, rate / 4, amplitude, 0.05, kPi / 4), 100);
        EXPECT_NEAR(latest(*plain.ppm(), kMeterLevel1), amplitude * std::sqrt(0.5), 1e-6);
    }
}

// The plain sample the RMS meter averages is the input 32 frames late in every band; the
// peak output of a band without interpolation is that same sample.
TEST_F(MeterEngineTest, PreciseStageDelaysByThirtyTwoFramesInEveryBand)
{
    for (float rate : {44100.f, 96000.f, 192000.f}) {
        MeterTestOwner on;
        MeterTestOwner off;
        on.resumeAt(rate);
        off.resumeAt(rate);
        on.setParameter(80, 1.f);
        off.setParameter(80, 0.f);
        on.setParameter(74, 0.f);
        off.setParameter(74, 0.f);
        std::vector<float> noise(600);
        unsigned seed = 12345;
        for (float &s : noise) {
            seed = seed * 1103515245u + 12345u;
            s = static_cast<float>((seed >> 8) % 20001) / 10000.f - 1.f;
        }
        std::vector<double> msOff;
        std::vector<double> msOn;
        for (float s : noise) {
            std::vector<float> one(1, s);
            feed(*on.rms(), one, 1);
            feed(*off.rms(), one, 1);
            msOn.push_back(latest(*on.rms(), kMeterMeanSquare1));
            msOff.push_back(latest(*off.rms(), kMeterMeanSquare1));
        }
        for (size_t i = 32; i < noise.size(); ++i)
            ASSERT_EQ(msOn[i], msOff[i - 32]) << rate << " Hz, frame " << i;
    }
    MeterTestOwner o;
    o.resumeAt(192000);
    o.setParameter(93, 1.f);
    o.setParameter(94, 0.f);
    o.setParameter(100, 1.f);
    for (int i = 0; i < 100; ++i) {
        std::vector<float> ramp(1, static_cast<float>(i) / 128.f);
        feed(*o.ppm(), ramp, 1);
        EXPECT_NEAR(latest(*o.ppm(), kMeterLevel1), i >= 32 ? (i - 32) / 128.0 : 0.0, 1e-13) << i;
    }
}

TEST_F(MeterEngineTest, RMSReadsAFullScaleSineAsOneWithAndWithoutPrecise)
{
    for (float rate : {44100.f, 48000.f}) {
        for (float precise : {0.f, 1.f}) {
            MeterTestOwner o;
            o.resumeAt(rate);
            o.setParameter(80, precise);
            feed(*o.rms(), sine(rate, 1000, 1.0, 3.0), 512);
            const double rms = std::sqrt(latest(*o.rms(), kMeterMeanSquare1)) * 1.4142;
            EXPECT_NEAR(rms, 1.0, 0.002) << rate << " precise " << precise;
            const double level = latest(*o.rms(), kMeterLevel1);
            EXPECT_GT(level, 0.97);  // below the peak: 10 ms rise against a 2 s return
            EXPECT_LT(level, 1.0);
        }
    }
}

TEST_F(MeterEngineTest, RMSAveragingTimeSetsTheRiseOfTheMeanSquare)
{
    owner.setParameter(74, 0.5f);  // TA = 1 s: half of it reaches 0.891 of the final value
    const std::vector<float> steady(22050, 1.f);
    feed(*owner.rms(), steady, 441);
    EXPECT_NEAR(latest(*owner.rms(), kMeterMeanSquare1), 0.891, 0.002);
}

TEST_F(MeterEngineTest, PPMFallsToOneSixteenthInTheReturnTime)
{
    owner.resumeAt(48000);
    owner.setParameter(93, 1.f);  // reference 0 dBFS
    owner.setParameter(94, 0.f);  // instantaneous rise
    owner.setParameter(95, 0.f);  // hold 100 ms
    ASSERT_EQ(timeStepTruncated(owner.ppm()->getSetting(96)), 52);
    const double returnMs = longTimeLaw(52);
    const int returnSamples = static_cast<int>(std::lround(48000 * returnMs * 0.001));
    feed(*owner.ppm(), std::vector<float>(1, 1.f), 1);
    EXPECT_EQ(latest(*owner.ppm(), kMeterLevel1), 1.0);
    feed(*owner.ppm(), std::vector<float>(returnSamples, 0.f), 480);
    EXPECT_NEAR(latest(*owner.ppm(), kMeterLevel1), 1.0 / 16, 1e-4);
    // The hold waited 100 ms and then fell at the same rate.
    feed(*owner.ppm(), std::vector<float>(4800, 0.f), 480);
    EXPECT_NEAR(latest(*owner.ppm(), kMeterHold1), 1.0 / 16, 2e-4);
}

TEST_F(MeterEngineTest, PPMRiseTimeZeroJumpsAndStepOneIsFastButNotInstant)
{
    owner.setParameter(93, 1.f);
    owner.setParameter(94, 0.f);
    feed(*owner.ppm(), std::vector<float>(1, 0.5f), 1);
    EXPECT_EQ(latest(*owner.ppm(), kMeterLevel1), 0.5);
    owner.setParameter(73, 1 / 80.f);  // RMS rise step 1: 0.0594 ms, kA ≈ 0.83 at 44.1 kHz
    owner.setParameter(80, 0.f);
    feed(*owner.rms(), std::vector<float>(1, 1.f), 1);
    EXPECT_NEAR(latest(*owner.rms(), kMeterLevel1), 0.83, 0.01);
}

// A level equal to the hold does not restart the PPM hold time, so the hold starts to fall
// after the hold time even under a steady level; the VU hold restarts on equality.
TEST_F(MeterEngineTest, PPMHoldComparisonIsStrictAndVUHoldIsNot)
{
    owner.setParameter(93, 1.f);
    owner.setParameter(94, 0.f);
    owner.setParameter(95, 0.f);  // 100 ms = 4410 samples
    bool ppmHoldFell = false;
    for (int i = 0; i < 6000; ++i) {
        feed(*owner.ppm(), std::vector<float>(1, 0.5f), 1);
        if (latest(*owner.ppm(), kMeterHold1) < latest(*owner.ppm(), kMeterLevel1))
            ppmHoldFell = true;
    }
    EXPECT_TRUE(ppmHoldFell);

    owner.setParameter(85, 0.f);
    owner.setParameter(83, 1.f);
    feed(*owner.vu(), std::vector<float>(44100 * 3, 0.5f), 441);  // needle settles at 0.78
    bool vuHoldFell = false;
    for (int i = 0; i < 6000; ++i) {
        feed(*owner.vu(), std::vector<float>(1, 0.5f), 1);
        if (latest(*owner.vu(), kMeterHold1) < latest(*owner.vu(), kMeterLevel1))
            vuHoldFell = true;
    }
    EXPECT_FALSE(vuHoldFell);
}

TEST_F(MeterEngineTest, MidSideWithFactorIndexTwo)
{
    owner.setParameter(4, 1.f);
    owner.setParameter(97, 1.f);  // mid factor 0.5
    owner.setParameter(93, 1.f);
    owner.setParameter(94, 0.f);
    const std::vector<float> left(64, 1.f);
    const std::vector<float> right(64, 0.f);
    feed(*owner.ppm(), left, 64, &right);
    EXPECT_EQ(latest(*owner.ppm(), kMeterLevel1), 0.5);
    EXPECT_EQ(latest(*owner.ppm(), kMeterLevel2), 1.0);
}

TEST_F(MeterEngineTest, ReadoutFallsSmoothlyBetweenBlocks)
{
    owner.setParameter(93, 1.f);
    owner.setParameter(94, 0.f);
    feed(*owner.ppm(), std::vector<float>(441, 1.f), 441);
    feed(*owner.ppm(), std::vector<float>(44100, 0.f), 44100);
    const double start = 1.0;
    const double now = latest(*owner.ppm(), kMeterLevel1);
    EXPECT_EQ(owner.ppm()->readoutValue(kMeterLevel1, 0), start);
    EXPECT_DOUBLE_EQ(owner.ppm()->readoutValue(kMeterLevel1, 0.5), 0.5 * start + 0.5 * now);
    EXPECT_LT(owner.ppm()->readoutValue(kMeterLevel1, 1.5), now);       // keeps falling without blocks
    EXPECT_EQ(owner.ppm()->readoutValue(kMeterMeanSquare1, 0.5), 0.0);  // PPM has no mean square
}

TEST_F(MeterEngineTest, InfiniteHoldKeepsTheMaximumUntilResetPeaks)
{
    owner.setParameter(5, 0.5f);
    EXPECT_EQ(owner.ppm()->holdMode(), 1);
    EXPECT_EQ(owner.ppm()->applyInfiniteHold(0, 0.4), 0.4);
    EXPECT_EQ(owner.ppm()->applyInfiniteHold(0, 0.2), 0.4);
    EXPECT_EQ(owner.ppm()->applyInfiniteHold(1, 0.1), 0.1);
    owner.setParameter(67, 0.f);
    EXPECT_EQ(owner.ppm()->applyInfiniteHold(0, 0.2), 0.2);
}

TEST_F(MeterEngineTest, BlockSizeDoesNotChangeAnyReading)
{
    const std::vector<float> left = sine(48000, 997, 0.9, 0.5);
    const std::vector<float> right = square(48000, 211, 0.3, 0.5);
    for (MeterType type : {kMeterTypeVU, kMeterTypePPM, kMeterTypeRMS}) {
        std::vector<double> reference;
        for (int block : {1, 63, 64, 65, 4097}) {
            MeterTestOwner o;
            o.resumeAt(48000);
            o.setParameter(4, 1.f);
            o.setParameter(16, 0.1f);
            o.setParameter(type == kMeterTypeVU ? 91 : type == kMeterTypePPM ? 100 : 80, 1.f);
            o.resumeAt(48000);
            feed(*o.engine(type), left, block, &right);
            std::vector<double> readings;
            for (int q = 0; q < kMeterQuantityCount; ++q)
                readings.push_back(o.engine(type)->readoutValue(static_cast<MeterQuantity>(q), 0));
            o.setParameter(16, 0.f);
            for (int q = 0; q < kMeterQuantityCount; ++q)
                readings.push_back(latest(*o.engine(type), static_cast<MeterQuantity>(q)));
            if (reference.empty())
                reference = readings;
            else
                EXPECT_EQ(readings, reference) << "type " << type << " block " << block;
        }
    }
}

// After a block with a sample that is not a number the engine returns to rest and then reads
// clean material as an engine that never saw the bad block.
TEST_F(MeterEngineTest, NotANumberReturnsEveryEngineToRest)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> clean = sine(44100, 1000, 0.5, 3.0);
    for (MeterType type : {kMeterTypeVU, kMeterTypePPM, kMeterTypeRMS}) {
        const VstInt32 preciseIndex = type == kMeterTypeVU ? 91 : type == kMeterTypePPM ? 100 : 80;
        MeterTestOwner twin;
        twin.setParameter(preciseIndex, 1.f);
        feed(*twin.engine(type), clean, 256);
        MeterTestOwner o;
        o.setParameter(preciseIndex, 1.f);
        o.setParameter(16, 0.05f);
        MeterEngine &e = *o.engine(type);
        std::vector<float> poisoned = sine(44100, 1000, 0.5, 0.01);
        poisoned[100] = nan;
        feed(e, poisoned, 256);
        EXPECT_TRUE(std::isfinite(latest(e, kMeterLevel1)));
        feed(e, clean, 256);
        for (int q = 0; q < kMeterQuantityCount; ++q)
            EXPECT_TRUE(std::isfinite(e.readoutValue(static_cast<MeterQuantity>(q), 0))) << type << " q " << q;
        o.setParameter(16, 0.f);
        for (int q = 0; q < kMeterQuantityCount; ++q) {
            const double expected = latest(*twin.engine(type), static_cast<MeterQuantity>(q));
            EXPECT_NEAR(latest(e, static_cast<MeterQuantity>(q)), expected, 0.01 * std::fabs(expected))
                << type << " q " << q;
        }
    }
}

// A non-finite sample that a block leaves in the precise history, short of the time-aligned
// tap, must not reach the next block: the engine returns to rest at the end of the block that
// brought it, whatever the block's length and wherever it falls among the stage's chunks.
TEST_F(MeterEngineTest, NonFiniteSampleLeftInThePreciseHistoryIsCleared)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> clean = sine(44100, 1000, 0.5, 0.5);
    for (MeterType type : {kMeterTypeVU, kMeterTypePPM, kMeterTypeRMS}) {
        const VstInt32 preciseIndex = type == kMeterTypeVU ? 91 : type == kMeterTypePPM ? 100 : 80;
        MeterTestOwner twin;
        twin.setParameter(preciseIndex, 1.f);
        feed(*twin.engine(type), clean, 512);
        for (int length : {1, 63, 64, 65, 300}) {
            for (int back : {1, 31, 63}) {
                if (back > length)
                    continue;
                MeterTestOwner o;
                o.setParameter(preciseIndex, 1.f);
                MeterEngine &e = *o.engine(type);
                std::vector<float> poisoned(static_cast<size_t>(length), 0.25f);
                poisoned[static_cast<size_t>(length - back)] = nan;
                feed(e, poisoned, length);
                feed(e, clean, 512);
                for (int q = 0; q < kMeterQuantityCount; ++q) {
                    const double expected = latest(*twin.engine(type), static_cast<MeterQuantity>(q));
                    // The VU needle sections keep the sign of their anti-denormal offset through
                    // the return to rest, so its readings may differ by that offset's effect.
                    EXPECT_NEAR(latest(e, static_cast<MeterQuantity>(q)), expected, 1e-9 * std::fabs(expected) + 1e-11)
                        << "type " << type << " block " << length << " NaN " << back << " from the end, q " << q;
                }
            }
        }
    }
}

// An infinite sample is an overload: a huge, finite level with the over indicator lit, from
// which the ballistics fall back as from any loud peak.
TEST_F(MeterEngineTest, InfiniteInputReadsAsAnOverload)
{
    const float inf = std::numeric_limits<float>::infinity();
    for (MeterType type : {kMeterTypeVU, kMeterTypePPM, kMeterTypeRMS}) {
        for (bool precise : {false, true}) {
            MeterTestOwner o;
            o.setParameter(type == kMeterTypeVU ? 91 : type == kMeterTypePPM ? 100 : 80, precise ? 1.f : 0.f);
            MeterEngine &e = *o.engine(type);
            feed(e, sine(44100, 1000, 0.05, 0.5), 256);
            ASSERT_EQ(e.readoutOverState(0), -1);
            std::vector<float> block = sine(44100, 1000, 0.05, 256 / 44100.0);
            for (size_t i = 10; i < 20; ++i)
                block[i] = precise ? -inf : inf;
            feed(e, block, 256);
            feed(e, std::vector<float>(256, 0.f), 256);  // the precise stage delays by 63 frames
            const double level = latest(e, kMeterLevel1);
            EXPECT_TRUE(std::isfinite(level)) << type << " precise " << precise;
            EXPECT_GT(level, 1000.0) << type << " precise " << precise;
            EXPECT_GT(latest(e, kMeterHold1), 1000.0) << type << " precise " << precise;
            EXPECT_EQ(e.readoutOverState(0), 1) << type << " precise " << precise;
            feed(e, sine(44100, 1000, 0.05, 1.0), 256);
            for (int q = 0; q < kMeterQuantityCount; ++q)
                EXPECT_TRUE(std::isfinite(latest(e, static_cast<MeterQuantity>(q)))) << type << " q " << q;
            EXPECT_LT(latest(e, kMeterLevel1), level) << type << " falls back";
        }
    }
}

// A redesign of the needle (integration time or needle type changed while a signal plays)
// continues from where the needle stands instead of dropping toward rest.
TEST_F(MeterEngineTest, VUNeedleKeepsItsPositionWhenRedesignedWhilePlaying)
{
    const double reference = std::pow(10.0, -18.0 / 20);
    const std::vector<float> tone = sine(44100, 1000, reference, 3.0);
    const std::vector<float> more = sine(44100, 1000, reference, 0.5);
    struct Change {
        VstInt32 index;
        float value;
    };
    for (Change change : {Change{84, 0.2f}, Change{84, 0.9f}, Change{86, 1.f}}) {
        MeterTestOwner o;
        MeterEngine &vu = *o.vu();
        feed(vu, tone, 512);
        const double before = latest(vu, kMeterLevel1);
        ASSERT_NEAR(before, 2 / kPi * 1.56, 0.01);
        o.setParameter(change.index, change.value);
        double lowest = before;
        for (size_t start = 0; start + 512 <= more.size(); start += 512) {
            std::vector<float> block(more.begin() + static_cast<long>(start),
                                     more.begin() + static_cast<long>(start) + 512);
            feed(vu, block, 512);
            lowest = std::min({lowest, latest(vu, kMeterLevel1), latest(vu, kMeterLevel2)});
        }
        EXPECT_GT(lowest, 0.97 * before) << "setting " << change.index << " = " << change.value;
    }
}

// The limit applies wherever the sample falls in a block of any length, without the precise
// stage as well as with it.
TEST_F(MeterEngineTest, InfiniteSampleAnywhereInAShortBlockIsLimited)
{
    const float inf = std::numeric_limits<float>::infinity();
    for (MeterType type : {kMeterTypeVU, kMeterTypePPM, kMeterTypeRMS}) {
        for (int length = 1; length <= 9; ++length) {
            for (int at = 0; at < length; ++at) {
                MeterTestOwner o;
                o.setParameter(type == kMeterTypeVU ? 91 : type == kMeterTypePPM ? 100 : 80, 0.f);
                MeterEngine &e = *o.engine(type);
                std::vector<float> block(static_cast<size_t>(length), 0.f);
                block[static_cast<size_t>(at)] = at % 2 ? inf : -inf;
                feed(e, block, length);
                const double hold = latest(e, kMeterHold1);
                EXPECT_TRUE(std::isfinite(hold)) << type << " length " << length << " at " << at;
                if (type != kMeterTypeVU) {  // the needle needs longer than a few samples to move
                    EXPECT_GT(hold, 1000.0) << type << " length " << length << " at " << at;
                }
            }
        }
    }
}
