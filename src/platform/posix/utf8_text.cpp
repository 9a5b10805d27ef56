#include "platform/posix/utf8_text.h"

std::string toUtf8(const std::wstring &wide)
{
    std::string text;
    for (wchar_t w : wide) {
        const unsigned long c = static_cast<unsigned long>(w);
        if (c < 0x80) {
            text.push_back(char(c));
        } else if (c < 0x800) {
            text.push_back(char(0xC0 | (c >> 6)));
            text.push_back(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            text.push_back(char(0xE0 | (c >> 12)));
            text.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            text.push_back(char(0x80 | (c & 0x3F)));
        } else {
            text.push_back(char(0xF0 | (c >> 18)));
            text.push_back(char(0x80 | ((c >> 12) & 0x3F)));
            text.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            text.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return text;
}
