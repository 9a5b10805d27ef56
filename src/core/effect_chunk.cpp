#include "effect_chunk.h"

#include <cstdint>
#include <cstring>

namespace EffectChunk {

void writeFloat(unsigned char *chunk, size_t offset, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    for (size_t i = 0; i < 4; ++i)
        chunk[offset + i] = (unsigned char)(bits >> (8 * i));
}

float readFloat(const unsigned char *chunk, size_t offset)
{
    uint32_t bits = 0;
    for (size_t i = 0; i < 4; ++i)
        bits |= (uint32_t)chunk[offset + i] << (8 * i);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

}  // namespace EffectChunk
