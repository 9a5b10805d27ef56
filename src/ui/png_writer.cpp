#include "png_writer.h"

#include <cstdint>
#include <cstdio>

#include "bitmap.h"

namespace VSTGUI {

namespace {

uint32_t crc32(const unsigned char *data, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void put32(std::vector<unsigned char> &out, uint32_t v)
{
    out.push_back((unsigned char)(v >> 24));
    out.push_back((unsigned char)(v >> 16));
    out.push_back((unsigned char)(v >> 8));
    out.push_back((unsigned char)v);
}

void chunk(std::vector<unsigned char> &out, const char *type, const std::vector<unsigned char> &body)
{
    put32(out, (uint32_t)body.size());
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    put32(out, crc32(out.data() + start, out.size() - start));
}

}  // namespace

std::vector<unsigned char> encodeStoredPng(int width, int height, bool withAlpha, const std::vector<unsigned char> &raw)
{
    // zlib stream of stored deflate blocks.
    std::vector<unsigned char> z{0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back((unsigned char)(n & 255));
        z.push_back((unsigned char)(n >> 8));
        z.push_back((unsigned char)(~n & 255));
        z.push_back((unsigned char)((~n >> 8) & 255));
        z.insert(z.end(), raw.begin() + (long)pos, raw.begin() + (long)(pos + n));
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put32(z, (b << 16) | a);

    std::vector<unsigned char> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    put32(header, (uint32_t)width);
    put32(header, (uint32_t)height);
    // 8 bits, RGBA or RGB, deflate, no filter method, no interlace.
    header.insert(header.end(), {8, (unsigned char)(withAlpha ? 6 : 2), 0, 0, 0});
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", {});
    return out;
}

std::vector<unsigned char> encodePng(const CBitmap &bitmap)
{
    const int width = (int)bitmap.getWidth(), height = (int)bitmap.getHeight();
    std::vector<unsigned char> raw;
    raw.reserve((size_t)height * (size_t)(width * 4 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; ++x) {
            CColor c;
            bitmap.getPixel(x, y, c);
            raw.push_back(c.red);
            raw.push_back(c.green);
            raw.push_back(c.blue);
            raw.push_back(c.alpha);
        }
    }
    return encodeStoredPng(width, height, true, raw);
}

bool writePng(const CBitmap &bitmap, const std::string &path)
{
    if (!bitmap.isLoaded())
        return false;
    std::vector<unsigned char> bytes = encodePng(bitmap);
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace VSTGUI
