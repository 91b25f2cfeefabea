#include <gtest/gtest.h>

#include <algorithm>
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

std::vector<std::string> walk(NodeLexicon::NodeType type)
{
    std::vector<std::string> paths;
    Instrumentation cursor;
    for (cursor.selectNode(type); cursor; ++cursor)
        paths.push_back(cursor.getPath());
    return paths;
}

Instrumentation at(const std::string& path)
{
    Instrumentation cursor;
    cursor.selectNode(path);
    return cursor;
}

class CursorTest : public ::testing::Test {
protected:
    void SetUp() override { NodeStore::loadFromString(sampleStore()); }
};

} // namespace

TEST_F(CursorTest, WalksEachTypeInDocumentOrderAcrossSystems)
{
    EXPECT_EQ(walk(NodeLexicon::IP_INTERFACE),
              (std::vector<std::string>{"/host/eth-adapter-0/eth0", "/host/eth-adapter-0/eth1",
                                        "/bmc/bmc-adapter-0/bmc0"}));
    EXPECT_EQ(walk(NodeLexicon::COMPUTER_SYSTEM), (std::vector<std::string>{"/host", "/bmc"}));
    EXPECT_TRUE(walk(static_cast<NodeLexicon::NodeType>(77)).empty());

    // After a path, stepping goes on with that node's type.
    Instrumentation cursor = at("/host/eth-adapter-0/eth1");
    EXPECT_EQ((++cursor).getPath(), "/bmc/bmc-adapter-0/bmc0");
    EXPECT_FALSE(++cursor);
    EXPECT_FALSE(++cursor);
}

TEST_F(CursorTest, GrandparentOfAnInterfaceIsItsSystemAndRootIsNoNode)
{
    Instrumentation cursor = at("/bmc/bmc-adapter-0/bmc0");
    ASSERT_TRUE(cursor);
    Instrumentation system = at(cursor.getPathToParentNode());
    EXPECT_EQ(system.getPath(), "/bmc/bmc-adapter-0");
    system.selectNode(system.getPathToParentNode());
    EXPECT_EQ(system.getNodeDescription(), "BMC");
    EXPECT_EQ(system.getPathToParentNode(), "/");
    system.selectNode(system.getPathToParentNode());
    EXPECT_FALSE(system);
    EXPECT_EQ(system.getPathToParentNode(), "");
    for (const char* path : {"", "/", "host", "/host/", "/host//eth-adapter-0", "/nohost"})
        EXPECT_FALSE(at(path)) << path;
}

TEST_F(CursorTest, ParentStepsUpWithinTheSameStoreAndTellsNodesApart)
{
    Instrumentation cursor = at("/bmc/bmc-adapter-0/bmc0");
    Instrumentation adapter = cursor;
    adapter.selectParent();
    EXPECT_EQ(adapter.getPath(), "/bmc/bmc-adapter-0");
    EXPECT_TRUE(adapter.standsOn(at("/bmc/bmc-adapter-0")));
    EXPECT_FALSE(adapter.standsOn(cursor));
    EXPECT_EQ(cursor.getPath(), "/bmc/bmc-adapter-0/bmc0");
    adapter.selectParent();
    EXPECT_EQ(adapter.getNodeDescription(), "BMC");
    adapter.selectParent();
    EXPECT_FALSE(adapter);
    adapter.selectParent();
    EXPECT_FALSE(adapter);
    EXPECT_FALSE(adapter.standsOn(Instrumentation()));
    EXPECT_FALSE(Instrumentation().standsOn(Instrumentation()));
}

TEST_F(CursorTest, ReadsEachKindAndRefusesTheOthers)
{
    Instrumentation cursor;
    cursor.selectNode(NodeLexicon::IP_INTERFACE);
    std::string text;
    unsigned int number = 0;
    std::vector<std::string> list;
    EXPECT_TRUE(cursor.getProperty(NodeLexicon::IPV4_ADDRESS, text));
    EXPECT_EQ(text, "192.0.2.10");
    EXPECT_TRUE(cursor.getProperty(NodeLexicon::PREFIX_LENGTH, number));
    EXPECT_EQ(number, 24u);
    EXPECT_TRUE(cursor.getProperty(NodeLexicon::DNS_SERVERS, list));
    EXPECT_EQ(list, (std::vector<std::string>{"192.0.2.53", "192.0.2.54"}));
    EXPECT_TRUE(cursor.getProperty(static_cast<NodeLexicon::Properties>(700), number));
    EXPECT_EQ(number, 7u);

    text = "untouched";
    EXPECT_FALSE(cursor.getProperty(NodeLexicon::STATE, text));
    EXPECT_FALSE(cursor.getProperty(NodeLexicon::IPV6_GATEWAY, text));
    EXPECT_EQ(text, "untouched");
    EXPECT_FALSE(cursor.getProperty(NodeLexicon::NAME, number));

    bool readOnly = false;
    EXPECT_TRUE(cursor.isPropertyReadOnly(NodeLexicon::MAC_ADDRESS, readOnly));
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(cursor.isPropertyReadOnly(NodeLexicon::NAME, readOnly));
    EXPECT_FALSE(readOnly);
    EXPECT_FALSE(cursor.isPropertyReadOnly(NodeLexicon::IPV6_GATEWAY, readOnly));
}

TEST_F(CursorTest, CursorSurvivesAReplacedStoreAndWritesToTheNewOne)
{
    TempFolder folder;
    folder.write("store.json", sampleStore());
    NodeStore::open(folder.path("store.json"));
    Instrumentation old = at("/host/eth-adapter-0/eth1");
    NodeStore::loadFromString(R"({"nodes": [{"name": "other", "type": 40}]})");

    // Still readable, but its path is gone from the current store.
    std::string text;
    EXPECT_TRUE(old.getProperty(NodeLexicon::NAME, text));
    EXPECT_EQ(text, "eth1");
    text = "10.0.0.1";
    EXPECT_FALSE(old.setProperty(NodeLexicon::IPV4_ADDRESS, text));

    NodeStore::open(folder.path("store.json"));
    EXPECT_TRUE(old.setProperty(NodeLexicon::IPV4_ADDRESS, text));
    EXPECT_TRUE(at("/host/eth-adapter-0/eth1").getProperty(NodeLexicon::IPV4_ADDRESS, text));
    EXPECT_EQ(text, "10.0.0.1");
}

// Properties are found by number across the whole range of numbers, also
// after a write adds one in front of, between or behind the others.
TEST(CursorLookupTest, EveryNumberedPropertyIsFoundAndAbsentOnesAreNot)
{
    TempFolder folder;
    folder.write("store.json", R"({"nodes": [{"name": "n", "type": 40, "properties": {
        "0": 10, "1": 11, "63": 163, "64": 164, "100": 200, "127": 227, "128": 228, "700": 800,
        "NAME": "eth0", "STATE": 2}}]})");
    NodeStore::open(folder.path("store.json"));
    std::vector<unsigned int> present = {0, 1, 63, 64, 100, 127, 128, 700};
    auto expectStore = [&](const char* when) {
        SCOPED_TRACE(when);
        Instrumentation cursor = at("/n");
        for (unsigned int id : present) {
            unsigned int number = 0;
            EXPECT_TRUE(cursor.getProperty(static_cast<NodeLexicon::Properties>(id), number)) << id;
            EXPECT_EQ(number, id < 2 ? id + 10 : id + 100) << id;
        }
        for (unsigned int id : {2u, 62u, 65u, 99u, 101u, 126u, 129u, 699u, 701u, 100000u}) {
            if (std::find(present.begin(), present.end(), id) != present.end())
                continue;
            unsigned int number = 0;
            EXPECT_FALSE(cursor.getProperty(static_cast<NodeLexicon::Properties>(id), number)) << id;
        }
        std::string text;
        EXPECT_TRUE(cursor.getProperty(NodeLexicon::NAME, text));
        EXPECT_EQ(text, "eth0");
        unsigned int state = 0;
        EXPECT_TRUE(cursor.getProperty(NodeLexicon::STATE, state));
        EXPECT_EQ(state, 2u);
    };
    expectStore("as loaded");

    for (unsigned int id : {2u, 65u, 126u, 129u, 701u}) {
        unsigned int value = id + 100;
        ASSERT_TRUE(at("/n").setProperty(static_cast<NodeLexicon::Properties>(id), value)) << id;
        present.push_back(id);
        expectStore(("after adding " + std::to_string(id)).c_str());
    }
    NodeStore::open(folder.path("store.json"));
    expectStore("reloaded");
}
