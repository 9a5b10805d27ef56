// The manual opener on POSIX systems, with a stand-in for xdg-open first on the PATH: a script
// that records the descriptors it was given and then waits until the test lets it go. The host
// process's descriptors never reach it, the call returns while it still runs, and no child of
// the host is left behind.
#ifndef _WIN32

#include <gtest/gtest.h>

#include "support/file_contents.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <ftw.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>

#include "platform/shell.h"

namespace {

int removeEntry(const char *path, const struct stat *, int, struct FTW *) { return ::remove(path); }

bool exists(const std::string &path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

void pause(int milliseconds)
{
    struct timespec time = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    ::nanosleep(&time, nullptr);
}

class ManualOpener : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zem-opener.XXXXXX";
        const char *made = ::mkdtemp(pattern);
        ASSERT_NE(made, nullptr);
        dir_ = made;
        const std::string script = dir_ + "/xdg-open";
        FILE *file = std::fopen(script.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fprintf(file,
                     "#!/bin/sh\n"
                     "for f in /proc/$$/fd/*; do readlink \"$f\"; done > '%s/fds.part'; mv '%s/fds.part' '%s/fds'\n"
                     "while [ ! -e '%s/release' ]; do sleep 0.02; done\n"
                     "echo \"$1\" > '%s/done'\n",
                     dir_.c_str(), dir_.c_str(), dir_.c_str(), dir_.c_str(), dir_.c_str());
        std::fclose(file);
        ::chmod(script.c_str(), 0755);
        document_ = dir_ + "/manual.pdf";
        FILE *pdf = std::fopen(document_.c_str(), "w");
        ASSERT_NE(pdf, nullptr);
        std::fclose(pdf);
        const char *path = std::getenv("PATH");
        oldPath_ = path ? path : "";
        ::setenv("PATH", (dir_ + ":" + oldPath_).c_str(), 1);
    }
    void TearDown() override
    {
        ::setenv("PATH", oldPath_.c_str(), 1);
        release();
        for (int waited = 0; waited < 500 && !exists(dir_ + "/done"); ++waited)
            pause(10);
        ::nftw(dir_.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    void release()
    {
        if (FILE *file = std::fopen((dir_ + "/release").c_str(), "w"))
            std::fclose(file);
    }
    std::wstring document() const { return std::wstring(document_.begin(), document_.end()); }

    std::string dir_, document_, oldPath_;
};

}  // namespace

TEST_F(ManualOpener, TheViewerGetsNoneOfTheHostsDescriptorsAndTheCallDoesNotWaitForIt)
{
    // A descriptor as hosts open them: without close-on-exec.
    const std::string hostPath = dir_ + "/host-project.file";
    const int hostFile = ::open(hostPath.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(hostFile, 3);
    // Let the opener go after a while, in case the call waits for it.
    std::atomic<bool> released{false};
    std::thread watchdog([&] {
        for (int waited = 0; waited < 300 && !exists(dir_ + "/fds"); ++waited)
            pause(10);
        pause(1500);
        released = true;
        release();
    });
    const intptr_t answer = shellOpenDocument(nullptr, document());
    const bool returnedWhileTheViewerRan = !released.load();
    watchdog.join();
    ::close(hostFile);

    EXPECT_GT(answer, kShellSuccessAbove);
    EXPECT_TRUE(returnedWhileTheViewerRan) << "the UI thread waited for the viewer";
    for (int waited = 0; waited < 500 && !exists(dir_ + "/fds"); ++waited)
        pause(10);
    const std::string fds = fileContents(dir_ + "/fds");
    ASSERT_FALSE(fds.empty());
    EXPECT_EQ(fds.find(hostPath), std::string::npos) << "the host's descriptor " << hostFile << " reached the viewer";
    for (int waited = 0; waited < 500 && !exists(dir_ + "/done"); ++waited)
        pause(10);
    EXPECT_EQ(fileContents(dir_ + "/done"), document_ + "\n");
    // The viewer has ended: nothing of it is left for the host to reap.
    pause(50);
    int status = 0;
    errno = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(ManualOpener, WithoutAnOpenerNoProgramIsAssociated)
{
    ::setenv("PATH", (dir_ + "/nothing-here").c_str(), 1);
    EXPECT_EQ(shellOpenDocument(nullptr, document()), kShellNoAssociation);
    EXPECT_EQ(shellOpenDocument(nullptr, L"/nonexistent/manual.pdf"), kShellFileNotFound);
}

#endif
