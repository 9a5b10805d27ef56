// The layout of the host chunk: 149 four-byte slots, every number an IEEE-754 single-precision
// float in little-endian byte order, the same for all builds. [any-thread] (pure functions)
#pragma once

#include <cstddef>

namespace EffectChunk {

constexpr size_t kSize = 596;
constexpr float kMarker = 300.f;
constexpr size_t kMarkerOffset = 0;
constexpr size_t kLabelOffset = 4;
constexpr size_t kLabelSize = 40;
constexpr size_t kParametersOffset = 44;      // indices 0..63
constexpr size_t kMeterSettingsOffset = 300;  // 72..81, then 83..91, then 93..100

void writeFloat(unsigned char *chunk, size_t offset, float value);
float readFloat(const unsigned char *chunk, size_t offset);

}  // namespace EffectChunk
