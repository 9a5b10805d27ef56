#include "rgb_png.h"

#include <algorithm>
#include <fstream>

namespace {

uint32_t crc32Of(const unsigned char *bytes, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void put32(std::vector<unsigned char> &out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back((unsigned char)(value >> shift));
}

void chunk(std::vector<unsigned char> &out, const char *type, const std::vector<unsigned char> &data)
{
    put32(out, (uint32_t)data.size());
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32Of(out.data() + start, out.size() - start));
}

}  // namespace

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
    // A zlib stream of stored blocks, with its Adler-32 sum.
    std::vector<unsigned char> zlib{0x78, 0x01};
    for (size_t at = 0; at < raw.size() || at == 0;) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        const bool last = at + n == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back((unsigned char)n);
        zlib.push_back((unsigned char)(n >> 8));
        zlib.push_back((unsigned char)~n);
        zlib.push_back((unsigned char)(~n >> 8));
        zlib.insert(zlib.end(), raw.begin() + (long)at, raw.begin() + (long)(at + n));
        at += n;
        if (last)
            break;
    }
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put32(zlib, (b << 16) | a);

    std::vector<unsigned char> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    put32(header, (uint32_t)width);
    put32(header, (uint32_t)height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter method, no interlace
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", zlib);
    chunk(png, "IEND", {});
    return png;
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
