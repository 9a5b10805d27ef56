// The audio thread processes while the editor reads the meters and another thread changes
// settings: run under ThreadSanitizer, this shows that every shared value is race-free.
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "meter_test_support.h"

using namespace meter_test;

namespace {

class MeterConcurrencyTest : public MeterTest {};

}  // namespace

TEST_F(MeterConcurrencyTest, ConcurrentProcessingReadoutAndSettingChanges)
{
    MeterTestOwner owner;
    owner.setParameter(98, 0.f);
    std::atomic<bool> audioDone{false};
    const std::vector<float> left = sine(44100, 1000, 1.0, 0.05);
    const std::vector<float> right = sine(44100, 300, 0.7, 0.05);

    std::thread audio([&] {
        std::vector<float> l(left);
        std::vector<float> r(right);
        for (int round = 0; round < 60; ++round)
            for (MeterEngine *e : {owner.vu(), owner.rms(), owner.ppm()})
                for (size_t start = 0; start + 256 <= l.size(); start += 256)
                    e->process(l.data() + start, r.data() + start, 256);
        audioDone.store(true);
    });

    double sum = 0;
    int round = 0;
    // At least one full round of reading, even if the audio thread finishes first.
    do {
        for (MeterEngine *e : {owner.vu(), owner.rms(), owner.ppm()}) {
            for (int q = 0; q < kMeterQuantityCount; ++q)
                sum += e->readoutValue(static_cast<MeterQuantity>(q), 0.5);
            sum += e->readoutOverState(0) + e->readoutOverState(1);
            sum += e->applyInfiniteHold(0, e->readoutValue(kMeterHold1, 0.5));
            e->syncSharedSettings();
        }
        // Settings, scopes and the values the effect writes directly, from this thread.
        owner.setParameter(16, (round % 3) * 0.05f);
        owner.setParameter(4, static_cast<float>(round % 2));
        owner.setParameter(83, (round % 10) / 10.f);
        owner.setParameter(84, (round % 7) / 7.f);
        owner.setParameter(86, static_cast<float>(round % 2));
        owner.setParameter(91, static_cast<float>(round % 2));
        owner.setParameter(80, static_cast<float>((round + 1) % 2));
        owner.setParameter(74, (round % 80) / 80.f);
        owner.setParameter(96, (round % 80) / 80.f);
        owner.setParameter(67, 0.f);
        owner.setParameter(2, (round % 3) * 0.5f);
        ++round;
        std::this_thread::yield();
    } while (!audioDone.load());
    audio.join();
    EXPECT_TRUE(std::isfinite(sum));
    for (MeterEngine *e : {owner.vu(), owner.rms(), owner.ppm()})
        for (int q = 0; q < kMeterQuantityCount; ++q)
            EXPECT_TRUE(std::isfinite(e->readoutValue(static_cast<MeterQuantity>(q), 1.0)));
}

// Each over is shown once, even when the read-out picks it up while the audio thread is in the
// middle of the next block. The audio thread sends one short burst of full-scale samples, then
// long silence, and waits until the editor thread has shown the over before the next burst.
TEST_F(MeterConcurrencyTest, ConcurrentReadoutShowsEachOverOnce)
{
    constexpr int kBursts = 40;
    for (MeterType type : {kMeterTypeVU, kMeterTypePPM}) {
        MeterTestOwner owner;
        MeterEngine &engine = *owner.engine(type);
        owner.setParameter(type == kMeterTypeVU ? 90 : 99, 1.f);  // overs at 0 dBFS
        owner.setParameter(type == kMeterTypeVU ? 89 : 98, 0.f);  // N = 1
        std::vector<float> burst(64, 0.f);
        for (int i = 0; i < 8; ++i)
            burst[static_cast<size_t>(i)] = 1.f;
        std::vector<float> silence(16384, 0.f);
        std::atomic<int> shown{0};
        std::atomic<bool> stop{false};

        std::thread editor([&] {
            while (!stop.load()) {
                for (int q = 0; q < kMeterQuantityCount; ++q)
                    engine.readoutValue(static_cast<MeterQuantity>(q), 0.5);
                if (engine.readoutOverState(0) == 1)
                    shown.fetch_add(1);
                engine.readoutOverState(1);
                std::this_thread::sleep_for(std::chrono::microseconds(20));
            }
        });

        bool timedOut = false;
        for (int b = 0; b < kBursts && !timedOut; ++b) {
            engine.process(burst.data(), burst.data(), static_cast<VstInt32>(burst.size()));
            engine.process(silence.data(), silence.data(), static_cast<VstInt32>(silence.size()));
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (shown.load() <= b && !timedOut) {
                engine.process(silence.data(), silence.data(), 64);
                timedOut = std::chrono::steady_clock::now() > deadline;
            }
        }
        // Time for a last, unwanted showing of the final burst.
        engine.process(silence.data(), silence.data(), static_cast<VstInt32>(silence.size()));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stop.store(true);
        editor.join();
        EXPECT_FALSE(timedOut) << "type " << type;
        EXPECT_EQ(shown.load(), kBursts) << "type " << type;
    }
}
