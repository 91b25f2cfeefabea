// Many clients applying settings while others enumerate: every
// configuration thread ends, every record is freed and the store holds
// only values that were applied.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "ConfigScene.h"

using namespace configscene;
using cimhost::Request;
using cimhost::Response;
using testsupport::ModuleHarness;
using Korvu::NodeLexicon;
using Korvu::NodeStore;
using Korvu::IPInterfaceProvider::ConfigurationThread;

TEST(ConfigurationStress, ConcurrentApplyCallsAndEnumerationsLeaveAConsistentStore)
{
    ModuleHarness h(store());
    OtherProviders others(h.broker(), {"eth1_"});
    others.addDhcp("Computer:eth10");
    others.addDns("Computer:eth1", "gamma", "example.com", {"192.0.2.153", "192.0.2.154"});
    {
        Request req(h.broker());
        cimhost::InstanceSpec staged;
        staged.path = path("Tavrix_StaticIPAssignmentSettingData", {{"InstanceID", text("Computer:eth1")}});
        staged.properties = {{"IPv4Address", text("198.51.100.99")}};
        ASSERT_TRUE(req.modifyInstance(req.makePath(staged.path), req.makeInstance(staged)).ok());
    }

    const int appliers = 4;
    const int callsEach = 25;
    std::atomic<int> answered{0};
    std::atomic<int> queueFull{0};
    std::atomic<int> failures{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < appliers; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < callsEach; ++i) {
                Request req(h.broker());
                const bool eth1 = (i + t) % 2 == 0;
                Applied a = apply(req, h.broker(), eth1 ? "Computer:eth1:static" : "Computer:eth10:dhcp",
                                  eth1 ? eth1Endpoint : eth10Endpoint);
                if (a.returnValue == 0 && a.jobId == "IPConfigSvcJob:1")
                    ++answered;
                else if (a.returnValue == 4 && a.response.rc == CMPI_RC_ERR_FAILED && a.jobId.empty())
                    ++queueFull;  // the interface's queue was full
                else
                    ++failures;
            }
        });
    for (int t = 0; t < 2; ++t)
        threads.emplace_back([&] {
            while (!stop.load()) {
                Request req(h.broker());
                for (const char* cls : {"Tavrix_IPProtocolEndpoint", "Tavrix_IPConfigurationService",
                                        "Tavrix_StaticIPAssignmentSettingData"}) {
                    Response r = req.enumerateInstances(h.classPath(req, cls));
                    if (!r.ok() || r.instances.empty())
                        ++failures;
                }
            }
        });
    for (int t = 0; t < appliers; ++t)
        threads[t].join();
    stop.store(true);
    for (std::size_t t = appliers; t < threads.size(); ++t)
        threads[t].join();

    ASSERT_TRUE(ConfigurationThread::waitUntilIdle(60000));
    EXPECT_EQ(ConfigurationThread::running(), 0u);
    EXPECT_EQ(answered.load() + queueFull.load(), appliers * callsEach);
    EXPECT_GT(answered.load(), 0);
    EXPECT_EQ(failures.load(), 0);

    // Only applied values, and the file agrees with memory.
    EXPECT_EQ(number(eth1Node, NodeLexicon::ADDRESS_ORIGIN), 3u);
    EXPECT_EQ(number(eth1DhcpNode, NodeLexicon::ADDRESS_ORIGIN), 3u);
    EXPECT_EQ(textOf(eth1Node, NodeLexicon::IPV4_ADDRESS), "198.51.100.99");
    EXPECT_EQ(textOf(eth1Node, NodeLexicon::HOST_NAME), "gamma");
    EXPECT_EQ(listOf(eth1Node, NodeLexicon::DNS_SERVERS),
              (std::vector<std::string>{"192.0.2.153", "192.0.2.154"}));
    EXPECT_EQ(number(eth10Node, NodeLexicon::ADDRESS_ORIGIN), 1u);
    EXPECT_EQ(textOf(eth10Node, NodeLexicon::IPV4_ADDRESS), "203.0.113.10");
    const std::string inMemory = NodeStore::toJson();
    NodeStore::reload();
    EXPECT_EQ(NodeStore::toJson(), inMemory);
}
