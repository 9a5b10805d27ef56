// The per-user store file as a hostile or careless system leaves it: a FIFO, a link to a device,
// a folder, a huge file, a missing or relative home, a crashed writer's temporary, a store kept
// behind a symbolic link, and two processes writing at once. Loading never waits and never
// reads more than a store can hold; writing never loses another writer's values.
// Every case runs in a store of its own, in a child process watched by a watchdog, so that a
// load that hangs fails the test instead of stopping the suite.
#ifndef _WIN32

#include <gtest/gtest.h>

#include "support/file_contents.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <ftw.h>
#include <functional>
#include <pwd.h>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "core/loaded_plugin.h"
#include "meters/meter_settings.h"
#include "platform/defaults_store.h"
#include "platform/install_dir.h"
#include "platform/posix/store_file.h"

namespace {

constexpr int kHung = -1;

// Runs body in a child process and answers its exit code; kHung when it has not finished
// within the watchdog's time (the child is then killed). Generous: this is not a speed test.
int runWatched(const std::function<int()> &body, int seconds = 30)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    if (child < 0)
        return -2;
    for (int waited = 0; waited < seconds * 100; ++waited) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -3;
        struct timespec pause = {0, 10 * 1000 * 1000};
        ::nanosleep(&pause, nullptr);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return kHung;
}

int removeEntry(const char *path, const struct stat *, int, struct FTW *) { return ::remove(path); }

void writeFile(const std::string &path, const std::string &data)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(data.data(), 1, data.size(), file);
    std::fclose(file);
}

// A configuration folder of the test's own; the environment points at it while the test runs.
class HostileStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zem-hostile-store.XXXXXX";
        const char *made = ::mkdtemp(pattern);
        ASSERT_NE(made, nullptr);
        base_ = made;
        saveVariable("XDG_CONFIG_HOME", hadConfig_, config_);
        saveVariable("HOME", hadHome_, home_);
        ::setenv("XDG_CONFIG_HOME", base_.c_str(), 1);
        ASSERT_EQ(::mkdir(folder().c_str(), 0700), 0);
    }
    void TearDown() override
    {
        restoreVariable("XDG_CONFIG_HOME", hadConfig_, config_);
        restoreVariable("HOME", hadHome_, home_);
        ::nftw(base_.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
        loadDefaults();  // the sets as the suite's own store holds them
    }
    std::string folder() const { return base_ + "/Velmora"; }
    std::string store() const { return folder() + "/ZEMMETERS300"; }

    // In a child: the defaults load (and the manual path is read) from whatever the store is;
    // exit 0 when every value is the built-in default and no manual path was found.
    static int loadGivesBuiltInDefaults()
    {
        loadDefaults();
        const bool defaults = globalMeterSettings.vu.get(83) == 0.25f && sessionMeterSettings.ppm.get(93) == 0.5f &&
                              globalMeterSettings.rms.get(72) == 0.667f;
        return defaults && readManualPath().empty() ? 0 : 1;
    }
    // In a child: storing the defaults neither hangs nor touches anything but a regular store.
    static int storeAnswers()
    {
        storeDefaults({kMeterTypeRMS, kMeterTypeVU, kMeterTypePPM});
        return 0;
    }

    std::string base_;

private:
    static void saveVariable(const char *name, bool &had, std::string &value)
    {
        const char *old = std::getenv(name);
        had = old != nullptr;
        value = old ? old : "";
    }
    static void restoreVariable(const char *name, bool had, const std::string &value)
    {
        if (had)
            ::setenv(name, value.c_str(), 1);
        else
            ::unsetenv(name);
    }
    bool hadConfig_ = false, hadHome_ = false;
    std::string config_, home_;
};

}  // namespace

TEST_F(HostileStoreTest, AFifoLoadsTheDefaultsAndIsReplacedByAStore)
{
    ASSERT_EQ(::mkfifo(store().c_str(), 0600), 0);
    EXPECT_EQ(runWatched(loadGivesBuiltInDefaults), 0);
    EXPECT_EQ(runWatched(storeAnswers), 0);
    struct stat info;
    ASSERT_EQ(::stat(store().c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
}

TEST_F(HostileStoreTest, ALinkToADeviceLoadsTheDefaultsAndIsNeverWrittenThrough)
{
    ASSERT_EQ(::symlink("/dev/zero", store().c_str()), 0);
    EXPECT_EQ(runWatched(loadGivesBuiltInDefaults), 0);
    EXPECT_EQ(runWatched(storeAnswers), 0);
    struct stat info;
    ASSERT_EQ(::lstat(store().c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays as it was";
    ASSERT_EQ(::stat("/dev/zero", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST_F(HostileStoreTest, AFolderLoadsTheDefaultsAndWritingFailsQuietly)
{
    ASSERT_EQ(::mkdir(store().c_str(), 0700), 0);
    EXPECT_EQ(runWatched(loadGivesBuiltInDefaults), 0);
    EXPECT_EQ(runWatched(storeAnswers), 0);
    EXPECT_FALSE(defaultsStoreWrite("Avureference", 0.75f));
}

TEST_F(HostileStoreTest, AHugeFileWithoutLinesLoadsTheDefaults)
{
    // 20 MB of a value's name without a newline: never one line of ours.
    std::string huge(20u << 20, 'A');
    huge.replace(0, 13, "Avureference=");
    writeFile(store(), huge);
    EXPECT_EQ(runWatched(loadGivesBuiltInDefaults), 0);
    // Just past the limit counts as not ours; just within it is read.
    std::string line = "Avureference=0000403f\n";  // 0.75
    writeFile(store(), line + std::string(store_file::kMaxBytes - line.size() + 1, '#'));
    EXPECT_EQ(runWatched(loadGivesBuiltInDefaults), 0);
    writeFile(store(), line + std::string(store_file::kMaxBytes - line.size(), '#'));
    loadDefaults();
    EXPECT_EQ(globalMeterSettings.vu.get(83), 0.75f);
}

TEST_F(HostileStoreTest, AStoreWrittenWithCrlfLineEndsIsReadWhole)
{
    // Edited on Windows: every line ends in a carriage return, the path with a blank too.
    writeFile(store(), "Avureference=0000403f\r\nManualPath=/opt/zem/ZEM Ordwen User Manual v3.0.2 EN.pdf \r\n");
    loadDefaults();
    EXPECT_EQ(globalMeterSettings.vu.get(83), 0.75f);
    EXPECT_EQ(readManualPath(), L"/opt/zem/ZEM Ordwen User Manual v3.0.2 EN.pdf");
    EXPECT_EQ(fontFilePathFromManualPath(readManualPath()), L"/opt/zem/ZEMOrdwen.kqf");
}

TEST_F(HostileStoreTest, AMissingOrRelativeHomeFallsBackToThePasswordDatabase)
{
    struct passwd *entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    const std::string expected = std::string(entry->pw_dir) + "/.config/Velmora/ZEMMETERS300";
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    EXPECT_EQ(store_file::path(), expected);
    ::setenv("HOME", "relative/home", 1);
    EXPECT_EQ(store_file::path(), expected);
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(store_file::path(), expected);
    ::setenv("HOME", base_.c_str(), 1);
    EXPECT_EQ(store_file::path(), base_ + "/.config/Velmora/ZEMMETERS300");
}

TEST_F(HostileStoreTest, ARelativeHomeIsNeverReadBelowTheWorkingFolder)
{
    // A host started with HOME=relative would otherwise read whatever its working folder holds.
    ASSERT_EQ(::mkdir((base_ + "/home").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((base_ + "/home/.config").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((base_ + "/home/.config/Velmora").c_str(), 0700), 0);
    writeFile(base_ + "/home/.config/Velmora/ZEMMETERS300", "Avureference=0000403f\n");
    const std::string base = base_;
    EXPECT_EQ(runWatched([base] {
                  if (::chdir(base.c_str()) != 0)
                      return 2;
                  ::unsetenv("XDG_CONFIG_HOME");
                  ::setenv("HOME", "home", 1);
                  float value = 0.25f;
                  // The password database's home may hold a store of its own; never this one.
                  defaultsStoreRead("Avureference", value);
                  return value == 0.75f ? 1 : 0;
              }),
              0);
}

TEST_F(HostileStoreTest, TwoProcessesStoringAtOnceLoseNothing)
{
    constexpr int kValuesPerProcess = 200;
    auto writer = [](int process) {
        return [process] {
            for (int i = 0; i < kValuesPerProcess; ++i) {
                const std::string name = "P" + std::to_string(process) + "V" + std::to_string(i);
                if (!defaultsStoreWrite(name.c_str(), float(i) / kValuesPerProcess))
                    return 1;
            }
            return 0;
        };
    };
    std::fflush(nullptr);
    const pid_t first = ::fork();
    if (first == 0)
        ::_exit(writer(1)());
    const int second = runWatched(writer(2), 120);
    int status = 0;
    ASSERT_EQ(::waitpid(first, &status, 0), first);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(second, 0);

    std::vector<std::string> names;
    std::vector<StoredDefault> values;
    for (int process = 1; process <= 2; ++process)
        for (int i = 0; i < kValuesPerProcess; ++i)
            names.push_back("P" + std::to_string(process) + "V" + std::to_string(i));
    for (const std::string &name : names)
        values.push_back({name.c_str(), -1.f, false});
    defaultsStoreReadAll(values.data(), values.size());
    int lost = 0;
    for (size_t k = 0; k < values.size(); ++k)
        if (!values[k].found || values[k].value != float(k % kValuesPerProcess) / kValuesPerProcess)
            ++lost;
    EXPECT_EQ(lost, 0) << "of " << values.size();
}

TEST_F(HostileStoreTest, ACrashedWritersTemporaryIsRemovedByTheNextWrite)
{
    writeFile(store(), "Avutype=0000803f\n");
    writeFile(store() + ".k3Xq9Z", "Avutype=00000000\n");  // left by a writer that died
    writeFile(store() + ".bak", "kept\n");                 // not ours
    ASSERT_TRUE(defaultsStoreWrite("Avureference", 0.75f));
    struct stat info;
    EXPECT_NE(::lstat((store() + ".k3Xq9Z").c_str(), &info), 0);
    EXPECT_EQ(fileContents(store() + ".bak"), "kept\n");
    EXPECT_EQ(fileContents(store()), "Avutype=0000803f\nAvureference=0000403f\n");
}

TEST_F(HostileStoreTest, ALinkedStoreIsWrittenThroughToItsTarget)
{
    ASSERT_EQ(::mkdir((base_ + "/dotfiles").c_str(), 0700), 0);
    writeFile(base_ + "/dotfiles/zem", "ManualPath=/opt/zem/manual.pdf\n");
    ASSERT_EQ(::symlink("../dotfiles/zem", store().c_str()), 0);
    ASSERT_TRUE(defaultsStoreWrite("Avureference", 0.75f));
    struct stat info;
    ASSERT_EQ(::lstat(store().c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
    EXPECT_EQ(fileContents(base_ + "/dotfiles/zem"), "ManualPath=/opt/zem/manual.pdf\nAvureference=0000403f\n");
    float value = 0;
    EXPECT_TRUE(defaultsStoreRead("Avureference", value));
    EXPECT_EQ(value, 0.75f);
}

TEST_F(HostileStoreTest, StoreDefaultsOfTheEffectReplacesTheStoreOnce)
{
    // Every replacement is written to a temporary file of its own, created in the folder (the
    // events of the renames themselves may be merged); the effect's StoreDefaults (index 65)
    // writes all 27 values with one.
    writeFile(store(), "ManualPath=/opt/zem/manual.pdf\n");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, folder().c_str(), IN_CREATE), 0);
    {
        PluginInstance plugin(loadedPlugin());
        ASSERT_TRUE(plugin.valid());
        plugin.setParameter(65, 0.f);
    }
    int replacements = 0;
    alignas(struct inotify_event) char events[64 * 1024];
    ssize_t got;
    while ((got = ::read(watch, events, sizeof events)) > 0)
        for (char *at = events; at < events + got;) {
            const auto *event = reinterpret_cast<const struct inotify_event *>(at);
            const std::string name = event->len ? event->name : "";
            if (name.compare(0, 13, "ZEMMETERS300.") == 0 && name != "ZEMMETERS300.lock")
                ++replacements;
            at += sizeof(struct inotify_event) + event->len;
        }
    ::close(watch);
    EXPECT_EQ(replacements, 1);
    const std::string contents = fileContents(store());
    EXPECT_EQ(contents.compare(0, 31, "ManualPath=/opt/zem/manual.pdf\n"), 0);
    int lines = 0;
    for (char c : contents)
        lines += c == '\n';
    EXPECT_EQ(lines, 28);
}

#endif
