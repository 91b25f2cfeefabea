// Configurations reach exactly the interface they belong to: aliases whose
// names hold ':', a service processor whose interface shares a host
// interface's name, and per-interface DNS settings.
#include <gtest/gtest.h>

#include "ConfigScene.h"
#include "LogCapture.h"

using namespace configscene;
using cimhost::Request;
using cimhost::Response;
using cimhost::Value;
using testsupport::ModuleHarness;
using testsupport::propertyText;
using Korvu::NodeLexicon;
using Korvu::NodeStore;
using Korvu::IPInterfaceProvider::ConfigurationThread;

namespace {

// The host has eth0, its alias eth0:1 and eth1; the service processor has
// an eth0 of its own.
std::string aliasStore()
{
    return R"({"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","description":"Host","properties":{"STATE":2},"children":[
  {"name":"nic0","type":"NETWORK_ADAPTER","children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:00:00:00","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"10.0.0.1",
     "SUBNET_MASK":"255.255.255.0","IPV4_GATEWAY":"10.0.0.254","HOST_NAME":"alpha",
     "DOMAIN_NAME":"example.net"}},
   {"name":"eth0-1","type":"IP_INTERFACE","properties":{"NAME":"eth0:1",
     "MAC_ADDRESS":"52:54:00:00:00:00","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"10.0.1.1",
     "SUBNET_MASK":"255.255.255.0","IPV4_GATEWAY":"10.0.1.254","HOST_NAME":"alpha",
     "DOMAIN_NAME":"example.net"}},
   {"name":"eth1","type":"IP_INTERFACE","properties":{"NAME":"eth1",
     "MAC_ADDRESS":"52:54:00:00:00:01","ADDRESS_ORIGIN":1,"IPV4_ADDRESS":"10.0.2.1",
     "SUBNET_MASK":"255.255.255.0","IPV4_GATEWAY":"10.0.2.254"}}]}]},
 {"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","properties":{"STATE":2},"children":[
  {"name":"port","type":"NETWORK_ADAPTER","children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:00:00:b0","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"192.168.0.120",
     "SUBNET_MASK":"255.255.255.0","IPV4_GATEWAY":"192.168.0.1"}}]}]}
]})";
}

const char* const hostEth0 = "/host/nic0/eth0";
const char* const hostAlias = "/host/nic0/eth0-1";
const char* const hostEth1 = "/host/nic0/eth1";
const char* const bmcEth0 = "/bmc/port/eth0";
const char* const eth0Name = "eth0_52:54:00:00:00:00_3";
const char* const aliasName = "eth0:1_52:54:00:00:00:00_3";
const char* const eth1Name = "eth1_52:54:00:00:00:01_4";
const char* const bmcName = "eth0_52:54:00:00:00:b0_3";

cimhost::PathSpec bmcEndpointPath()
{
    return path("Tavrix_IPProtocolEndpoint",
                {{"SystemCreationClassName", text("Tavrix_SPComputerSystem")},
                 {"SystemName", text("BMC:-1")},
                 {"CreationClassName", text("Tavrix_IPProtocolEndpoint")},
                 {"Name", text(bmcName)}});
}

Applied applyTo(Request& req, ModuleHarness& h, const std::string& configurationId,
                const cimhost::PathSpec& endpoint)
{
    Applied applied =
        invoke(req, h.broker(), {{"Configuration", Value::reference(configurationPath(configurationId))},
                                 {"Endpoint", Value::reference(endpoint)}});
    ConfigurationThread::waitUntilIdle(10000);
    return applied;
}

Response stageStatic(Request& req, const std::string& instanceId, const std::string& ipv4)
{
    cimhost::InstanceSpec described;
    described.path = path("Tavrix_StaticIPAssignmentSettingData", {{"InstanceID", text(instanceId)}});
    described.properties = {{"IPv4Address", text(ipv4)}};
    return req.modifyInstance(req.makePath(described.path), req.makeInstance(described));
}

std::string staticIPv4(Request& req, const std::string& instanceId)
{
    Response r = req.getInstance(req.makePath(
        path("Tavrix_StaticIPAssignmentSettingData", {{"InstanceID", text(instanceId)}})));
    if (!r.ok() || r.instances.size() != 1)
        return "<none>";
    return propertyText(r.instances[0], "IPv4Address");
}

} // namespace

TEST(AliasConfiguration, StaticValuesComeFromTheAliasOwnSetting)
{
    ModuleHarness h(aliasStore());
    Request req(h.broker());
    OtherProviders others(h.broker(), {});
    ASSERT_TRUE(stageStatic(req, "Computer:eth0", "10.0.0.77").ok());
    ASSERT_TRUE(stageStatic(req, "Computer:eth0:1", "10.0.1.77").ok());
    EXPECT_TRUE(h.fileExists(h.dataDir() + "ifcfg-eth0:1"));
    const unsigned long restarts = NodeStore::agentRestartRequests();

    Applied applied = applyTo(req, h, "Computer:eth0:1:static", endpointPath(aliasName));
    ASSERT_TRUE(applied.response.ok()) << applied.response.message;
    EXPECT_EQ(applied.returnValue, 0u);
    EXPECT_EQ(textOf(hostAlias, NodeLexicon::IPV4_ADDRESS), "10.0.1.77");
    // eth0's staged file empties the mask and gateway of eth0, not of the alias.
    EXPECT_EQ(textOf(hostAlias, NodeLexicon::IPV4_GATEWAY), "10.0.1.254");
    EXPECT_EQ(textOf(hostEth0, NodeLexicon::IPV4_ADDRESS), "10.0.0.1");
    EXPECT_EQ(NodeStore::agentRestartRequests(), restarts + 1);

    // And eth0's own configuration leaves the alias alone.
    applyTo(req, h, "Computer:eth0:static", endpointPath(eth0Name));
    EXPECT_EQ(textOf(hostEth0, NodeLexicon::IPV4_ADDRESS), "10.0.0.77");
    EXPECT_EQ(textOf(hostAlias, NodeLexicon::IPV4_ADDRESS), "10.0.1.77");
}

TEST(AliasConfiguration, DhcpAndDnsLookupsUseTheAliasOwnSettings)
{
    ModuleHarness h(aliasStore());
    Request req(h.broker());
    OtherProviders others(h.broker(), {"eth0"});
    others.addDhcp("Computer:eth0");
    others.addDns("Computer:eth0", "alpha", "example.net", {"192.0.2.53"});
    others.addGeneral("Computer:eth0", {"eth0.example"});
    others.addDhcp("Computer:eth0:1");
    others.addDns("Computer:eth0:1", "", "alias.example", {"192.0.2.153"});
    others.addGeneral("Computer:eth0:1", {"alias.example"});

    Applied applied = applyTo(req, h, "Computer:eth0:1:dhcp", endpointPath(aliasName));
    ASSERT_EQ(applied.returnValue, 0u) << applied.response.message;
    EXPECT_EQ(number(hostAlias, NodeLexicon::ADDRESS_ORIGIN), 1u);
    EXPECT_EQ(textOf(hostAlias, NodeLexicon::DOMAIN_NAME), "alias.example");
    EXPECT_EQ(listOf(hostAlias, NodeLexicon::DNS_SERVERS), std::vector<std::string>{"192.0.2.153"});
    EXPECT_EQ(listOf(hostAlias, NodeLexicon::DNS_SUFFIXES), std::vector<std::string>{"alias.example"});
    EXPECT_EQ(number(hostEth0, NodeLexicon::ADDRESS_ORIGIN), 3u);
    EXPECT_TRUE(listOf(hostEth0, NodeLexicon::DNS_SERVERS).empty());
}

TEST(DnsGeneralSetting, EachInterfaceKeepsItsOwnSuffixes)
{
    ModuleHarness h(aliasStore());
    Request req(h.broker());
    OtherProviders others(h.broker(), {"eth"});
    others.addGeneral("Computer:eth0", {"zero.example"});
    others.addGeneral("Computer:eth1", {"one.example", "more.example"});
    others.addDhcp("Computer:eth1");

    Applied applied = applyTo(req, h, "Computer:eth1:dhcp", endpointPath(eth1Name));
    ASSERT_EQ(applied.returnValue, 0u) << applied.response.message;
    EXPECT_EQ(listOf(hostEth1, NodeLexicon::DNS_SUFFIXES),
              (std::vector<std::string>{"one.example", "more.example"}));

    // An interface without a general setting of its own keeps its suffixes.
    others.addDhcp("Computer:eth0:1");
    applyTo(req, h, "Computer:eth0:1:dhcp", endpointPath(aliasName));
    EXPECT_TRUE(listOf(hostAlias, NodeLexicon::DNS_SUFFIXES).empty());
}

TEST(ServiceProcessorValues, StaticSettingsOfBmcAndHostEth0AreKeptApart)
{
    ModuleHarness h(aliasStore());
    Request req(h.broker());
    ASSERT_TRUE(stageStatic(req, "BMC:eth0", "192.168.0.200").ok());
    // The host's file is the agent's: the service processor never writes it.
    EXPECT_FALSE(h.fileExists(h.dataDir() + "ifcfg-eth0"));
    EXPECT_EQ(staticIPv4(req, "BMC:eth0"), "192.168.0.200");
    EXPECT_EQ(staticIPv4(req, "Computer:eth0"), "10.0.0.1");

    ASSERT_TRUE(stageStatic(req, "Computer:eth0", "10.0.0.88").ok());
    EXPECT_EQ(h.readFile(h.dataDir() + "ifcfg-eth0"), "IPV4ADDR=10.0.0.88\n");
    EXPECT_EQ(staticIPv4(req, "BMC:eth0"), "192.168.0.200");
    EXPECT_EQ(staticIPv4(req, "Computer:eth0"), "10.0.0.88");
}

TEST(ServiceProcessorValues, ApplyingToTheBmcWritesOnlyTheBmcInterface)
{
    ModuleHarness h(aliasStore());
    Request req(h.broker());
    OtherProviders others(h.broker(), {});
    ASSERT_TRUE(stageStatic(req, "Computer:eth0", "10.0.0.88").ok());
    ASSERT_TRUE(stageStatic(req, "BMC:eth0", "192.168.0.200").ok());

    Applied applied = applyTo(req, h, "BMC:eth0:static", bmcEndpointPath());
    ASSERT_EQ(applied.returnValue, 0u) << applied.response.message;
    EXPECT_EQ(textOf(bmcEth0, NodeLexicon::IPV4_ADDRESS), "192.168.0.200");
    EXPECT_EQ(textOf(hostEth0, NodeLexicon::IPV4_ADDRESS), "10.0.0.1");

    applyTo(req, h, "Computer:eth0:static", endpointPath(eth0Name));
    EXPECT_EQ(textOf(hostEth0, NodeLexicon::IPV4_ADDRESS), "10.0.0.88");
    EXPECT_EQ(textOf(bmcEth0, NodeLexicon::IPV4_ADDRESS), "192.168.0.200");
}

TEST(ForeignConfiguration, IsRefusedWithoutWritingOrStartingAThread)
{
    ModuleHarness h(aliasStore());
    Request req(h.broker());
    OtherProviders others(h.broker(), {"eth"});
    others.addDhcp("Computer:eth0");
    others.addDns("Computer:eth0", "omega", "", {"192.0.2.1"});
    ASSERT_TRUE(stageStatic(req, "BMC:eth0", "192.168.0.200").ok());
    const std::string before = NodeStore::toJson();
    const unsigned long started = ConfigurationThread::started();

    struct Case {
        const char* what;
        std::string configuration;
        cimhost::PathSpec endpoint;
        CMPIrc rc;
    };
    const std::vector<Case> cases = {
        {"service processor's setting on the host", "BMC:eth0:static", endpointPath(eth0Name),
         CMPI_RC_ERR_INVALID_PARAMETER},
        {"host setting on the service processor", "Computer:eth0:static", bmcEndpointPath(),
         CMPI_RC_ERR_INVALID_PARAMETER},
        {"another interface", "Computer:eth0:dhcp", endpointPath(eth1Name), CMPI_RC_ERR_INVALID_PARAMETER},
        {"alias's parent", "Computer:eth0:dhcp", endpointPath(aliasName), CMPI_RC_ERR_INVALID_PARAMETER},
        {"no kind", "Computer:eth0", endpointPath(eth0Name), CMPI_RC_ERR_INVALID_PARAMETER},
        {"empty id", "", endpointPath(eth0Name), CMPI_RC_ERR_INVALID_PARAMETER},
        {"names no setting", "Computer:eth1:other", endpointPath(eth1Name), CMPI_RC_ERR_NOT_FOUND},
        {"no DHCP setting", "Computer:eth1:dhcp", endpointPath(eth1Name), CMPI_RC_ERR_NOT_FOUND},
        {"endpoint that does not exist", "Computer:eth7:dhcp", endpointPath("eth7_52:54:00:00:00:07_4"),
         CMPI_RC_ERR_NOT_FOUND},
    };
    for (const Case& c : cases) {
        Applied applied = applyTo(req, h, c.configuration, c.endpoint);
        EXPECT_EQ(applied.response.rc, c.rc) << c.what;
        EXPECT_FALSE(applied.response.message.empty()) << c.what;
        EXPECT_NE(applied.returnValue, 0u) << c.what;
        EXPECT_TRUE(applied.jobId.empty()) << c.what;
    }
    EXPECT_EQ(ConfigurationThread::started(), started);
    EXPECT_EQ(NodeStore::toJson(), before);
}
