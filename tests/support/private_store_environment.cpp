// The whole suite runs against a private per-user store: natively a fresh XDG_CONFIG_HOME in a
// temporary folder (removed at the end), so that no test can read or overwrite the defaults of
// the person running it. Under Wine the prefix itself is private to the run.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <cstdlib>
#include <string>

#include <ftw.h>
#include <unistd.h>

namespace {

int removeEntry(const char *path, const struct stat *, int, struct FTW *) { return ::remove(path); }

class PrivateStoreEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        char pattern[] = "/tmp/zem-test-store.XXXXXX";
        if (const char *made = ::mkdtemp(pattern)) {
            directory = made;
            ::setenv("XDG_CONFIG_HOME", directory.c_str(), 1);
        }
    }
    void TearDown() override
    {
        if (!directory.empty())
            ::nftw(directory.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    }

private:
    std::string directory;
};

const ::testing::Environment *const privateStore = ::testing::AddGlobalTestEnvironment(new PrivateStoreEnvironment);

}  // namespace
#endif
