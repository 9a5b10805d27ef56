// The per-user defaults file holds "name=value" lines; "ManualPath=" is followed by the manual's
// path in UTF-8 up to the end of the line.
#include "platform/install_dir.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <dlfcn.h>
#include <sys/stat.h>

#include "platform/posix/store_file.h"
#include "platform/posix/utf8_text.h"

namespace {

// UTF-8 to UTF-32; an invalid sequence ends the text.
std::wstring fromUtf8(const std::string &text)
{
    std::wstring wide;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x6  ? 2
                           : (lead >> 4) == 0xE  ? 3
                           : (lead >> 3) == 0x1E ? 4
                                                 : 0;
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

// The file mapped at the address, from the process's own map list, which always names it by
// its absolute path (the loader keeps the name a host passed, which may be relative).
std::string mappedFileAt(const void *address)
{
    std::string found;
    FILE *maps = std::fopen("/proc/self/maps", "re");
    if (!maps)
        return found;
    const unsigned long at = reinterpret_cast<unsigned long>(address);
    char line[4096 + 256];
    while (found.empty() && std::fgets(line, sizeof line, maps)) {
        unsigned long start = 0, end = 0;
        if (std::sscanf(line, "%lx-%lx", &start, &end) != 2 || at < start || at >= end)
            continue;
        if (const char *path = std::strchr(line, '/')) {
            found = path;
            while (!found.empty() && (found.back() == '\n' || found.back() == '\r'))
                found.pop_back();
        }
        break;
    }
    std::fclose(maps);
    return found;
}

}  // namespace

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

std::wstring pluginModuleFolder()
{
    const void *self = reinterpret_cast<const void *>(&pluginModuleFolder);
    Dl_info info = {};
    std::string file;
    if (::dladdr(self, &info) && info.dli_fname && info.dli_fname[0] == '/')
        file = info.dli_fname;
    else
        file = mappedFileAt(self);
    const size_t slash = file.rfind('/');
    if (file.empty() || file[0] != '/' || slash == std::string::npos)
        return std::wstring();
    return fromUtf8(file.substr(0, slash + 1));
}

std::wstring packageShareFolder() { return packageShareFolderOf(pluginModuleFolder()); }

bool isAbsolutePath(const std::wstring &path) { return !path.empty() && path[0] == L'/'; }

bool isExistingFile(const std::wstring &path)
{
    struct stat info;
    return isAbsolutePath(path) && ::stat(toUtf8(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}
