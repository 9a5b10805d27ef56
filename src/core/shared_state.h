// The two values that every instance in the process shares: the calibration scope and the
// meter type last set by any instance, which new instances start with. [any-thread] Relaxed
// atomics: they are written and read from any thread of any instance and order nothing else.
#pragma once

#include <atomic>

#include "meters/meter_settings.h"  // calibrationScopeShared: 0 Global, 1 Session, 2 Instance

extern std::atomic<int> meterTypeShared;  // 0 VU, 1 RMS, 2 PPM; 0 when the library is loaded
