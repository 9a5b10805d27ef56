// The per-user defaults file holds "name=value" lines; "ManualPath=" is followed by the manual's
// path in UTF-8 up to the end of the line.
#include "platform/install_dir.h"

#include <cwchar>

#include "platform/posix/store_file.h"

namespace {

// UTF-8 to UTF-32; an invalid sequence ends the text.
std::wstring fromUtf8(const std::string &text)
{
    std::wstring wide;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            break;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return wide;
            code = code << 6 | (next & 0x3F);
        }
        wide.push_back(static_cast<wchar_t>(code));
        i += length;
    }
    return wide;
}

} // namespace

std::wstring readManualPath()
{
    // The same bounded, non-blocking read as the meter defaults: the file may be anything.
    std::string contents, value;
    if (!store_file::read(store_file::path(), contents) || !store_file::findValue(contents, "ManualPath", value))
        return std::wstring();
    std::wstring wide = fromUtf8(value);
    if (wide.size() > 1024)
        wide.resize(1024);
    return wide;
}
