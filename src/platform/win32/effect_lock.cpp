#include "platform/effect_lock.h"

#include <windows.h>

EffectLock::EffectLock() : handle(CreateMutexW(nullptr, FALSE, nullptr)) {}

EffectLock::~EffectLock()
{
    if (handle)
        CloseHandle(static_cast<HANDLE>(handle));
}

bool EffectLock::acquire()
{
    if (!handle)
        return false;
    DWORD result = WaitForSingleObject(static_cast<HANDLE>(handle), kWaitMilliseconds);
    // An abandoned mutex is owned by the caller all the same.
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void EffectLock::release()
{
    if (handle)
        ReleaseMutex(static_cast<HANDLE>(handle));
}
