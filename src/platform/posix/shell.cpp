#include "platform/shell.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/utf8_text.h"

extern char **environ;

intptr_t systemOpenDocument(void *ownerWindow, const std::wstring &path);
void systemMessageBox(void *ownerWindow, const std::string &text, const std::string &caption);

namespace {

// Where a program named without a path is found: the first executable file of that name in the
// folders of PATH (the shell's default search path without one).
bool findProgram(const char *name, std::string &found)
{
    const char *variable = std::getenv("PATH");
    const std::string folders = variable && variable[0] ? variable : "/usr/local/bin:/usr/bin:/bin";
    for (size_t start = 0; start <= folders.size();) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + name;
        struct stat info;
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
            found = candidate;
            return true;
        }
        start = end + 1;
    }
    return false;
}

// How the child starts: with none of the host's descriptors but the standard three (a host
// opens files and sockets without close-on-exec), with no signal blocked and every signal at its
// default (the host's mask and ignored signals would otherwise pass to the viewer).
struct SpawnSettings {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    bool actionsMade = false;
    bool attributesMade = false;
    bool complete = false;

    SpawnSettings()
    {
        actionsMade = posix_spawn_file_actions_init(&actions) == 0;
        attributesMade = posix_spawnattr_init(&attributes) == 0;
        if (!actionsMade || !attributesMade)
            return;
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        complete = posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
                   posix_spawnattr_setsigdefault(&attributes, &all) == 0 &&
                   posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0 &&
                   closeInheritedDescriptors();
    }
    ~SpawnSettings()
    {
        if (actionsMade)
            posix_spawn_file_actions_destroy(&actions);
        if (attributesMade)
            posix_spawnattr_destroy(&attributes);
    }
    SpawnSettings(const SpawnSettings &) = delete;
    SpawnSettings &operator=(const SpawnSettings &) = delete;
    bool ready() const { return complete; }

private:
    bool closeInheritedDescriptors()
    {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        return posix_spawn_file_actions_addclosefrom_np(&actions, 3) == 0;
#else
        const long limit = ::sysconf(_SC_OPEN_MAX);
        for (int fd = 3; fd < (limit > 0 && limit < 65536 ? limit : 65536); ++fd)
            if (::fcntl(fd, F_GETFD) != -1 && posix_spawn_file_actions_addclose(&actions, fd) != 0)
                return false;
        return true;
#endif
    }
};

}  // namespace

intptr_t systemOpenDocument(void *, const std::wstring &path)
{
    const std::string file = toUtf8(path);
    struct stat info;
    if (file.empty() || ::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return kShellFileNotFound;
    std::string opener;
    if (!findProgram("xdg-open", opener))
        return kShellNoAssociation;  // nothing can open the document

    // The opener runs as the child of a shell that starts it in the background and ends at
    // once: this thread waits only for that shell, never for the viewer, and the viewer, no
    // longer our child, is reaped by the system when it ends, even after this module is gone.
    char shell[] = "/bin/sh";
    char dashC[] = "-c";
    char script[] = "\"$0\" \"$1\" </dev/null >/dev/null 2>&1 &";
    char *argv[] = {shell,  dashC, script, const_cast<char *>(opener.c_str()), const_cast<char *>(file.c_str()),
                    nullptr};
    SpawnSettings settings;
    pid_t child = 0;
    if (!settings.ready() || posix_spawn(&child, shell, &settings.actions, &settings.attributes, argv, environ) != 0)
        return 0;
    int status = 0;
    pid_t done;
    while ((done = ::waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    // A host that reaps every child itself may have taken the status first (ECHILD).
    if (done < 0)
        return 33;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 33 : 0;
}

void systemMessageBox(void *, const std::string &text, const std::string &caption)
{
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
}
