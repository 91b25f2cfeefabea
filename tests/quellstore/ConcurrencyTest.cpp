#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "Instrumentation.h"
#include "NodeStore.h"
#include "TempFolder.h"

using Korvu::Instrumentation;
using Korvu::NodeLexicon;
using Korvu::NodeStore;

namespace {

const int interfaces = 64;
const int writers = 2;

std::string interfacePath(int index) { return "/host/a" + std::to_string(index / 8) + "/if" + std::to_string(index); }

std::string buildStore()
{
    std::string text = R"({"nodes": [{"name": "host", "type": 40, "children": [)";
    for (int i = 0; i < interfaces; ++i) {
        if (i % 8 == 0)
            text += std::string(i ? "]}," : "") + R"({"name": "a)" + std::to_string(i / 8) + R"(", "type": 12, "children": [)";
        else
            text += ",";
        text += R"({"name": "if)" + std::to_string(i) + R"(", "type": 29, "properties":
                   {"IPV4_ADDRESS": "initial", "DNS_SERVERS": ["initial", "initial"]}})";
    }
    return text + "]}]}]}";
}

// A written value carries its own check, so that a reader can tell a torn
// or mixed value from a real one.
std::string checked(const std::string& body) { return body + "-" + std::to_string(std::hash<std::string>()(body) % 9973); }

bool isValid(const std::string& value)
{
    std::size_t last = value.rfind('-');
    return value == "initial" || (last != std::string::npos && checked(value.substr(0, last)) == value);
}

} // namespace

TEST(ConcurrencyTest, ReadersSeeWholeValuesAndTheFileHoldsEveryLastWrite)
{
    TempFolder folder;
    folder.write("store.json", buildStore());
    NodeStore::open(folder.path("store.json"));

    std::atomic<bool> stop(false);
    std::atomic<unsigned long> walks(0), bad(0), refused(0), reloads(0);
    std::vector<std::map<std::string, std::string>> lastWritten(writers);
    std::vector<std::thread> threads;

    for (int r = 0; r < 4; ++r) {
        threads.emplace_back([&] {
            while (!stop) {
                int seen = 0;
                Instrumentation cursor;
                for (cursor.selectNode(NodeLexicon::IP_INTERFACE); cursor; ++cursor, ++seen) {
                    std::string address;
                    std::vector<std::string> servers;
                    if (!cursor.getProperty(NodeLexicon::IPV4_ADDRESS, address) || !isValid(address) ||
                        !cursor.getProperty(NodeLexicon::DNS_SERVERS, servers) || servers.size() != 2 ||
                        servers[0] != servers[1] || !isValid(servers[0]))
                        ++bad;
                }
                bad += seen != interfaces;
                ++walks;
            }
        });
    }
    for (int w = 0; w < writers; ++w) {
        threads.emplace_back([&, w] {
            // Most cursors are kept, so that many writes go through a store
            // that a reload has replaced since; some are positioned anew.
            std::vector<Instrumentation> cursors(interfaces / writers);
            for (int i = 0; i < interfaces / writers; ++i)
                cursors[i].selectNode(interfacePath(i * writers + w));
            for (unsigned long sequence = 1; !stop; ++sequence) {
                Instrumentation& cursor = cursors[sequence % cursors.size()];
                if (sequence % 7 == 0)
                    cursor.selectNode(cursor.getPath());
                std::string value = checked(std::to_string(w) + "-" + std::to_string(sequence));
                if (cursor.setProperty(NodeLexicon::IPV4_ADDRESS, value) &&
                    cursor.setProperty(NodeLexicon::DNS_SERVERS, {value, value}))
                    lastWritten[w][cursor.getPath()] = value;
                else
                    ++refused;
            }
        });
    }
    threads.emplace_back([&] {
        while (!stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            NodeStore::reload();
            ++reloads;
        }
    });

    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    stop = true;
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(bad.load(), 0u);
    EXPECT_EQ(refused.load(), 0u);
    EXPECT_GT(walks.load(), 0u);
    EXPECT_GT(reloads.load(), 0u);

    NodeStore::reload();
    std::size_t verified = 0;
    for (const auto& written : lastWritten) {
        for (const auto& entry : written) {
            Instrumentation cursor;
            cursor.selectNode(entry.first);
            std::string address;
            std::vector<std::string> servers;
            EXPECT_TRUE(cursor.getProperty(NodeLexicon::IPV4_ADDRESS, address) && address == entry.second)
                << entry.first << ": " << address << " instead of " << entry.second;
            EXPECT_TRUE(cursor.getProperty(NodeLexicon::DNS_SERVERS, servers) &&
                        servers == std::vector<std::string>(2, entry.second));
            ++verified;
        }
    }
    EXPECT_GT(verified, 0u);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"store.json"});
}
