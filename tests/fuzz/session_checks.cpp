#include "session_checks.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void fuzzFailure(const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("host session: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
    va_end(arguments);
    std::abort();
}

namespace HostChunk {

// Little-endian, as every build stores the chunk.
float readFloat(const unsigned char *chunk, size_t offset)
{
    uint32_t bits = (uint32_t)chunk[offset] | (uint32_t)chunk[offset + 1] << 8 | (uint32_t)chunk[offset + 2] << 16 |
                    (uint32_t)chunk[offset + 3] << 24;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void writeFloat(unsigned char *chunk, size_t offset, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i)
        chunk[offset + (size_t)i] = (unsigned char)(bits >> (8 * i));
}

int scopeState(const unsigned char *chunk)
{
    float value = readFloat(chunk, kScopeOffset);
    if (!(value >= 0.f))
        value = 0.f;
    if (value > 1.f)
        value = 1.f;
    return (int)(value * 2.f + 0.5f);
}

}  // namespace HostChunk

namespace {

bool inUnitRange(float value) { return value >= 0.f && value <= 1.f; }

}  // namespace

void checkParameters(AEffect *effect, VstInt32 extraIndex)
{
    for (VstInt32 index = 0; index <= 100; ++index) {
        float value = guardedCall("getParameter", [&] { return effect->getParameter(effect, index); });
        if (!inUnitRange(value))
            fuzzFailure("parameter %d reads %g, outside 0..1", (int)index, (double)value);
    }
    float value = guardedCall("getParameter", [&] { return effect->getParameter(effect, extraIndex); });
    if (!inUnitRange(value))
        fuzzFailure("parameter %d reads %g, outside 0..1", (int)extraIndex, (double)value);
}

void checkChunk(const void *data, VstIntPtr size)
{
    if (size != (VstIntPtr)HostChunk::kSize || !data)
        fuzzFailure("effGetChunk answered %ld bytes at %p, not 596", (long)size, data);
    const auto *chunk = static_cast<const unsigned char *>(data);
    if (HostChunk::readFloat(chunk, 0) != HostChunk::kMarker)
        fuzzFailure("chunk marker is %g, not 300", (double)HostChunk::readFloat(chunk, 0));
    if (!std::memchr(chunk + HostChunk::kLabelOffset, 0, HostChunk::kLabelSize))
        fuzzFailure("chunk label is not terminated within its 40 bytes");
    for (size_t offset = HostChunk::kParametersOffset; offset < HostChunk::kSize; offset += 4)
        if (!inUnitRange(HostChunk::readFloat(chunk, offset)))
            fuzzFailure("chunk slot at byte %zu holds %g, outside 0..1", offset,
                        (double)HostChunk::readFloat(chunk, offset));
}

void checkTerminated(const char *text, size_t size, VstInt32 opcode)
{
    if (!std::memchr(text, 0, size))
        fuzzFailure("opcode %d left its %zu-byte text unterminated", (int)opcode, size);
}

void checkFinite(const float *samples, int32_t frames, const char *which)
{
    for (int32_t i = 0; i < frames; ++i)
        if (!std::isfinite(samples[i]))
            fuzzFailure("%s sample %d is %g after a block of finite input", which, (int)i, (double)samples[i]);
}
