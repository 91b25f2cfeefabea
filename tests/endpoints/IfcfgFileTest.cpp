// The ifcfg text model and its locked, atomic rewrite.
#include "IfcfgFile.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

using Korvu::IPInterfaceProvider::IfcfgFile;

namespace {

std::string setAndRender(const std::string& text, const std::string& key, const std::string& value)
{
    IfcfgFile file = IfcfgFile::parse(text);
    EXPECT_TRUE(file.setValue(key, value));
    return file.render();
}

class IfcfgFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/ifcfg-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        path = folder + "/ifcfg-eth0";
    }
    void TearDown() override
    {
        for (const std::string& name : entries())
            unlink((folder + "/" + name).c_str());
        rmdir(folder.c_str());
    }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        if (DIR* dir = opendir(folder.c_str())) {
            while (dirent* entry = readdir(dir)) {
                std::string name = entry->d_name;
                if (name != "." && name != "..")
                    names.push_back(name);
            }
            closedir(dir);
        }
        return names;
    }
    std::string read() const
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void write(const std::string& text) const
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string folder;
    std::string path;
};

} // namespace

TEST(IfcfgText, UnownedBytesSurviveAndOwnedLinesAreReplacedAll)
{
    const std::string text = "# comment\r\nNETMASK=1.1.1.1\nBOOTPROTO=none\n\nNETMASK=2.2.2.2\nNAME=x";
    EXPECT_EQ(IfcfgFile::parse(text).render(), text);
    EXPECT_EQ(setAndRender(text, "NETMASK", "255.0.0.0"),
              "# comment\r\nNETMASK=255.0.0.0\nBOOTPROTO=none\n\nNETMASK=255.0.0.0\nNAME=x");
}

TEST(IfcfgText, KeysMatchOnlyWholeBeforeTheEqualsSign)
{
    const std::string text = "IPV6GATEWAY=fe80::1\nGATEWAYX=1\n GATEWAY=2\n";
    EXPECT_EQ(setAndRender(text, "GATEWAY", "10.0.0.1"), text + "GATEWAY=10.0.0.1\n");
    std::string value;
    EXPECT_FALSE(IfcfgFile::parse(text).getValue("GATEWAY", value));
}

TEST(IfcfgText, AppendedLineNeverJoinsALastLineWithoutLineFeed)
{
    EXPECT_EQ(setAndRender("BOOTPROTO=none", "IPV4ADDR", "10.0.0.2"),
              "BOOTPROTO=none\nIPV4ADDR=10.0.0.2\n");
    EXPECT_EQ(setAndRender("", "PREFIX", "64"), "PREFIX=64\n");
}

TEST(IfcfgText, LongLinesStayWhole)
{
    // Text that a fixed line buffer would cut so that a piece starts with
    // the key.
    const std::string comment = "#" + std::string(510, 'x') + "NETMASK=9.9.9.9\n";
    const std::string longValue(3000, '7');
    std::string rendered = setAndRender(comment + "NETMASK=" + longValue + "\n", "NETMASK", "1.2.3.4");
    EXPECT_EQ(rendered, comment + "NETMASK=1.2.3.4\n");

    std::string value;
    EXPECT_TRUE(IfcfgFile::parse("IPV4ADDR=" + longValue + "\r\n").getValue("IPV4ADDR", value));
    EXPECT_EQ(value, longValue);
}

TEST(IfcfgText, ValuesThatWouldInjectLinesAreRefused)
{
    IfcfgFile file = IfcfgFile::parse("A=1\n");
    EXPECT_FALSE(file.setValue("IPV4ADDR", "1.2.3.4\nGATEWAY=6.6.6.6"));
    EXPECT_FALSE(file.setValue("IPV4ADDR", "1.2.3.4\r"));
    EXPECT_FALSE(file.setValue("IPV4ADDR", std::string("1.2.3.4\0x", 9)));
    EXPECT_FALSE(file.setValue("BAD=KEY", "1"));
    EXPECT_FALSE(file.setValue("", "1"));
    EXPECT_EQ(file.render(), "A=1\n");
    EXPECT_TRUE(file.setValue("IPV4ADDR", ""));
    EXPECT_EQ(file.render(), "A=1\nIPV4ADDR=\n");
}

TEST_F(IfcfgFolder, UpdateCreatesReplacesAndLeavesNoTemporaryFile)
{
    ASSERT_EQ(IfcfgFile::update(path, {{"IPV4ADDR", "10.0.0.2"}, {"NETMASK", "255.0.0.0"}}),
              IfcfgFile::RESULT_OK);
    EXPECT_EQ(read(), "IPV4ADDR=10.0.0.2\nNETMASK=255.0.0.0\n");
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    write("# keep\nNETMASK=1\n");
    chmod(path.c_str(), 0600);
    ASSERT_EQ(IfcfgFile::update(path, {{"NETMASK", "255.255.0.0"}}), IfcfgFile::RESULT_OK);
    EXPECT_EQ(read(), "# keep\nNETMASK=255.255.0.0\n");
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(entries(), std::vector<std::string>{"ifcfg-eth0"});
}

TEST_F(IfcfgFolder, LoadTellsMissingFromUnreadable)
{
    IfcfgFile file;
    bool exists = true;
    EXPECT_TRUE(IfcfgFile::load(path, file, exists));
    EXPECT_FALSE(exists);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    // A FIFO must neither hang the reader nor pass for a file.
    EXPECT_FALSE(IfcfgFile::load(path, file, exists));
    EXPECT_TRUE(exists);
}

TEST_F(IfcfgFolder, SymbolicLinkInPlaceOfTheFileIsNeverFollowed)
{
    const std::string outside = folder + "/../" + folder.substr(folder.rfind('/') + 1) + "-outside";
    std::ofstream(outside, std::ios::binary) << "IPV4ADDR=203.0.113.1\nSECRET=kept\n";
    ASSERT_EQ(symlink(outside.c_str(), path.c_str()), 0);

    IfcfgFile file;
    bool exists = false;
    bool link = false;
    EXPECT_FALSE(IfcfgFile::load(path, file, exists, &link));
    EXPECT_TRUE(exists);
    EXPECT_TRUE(link);
    std::string value;
    EXPECT_FALSE(file.getValue("IPV4ADDR", value));

    EXPECT_EQ(IfcfgFile::update(path, {{"IPV4ADDR", "10.0.0.1"}}), IfcfgFile::RESULT_LINK);
    struct stat info;
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    std::ifstream in(outside, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "IPV4ADDR=203.0.113.1\nSECRET=kept\n");
    EXPECT_EQ(entries(), std::vector<std::string>{"ifcfg-eth0"});
    unlink(outside.c_str());
}

TEST_F(IfcfgFolder, RewriteKeepsOwnerGroupAndMode)
{
    write("BOOTPROTO=none\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    const bool root = geteuid() == 0;
    // Only root can hand a file to another user; others keep their own.
    const uid_t owner = root ? 4321 : geteuid();
    const gid_t group = root ? 8765 : getegid();
    ASSERT_EQ(chown(path.c_str(), owner, group), 0);

    ASSERT_EQ(IfcfgFile::update(path, {{"IPV4ADDR", "10.0.0.1"}}), IfcfgFile::RESULT_OK);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, owner);
    EXPECT_EQ(info.st_gid, group);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(read(), "BOOTPROTO=none\nIPV4ADDR=10.0.0.1\n");
}

TEST_F(IfcfgFolder, TemporaryFilesLeftByACrashAreRemovedOnTheNextUse)
{
    for (const char* name : {".ifcfg-eth0.AbC123", ".ifcfg-eth1.zz9ZZ9", ".ifcfg-eth0.100.Qq0000",
                             // not left by a rewrite
                             ".ifcfg-eth0.toolong7", "ifcfg-eth0.AbC123", ".other.AbC123"})
        std::ofstream(folder + "/" + name) << "IPV4ADDR=1";
    ASSERT_EQ(IfcfgFile::update(folder + "/ifcfg-eth2", {{"PREFIX", "64"}}), IfcfgFile::RESULT_OK);
    std::vector<std::string> left = entries();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".ifcfg-eth0.toolong7", ".other.AbC123", "ifcfg-eth0.AbC123",
                                              "ifcfg-eth2"}));

    // A folder only read is cleaned on its first use as well.
    IfcfgFile file;
    bool exists = false;
    char other[] = "/tmp/ifcfg-test-XXXXXX";
    ASSERT_NE(mkdtemp(other), nullptr);
    std::ofstream(std::string(other) + "/.ifcfg-eth1.AbC123") << "x";
    EXPECT_TRUE(IfcfgFile::load(std::string(other) + "/ifcfg-eth1", file, exists));
    EXPECT_NE(access((std::string(other) + "/.ifcfg-eth1.AbC123").c_str(), F_OK), 0);
    rmdir(other);
}
