// What must hold however a host drives the plug-in. A broken promise prints what broke and
// aborts, so that libFuzzer keeps the input that broke it.
// Thread: the fuzzing thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vst/aeffect.h"

[[noreturn]] void fuzzFailure(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Runs one call into the plug-in; an exception that comes back out of it is a failure.
template <typename Call> auto guardedCall(const char *entry, Call call) -> decltype(call())
{
    try {
        return call();
    } catch (...) {
        fuzzFailure("an exception escaped from %s", entry);
    }
}

namespace HostChunk {
constexpr size_t kSize = 596;
constexpr size_t kLabelOffset = 4;
constexpr size_t kLabelSize = 40;
constexpr size_t kParametersOffset = 44;  // indices 0..63
constexpr size_t kScopeOffset = kParametersOffset + 4 * 2;
constexpr float kMarker = 300.f;
float readFloat(const unsigned char *chunk, size_t offset);
void writeFloat(unsigned char *chunk, size_t offset, float value);
// The scope state the image restores: 0 Global, 1 Session, 2 Instance.
int scopeState(const unsigned char *chunk);
}  // namespace HostChunk

// Every parameter index with a value (0..100) reads within 0..1, and so does one index of the
// caller's choice.
void checkParameters(AEffect *effect, VstInt32 extraIndex);
// An image from effGetChunk: 596 bytes, the marker, a label terminated within its 40 bytes and
// every value within 0..1.
void checkChunk(const void *data, VstIntPtr size);
// A text the plug-in wrote into a host buffer of the interface's size ends within it.
void checkTerminated(const char *text, size_t size, VstInt32 opcode);
// Samples that a block handed back: finite when everything the block was given was finite.
void checkFinite(const float *samples, int32_t frames, const char *which);
