// The store file shared with other processes: the agent, a second provider
// process, an administrator's editor.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

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

std::string text(const std::string& path, NodeLexicon::Properties property)
{
    Instrumentation cursor;
    cursor.selectNode(path);
    std::string value;
    return cursor.getProperty(property, value) ? value : "<absent>";
}

// Replaces the file as another writer would: whole, by rename.
void replaceFile(const TempFolder& folder, const std::string& name, const std::string& content)
{
    folder.write(name + ".new", content);
    ASSERT_EQ(std::rename(folder.path(name + ".new").c_str(), folder.path(name).c_str()), 0);
}

std::string withEth1Address(const std::string& address)
{
    std::string store = sampleStore();
    const std::string old = "\"198.51.100.7\"";
    store.replace(store.find(old), old.size(), "\"" + address + "\"");
    return store;
}

class SharedFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string file;

    void SetUp() override
    {
        file = folder.path("store.json");
        folder.write("store.json", sampleStore());
        NodeStore::open(file);
    }
};

} // namespace

TEST_F(SharedFileTest, ReadsAndWritesSeeWhatAnotherWriterPutInTheFile)
{
    ASSERT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.7");
    replaceFile(folder, "store.json", withEth1Address("198.51.100.70"));
    EXPECT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.70");

    // Same size, same inode, edited in place.
    folder.write("store.json", withEth1Address("198.51.100.71"));
    EXPECT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.71");

    // A write positioned on the old copy keeps the other writer's value.
    Instrumentation cursor;
    cursor.selectNode(eth0);
    replaceFile(folder, "store.json", withEth1Address("198.51.100.72"));
    std::string gateway = "192.0.2.254";
    ASSERT_TRUE(cursor.setProperty(NodeLexicon::IPV4_GATEWAY, gateway));
    EXPECT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.72");
    EXPECT_NE(folder.read("store.json").find("198.51.100.72"), std::string::npos);
    EXPECT_NE(folder.read("store.json").find("192.0.2.254"), std::string::npos);
}

TEST_F(SharedFileTest, AReadScopeSeesOneVersionOfTheFileAndItsOwnProcessWrites)
{
    {
        NodeStore::ReadScope request;
        ASSERT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.7");
        replaceFile(folder, "store.json", withEth1Address("198.51.100.70"));
        // The file is looked at once per scope: the version of its start.
        EXPECT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.7");
        {
            NodeStore::ReadScope nested;
            EXPECT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.7");
        }

        // A write still takes the other writer's change first, and is then
        // what this scope reads.
        Instrumentation cursor;
        cursor.selectNode(eth0);
        std::string gateway = "192.0.2.254";
        ASSERT_TRUE(cursor.setProperty(NodeLexicon::IPV4_GATEWAY, gateway));
        EXPECT_EQ(text(eth0, NodeLexicon::IPV4_GATEWAY), "192.0.2.254");
        EXPECT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.70");
    }

    replaceFile(folder, "store.json", withEth1Address("198.51.100.71"));
    {
        NodeStore::ReadScope next;
        EXPECT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.71");
    }
    // Outside a scope every positioning looks.
    replaceFile(folder, "store.json", withEth1Address("198.51.100.72"));
    EXPECT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.72");
}

TEST_F(SharedFileTest, AReadScopeOnOneThreadLeavesOtherThreadsLooking)
{
    NodeStore::ReadScope request;
    ASSERT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.7");
    replaceFile(folder, "store.json", withEth1Address("198.51.100.70"));
    std::string seen;
    std::thread other([&] { seen = text(eth1, NodeLexicon::IPV4_ADDRESS); });
    other.join();
    EXPECT_EQ(seen, "198.51.100.70");
}

TEST_F(SharedFileTest, TwoProcessesWritingDifferentNodesLoseNothing)
{
    const unsigned int writes = 40;
    std::vector<pid_t> children;
    for (const char* node : {eth0, eth1}) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            try {
                NodeStore::open(file);
                for (unsigned int i = 0; i < writes; ++i) {
                    Instrumentation cursor;
                    cursor.selectNode(node);
                    unsigned int value = i;
                    if (!cursor.setProperty(static_cast<NodeLexicon::Properties>(800 + i), value))
                        ++failures;
                }
            } catch (...) {
                failures = 1;
            }
            ::_exit(failures ? 1 : 0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    // This process never reloads by hand: the next read takes the file.
    for (const char* node : {eth0, eth1}) {
        Instrumentation cursor;
        cursor.selectNode(node);
        for (unsigned int i = 0; i < writes; ++i) {
            unsigned int value = 1000;
            EXPECT_TRUE(cursor.getProperty(static_cast<NodeLexicon::Properties>(800 + i), value))
                << node << " property " << 800 + i;
            EXPECT_EQ(value, i);
        }
    }
    const nlohmann::json saved = nlohmann::json::parse(folder.read("store.json"));
    const auto& adapter = saved["nodes"][0]["children"][0]["children"];
    EXPECT_EQ(adapter[0]["properties"]["839"], writes - 1);
    EXPECT_EQ(adapter[1]["properties"]["839"], writes - 1);
}

TEST_F(SharedFileTest, AStoreThatCannotBeLoadedIsReportedAndNeverOverwritten)
{
    EXPECT_EQ(NodeStore::loadError(), "");
    struct Case {
        const char* what;
        std::string content;
    };
    const std::vector<Case> broken = {
        {"malformed", "{\"nodes\": [ {\"name\": "},
        {"wrong type", R"({"nodes": [{"name": "h", "type": 40, "properties": {"STATE": "up"}}]})"},
        {"empty", ""},
    };
    for (const Case& c : broken) {
        replaceFile(folder, "store.json", c.content);
        const std::string error = NodeStore::loadError();
        EXPECT_NE(error.find(file), std::string::npos) << c.what << ": " << error;
        // The last sound copy still reads, but nothing is written over the file.
        EXPECT_EQ(text(eth1, NodeLexicon::NAME), "eth1") << c.what;
        Instrumentation cursor;
        cursor.selectNode(eth1);
        std::string gateway = "192.0.2.254";
        EXPECT_FALSE(cursor.setProperty(NodeLexicon::IPV4_GATEWAY, gateway)) << c.what;
        EXPECT_EQ(folder.read("store.json"), c.content) << c.what;
    }

    ASSERT_EQ(std::remove(file.c_str()), 0);
    EXPECT_NE(NodeStore::loadError().find("does not exist"), std::string::npos) << NodeStore::loadError();
    ASSERT_EQ(::mkdir(file.c_str(), 0755), 0);
    EXPECT_NE(NodeStore::loadError().find("not a regular file"), std::string::npos) << NodeStore::loadError();
    ASSERT_EQ(::rmdir(file.c_str()), 0);

    replaceFile(folder, "store.json", withEth1Address("198.51.100.9"));
    EXPECT_EQ(NodeStore::loadError(), "");
    EXPECT_EQ(text(eth1, NodeLexicon::IPV4_ADDRESS), "198.51.100.9");

    // Opening a broken file fails and keeps the sound store.
    folder.write("other.json", "[]");
    EXPECT_THROW(NodeStore::open(folder.path("other.json")), std::runtime_error);
    EXPECT_EQ(NodeStore::loadError(), "");
    EXPECT_EQ(NodeStore::currentFile(), file);
}

TEST_F(SharedFileTest, TemporaryFilesLeftByACrashAreRemovedOnTheNextWrite)
{
    folder.write(".store.json.tmp-AbC123", "{\"nodes\": [");
    folder.write(".store.json.tmp-zz9ZZ9", "");
    // Not ours to remove.
    folder.write(".store.json.tmp-toolong1", "x");
    folder.write(".other.json.tmp-AbC123", "x");
    folder.write("store.json.tmp-AbC123", "x");
    Instrumentation cursor;
    cursor.selectNode(eth0);
    std::string address = "192.0.2.11";
    ASSERT_TRUE(cursor.setProperty(NodeLexicon::IPV4_ADDRESS, address));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{".other.json.tmp-AbC123", ".store.json.tmp-toolong1",
                                                          "store.json", "store.json.tmp-AbC123"}));
}

TEST(SharedFileOpen, OpeningAStoreRemovesTemporaryFilesLeftByACrash)
{
    TempFolder folder;
    folder.write("store.json", sampleStore());
    folder.write(".store.json.tmp-AbC123", "{");
    NodeStore::open(folder.path("store.json"));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"store.json"}));
}
