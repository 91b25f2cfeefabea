#include <gtest/gtest.h>

#include <stdlib.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "PlatformUtilities.h"

using Korvu::PlatformUtilities;

namespace {

class PlatformUtilitiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::unsetenv("MARANTH_DATA_DIR");
        PlatformUtilities::setMaranthDataDir("");
    }
    void TearDown() override { SetUp(); }
};

} // namespace

TEST_F(PlatformUtilitiesTest, SettingBeatsEnvironmentBeatsDefaultAndAllEndWithSeparator)
{
    EXPECT_EQ(PlatformUtilities::getMaranthDataDir(), "/var/lib/korvu/maranth/");
    ::setenv("MARANTH_DATA_DIR", "", 1);
    EXPECT_EQ(PlatformUtilities::getMaranthDataDir(), "/var/lib/korvu/maranth/");
    ::setenv("MARANTH_DATA_DIR", "/srv/agent", 1);
    EXPECT_EQ(PlatformUtilities::getMaranthDataDir(), "/srv/agent/");
    PlatformUtilities::setMaranthDataDir("/tmp/data/");
    EXPECT_EQ(PlatformUtilities::getMaranthDataDir(), "/tmp/data/");
    PlatformUtilities::setMaranthDataDir("relative");
    EXPECT_EQ(PlatformUtilities::getMaranthDataDir(), "relative/");
    PlatformUtilities::setMaranthDataDir("");
    EXPECT_EQ(PlatformUtilities::getMaranthDataDir(), "/srv/agent/");
}

TEST_F(PlatformUtilitiesTest, ConcurrentSettersAndReadersSeeWholeValues)
{
    std::atomic<int> bad(0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &bad] {
            for (int i = 0; i < 2000; ++i) {
                PlatformUtilities::setMaranthDataDir(t % 2 ? "/tmp/long/folder/name" : "/a/");
                std::string now = PlatformUtilities::getMaranthDataDir();
                bad += now != "/tmp/long/folder/name/" && now != "/a/";
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(bad.load(), 0);
}
