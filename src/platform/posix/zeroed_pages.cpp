#include "platform/zeroed_pages.h"

#include <sys/mman.h>

void *allocateZeroedPages(size_t bytes)
{
    void *pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return pages == MAP_FAILED ? nullptr : pages;
}

void freeZeroedPages(void *pages, size_t bytes)
{
    if (pages)
        munmap(pages, bytes);
}
