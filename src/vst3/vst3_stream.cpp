#include "vst3/vst3_stream.h"

#include <climits>

using namespace vst3;

bool writeWhole(IBStream *stream, const void *data, size_t size)
{
    if (!stream)
        return false;
    unsigned char *bytes = static_cast<unsigned char *>(const_cast<void *>(data));  // the interface takes void*
    size_t done = 0;
    while (done < size) {
        const size_t left = size - done;
        const int32_t asked = left > (size_t)INT32_MAX ? INT32_MAX : (int32_t)left;
        int32_t written = 0;
        const tresult result = stream->write(bytes + done, asked, &written);
        if (result != kResultOk || written <= 0 || written > asked)
            return false;
        done += (size_t)written;
    }
    return true;
}

Vst3StreamRead readUpTo(IBStream *stream, void *buffer, size_t capacity)
{
    Vst3StreamRead result;
    if (!stream) {
        result.failed = true;
        return result;
    }
    unsigned char *bytes = static_cast<unsigned char *>(buffer);
    for (;;) {
        unsigned char extra = 0;
        const bool full = result.bytes == capacity;
        unsigned char *into = full ? &extra : bytes + result.bytes;
        const size_t left = capacity - result.bytes;
        const int32_t asked = full ? 1 : left > (size_t)INT32_MAX ? INT32_MAX : (int32_t)left;
        int32_t got = 0;
        const tresult answer = stream->read(into, asked, &got);
        if (got < 0 || got > asked) {
            result.failed = true;
            return result;
        }
        if (got == 0) {
            // The end, as most streams answer it (success with no bytes), or a refusal.
            result.failed = answer != kResultOk && answer != kResultFalse;
            return result;
        }
        if (full) {
            result.longer = true;
            return result;
        }
        result.bytes += (size_t)got;
        if (answer != kResultOk) {
            result.failed = answer != kResultFalse;
            return result;
        }
    }
}
