// The per-user defaults file holds "name=value" lines; "ManualPath=" is followed by the manual's
// path in UTF-8 up to the end of the line.
#include "platform/install_dir.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

std::string storeFile()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/Velmora/ZEMMETERS300";
    const char *home = std::getenv("HOME");
    if (!home || !home[0])
        return std::string();
    return std::string(home) + "/.config/Velmora/ZEMMETERS300";
}

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
    const std::string path = storeFile();
    if (path.empty())
        return std::wstring();
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::wstring();
    static const char prefix[] = "ManualPath=";
    std::string line, value;
    bool found = false;
    int c;
    while (!found && (c = std::fgetc(file)) != EOF) {
        if (c != '\n') {
            line.push_back(static_cast<char>(c));
            continue;
        }
        if (line.compare(0, sizeof prefix - 1, prefix) == 0) {
            value = line.substr(sizeof prefix - 1);
            found = true;
        }
        line.clear();
    }
    if (!found && line.compare(0, sizeof prefix - 1, prefix) == 0)
        value = line.substr(sizeof prefix - 1);
    std::fclose(file);
    std::wstring wide = fromUtf8(value);
    if (wide.size() > 1024)
        wide.resize(1024);
    return wide;
}
