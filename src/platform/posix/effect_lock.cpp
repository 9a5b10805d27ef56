#include "platform/effect_lock.h"

#include <chrono>
#include <mutex>
#include <new>

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
    // A deadline on the system clock makes the library wait with pthread_mutex_timedlock, which
    // ThreadSanitizer understands (the steady-clock variant is invisible to it). A clock step
    // during the wait only lengthens or shortens this one bounded wait.
    return mutexOf(handle)->try_lock_until(std::chrono::system_clock::now() +
                                           std::chrono::milliseconds(kWaitMilliseconds));
}

void EffectLock::release()
{
    if (handle)
        mutexOf(handle)->unlock();
}
