// The instance lock: recursive for its owner, bounded for everyone else, and a guard that
// releases only what it acquired.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/effect_lock.h"

TEST(EffectLock, OwnerMayTakeItAgain)
{
    EffectLock lock;
    ASSERT_TRUE(lock.acquire());
    EXPECT_TRUE(lock.acquire());
    lock.release();
    lock.release();
    // Fully released: another thread gets it at once.
    auto other = std::async(std::launch::async, [&] {
        bool got = lock.acquire();
        if (got)
            lock.release();
        return got;
    });
    EXPECT_TRUE(other.get());
}

TEST(EffectLock, WaitGivesUpWhileAnotherThreadHoldsIt)
{
    EffectLock lock;
    std::promise<void> held, done;
    std::thread owner([&] {
        ASSERT_TRUE(lock.acquire());
        held.set_value();
        done.get_future().wait();
        lock.release();
    });
    held.get_future().wait();
    EffectLockGuard guard(lock);
    EXPECT_FALSE(guard.acquired()) << "the wait is bounded and reports the time-out";
    done.set_value();
    owner.join();
}

TEST(EffectLock, GuardReleasesOnlyWhatItAcquired)
{
    EffectLock lock;
    std::promise<void> held, done;
    std::thread owner([&] {
        ASSERT_TRUE(lock.acquire());
        held.set_value();
        done.get_future().wait();
        // Still ours: the timed-out guard below must not have released it.
        lock.release();
    });
    held.get_future().wait();
    {
        EffectLockGuard timedOut(lock);
        ASSERT_FALSE(timedOut.acquired());
    }
    std::atomic<bool> gotIt{false};
    std::thread contender([&] {
        // While the owner still holds the lock, a second waiter must also time out.
        EffectLockGuard guard(lock);
        gotIt = guard.acquired();
    });
    contender.join();
    EXPECT_FALSE(gotIt.load());
    done.set_value();
    owner.join();
    EffectLockGuard after(lock);
    EXPECT_TRUE(after.acquired());
}
