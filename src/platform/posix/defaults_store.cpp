// The store file holds one line per value: the name, "=", and the value's 4 bytes as 8 hex
// digits in little-endian order (the bytes a Windows registry value of the same name holds).
// Lines that are not ours are kept as they are.
//
// Writers take an advisory lock (flock) on the sibling file "ZEMMETERS300.lock" for the whole
// read-modify-replace, so two processes storing at once never drop each other's values. A writer
// that cannot have the lock within about 200 ms skips its write as a failed write is skipped. The new
// contents go to a temporary file beside the store ("ZEMMETERS300.XXXXXX"), are forced to disk
// and renamed over it; a temporary left by a writer that crashed is removed by the next writer,
// which holds the lock and so knows that no temporary belongs to a live writer.
#include "platform/defaults_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "platform/posix/store_file.h"

namespace {

const char kStoreName[] = "ZEMMETERS300";
const char kLockSuffix[] = ".lock";
constexpr size_t kTemporarySuffixLength = 6;  // the XXXXXX of mkostemp

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

bool isLineOf(const std::string &line, const char *name)
{
    const size_t length = std::strlen(name);
    return line.size() > length && line.compare(0, length, name) == 0 && line[length] == '=';
}

std::vector<std::string> splitLines(const std::string &contents)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start < contents.size();) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos)
            end = contents.size();
        lines.emplace_back(contents, start, end - start);
        start = end + 1;
    }
    return lines;
}

bool makeDirectories(const std::string &path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
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

// How long a writer waits for the lock before it gives up: the store is written from the host's
// UI thread, and a lock held by a stuck process (another host, a backup tool) must not freeze it.
constexpr long kLockWaitMilliseconds = 200;
// The longest sleep between two tries, for holders whose letting go wakes no watch (below).
constexpr long kLockRetryMilliseconds = 10;

long millisecondsSince(const struct timespec &start)
{
    struct timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
}

// The exclusive advisory lock of all writers of one store, held while the object lives; never
// waited for longer than kLockWaitMilliseconds.
class WriterLock {
public:
    explicit WriterLock(const std::string &directory)
    {
        const std::string path = directory + "/" + kStoreName + kLockSuffix;
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        if (fd_ < 0)
            return;
        if (tryLock() || errno != EWOULDBLOCK)
            return;
        // Only non-blocking tries: flock has no timed wait. Between tries the writer sleeps on a
        // watch of the lock file, which wakes it as soon as the holder closes the file (and so
        // lets go); a writer that only slept would lose almost every race against a holder that
        // writes again at once (as two processes storing many values do).
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (watch >= 0 && ::inotify_add_watch(watch, path.c_str(), IN_CLOSE) < 0) {
            ::close(watch);
            watch_ = -1;
        } else {
            watch_ = watch;
        }
        struct timespec start;
        ::clock_gettime(CLOCK_MONOTONIC, &start);
        for (long waited = 0; waited < kLockWaitMilliseconds; waited = millisecondsSince(start)) {
            sleepUntilClosed(std::min(kLockRetryMilliseconds, kLockWaitMilliseconds - waited));
            if (tryLock() || errno != EWOULDBLOCK)
                break;
        }
    }
    ~WriterLock()
    {
        if (watch_ >= 0)
            ::close(watch_);
        if (fd_ < 0)
            return;
        // Let go before closing: closing wakes the waiters' watches before the kernel drops
        // the lock of a closed file, and a waiter woken that early finds the lock still held.
        if (held_)
            ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    WriterLock(const WriterLock &) = delete;
    WriterLock &operator=(const WriterLock &) = delete;
    bool held() const { return held_; }

private:
    bool tryLock()
    {
        int result;
        do
            result = ::flock(fd_, LOCK_EX | LOCK_NB);
        while (result != 0 && errno == EINTR);
        held_ = result == 0;
        return held_;
    }
    // Sleeps until the lock file is closed by anyone or the time is up.
    void sleepUntilClosed(long milliseconds)
    {
        if (watch_ < 0) {
            struct timespec pause = {0, milliseconds * 1000000};
            ::nanosleep(&pause, nullptr);
            return;
        }
        struct pollfd ready = {watch_, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(milliseconds)) > 0) {
            alignas(struct inotify_event) char events[4096];
            while (::read(watch_, events, sizeof events) > 0) {
            }
        }
    }

    int fd_ = -1;
    int watch_ = -1;
    bool held_ = false;
};

bool isTemporaryOf(const char *entry, const std::string &base)
{
    if (std::strncmp(entry, base.c_str(), base.size()) != 0 || entry[base.size()] != '.')
        return false;
    const char *suffix = entry + base.size() + 1;
    if (std::strlen(suffix) != kTemporarySuffixLength)
        return false;
    for (const char *c = suffix; *c; ++c)
        if (!((*c >= '0' && *c <= '9') || (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z')))
            return false;
    return true;
}

// Called with the lock held: every temporary of this store is a crashed writer's leftover.
void removeStaleTemporaries(const std::string &directory, const std::string &base)
{
    DIR *dir = ::opendir(directory.c_str());
    if (!dir)
        return;
    while (const struct dirent *entry = ::readdir(dir))
        if (isTemporaryOf(entry->d_name, base))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    ::closedir(dir);
}

// The file the contents go to: the store itself, or the regular file its symbolic link leads
// to, so that a store kept elsewhere (a dotfiles folder) stays linked. A link to anything else
// (a device, a folder, nothing) is not written through.
bool resolveTarget(const std::string &path, std::string &target)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        target = path;
        return true;
    }
    char *resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return false;
    target = resolved;
    std::free(resolved);
    return ::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Writes the new contents beside the target, forces them to disk, then renames them over it:
// readers see either the old file or the complete new one.
bool replaceFile(const std::string &target, const std::string &data)
{
    const size_t slash = target.rfind('/');
    const std::string dir = target.substr(0, slash);
    const std::string base = target.substr(slash + 1);
    removeStaleTemporaries(dir, base);
    std::string temp = target + "." + std::string(kTemporarySuffixLength, 'X');
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back(0);
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat old;
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(name.data(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(name.data());
        return false;
    }
    const int dirFd = ::open(dir.empty() ? "/" : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

// One locked read-modify-replace of the store: the given values are set, the named ones removed.
bool updateStore(const StoredDefault *values, size_t count, const char *removed)
{
    const std::string dir = store_file::directory();
    if (dir.empty() || !makeDirectories(dir))
        return false;
    WriterLock lock(dir);
    if (!lock.held())
        return false;
    std::string target;
    if (!resolveTarget(dir + "/" + kStoreName, target))
        return false;
    std::string contents;
    store_file::read(target, contents);  // a store that is not a readable file is replaced
    std::vector<std::string> lines = splitLines(contents);
    std::vector<bool> written(count, false);
    bool changed = false;
    std::string data;
    for (const std::string &line : lines) {
        if (removed && isLineOf(line, removed)) {
            changed = true;
            continue;
        }
        std::string kept = line;
        for (size_t i = 0; i < count; ++i) {
            if (isLineOf(line, values[i].name)) {
                kept = std::string(values[i].name) + "=" + encodeValue(values[i].value);
                written[i] = true;
                changed = true;
            }
        }
        data += kept + "\n";
    }
    for (size_t i = 0; i < count; ++i) {
        if (!written[i]) {
            data += std::string(values[i].name) + "=" + encodeValue(values[i].value) + "\n";
            changed = true;
        }
    }
    return !changed || replaceFile(target, data);
}

}  // namespace

void defaultsStoreReadAll(StoredDefault *values, size_t count)
{
    std::string contents;
    const bool readable = store_file::read(store_file::path(), contents);
    for (size_t i = 0; i < count; ++i) {
        values[i].found = false;
        std::string digits;
        float read;
        if (readable && store_file::findValue(contents, values[i].name, digits) && decodeValue(digits, read)) {
            values[i].value = read;
            values[i].found = true;
        }
    }
}

bool defaultsStoreWriteAll(const StoredDefault *values, size_t count) { return updateStore(values, count, nullptr); }

bool defaultsStoreRead(const char *name, float &value)
{
    StoredDefault entry = {name, value, false};
    defaultsStoreReadAll(&entry, 1);
    if (entry.found)
        value = entry.value;
    return entry.found;
}

bool defaultsStoreWrite(const char *name, float value)
{
    const StoredDefault entry = {name, value, false};
    return updateStore(&entry, 1, nullptr);
}

bool defaultsStoreRemove(const char *name)
{
    std::string contents, value;
    if (!store_file::read(store_file::path(), contents) || !store_file::findValue(contents, name, value))
        return true;
    return updateStore(nullptr, 0, name);
}
