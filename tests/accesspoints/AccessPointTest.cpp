// Tavrix_IPRemoteServiceAccessPoint through the broker and the module's factories.
#include <gtest/gtest.h>

#include "LogCapture.h"
#include "RemoteServiceAccessPoint.h"
#include "Stores.h"

using namespace stores;
using cimhost::Request;
using cimhost::Response;
using Korvu::NodeLexicon;
using testsupport::keyText;
using testsupport::ModuleHarness;
using testsupport::propertyText;

namespace {

const char* const accessClass = "Tavrix_IPRemoteServiceAccessPoint";

const CMPIInstance* getOne(Request& req, const cimhost::PathSpec& path)
{
    Response r = req.getInstance(req.makePath(path));
    return r.instances.size() == 1 ? r.instances[0] : nullptr;
}

} // namespace

TEST(AccessPointWalk, InterfacesWithoutGatewayArePassedOver)
{
    ModuleHarness h(gateways());
    Request req(h.broker());
    Response r = req.enumerateInstances(h.classPath(req, accessClass));
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.instances.size(), 4u);
    EXPECT_EQ(r.doneCount, 1);
    EXPECT_EQ(propertyText(r.instances[0], "Name"), "eth0_IPv4");
    EXPECT_EQ(propertyText(r.instances[0], "AccessInfo"), "192.0.2.1");
    EXPECT_EQ(propertyText(r.instances[0], "InfoFormat"), "3");
    EXPECT_EQ(propertyText(r.instances[1], "Name"), "eth2_IPv6");
    EXPECT_EQ(propertyText(r.instances[1], "AccessInfo"), "2001:db8::1");
    EXPECT_EQ(propertyText(r.instances[1], "InfoFormat"), "4");
    EXPECT_EQ(propertyText(r.instances[2], "Name"), "eth2_IPv4");
    EXPECT_EQ(propertyText(r.instances[2], "AccessInfo"), "198.51.100.1");
    EXPECT_EQ(propertyText(r.instances[2], "InfoFormat"), "3");
    EXPECT_EQ(propertyText(r.instances[3], "Name"), "bmc0_IPv6");
    for (const CMPIInstance* inst : r.instances) {
        EXPECT_EQ(propertyText(inst, "AccessContext"), "2");
        EXPECT_EQ(propertyText(inst, "OtherAccessContext"), "");
        EXPECT_EQ(propertyText(inst, "CreationClassName"), accessClass);
    }
    EXPECT_EQ(propertyText(r.instances[0], "ElementName"), "eth0");
    EXPECT_EQ(propertyText(r.instances[0], "SystemName"), hostName());

    Response names = req.enumerateInstanceNames(h.classPath(req, accessClass));
    ASSERT_EQ(names.paths.size(), 4u);
    EXPECT_EQ(keyText(names.paths[1], "Name"), "eth2_IPv6");
    EXPECT_EQ(keyText(names.paths[1], "SystemCreationClassName"), "Tavrix_ComputerSystem");
}

TEST(AccessPointWalk, StoreStartingWithoutGatewaysStartsAtTheFirstOne)
{
    ModuleHarness h(R"({"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","children":[
      {"name":"nic","type":"NETWORK_ADAPTER","children":[
       {"name":"a","type":"IP_INTERFACE","properties":{"NAME":"a"}},
       {"name":"b","type":"IP_INTERFACE","properties":{"NAME":"b","IPV6_GATEWAY":""}},
       {"name":"c","type":"IP_INTERFACE","properties":{"NAME":"c","IPV6_GATEWAY":"2001:db8::9"}},
       {"name":"d","type":"IP_INTERFACE","properties":{"NAME":"d"}}]}]}]})");
    Request req(h.broker());
    Response r = req.enumerateInstanceNames(h.classPath(req, accessClass));
    ASSERT_EQ(r.paths.size(), 1u);
    EXPECT_EQ(keyText(r.paths[0], "Name"), "c_IPv6");
}

TEST(AccessPointKeys, NameSuffixSelectsTheGateway)
{
    ModuleHarness h(gateways());
    Request req(h.broker());
    const CMPIInstance* v4 = getOne(req, accessPath(hostName(), "eth2_IPv4"));
    ASSERT_NE(v4, nullptr);
    EXPECT_EQ(propertyText(v4, "InfoFormat"), "3");
    EXPECT_EQ(propertyText(v4, "AccessInfo"), "198.51.100.1");
    const CMPIInstance* v6 = getOne(req, accessPath(hostName(), "eth2_IPv6"));
    ASSERT_NE(v6, nullptr);
    EXPECT_EQ(propertyText(v6, "InfoFormat"), "4");
    EXPECT_EQ(propertyText(v6, "AccessInfo"), "2001:db8::1");

    // The Name is matched whole: a bare or garbled one names no gateway.
    for (const char* name : {"eth2", "eth2_garbage_IPv4", "eth2_IPv4_x"})
        EXPECT_EQ(req.getInstance(req.makePath(accessPath(hostName(), name))).rc,
                  CMPI_RC_ERR_NOT_FOUND) << name;

    // A gateway the interface lacks, or an interface without any, is no element.
    EXPECT_EQ(req.getInstance(req.makePath(accessPath(hostName(), "eth0_IPv6"))).rc,
              CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(req.getInstance(req.makePath(accessPath(hostName(), "eth1_IPv4"))).rc,
              CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(req.getInstance(req.makePath(accessPath(hostName(), "eth1"))).rc,
              CMPI_RC_ERR_NOT_FOUND);
}

TEST(AccessPointKeys, ServiceProcessorGateway)
{
    ModuleHarness h(gateways());
    Request req(h.broker());
    const CMPIInstance* bmc = getOne(req, accessPath("BMC:-1", "bmc0_IPv6", true));
    ASSERT_NE(bmc, nullptr);
    EXPECT_EQ(propertyText(bmc, "SystemName"), "BMC:-1");
    EXPECT_EQ(propertyText(bmc, "SystemCreationClassName"), "Tavrix_SPComputerSystem");
    EXPECT_EQ(propertyText(bmc, "AccessInfo"), "fe80::1");
    // The host's system name does not reach the service processor's gateway.
    EXPECT_EQ(req.getInstance(req.makePath(accessPath(hostName(), "bmc0_IPv6"))).rc,
              CMPI_RC_ERR_NOT_FOUND);
}

TEST(AccessPointModify, ElementKindChoosesTheGatewayWritten)
{
    // Dual-stack nodes, whatever their protocol type says.
    for (unsigned type : {4096u, 4097u, 4098u, 7u}) {
        ModuleHarness h(gateways(4098, type));
        Request req(h.broker());
        Response r = modify(req, accessPath(hostName(), "eth2_IPv4"), {{"AccessInfo", text("198.51.100.2")}});
        EXPECT_EQ(r.rc, CMPI_RC_OK) << type << ": " << r.message;
        EXPECT_EQ(nodeText("/host/nic0/eth2", NodeLexicon::Properties::IPV4_GATEWAY), "198.51.100.2");
        EXPECT_EQ(nodeText("/host/nic0/eth2", NodeLexicon::Properties::IPV6_GATEWAY), "2001:db8::1");

        r = modify(req, accessPath(hostName(), "eth2_IPv6"), {{"AccessInfo", text("2001:db8::fe")}});
        EXPECT_EQ(r.rc, CMPI_RC_OK) << type << ": " << r.message;
        EXPECT_EQ(nodeText("/host/nic0/eth2", NodeLexicon::Properties::IPV6_GATEWAY), "2001:db8::fe");
        EXPECT_EQ(nodeText("/host/nic0/eth2", NodeLexicon::Properties::IPV4_GATEWAY), "198.51.100.2");

        // An address of the other kind is refused and never lands on the other gateway.
        r = modify(req, accessPath(hostName(), "eth2_IPv4"), {{"AccessInfo", text("2001:db8::77")}});
        EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_PARAMETER);
        r = modify(req, accessPath(hostName(), "eth2_IPv6"), {{"AccessInfo", text("198.51.100.77")}});
        EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_PARAMETER);
        EXPECT_EQ(nodeText("/host/nic0/eth2", NodeLexicon::Properties::IPV6_GATEWAY), "2001:db8::fe");
        EXPECT_EQ(nodeText("/host/nic0/eth2", NodeLexicon::Properties::IPV4_GATEWAY), "198.51.100.2");

        // A node with an IPv4 gateway only, under an IPv6-capable type.
        r = modify(req, accessPath(hostName(), "eth0_IPv4"), {{"AccessInfo", text("192.0.2.254")}});
        EXPECT_EQ(r.rc, CMPI_RC_OK) << r.message;
        EXPECT_EQ(nodeText("/host/nic0/eth0", NodeLexicon::Properties::IPV4_GATEWAY), "192.0.2.254");
        EXPECT_EQ(nodeText("/host/nic0/eth0", NodeLexicon::Properties::IPV6_GATEWAY), "<absent>");
    }
}

TEST(AccessPointModify, RefusedRequestsWriteNothing)
{
    ModuleHarness h(gateways(4096, 7));
    std::string before = h.readFile(h.storeFile());
    Request req(h.broker());

    // Not an address of the family about to be written, or a line break.
    for (const char* bad : {"2001:db8::1", "192.0.2.300", "", "192.0.2.9\nDEVICE=eth9", "gateway"}) {
        Response r = modify(req, accessPath(hostName(), "eth0_IPv4"), {{"AccessInfo", text(bad)}});
        EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_PARAMETER) << bad;
    }

    // Keys selecting nothing.
    Response missing = modify(req, accessPath(hostName(), "eth1_IPv4"), {{"AccessInfo", text("192.0.2.7")}});
    EXPECT_EQ(missing.rc, CMPI_RC_ERR_NOT_FOUND);

    // No AccessInfo: nothing to change.
    EXPECT_EQ(modify(req, accessPath(hostName(), "eth0_IPv4"), {{"ElementName", text("x")}}).rc, CMPI_RC_OK);
    EXPECT_EQ(h.readFile(h.storeFile()), before);
}

TEST(AccessPointModel, SetAccessInfoChecksTheAddressItself)
{
    ModuleHarness h(gateways(4097));
    Korvu::IPInterfaceProvider::RemoteServiceAccessPoint model;
    ASSERT_TRUE(static_cast<bool>(model));
    // The first element is eth0's IPv4 gateway.
    EXPECT_FALSE(model.setAccessInfo("2001:db8::5"));
    EXPECT_TRUE(model.setAccessInfo("192.0.2.5"));
    EXPECT_EQ(nodeText("/host/nic0/eth0", NodeLexicon::Properties::IPV4_GATEWAY), "192.0.2.5");
    EXPECT_EQ(nodeText("/host/nic0/eth0", NodeLexicon::Properties::IPV6_GATEWAY), "<absent>");
}

TEST(AccessPointKeys, InterfaceNamesWithUnderscoresKeepTheirOwnGateways)
{
    ModuleHarness h(R"({"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","description":"Host","children":[
  {"name":"nic0","type":"NETWORK_ADAPTER","children":[
   {"name":"lan","type":"IP_INTERFACE","properties":{"NAME":"br_lan","IPV4_GATEWAY":"192.0.2.1",
     "MAC_ADDRESS":"52:54:00:00:00:01","ADDRESS_ORIGIN":3,
     "PROTOCOL_IF_TYPE":4096}},
   {"name":"wan","type":"IP_INTERFACE","properties":{"NAME":"br_wan","IPV4_GATEWAY":"198.51.100.1",
     "MAC_ADDRESS":"52:54:00:00:00:02","ADDRESS_ORIGIN":3,
     "PROTOCOL_IF_TYPE":4096}}]}]}
]})");
    Request req(h.broker());
    for (const auto& [name, gateway] : {std::pair<std::string, std::string>{"br_lan_IPv4", "192.0.2.1"},
                                        {"br_wan_IPv4", "198.51.100.1"}}) {
        const CMPIInstance* found = getOne(req, accessPath(hostName(), name));
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(propertyText(found, "Name"), name);
        EXPECT_EQ(propertyText(found, "AccessInfo"), gateway) << name;
    }

    // Each endpoint reaches its own interface's gateway alone.
    Response endpoints = req.enumerateInstanceNames(h.classPath(req, "Tavrix_IPProtocolEndpoint"));
    ASSERT_EQ(endpoints.paths.size(), 2u);
    for (const CMPIObjectPath* endpoint : endpoints.paths) {
        const std::string interfaceName = keyText(endpoint, "Name").substr(0, 6);
        Response far = req.associators(endpoint, "Tavrix_IPRemoteAccessAvailableToElement", accessClass);
        ASSERT_TRUE(far.ok()) << far.message;
        ASSERT_EQ(far.instances.size(), 1u) << interfaceName;
        EXPECT_EQ(propertyText(far.instances[0], "Name"), interfaceName + "_IPv4");
    }
}
