// ApplySettingToIPProtocolEndpoint and the configuration thread.
#include <gtest/gtest.h>

#include "ConfigScene.h"
#include "LogCapture.h"

using namespace configscene;
using cimhost::Request;
using cimhost::Response;
using cimhost::Value;
using testsupport::ModuleHarness;
using Korvu::NodeLexicon;
using Korvu::NodeStore;
using Korvu::IPInterfaceProvider::ConfigurationThread;

namespace {

// Stages static values the way a client does: ModifyInstance of the
// interface's static setting, which lands in its ifcfg file.
void stage(ModuleHarness& h, Request& req, const std::string& interfaceName,
           const cimhost::NamedValues& values)
{
    cimhost::InstanceSpec described;
    described.path = path("Tavrix_StaticIPAssignmentSettingData",
                          {{"InstanceID", text("Computer:" + interfaceName)}});
    described.properties = values;
    Response r = req.modifyInstance(req.makePath(described.path), req.makeInstance(described));
    ASSERT_TRUE(r.ok()) << r.message;
    ASSERT_TRUE(h.fileExists(h.dataDir() + "ifcfg-" + interfaceName));
}

} // namespace

TEST(ApplyStatic, StagedValuesReachTheRightInterfaceAndAskForARestart)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {});
    stage(h, req, "eth1", {{"IPv4Address", text("198.51.100.77")}, {"SubnetMask", text("255.255.255.0")}});
    stage(h, req, "eth10", {{"IPv4Address", text("203.0.113.99")},
                            {"GatewayIPv4Address", text("203.0.113.254")},
                            {"IPv6SubnetPrefixLength", Value::uint16(0)}});
    const unsigned long restarts = NodeStore::agentRestartRequests();

    // eth1's setting comes first and its id is a prefix of eth10's text.
    Applied applied = applyAndWait(req, h.broker(), "Computer:eth10:static", eth10Endpoint);
    ASSERT_TRUE(applied.response.ok()) << applied.response.message;
    EXPECT_EQ(applied.returnValue, 0u);
    EXPECT_EQ(applied.jobId, "IPConfigSvcJob:1");

    EXPECT_EQ(number(eth10Node, NodeLexicon::ADDRESS_ORIGIN), 3u);
    EXPECT_EQ(textOf(eth10Node, NodeLexicon::IPV4_ADDRESS), "203.0.113.99");
    EXPECT_EQ(textOf(eth10Node, NodeLexicon::IPV4_GATEWAY), "203.0.113.254");
    EXPECT_EQ(textOf(eth10Node, NodeLexicon::SUBNET_MASK), "255.255.255.0");
    EXPECT_EQ(number(eth10Node, NodeLexicon::PREFIX_LENGTH), 64u);
    EXPECT_EQ(NodeStore::agentRestartRequests(), restarts + 1);
    EXPECT_EQ(number("/host", NodeLexicon::STATE), 9u);
    // eth1 is left alone.
    EXPECT_EQ(textOf(eth1Node, NodeLexicon::IPV4_ADDRESS), "198.51.100.1");
    EXPECT_EQ(ConfigurationThread::running(), 0u);
}

TEST(ApplyStatic, BothNodesOfAnInterfaceAreConfiguredAndUnchangedAddressesNeedNoRestart)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {});
    // The values eth1's first node already has.
    stage(h, req, "eth1", {{"IPv4Address", text("198.51.100.1")}, {"IPv6Address", text("2001:db8::1")}});
    // The second node's address differs, so that node alone asks for a restart.
    const unsigned long restarts = NodeStore::agentRestartRequests();
    Applied applied = applyAndWait(req, h.broker(), "Computer:eth1:static", eth1Endpoint);
    EXPECT_EQ(applied.returnValue, 0u);
    EXPECT_EQ(number(eth1Node, NodeLexicon::ADDRESS_ORIGIN), 3u);
    EXPECT_EQ(number(eth1DhcpNode, NodeLexicon::ADDRESS_ORIGIN), 3u);
    EXPECT_EQ(textOf(eth1DhcpNode, NodeLexicon::IPV4_ADDRESS), "198.51.100.1");
    EXPECT_EQ(NodeStore::agentRestartRequests(), restarts + 1);

    // Applying the same again changes no address on either node.
    applyAndWait(req, h.broker(), "Computer:eth1:static", eth1Endpoint);
    EXPECT_EQ(NodeStore::agentRestartRequests(), restarts + 1);
}

TEST(ApplyDhcp, SwitchesTheOriginAndRestartsOnlyForANewLease)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {});
    others.addDhcp("Computer:eth1");
    const unsigned long restarts = NodeStore::agentRestartRequests();

    Applied applied = applyAndWait(req, h.broker(), "Computer:eth1:dhcp", eth1Endpoint);
    EXPECT_EQ(applied.returnValue, 0u);
    EXPECT_EQ(number(eth1Node, NodeLexicon::ADDRESS_ORIGIN), 1u);
    EXPECT_EQ(textOf(eth1Node, NodeLexicon::IPV4_ADDRESS), "198.51.100.1");
    EXPECT_EQ(NodeStore::agentRestartRequests(), restarts);

    // The agent's DHCP client answers a switch to DHCP with a new lease.
    NodeStore::setWriteObserver([](const std::string& node, unsigned int property) {
        if (node != eth10Node || property != NodeLexicon::ADDRESS_ORIGIN ||
            number(node, NodeLexicon::ADDRESS_ORIGIN) != 1)
            return;
        Korvu::Instrumentation cursor;
        cursor.selectNode(node);
        std::string lease = "203.0.113.50";
        cursor.setProperty(NodeLexicon::IPV4_ADDRESS, lease);
    });
    // eth10 is on DHCP already: its origin is not written, so no lease.
    others.addDhcp("Computer:eth10");
    applyAndWait(req, h.broker(), "Computer:eth10:dhcp", eth10Endpoint);
    EXPECT_EQ(NodeStore::agentRestartRequests(), restarts);

    Korvu::Instrumentation cursor;
    cursor.selectNode(eth10Node);
    unsigned int staticOrigin = 3;
    ASSERT_TRUE(cursor.setProperty(NodeLexicon::ADDRESS_ORIGIN, staticOrigin));
    // The endpoint's Name follows its origin.
    applyAndWait(req, h.broker(), "Computer:eth10:dhcp", "eth10_52:54:00:00:00:10_3");
    NodeStore::setWriteObserver(nullptr);
    EXPECT_EQ(number(eth10Node, NodeLexicon::ADDRESS_ORIGIN), 1u);
    EXPECT_EQ(textOf(eth10Node, NodeLexicon::IPV4_ADDRESS), "203.0.113.50");
    EXPECT_EQ(NodeStore::agentRestartRequests(), restarts + 1);
}

TEST(ApplyDns, ValuesAreCopiedOnlyForEndpointsWithADnsEndpoint)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {"eth1_"});
    others.addDhcp("Computer:eth1");
    others.addDhcp("Computer:eth10");
    others.addDns("Computer:eth10", "beta", "example.org", {"192.0.2.53", "192.0.2.54"});
    others.addDns("Computer:eth1", "gamma", "example.com", {"192.0.2.153"});
    others.addGeneral("Computer:eth1", {"a.example", "b.example"});
    others.addGeneral("Computer:eth10", {"ten.example"});
    const unsigned long restarts = NodeStore::agentRestartRequests();

    applyAndWait(req, h.broker(), "Computer:eth1:dhcp", eth1Endpoint);
    EXPECT_EQ(textOf(eth1Node, NodeLexicon::HOST_NAME), "gamma");
    EXPECT_EQ(textOf(eth1Node, NodeLexicon::DOMAIN_NAME), "example.com");
    EXPECT_EQ(listOf(eth1Node, NodeLexicon::DNS_SERVERS), std::vector<std::string>{"192.0.2.153"});
    EXPECT_EQ(listOf(eth1Node, NodeLexicon::DNS_SUFFIXES),
              (std::vector<std::string>{"a.example", "b.example"}));
    // The second eth1 node has no host name to replace.
    EXPECT_EQ(textOf(eth1DhcpNode, NodeLexicon::HOST_NAME), "<absent>");
    EXPECT_EQ(listOf(eth1DhcpNode, NodeLexicon::DNS_SERVERS), std::vector<std::string>{"192.0.2.153"});
    EXPECT_EQ(NodeStore::agentRestartRequests(), restarts + 1);

    // eth10 resolves no names through a DNS endpoint.
    applyAndWait(req, h.broker(), "Computer:eth10:dhcp", eth10Endpoint);
    EXPECT_EQ(textOf(eth10Node, NodeLexicon::HOST_NAME), "alpha");
    EXPECT_TRUE(listOf(eth10Node, NodeLexicon::DNS_SERVERS).empty());
    EXPECT_TRUE(listOf(eth10Node, NodeLexicon::DNS_SUFFIXES).empty());
    EXPECT_EQ(NodeStore::agentRestartRequests(), restarts + 1);
}

TEST(ApplyDns, ADomainNameAloneNeedsNoRestart)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {"eth10_"});
    others.addDhcp("Computer:eth10");
    others.addDns("Computer:eth10", "", "example.org", {});
    const unsigned long restarts = NodeStore::agentRestartRequests();
    applyAndWait(req, h.broker(), "Computer:eth10:dhcp", eth10Endpoint);
    EXPECT_EQ(textOf(eth10Node, NodeLexicon::DOMAIN_NAME), "example.org");
    EXPECT_EQ(textOf(eth10Node, NodeLexicon::HOST_NAME), "alpha");
    EXPECT_EQ(NodeStore::agentRestartRequests(), restarts);
}

TEST(ApplyNothing, AConfigurationThatMatchesNothingIsRefusedAndWritesNothing)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {"eth1_"});
    others.addDns("Computer:eth1", "gamma", "", {"192.0.2.153"});
    const std::string before = NodeStore::toJson();
    const unsigned long started = ConfigurationThread::started();

    Applied applied = applyAndWait(req, h.broker(), "Computer:eth1:unknown", eth1Endpoint);
    EXPECT_EQ(applied.returnValue, 4u);
    EXPECT_EQ(applied.response.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(applied.response.message, "Configuration names no static or DHCP setting of the interface");
    EXPECT_TRUE(applied.jobId.empty());

    // An endpoint that names no interface.
    applied = applyAndWait(req, h.broker(), "Computer:eth7:dhcp", "eth7");
    EXPECT_EQ(applied.returnValue, 2u);
    EXPECT_EQ(applied.response.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_TRUE(applied.jobId.empty());
    EXPECT_EQ(ConfigurationThread::started(), started);
    EXPECT_EQ(NodeStore::toJson(), before);
}

TEST(ApplyArguments, EveryWrongArgumentHasItsStatusAndReturnValue)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {});
    const Value configuration = Value::reference(configurationPath("Computer:eth1:static"));
    const Value endpoint = Value::reference(endpointPath(eth1Endpoint));
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, Value>> arguments;
        CMPIrc rc;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"no arguments", {}, CMPI_RC_ERR_INVALID_PARAMETER, "Invalid Type of Parameter"},
        {"endpoint missing", {{"Configuration", configuration}}, CMPI_RC_ERR_INVALID_PARAMETER,
         "Invalid Type of Parameter"},
        {"configuration as text",
         {{"Configuration", text("Computer:eth1:static")}, {"Endpoint", endpoint}},
         CMPI_RC_ERR_INVALID_PARAMETER, "Invalid Type of Parameter"},
        {"null configuration", {{"Configuration", Value::null(CMPI_ref)}, {"Endpoint", endpoint}},
         CMPI_RC_ERR_INVALID_PARAMETER, "Configuration Parameter passed has NULL value"},
        {"null endpoint", {{"Configuration", configuration}, {"Endpoint", Value::null(CMPI_ref)}},
         CMPI_RC_ERR_FAILED, "Endpoint Parameter passed has NULL value"},
    };
    const std::string before = NodeStore::toJson();
    for (const Case& c : cases) {
        Applied applied = invoke(req, h.broker(), c.arguments);
        EXPECT_EQ(applied.response.rc, c.rc) << c.what;
        EXPECT_EQ(applied.response.message, c.message) << c.what;
        EXPECT_EQ(applied.returnValue, 4u) << c.what;
        EXPECT_TRUE(applied.jobId.empty()) << c.what;
    }
    EXPECT_EQ(ConfigurationThread::running(), 0u);

    CMPIArgs* in = req.newArgs();
    Response r = req.invokeMethod(req.makePath(servicePath()), "ApplySettings", in, req.newArgs());
    EXPECT_EQ(r.rc, CMPI_RC_ERR_METHOD_NOT_FOUND);
    EXPECT_EQ(NodeStore::toJson(), before);
}

TEST(ApplyArguments, AThreadThatCannotStartIsAFailure)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {});
    ConfigurationThread::refuseStarts(true);
    Applied refused = apply(req, h.broker(), "Computer:eth1:static", eth1Endpoint);
    ConfigurationThread::refuseStarts(false);
    EXPECT_EQ(refused.response.rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(refused.returnValue, 4u);
    EXPECT_TRUE(refused.jobId.empty());
    EXPECT_EQ(ConfigurationThread::running(), 0u);

    // Every success hands back the same job.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(applyAndWait(req, h.broker(), "Computer:eth1:static", eth1Endpoint).jobId,
                  "IPConfigSvcJob:1");
}
