#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "File.h"
#include "Path.h"
#include "StringConversion.h"
#include "../quellstore/TempFolder.h"

using Korvu::File::Path;

TEST(PathTest, JoinsWithExactlyOneSeparator)
{
    EXPECT_EQ((Path("/var/lib/") / "/korvu").toString(), "/var/lib/korvu");
    EXPECT_EQ((Path("/") / "etc").toString(), "/etc");
    EXPECT_EQ((Path("") / "etc").toString(), "etc");
    EXPECT_EQ((Path("a") / "").toString(), "a");
    EXPECT_EQ((Path("a") / Path("b") / "c").toString(), "a/b/c");
    EXPECT_STREQ((Path("/data/") + "ifcfg-" + "eth0").c_str(), "/data/ifcfg-eth0");
    EXPECT_EQ(Path(std::wstring(L"/tmp/\xFC")).toString(), "/tmp/\xC3\xBC");
}

TEST(PathTest, SplitsIntoParentAndName)
{
    EXPECT_EQ(Path("/a/b/").parent(), Path("/a"));
    EXPECT_EQ(Path("/a").parent(), Path("/"));
    EXPECT_EQ(Path("/").parent(), Path("/"));
    EXPECT_EQ(Path("a").parent(), Path(""));
    EXPECT_EQ(Path("a//b").parent(), Path("a"));
    EXPECT_EQ(Path("/a/b/").fileName(), "b");
    EXPECT_EQ(Path("/").fileName(), "");
    EXPECT_EQ(Path("b").fileName(), "b");
}

TEST(FileTest, ExistsForAnyEntryAndReadsOnlyRegularFiles)
{
    TempFolder folder;
    folder.write("f\xC3\xBC", std::string("a\0b", 3));
    EXPECT_TRUE(Korvu::File::exists(folder.path("f\xC3\xBC")));
    EXPECT_TRUE(Korvu::File::exists(Korvu::make_wstring(folder.path("f\xC3\xBC"))));
    EXPECT_TRUE(Korvu::File::exists(Path(folder.path("."))));
    EXPECT_FALSE(Korvu::File::exists(folder.path("missing")));
    EXPECT_FALSE(Korvu::File::exists(""));

    std::string content;
    EXPECT_TRUE(Korvu::File::read(folder.path("f\xC3\xBC"), content));
    EXPECT_EQ(content, std::string("a\0b", 3));
    EXPECT_FALSE(Korvu::File::read(folder.path("."), content));
    EXPECT_FALSE(Korvu::File::read(folder.path("missing"), content));
    // A FIFO must not block the reader.
    ASSERT_EQ(::mkfifo(folder.path("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(Korvu::File::read(folder.path("fifo"), content));
    EXPECT_TRUE(content.empty());
}

TEST(FileTest, AtomicWriteReplacesContentAndKeepsPermissions)
{
    TempFolder folder;
    folder.write("settings", "old\n");
    ASSERT_EQ(::chmod(folder.path("settings").c_str(), 0640), 0);
    ASSERT_TRUE(Korvu::File::writeAtomically(folder.path("settings"), "new\n"));
    EXPECT_EQ(folder.read("settings"), "new\n");
    struct stat info;
    ASSERT_EQ(::stat(folder.path("settings").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    ASSERT_TRUE(Korvu::File::writeAtomically(folder.path("fresh"), ""));
    ASSERT_EQ(::stat(folder.path("fresh").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"fresh", "settings"}));
}

TEST(FileTest, FailedAtomicWriteLeavesNothingBehind)
{
    TempFolder folder;
    folder.write("plain", "x");
    EXPECT_FALSE(Korvu::File::writeAtomically(folder.path("plain/inside"), "y"));
    ASSERT_EQ(::mkdir(folder.path("dir").c_str(), 0755), 0);
    folder.write("dir/keep", "k");
    EXPECT_FALSE(Korvu::File::writeAtomically(folder.path("dir"), "y"));
    EXPECT_FALSE(Korvu::File::writeAtomically(folder.path("dir") + "/", "y"));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"dir", "plain"}));
    EXPECT_EQ(folder.entries("dir"), std::vector<std::string>{"keep"});
    EXPECT_EQ(folder.read("plain"), "x");
}
