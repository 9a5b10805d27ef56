// Memory straight from the system's page allocator, zero on arrival. A page takes real memory
// only when it is first written, so a large buffer that is seldom used costs nothing until then.
// [any-thread]; not for the audio thread (a system call).
#pragma once

#include <cstddef>

// `bytes` zero bytes, aligned to a page; nullptr when the system has none.
void *allocateZeroedPages(size_t bytes);
// Returns what allocateZeroedPages gave, with the same size; nullptr is ignored.
void freeZeroedPages(void *pages, size_t bytes);
