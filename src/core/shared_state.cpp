#include "shared_state.h"

std::atomic<int> meterTypeShared{0};
