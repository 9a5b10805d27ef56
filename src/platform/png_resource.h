// PNG images of the plug-in, addressed by resource number and scale. [any-thread] (read-only data)
#pragma once

#include <cstddef>

// Besides its 1x image, every image has a set at each of these scales, exactly that many times
// as wide and as high (resources/png/NNNNN@2x.png): the editor draws from them when zoomed. The
// artwork generator draws them and the resource embedding reads this line.
inline constexpr int kPngHigherScales[] = {2, 3};

struct PngBytes {
    const unsigned char *data;
    size_t size;
};

// The bytes of the PNG image with that number at that scale (1 or one of kPngHigherScales)
// inside the plug-in's own module; {nullptr, 0} when there is none. The bytes stay valid while
// the module is loaded.
PngBytes findPngResource(int number, int scale = 1);

// Builds without module resources carry their images in a table generated at build time.
struct PngResourceEntry {
    int number;
    int scale;
    const unsigned char *data;
    size_t size;
};
