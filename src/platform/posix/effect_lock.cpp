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
    return mutexOf(handle)->try_lock_for(std::chrono::milliseconds(kWaitMilliseconds));
}

void EffectLock::release()
{
    if (handle)
        mutexOf(handle)->unlock();
}
