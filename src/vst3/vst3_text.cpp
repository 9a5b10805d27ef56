#include "vst3/vst3_text.h"

#include <cstdint>

namespace {

// The next code point of UTF-8 text at *position; a malformed sequence reads as U+FFFD, one byte.
uint32_t nextCodePoint(const unsigned char *text, size_t &position)
{
    const unsigned char lead = text[position];
    int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    uint32_t code = length == 1 ? lead : length == 2 ? lead & 0x1Fu : length == 3 ? lead & 0x0Fu : lead & 0x07u;
    for (int i = 1; i < length; ++i) {
        const unsigned char next = text[position + (size_t)i];
        if ((next >> 6) != 2) {
            length = 0;
            break;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    if (length == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++position;
        return 0xFFFD;
    }
    position += (size_t)length;
    return code;
}

void appendUtf8(std::string &out, uint32_t code)
{
    if (code < 0x80) {
        out += (char)code;
    } else if (code < 0x800) {
        out += (char)(0xC0 | (code >> 6));
        out += (char)(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += (char)(0xE0 | (code >> 12));
        out += (char)(0x80 | ((code >> 6) & 0x3F));
        out += (char)(0x80 | (code & 0x3F));
    } else {
        out += (char)(0xF0 | (code >> 18));
        out += (char)(0x80 | ((code >> 12) & 0x3F));
        out += (char)(0x80 | ((code >> 6) & 0x3F));
        out += (char)(0x80 | (code & 0x3F));
    }
}

}  // namespace

void toUtf16(const char *text, char16_t *destination, size_t capacity)
{
    if (!destination || capacity == 0)
        return;
    size_t written = 0;
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(text ? text : "");
    size_t position = 0;
    while (bytes[position]) {
        const uint32_t code = nextCodePoint(bytes, position);
        const size_t units = code < 0x10000 ? 1 : 2;
        if (written + units > capacity - 1)
            break;
        if (units == 1) {
            destination[written++] = (char16_t)code;
        } else {
            destination[written++] = (char16_t)(0xD800 + ((code - 0x10000) >> 10));
            destination[written++] = (char16_t)(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    destination[written] = 0;
}

std::string fromUtf16(const char16_t *text, size_t limit)
{
    std::string out;
    if (!text)
        return out;
    for (size_t i = 0; i < limit && text[i]; ++i) {
        uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < limit && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (uint32_t)(text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        appendUtf8(out, code);
    }
    return out;
}
