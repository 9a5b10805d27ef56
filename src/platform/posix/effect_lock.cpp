#include "platform/effect_lock.h"

#include <chrono>
#include <mutex>
#include <new>

// Clang names a ThreadSanitizer build through __has_feature, GCC through the macro.
#if defined(__SANITIZE_THREAD__)
#define ZEM_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZEM_THREAD_SANITIZER 1
#endif
#endif

namespace {
std::recursive_timed_mutex *mutexOf(void *handle) { return static_cast<std::recursive_timed_mutex *>(handle); }
}  // namespace

EffectLock::EffectLock() : handle(new (std::nothrow) std::recursive_timed_mutex) {}

EffectLock::~EffectLock() { delete mutexOf(handle); }

bool EffectLock::acquire()
{
    if (!handle)
        return false;
    // Uncontended, as nearly always: no clock reading and no timed wait.
    if (mutexOf(handle)->try_lock())
        return true;
#if defined(ZEM_THREAD_SANITIZER)
    // ThreadSanitizer understands the wait on the system clock (pthread_mutex_timedlock) but
    // not the steady-clock one; only its builds wait on the wall clock.
    return mutexOf(handle)->try_lock_until(std::chrono::system_clock::now() +
                                           std::chrono::milliseconds(kWaitMilliseconds));
#else
    // The steady clock: a step of the wall clock during the wait must not stretch or cut it.
    return mutexOf(handle)->try_lock_until(std::chrono::steady_clock::now() +
                                           std::chrono::milliseconds(kWaitMilliseconds));
#endif
}

void EffectLock::release()
{
    if (handle)
        mutexOf(handle)->unlock();
}
