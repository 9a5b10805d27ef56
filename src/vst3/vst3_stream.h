// Whole blocks through a VST 3 host's streams, which may move fewer bytes per call than asked,
// answer success with fewer bytes at the end, or refuse seek and tell: sequential calls only,
// success judged by the byte counts. [ui-thread] (the thread of the save or load call)
#pragma once

#include <cstddef>

#include "vst3/vst3_interface.h"

// Writes all size bytes; false on an error, or when the stream takes nothing (no endless loop).
bool writeWhole(vst3::IBStream *stream, const void *data, size_t size);

struct Vst3StreamRead {
    size_t bytes = 0;     // read into the buffer, at most its capacity
    bool longer = false;  // the stream had more than the capacity
    bool failed = false;  // the stream reported an error
};
// Reads until the stream ends, fails or holds more than capacity bytes (one byte more is read
// to know that, and not kept).
Vst3StreamRead readUpTo(vst3::IBStream *stream, void *buffer, size_t capacity);
