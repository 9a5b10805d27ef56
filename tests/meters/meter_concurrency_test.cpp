// The audio thread processes while the editor reads the meters and another thread changes
// settings: run under ThreadSanitizer, this shows that every shared value is race-free.
#include <atomic>
#include <cmath>
#include <thread>

#include "meter_test_support.h"

using namespace meter_test;

namespace {

class MeterConcurrencyTest : public MeterTest {};

} // namespace

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
    while (!audioDone.load()) {
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
    }
    audio.join();
    EXPECT_TRUE(std::isfinite(sum));
    EXPECT_GT(round, 0);
    for (MeterEngine *e : {owner.vu(), owner.rms(), owner.ppm()})
        for (int q = 0; q < kMeterQuantityCount; ++q)
            EXPECT_TRUE(std::isfinite(e->readoutValue(static_cast<MeterQuantity>(q), 1.0)));
}
