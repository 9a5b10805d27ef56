#include "platform/zeroed_pages.h"

#include <windows.h>

void *allocateZeroedPages(size_t bytes)
{
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void freeZeroedPages(void *pages, size_t)
{
    if (pages)
        VirtualFree(pages, 0, MEM_RELEASE);
}
