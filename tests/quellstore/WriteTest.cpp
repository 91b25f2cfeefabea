#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Instrumentation.h"
#include "NodeStore.h"
#include "SampleStore.h"
#include "TempFolder.h"

using Korvu::Instrumentation;
using Korvu::NodeLexicon;
using Korvu::NodeStore;

namespace {

const char* eth0 = "/host/eth-adapter-0/eth0";
const char* eth1 = "/host/eth-adapter-0/eth1";

Instrumentation at(const std::string& path)
{
    Instrumentation cursor;
    cursor.selectNode(path);
    return cursor;
}

std::string text(const std::string& path, NodeLexicon::Properties property)
{
    std::string value;
    return at(path).getProperty(property, value) ? value : "<absent>";
}

class WriteTest : public ::testing::Test {
protected:
    TempFolder folder;

    void SetUp() override
    {
        folder.write("store.json", sampleStore());
        NodeStore::open(folder.path("store.json"));
    }
};

} // namespace

TEST_F(WriteTest, WritesSurviveReloadIncludingNewProperties)
{
    Instrumentation cursor = at(eth1);
    std::string gateway = "198.51.100.1";
    unsigned int state = 3;
    ASSERT_TRUE(cursor.setProperty(NodeLexicon::IPV4_GATEWAY, gateway));
    ASSERT_TRUE(cursor.setProperty(NodeLexicon::STATE, state));
    // Text that JSON must escape, and text that it need not.
    const char raw[] = "q\"b\\s/\n\t\x01\x7F\0end \xE2\x80\xA8 \xC3\xBC";
    std::string tricky(raw, sizeof raw - 1);
    ASSERT_TRUE(cursor.setProperty(NodeLexicon::DNS_SUFFIXES, {"example.net", tricky, ""}));

    NodeStore::reload();
    cursor = at(eth1);
    std::vector<std::string> list;
    EXPECT_EQ(text(eth1, NodeLexicon::IPV4_GATEWAY), "198.51.100.1");
    EXPECT_TRUE(cursor.getProperty(NodeLexicon::STATE, state));
    EXPECT_EQ(state, 3u);
    EXPECT_TRUE(cursor.getProperty(NodeLexicon::DNS_SUFFIXES, list));
    EXPECT_EQ(list, (std::vector<std::string>{"example.net", tricky, ""}));
    // The rest came through the rewrite unchanged.
    bool readOnly = false;
    EXPECT_TRUE(at(eth0).isPropertyReadOnly(NodeLexicon::MAC_ADDRESS, readOnly) && readOnly);
    EXPECT_EQ(text("/bmc/bmc-adapter-0/bmc0", NodeLexicon::IPV6_ADDRESS), "2001:db8::20");
    EXPECT_EQ(at("/bmc").getNodeDescription(), "BMC");
}

TEST_F(WriteTest, RefusedWritesChangeNeitherMemoryNorFile)
{
    std::string before = folder.read("store.json");
    Instrumentation cursor = at(eth0);
    std::string mac = "00:00:00:00:00:00", word = "up", broken = "\xC3(";
    unsigned int number = 5;
    EXPECT_FALSE(cursor.setProperty(NodeLexicon::MAC_ADDRESS, mac));
    EXPECT_FALSE(cursor.setProperty(NodeLexicon::STATE, word));
    EXPECT_FALSE(cursor.setProperty(NodeLexicon::IPV4_ADDRESS, number));
    EXPECT_FALSE(cursor.setProperty(NodeLexicon::NAME, std::vector<std::string>{"x"}));
    // Nor may a known property be created with another kind.
    EXPECT_FALSE(cursor.setProperty(NodeLexicon::HOST_NAME, number));
    EXPECT_FALSE(cursor.setProperty(NodeLexicon::IPV4_GATEWAY, broken));
    EXPECT_FALSE(Instrumentation().setProperty(NodeLexicon::IPV4_ADDRESS, word));

    EXPECT_EQ(text(eth0, NodeLexicon::MAC_ADDRESS), "52:54:00:12:34:56");
    EXPECT_EQ(text(eth0, NodeLexicon::IPV4_GATEWAY), "<absent>");
    EXPECT_EQ(folder.read("store.json"), before);
}

TEST_F(WriteTest, FailedPersistenceRollsBackAndLeavesNoTemporaryFile)
{
    Instrumentation cursor = at(eth0);
    std::string before = folder.read("store.json");
    std::string address = "203.0.113.5";

    // Root ignores permission bits, but not the file size limit.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    bool written = cursor.setProperty(NodeLexicon::IPV4_ADDRESS, address);
    ::setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_FALSE(written);
    EXPECT_EQ(text(eth0, NodeLexicon::IPV4_ADDRESS), "192.0.2.10");
    EXPECT_EQ(folder.read("store.json"), before);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"store.json"}));
    EXPECT_TRUE(cursor.setProperty(NodeLexicon::IPV4_ADDRESS, address));
}

TEST_F(WriteTest, UnusablePersistencePathsRefuseEveryWrite)
{
    folder.write("plain", "x");
    std::filesystem::create_directories(folder.path("taken/store.json/inner"));
    for (const std::string& target : {folder.path("plain/store.json"), folder.path("taken/store.json")}) {
        NodeStore::loadFromString(sampleStore(), target);
        std::string address = "203.0.113.9";
        EXPECT_FALSE(at(eth0).setProperty(NodeLexicon::IPV4_ADDRESS, address)) << target;
        EXPECT_EQ(text(eth0, NodeLexicon::IPV4_ADDRESS), "192.0.2.10") << target;
    }
    EXPECT_EQ(folder.entries("taken"), std::vector<std::string>{"store.json"});
    EXPECT_EQ(folder.entries("taken/store.json"), std::vector<std::string>{"inner"});

    // Without a file, writes stay in memory and there is nothing to reload.
    NodeStore::loadFromString(sampleStore());
    std::string address = "203.0.113.1";
    EXPECT_TRUE(at(eth0).setProperty(NodeLexicon::IPV4_ADDRESS, address));
    EXPECT_EQ(text(eth0, NodeLexicon::IPV4_ADDRESS), address);
    EXPECT_EQ(NodeStore::currentFile(), "");
    EXPECT_THROW(NodeStore::reload(), std::runtime_error);
}

TEST_F(WriteTest, OnlyState9OnASystemCountsAsRestartRequest)
{
    unsigned long before = NodeStore::agentRestartRequests();
    unsigned int restart = 9, other = 2;
    EXPECT_TRUE(at(eth0).setProperty(NodeLexicon::STATE, restart));
    EXPECT_TRUE(at("/host").setProperty(NodeLexicon::STATE, other));
    EXPECT_EQ(NodeStore::agentRestartRequests(), before);
    EXPECT_TRUE(at("/host").setProperty(NodeLexicon::STATE, restart));
    EXPECT_TRUE(at("/bmc").setProperty(NodeLexicon::STATE, restart));
    EXPECT_EQ(NodeStore::agentRestartRequests(), before + 2);
}
