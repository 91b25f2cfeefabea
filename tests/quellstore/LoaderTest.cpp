#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>

#include "Instrumentation.h"
#include "NodeStore.h"
#include "SampleStore.h"
#include "TempFolder.h"

using Korvu::Instrumentation;
using Korvu::NodeLexicon;
using Korvu::NodeStore;

namespace {

std::string oneInterface(const std::string& properties)
{
    return R"({"nodes": [{"name": "host", "type": 40, "children": [{"name": "a", "type": 12,
              "children": [{"name": "eth0", "type": 29, "properties": {)" +
           properties + "}}]}]}]}";
}

std::string nested(std::size_t levels)
{
    std::string text = R"({"nodes": [)";
    for (std::size_t i = 0; i < levels; ++i)
        text += R"({"name": "n", "type": 1, "children": [)";
    for (std::size_t i = 0; i < levels; ++i)
        text += "]}";
    return text + "]}";
}

std::size_t countInterfaces()
{
    std::size_t count = 0;
    Instrumentation cursor;
    for (cursor.selectNode(NodeLexicon::IP_INTERFACE); cursor; ++cursor)
        ++count;
    return count;
}

} // namespace

TEST(LoaderTest, RejectsMalformedStoresWithAMessage)
{
    const std::string sample = sampleStore();
    const std::string cases[] = {
        "",
        sample.substr(0, sample.size() / 2),
        "[]",
        R"({"nodes": {}})",
        R"({"nodes": [], "extra": 1})",
        R"({"version": 2, "nodes": []})",
        R"({"nodes": [{"type": 40}]})",
        R"({"nodes": [{"name": "a/b", "type": 40}]})",
        R"({"nodes": [{"name": "a", "type": "NO_SUCH_TYPE"}]})",
        R"({"nodes": [{"name": "a", "type": -1}]})",
        R"({"nodes": [{"name": "a", "type": 40, "colour": "red"}]})",
        R"({"nodes": [{"name": "a", "type": 40}, {"name": "a", "type": 40}]})",
        oneInterface(R"("STATE": "up")"),
        oneInterface(R"("DNS_SERVERS": "192.0.2.53")"),
        oneInterface(R"("DNS_SERVERS": ["a", 1])"),
        oneInterface(R"("STATE": 4294967296)"),
        oneInterface(R"("STATE": 99999999999999999999999999)"),
        oneInterface(R"("STATE": 1e400)"),
        oneInterface(R"("STATE": 2.5)"),
        oneInterface(R"("STATE": -2)"),
        oneInterface(R"("STATE": true)"),
        oneInterface(R"("STATE": 2, "117": 3)"),
        oneInterface(R"("NO_SUCH_PROPERTY": 1)"),
        oneInterface(R"("4294967296": 1)"),
        oneInterface(R"("NAME": {"readOnly": true})"),
        oneInterface(R"("NAME": {"value": "x", "readOnly": "yes"})"),
        oneInterface(R"("NAME": {"value": {"value": "x"}})"),
        oneInterface("\"NAME\": \"\xC3(\""),
        nested(49),
        std::string(100000, '['),
    };
    for (const std::string& text : cases) {
        try {
            NodeStore::loadFromString(text);
            ADD_FAILURE() << "accepted: " << text.substr(0, 200);
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("quellstore: ", 0), 0u) << e.what();
        }
    }
    EXPECT_NO_THROW(NodeStore::loadFromString(nested(48)));
    EXPECT_NO_THROW(NodeStore::loadFromString(oneInterface(R"("STATE": 4294967295, "9999": [])")));
}

TEST(LoaderTest, FailedOpenKeepsTheCurrentStoreAndFile)
{
    TempFolder folder;
    folder.write("good.json", sampleStore());
    folder.write("bad.json", sampleStore().substr(0, 300));
    NodeStore::open(folder.path("good.json"));
    EXPECT_THROW(NodeStore::open(folder.path("bad.json")), std::runtime_error);
    EXPECT_THROW(NodeStore::open(folder.path("missing.json")), std::runtime_error);
    EXPECT_THROW(NodeStore::open(folder.path(".")), std::runtime_error);
    EXPECT_EQ(NodeStore::currentFile(), folder.path("good.json"));
    EXPECT_EQ(countInterfaces(), 3u);

    folder.write("good.json", "{");
    EXPECT_THROW(NodeStore::reload(), std::runtime_error);
    EXPECT_EQ(countInterfaces(), 3u);
}

TEST(LoaderTest, WrittenFormReadsBackToTheSameStore)
{
    NodeStore::loadFromString(sampleStore());
    std::string once = NodeStore::toJson();
    NodeStore::loadFromString(once);
    EXPECT_EQ(NodeStore::toJson(), once);
    EXPECT_NE(once.find("\"700\": 7"), std::string::npos);
}

// Mutated input either loads or is refused with std::runtime_error; the
// sanitizer builds catch anything worse.
TEST(LoaderTest, ArbitraryBytesNeverEscapeAsOtherFailures)
{
    std::mt19937 random(12345);
    for (int round = 0; round < 3000; ++round) {
        std::string text = sampleStore();
        for (int edits = 1 + random() % 8; edits > 0 && !text.empty(); --edits) {
            std::size_t at = random() % text.size();
            if (random() % 2)
                text[at] = static_cast<char>(random());
            else
                text.erase(at, 1 + random() % 16);
        }
        try {
            NodeStore::loadFromString(text);
            countInterfaces();
        } catch (const std::runtime_error&) {
        }
    }
}
