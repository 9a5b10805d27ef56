// The per-instance lock of the effect: an unnamed recursive mutex whose waits are bounded at
// 1000 ms. A wait that times out is reported and the caller proceeds without the lock.
// [any-thread], the audio thread included; the same thread may take it again while holding it.
#pragma once

class EffectLock {
public:
    static constexpr int kWaitMilliseconds = 1000;

    EffectLock();
    ~EffectLock();
    EffectLock(const EffectLock &) = delete;
    EffectLock &operator=(const EffectLock &) = delete;

    // Waits at most kWaitMilliseconds; true when the lock was acquired.
    bool acquire();
    // Releases one acquisition; call only after an acquire that answered true.
    void release();

private:
    void *handle;  // the OS mutex
};

// Holds the lock for a scope when it could be acquired, and proceeds without it otherwise.
class EffectLockGuard {
public:
    explicit EffectLockGuard(EffectLock &lock) : lock(lock), held(lock.acquire()) {}
    ~EffectLockGuard()
    {
        if (held)
            lock.release();
    }
    EffectLockGuard(const EffectLockGuard &) = delete;
    EffectLockGuard &operator=(const EffectLockGuard &) = delete;
    bool acquired() const { return held; }

private:
    EffectLock &lock;
    bool held;
};
