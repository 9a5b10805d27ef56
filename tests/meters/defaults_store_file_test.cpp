// The store file is replaced as a whole: a write that cannot complete (here: the file size
// limit stands in for a full disk) leaves the previous file exactly as it was.
#ifndef _WIN32

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>

#include "meter_test_support.h"
#include "platform/defaults_store.h"
#include "support/file_contents.h"

using namespace meter_test;

namespace {

class DefaultsStoreFileTest : public MeterTest {};

}  // namespace

TEST_F(DefaultsStoreFileTest, FailedWriteLeavesThePreviousFile)
{
    const std::string path = std::string(std::getenv("XDG_CONFIG_HOME")) + "/Velmora/ZEMMETERS300";
    MeterTestOwner owner;
    owner.setParameter(65, 0.f);  // all 27 values
    const std::string before = fileContents(path);
    ASSERT_GT(before.size(), 27u * 10);

    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = old;
    tight.rlim_cur = before.size() / 2;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool written = defaultsStoreWrite("Avureference", 0.75f);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(fileContents(path), before);
    float value = 0;
    EXPECT_TRUE(defaultsStoreRead("Avureference", value));
    EXPECT_EQ(value, 0.25f);
}

TEST_F(DefaultsStoreFileTest, UnwritableLocationFailsQuietly)
{
    // A plain file where the store's folder should be: nothing can be written.
    const std::string base = std::getenv("XDG_CONFIG_HOME");
    FILE *blocker = std::fopen((base + "/Velmora").c_str(), "w");
    ASSERT_NE(blocker, nullptr);
    std::fclose(blocker);
    EXPECT_FALSE(defaultsStoreWrite("Avureference", 0.75f));
    MeterTestOwner owner;
    owner.setParameter(65, 0.f);
    float value = 0.5f;
    EXPECT_FALSE(defaultsStoreRead("Avureference", value));
    EXPECT_EQ(value, 0.5f);
    loadDefaults();
    EXPECT_EQ(globalMeterSettings.vu.get(83), 0.25f);
}

#endif
