// Gateways written by some requests while others enumerate them.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "Stores.h"

using namespace stores;
using cimhost::Request;
using cimhost::Response;
using Korvu::NodeLexicon;
using testsupport::ModuleHarness;
using testsupport::propertyText;

TEST(AccessPointsConcurrency, ReadersSeeWholeGatewaysWhileWritersChangeThem)
{
    ModuleHarness h(gateways(4096, 4098));
    const int rounds = 20;
    std::set<std::string> written = {"192.0.2.1"};
    for (int i = 1; i <= rounds; ++i)
        written.insert("192.0.2." + std::to_string(100 + i));

    std::atomic<bool> writing{true};
    std::atomic<int> failures{0};
    std::atomic<int> oddReads{0};
    std::thread writer([&] {
        for (int i = 1; i <= rounds; ++i) {
            Request req(h.broker());
            if (!modify(req, accessPath(hostName(), "eth0_IPv4"),
                        {{"AccessInfo", text("192.0.2." + std::to_string(100 + i))}})
                     .ok())
                ++failures;
        }
        writing = false;
    });
    std::vector<std::thread> readers;
    for (int r = 0; r < 2; ++r) {
        readers.emplace_back([&] {
            do {
                Request req(h.broker());
                Response all = req.enumerateInstances(h.classPath(req, "Tavrix_IPRemoteServiceAccessPoint"));
                if (!all.ok() || all.instances.size() != 4u ||
                    !written.count(propertyText(all.instances[0], "AccessInfo")))
                    ++oddReads;
            } while (writing);
        });
    }
    writer.join();
    for (std::thread& t : readers)
        t.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(oddReads, 0);
    EXPECT_EQ(nodeText("/host/nic0/eth0", NodeLexicon::Properties::IPV4_GATEWAY),
              "192.0.2." + std::to_string(100 + rounds));
}
