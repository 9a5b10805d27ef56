// PNG images of the plug-in, addressed by resource number. [any-thread] (read-only data)
#pragma once

#include <cstddef>

struct PngBytes {
    const unsigned char *data;
    size_t size;
};

// The bytes of the PNG image with that number inside the plug-in's own module;
// {nullptr, 0} when there is none. The bytes stay valid while the module is loaded.
PngBytes findPngResource(int number);

// Builds without module resources carry their images in a table generated at build time.
struct PngResourceEntry {
    int number;
    const unsigned char *data;
    size_t size;
};
