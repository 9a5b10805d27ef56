#include "shared_state.h"

std::atomic<int> calibrationScopeShared{1};
std::atomic<int> meterTypeShared{0};
