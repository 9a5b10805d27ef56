#include "clap/clap_stream.h"

bool writeWhole(const clap_ostream_t *stream, const void *data, size_t size)
{
    if (!stream || !stream->write)
        return false;
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    size_t done = 0;
    while (done < size) {
        const int64_t written = stream->write(stream, bytes + done, (uint64_t)(size - done));
        if (written <= 0 || (uint64_t)written > (uint64_t)(size - done))
            return false;
        done += (size_t)written;
    }
    return true;
}

StreamRead readUpTo(const clap_istream_t *stream, void *buffer, size_t capacity)
{
    StreamRead result;
    if (!stream || !stream->read) {
        result.failed = true;
        return result;
    }
    unsigned char *bytes = static_cast<unsigned char *>(buffer);
    for (;;) {
        unsigned char extra = 0;
        const bool full = result.bytes == capacity;
        unsigned char *into = full ? &extra : bytes + result.bytes;
        const uint64_t asked = full ? 1u : (uint64_t)(capacity - result.bytes);
        const int64_t got = stream->read(stream, into, asked);
        if (got == 0)
            return result;
        if (got < 0 || (uint64_t)got > asked) {
            result.failed = true;
            return result;
        }
        if (full) {
            result.longer = true;
            return result;
        }
        result.bytes += (size_t)got;
    }
}
