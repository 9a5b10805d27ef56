#include "platform/posix/store_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace store_file {

namespace {

// A home folder from the environment may be missing (hosts started by a service manager) or
// relative (then it would name a folder below whatever the host's working folder is).
std::string homeDirectory()
{
    const char *home = std::getenv("HOME");
    if (home && home[0] == '/')
        return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    struct passwd entry;
    struct passwd *found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return found->pw_dir;
    return std::string();
}

}  // namespace

std::string directory()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config) + "/Velmora";
    const std::string home = homeDirectory();
    return home.empty() ? home : home + "/.config/Velmora";
}

std::string path()
{
    const std::string dir = directory();
    return dir.empty() ? dir : dir + "/ZEMMETERS300";
}

bool read(const std::string &filePath, std::string &contents)
{
    contents.clear();
    if (filePath.empty())
        return false;
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(filePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
              static_cast<unsigned long long>(info.st_size) <= kMaxBytes;
    if (ok) {
        // One byte more than allowed: a file that grew past the limit since fstat is refused.
        std::vector<char> buffer(kMaxBytes + 1);
        size_t got = 0;
        while (got < buffer.size()) {
            const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0)
                break;
            got += static_cast<size_t>(n);
        }
        ok = ok && got <= kMaxBytes;
        if (ok)
            contents.assign(buffer.data(), got);
    }
    ::close(fd);
    return ok;
}

bool findValue(const std::string &contents, const char *name, std::string &value)
{
    const size_t length = std::strlen(name);
    for (size_t start = 0; start < contents.size();) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos)
            end = contents.size();
        if (end - start > length && contents.compare(start, length, name) == 0 && contents[start + length] == '=') {
            value.assign(contents, start + length + 1, end - start - length - 1);
            // A file edited on Windows ends its lines with CRLF.
            while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
                value.pop_back();
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace store_file
