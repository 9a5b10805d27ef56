#include "platform/png_resource.h"

// Generated at build time from the image files.
extern const PngResourceEntry zemPngResources[];
extern const size_t zemPngResourceCount;

PngBytes findPngResource(int number, int scale)
{
    for (size_t i = 0; i < zemPngResourceCount; ++i)
        if (zemPngResources[i].number == number && zemPngResources[i].scale == scale)
            return PngBytes{zemPngResources[i].data, zemPngResources[i].size};
    return PngBytes{nullptr, 0};
}
