#include "rgb_png.h"

#include <fstream>

#include "ui/png_writer.h"

std::vector<unsigned char> encodeRgbPng(const std::vector<uint32_t> &pixels, int width, int height)
{
    // The rows, each after filter byte 0 (none).
    std::vector<unsigned char> raw;
    raw.reserve((size_t)height * ((size_t)width * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[(size_t)y * (size_t)width + (size_t)x];
            raw.push_back((unsigned char)(p >> 16));
            raw.push_back((unsigned char)(p >> 8));
            raw.push_back((unsigned char)p);
        }
    }
    return VSTGUI::encodeStoredPng(width, height, false, raw);
}

bool writeRgbPng(const std::string &path, const std::vector<uint32_t> &pixels, int width, int height)
{
    if (width <= 0 || height <= 0 || pixels.size() != (size_t)width * (size_t)height)
        return false;
    const std::vector<unsigned char> png = encodeRgbPng(pixels, width, height);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char *>(png.data()), (std::streamsize)png.size());
    return (bool)file;
}
