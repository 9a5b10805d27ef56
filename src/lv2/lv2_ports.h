// The ports of the LV2 plug-in, by index: the stereo audio pins, the 17 host parameters as
// control inputs in their own units (params/plain_units.h: port kFirstParameterPort + id), and
// the control outputs with the read-outs of the selected meter's two needles and their over
// states. The turtle writer and the instance both read this one list. [any-thread] (constants)
#pragma once

#include <cstdint>

#include "params/plain_units.h"

namespace Lv2Port {

constexpr uint32_t kInputLeft = 0;
constexpr uint32_t kInputRight = 1;
constexpr uint32_t kOutputLeft = 2;
constexpr uint32_t kOutputRight = 3;
constexpr uint32_t kFirstParameter = 4;                                // parameter id 0 (Process) .. 16 (LagTime)
constexpr uint32_t kNeedle1 = kFirstParameter + kPlainParameterCount;  // left or mid
constexpr uint32_t kNeedle2 = kNeedle1 + 1;                            // right or side
constexpr uint32_t kOver1 = kNeedle2 + 1;  // 1 over now, 0 seen since the last reset, -1 never
constexpr uint32_t kOver2 = kOver1 + 1;
constexpr uint32_t kCount = kOver2 + 1;

constexpr bool isParameter(uint32_t port) { return port >= kFirstParameter && port < kNeedle1; }
constexpr uint32_t parameterOf(uint32_t port) { return port - kFirstParameter; }

}  // namespace Lv2Port
