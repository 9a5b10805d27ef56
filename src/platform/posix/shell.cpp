#include "platform/shell.h"

#include <cstdio>
#include <cstdlib>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

intptr_t systemOpenDocument(void *ownerWindow, const std::wstring &path);
void systemMessageBox(void *ownerWindow, const std::string &text, const std::string &caption);

namespace {

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

} // namespace

intptr_t systemOpenDocument(void *, const std::wstring &path)
{
    const std::string file = toUtf8(path);
    struct stat info;
    if (file.empty() || ::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return kShellFileNotFound;
    char program[] = "xdg-open";
    char *argv[] = {program, const_cast<char *>(file.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0)
        return kShellNoAssociation; // no xdg-open: nothing can open the document
    // xdg-open answers at once on desktops that hand the file over; where it runs the viewer
    // itself, a viewer still open after two seconds counts as success.
    for (int waited = 0; waited < 40; ++waited) {
        int status = 0;
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) {
            if (!WIFEXITED(status))
                return 0;
            switch (WEXITSTATUS(status)) {
            case 0: return 33;
            case 2: return kShellFileNotFound;
            case 3: return kShellNoAssociation;
            case 127: return kShellNoAssociation;
            default: return 0;
            }
        }
        if (done < 0)
            return 0;
        struct timespec pause = {0, 50 * 1000 * 1000};
        ::nanosleep(&pause, nullptr);
    }
    // The viewer stays a child of the host until the host reaps it or exits; no thread of this
    // module waits for it, because the module may be unloaded before the viewer closes.
    return 33;
}

void systemMessageBox(void *, const std::string &text, const std::string &caption)
{
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
}
