#include <gtest/gtest.h>

#include <string>

#include "PropertyFile.h"
#include "StringConversion.h"
#include "../quellstore/TempFolder.h"

using Korvu::PropertyFile;

namespace {

class PropertyFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string file = folder.path("ifcfg-eth0");
};

} // namespace

TEST_F(PropertyFileTest, ValueIsTheTextAfterTheFirstEqualsSignOfTheExactKey)
{
    folder.write("ifcfg-eth0", "# comment\nIPV4ADDR=10.0.0.1\nIPV6ADDR=fe80::1=x\n"
                               " NETMASK=bad\nGATEWAYX=no\nGATEWAY=10.0.0.254\r\nPREFIX=");
    PropertyFile settings(file);
    ASSERT_TRUE(settings.open(PropertyFile::READ));
    EXPECT_EQ(settings.getValue("IPV4ADDR"), "10.0.0.1");
    EXPECT_EQ(settings.getValue("IPV6ADDR"), "fe80::1=x");
    EXPECT_EQ(settings.getValue("NETMASK"), "");
    EXPECT_EQ(settings.getValue("GATEWAY"), "10.0.0.254");
    EXPECT_EQ(settings.getValue("PREFIX"), "");
    EXPECT_TRUE(settings.hasKey("PREFIX"));
    EXPECT_FALSE(settings.hasKey("NETMASK"));
    EXPECT_EQ(settings.getValue(std::wstring(L"IPV4ADDR")), L"10.0.0.1");
    EXPECT_TRUE(settings.close());
    EXPECT_EQ(settings.getValue("IPV4ADDR"), "");
}

TEST_F(PropertyFileTest, RewriteReplacesEveryLineOfTheKeyAndKeepsTheRestInPlace)
{
    folder.write("ifcfg-eth0", "NETMASK=1\n# keep me\nNETMASK=2\nIPV6GATEWAY=fe80::1\nnot an assignment");
    PropertyFile settings(file);
    ASSERT_TRUE(settings.open(PropertyFile::READ_WRITE));
    EXPECT_TRUE(settings.setValue("NETMASK", "255.0.0.0"));
    EXPECT_TRUE(settings.setValue("GATEWAY", "10.0.0.1"));
    EXPECT_TRUE(settings.close());
    EXPECT_EQ(folder.read("ifcfg-eth0"), "NETMASK=255.0.0.0\n# keep me\nNETMASK=255.0.0.0\n"
                                         "IPV6GATEWAY=fe80::1\nnot an assignment\nGATEWAY=10.0.0.1\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"ifcfg-eth0"});
}

TEST_F(PropertyFileTest, ModesDecideWhatIsLoadedAndWhatMayChange)
{
    PropertyFile settings(file);
    EXPECT_FALSE(settings.open(PropertyFile::READ));
    EXPECT_FALSE(settings.isOpen());
    EXPECT_FALSE(settings.open(0));
    EXPECT_FALSE(settings.open(7));

    ASSERT_TRUE(settings.open(PropertyFile::READ_WRITE));
    EXPECT_TRUE(settings.setValue(L"IPV4ADDR", L"10.1.1.1"));
    EXPECT_EQ(settings.getValue("IPV4ADDR"), "10.1.1.1");
    EXPECT_TRUE(settings.close());
    EXPECT_EQ(folder.read("ifcfg-eth0"), "IPV4ADDR=10.1.1.1\n");

    ASSERT_TRUE(settings.open(PropertyFile::READ));
    EXPECT_FALSE(settings.setValue("IPV4ADDR", "10.2.2.2"));
    EXPECT_FALSE(settings.save());

    ASSERT_TRUE(settings.open(PropertyFile::WRITE));
    EXPECT_EQ(settings.getValue("IPV4ADDR"), "");
    // Nothing that would break the line format gets in.
    for (const char* key : {"", "A=B", "A\nB"})
        EXPECT_FALSE(settings.setValue(key, "x")) << key;
    EXPECT_FALSE(settings.setValue("A", "x\ny"));
    EXPECT_FALSE(settings.setValue("A", "x\r"));
    EXPECT_TRUE(settings.setValue("PREFIX", "64"));
    EXPECT_TRUE(settings.setValue("EMPTY", ""));
    EXPECT_TRUE(settings.save());
    EXPECT_EQ(folder.read("ifcfg-eth0"), "PREFIX=64\nEMPTY=\n");
}

TEST_F(PropertyFileTest, UnreadableExistingFileIsNeverReplaced)
{
    ASSERT_EQ(::mkdir(file.c_str(), 0755), 0);
    PropertyFile settings(file);
    EXPECT_FALSE(settings.open(PropertyFile::READ_WRITE));
    EXPECT_FALSE(settings.setValue("A", "1"));

    PropertyFile blocked(folder.path("ifcfg-eth0/x/y"));
    ASSERT_TRUE(blocked.open(PropertyFile::WRITE));
    EXPECT_TRUE(blocked.setValue("A", "1"));
    EXPECT_FALSE(blocked.close());
}
