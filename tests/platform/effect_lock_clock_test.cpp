// The instance lock's bounded wait is measured on the steady clock, so that a step of the wall
// clock (a time server correcting it, the user setting it) neither stretches nor cuts the
// 1000 ms wait. Which clock the wait uses is seen by standing in front of the C library's two
// timed lock calls. ThreadSanitizer builds keep the wall clock: the sanitizer does not see the
// steady-clock call.
#if !defined(_WIN32) && !defined(__SANITIZE_THREAD__)

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <dlfcn.h>
#include <pthread.h>
#include <time.h>

#include "platform/effect_lock.h"

namespace {
std::atomic<int> lastWaitClock{-1};
}  // namespace

extern "C" int pthread_mutex_clocklock(pthread_mutex_t *mutex, clockid_t clock, const struct timespec *deadline)
{
    using Call = int (*)(pthread_mutex_t *, clockid_t, const struct timespec *);
    static const Call next = reinterpret_cast<Call>(dlsym(RTLD_NEXT, "pthread_mutex_clocklock"));
    lastWaitClock.store(clock);
    return next(mutex, clock, deadline);
}

extern "C" int pthread_mutex_timedlock(pthread_mutex_t *mutex, const struct timespec *deadline)
{
    using Call = int (*)(pthread_mutex_t *, const struct timespec *);
    static const Call next = reinterpret_cast<Call>(dlsym(RTLD_NEXT, "pthread_mutex_timedlock"));
    lastWaitClock.store(CLOCK_REALTIME);
    return next(mutex, deadline);
}

TEST(EffectLockClock, TheBoundedWaitIsMeasuredOnTheSteadyClock)
{
    EffectLock lock;
    lastWaitClock.store(-1);
    ASSERT_TRUE(lock.acquire());
    EXPECT_TRUE(lock.acquire()) << "recursive";
    lock.release();
    lock.release();
    EXPECT_EQ(lastWaitClock.load(), -1) << "an uncontended lock is taken without a timed wait";

    // Held by another thread for a moment: the wait is a timed one.
    std::atomic<bool> held{false};
    std::thread holder([&] {
        lock.acquire();
        held.store(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        lock.release();
    });
    while (!held.load())
        std::this_thread::yield();
    EXPECT_TRUE(lock.acquire());
    lock.release();
    holder.join();
    EXPECT_EQ(lastWaitClock.load(), CLOCK_MONOTONIC);
}

#endif
