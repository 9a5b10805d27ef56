// Whole blocks through a CLAP host's streams, which may take or give fewer bytes per call than
// asked. [main-thread] (the thread of the save or load call)
#pragma once

#include <cstddef>

#include "clap/clap_interface.h"

// Writes all size bytes; false on an error, or when the stream takes nothing (no endless loop).
bool writeWhole(const clap_ostream_t *stream, const void *data, size_t size);

struct StreamRead {
    size_t bytes = 0;     // read into the buffer, at most its capacity
    bool longer = false;  // the stream had more than the capacity
    bool failed = false;  // the stream reported an error
};
// Reads until the stream ends, fails or holds more than capacity bytes (one byte more is read
// to know that, and not kept).
StreamRead readUpTo(const clap_istream_t *stream, void *buffer, size_t capacity);
