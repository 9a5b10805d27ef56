// The store file holds one line per value: the name, "=", and the value's 4 bytes as 8 hex
// digits in little-endian order (the bytes a Windows registry value of the same name holds).
// Lines that are not ours are kept as they are.
#include "platform/defaults_store.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string storeDirectory()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || !home[0])
            return std::string();
        base = std::string(home) + "/.config";
    }
    return base + "/Velmora";
}

std::string storeFile()
{
    const std::string dir = storeDirectory();
    return dir.empty() ? dir : dir + "/ZEMMETERS300";
}

bool readLines(const std::string &path, std::vector<std::string> &lines)
{
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::string current;
    char buffer[512];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        for (size_t i = 0; i < got; ++i) {
            if (buffer[i] == '\n') {
                lines.push_back(current);
                current.clear();
            } else {
                current.push_back(buffer[i]);
            }
        }
    }
    if (!current.empty())
        lines.push_back(current);
    std::fclose(file);
    return true;
}

bool isLineOf(const std::string &line, const char *name)
{
    const size_t length = std::strlen(name);
    return line.size() > length && line.compare(0, length, name) == 0 && line[length] == '=';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string encodeValue(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    char text[9];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x", bits & 0xff, (bits >> 8) & 0xff, (bits >> 16) & 0xff,
                  (bits >> 24) & 0xff);
    return text;
}

bool decodeValue(const std::string &digits, float &value)
{
    if (digits.size() != 8)
        return false;
    uint32_t bits = 0;
    for (int byte = 0; byte < 4; ++byte) {
        const int high = hexDigit(digits[byte * 2]);
        const int low = hexDigit(digits[byte * 2 + 1]);
        if (high < 0 || low < 0)
            return false;
        bits |= static_cast<uint32_t>(high * 16 + low) << (8 * byte);
    }
    std::memcpy(&value, &bits, 4);
    return true;
}

bool makeDirectories(const std::string &path)
{
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

bool writeAll(int fd, const std::string &data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes the new contents beside the store, forces them to disk, then renames them over it:
// readers see either the old file or the complete new one.
bool replaceStore(const std::vector<std::string> &lines)
{
    const std::string dir = storeDirectory();
    if (dir.empty() || !makeDirectories(dir))
        return false;
    const std::string path = storeFile();
    std::string temp = path + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back(0);
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    std::string data;
    for (const std::string &line : lines)
        data += line + "\n";
    bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(name.data(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(name.data());
        return false;
    }
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace

bool defaultsStoreRead(const char *name, float &value)
{
    std::vector<std::string> lines;
    const std::string path = storeFile();
    if (path.empty() || !readLines(path, lines))
        return false;
    for (const std::string &line : lines) {
        if (isLineOf(line, name)) {
            float read;
            if (!decodeValue(line.substr(std::strlen(name) + 1), read))
                return false;
            value = read;
            return true;
        }
    }
    return false;
}

bool defaultsStoreWrite(const char *name, float value)
{
    std::vector<std::string> lines;
    const std::string path = storeFile();
    if (path.empty())
        return false;
    readLines(path, lines);
    const std::string entry = std::string(name) + "=" + encodeValue(value);
    bool replaced = false;
    for (std::string &line : lines) {
        if (isLineOf(line, name)) {
            line = entry;
            replaced = true;
        }
    }
    if (!replaced)
        lines.push_back(entry);
    return replaceStore(lines);
}

bool defaultsStoreRemove(const char *name)
{
    std::vector<std::string> lines;
    const std::string path = storeFile();
    if (path.empty() || !readLines(path, lines))
        return true;
    std::vector<std::string> kept;
    for (const std::string &line : lines)
        if (!isLineOf(line, name))
            kept.push_back(line);
    if (kept.size() == lines.size())
        return true;
    return replaceStore(kept);
}
