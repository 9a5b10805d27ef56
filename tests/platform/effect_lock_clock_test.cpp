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
    // Free, the lock is taken without any wait.
    ASSERT_TRUE(lock.acquire());
    EXPECT_TRUE(lock.acquire()) << "recursive";
    EXPECT_EQ(lastWaitClock.load(), -1);

    // Held by this thread for a moment, another thread has to wait for it.
    std::atomic<bool> acquired{false};
    std::thread waiter([&] {
        acquired.store(lock.acquire());
        if (acquired.load())
            lock.release();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    lock.release();
    lock.release();
    waiter.join();
    EXPECT_TRUE(acquired.load());
    EXPECT_EQ(lastWaitClock.load(), CLOCK_MONOTONIC);
}

#endif
