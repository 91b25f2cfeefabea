// Tavrix_IPProtocolEndpoint through the broker and the module's factories.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "LogCapture.h"
#include "Scene.h"

using namespace scene;
using cimhost::Request;
using cimhost::Response;
using cimhost::Value;
using Korvu::NodeLexicon;
using testsupport::keyText;
using testsupport::ModuleHarness;
using testsupport::propertyText;

namespace {

const std::string eth0Static = "eth0_52:54:00:12:34:56_3";
const std::string eth0Dhcp = "eth0_52:54:00:12:34:56_4";
const std::string eth0Node = "/host/nic0/eth0";

struct MethodCall {
    Response response;
    CMPIUint32 returnValue = 0xFFFFFFFFu;
    CMPIArgs* out = nullptr;
};

MethodCall requestStateChange(ModuleHarness& h, Request& req, const cimhost::PathSpec& path,
                              const cimhost::NamedValues& arguments,
                              const char* method = "RequestStateChange")
{
    CMPIArgs* in = req.newArgs();
    for (const auto& argument : arguments) {
        CMPIData d = cimhost::toData(&h.broker(), req.arena(), argument.second);
        CMAddArg(in, argument.first.c_str(), &d.value, d.type);
    }
    MethodCall call;
    call.out = req.newArgs();
    call.response = req.invokeMethod(req.makePath(path), method, in, call.out);
    if (call.response.data.size() == 1 && call.response.data[0].type == CMPI_uint32)
        call.returnValue = call.response.data[0].value.uint32;
    return call;
}

} // namespace

TEST(EndpointKeys, TwoOriginsOfOneInterfaceAndTheServiceProcessor)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    Response r = req.enumerateInstanceNames(h.classPath(req, "Tavrix_IPProtocolEndpoint"));
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.paths.size(), 5u);
    EXPECT_EQ(keyText(r.paths[0], "Name"), eth0Static);
    EXPECT_EQ(keyText(r.paths[1], "Name"), eth0Dhcp);
    EXPECT_EQ(keyText(r.paths[0], "SystemName"), hostName());
    EXPECT_EQ(keyText(r.paths[0], "SystemCreationClassName"), "Tavrix_ComputerSystem");
    EXPECT_EQ(keyText(r.paths[0], "CreationClassName"), "Tavrix_IPProtocolEndpoint");

    const CMPIInstance* bmc =
        getOne(req, endpointPath("BMC:-1", "bmc0_52:54:00:ab:cd:ef_3", true));
    ASSERT_NE(bmc, nullptr);
    EXPECT_EQ(propertyText(bmc, "SystemCreationClassName"), "Tavrix_SPComputerSystem");
    EXPECT_EQ(propertyText(bmc, "SystemName"), "BMC:-1");
    EXPECT_EQ(propertyText(bmc, "IPv4Address"), "10.0.0.5");
    // The same Name under the host's system name names nothing.
    EXPECT_EQ(req.getInstance(req.makePath(endpointPath(hostName(), "bmc0_52:54:00:ab:cd:ef_3"))).rc,
              CMPI_RC_ERR_NOT_FOUND);
}

TEST(EndpointKeys, PathWithoutNameKeysNamesNoEndpoint)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    cimhost::PathSpec described = endpointPath("", "");
    described.keys = {{"CreationClassName", text("Tavrix_IPProtocolEndpoint")},
                 {"SystemCreationClassName", text("Tavrix_ComputerSystem")}};
    Response r = req.getInstance(req.makePath(described));
    EXPECT_EQ(r.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_TRUE(r.instances.empty());
}

TEST(EndpointKeys, LongInterfaceNamesGiveWholeDistinctKeys)
{
    const std::string stem(70, 'n');
    std::string store = R"({"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","children":[
      {"name":"nic","type":"NETWORK_ADAPTER","children":[
       {"name":"a","type":"IP_INTERFACE","properties":{"NAME":")" + stem + R"(a","MAC_ADDRESS":"m","ADDRESS_ORIGIN":3}},
       {"name":"b","type":"IP_INTERFACE","properties":{"NAME":")" + stem + R"(b","MAC_ADDRESS":"m","ADDRESS_ORIGIN":3}}]}]}]})";
    ModuleHarness h(store);
    Request req(h.broker());
    for (const char* last : {"a", "b"}) {
        const std::string name = stem + last + "_m_3";
        Response r = req.getInstance(req.makePath(endpointPath(hostName(), name)));
        ASSERT_EQ(r.instances.size(), 1u) << last;
        EXPECT_EQ(propertyText(r.instances[0], "Name"), name);
    }
}

// A request for one name finds exactly its node, whatever the NAMEs: one
// that begins another, one with '_' in it, none at all.
TEST(EndpointKeys, EveryNodeIsFoundByItsWholeName)
{
    std::string store = R"({"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","children":[
      {"name":"nic","type":"NETWORK_ADAPTER","children":[
       {"name":"a","type":"IP_INTERFACE","properties":{"NAME":"eth1","MAC_ADDRESS":"m1","ADDRESS_ORIGIN":3}},
       {"name":"b","type":"IP_INTERFACE","properties":{"NAME":"eth1_2","MAC_ADDRESS":"m2","ADDRESS_ORIGIN":3}},
       {"name":"c","type":"IP_INTERFACE","properties":{"MAC_ADDRESS":"m3","ADDRESS_ORIGIN":3}},
       {"name":"d","type":"IP_INTERFACE","properties":{"NAME":"eth1","MAC_ADDRESS":"","ADDRESS_ORIGIN":1}}]}]}]})";
    ModuleHarness h(store);
    Request req(h.broker());
    Response names = req.enumerateInstanceNames(h.classPath(req, "Tavrix_IPProtocolEndpoint"));
    ASSERT_TRUE(names.ok());
    ASSERT_EQ(names.paths.size(), 4u);
    for (const CMPIObjectPath* listed : names.paths) {
        const std::string name = keyText(listed, "Name");
        Response r = req.getInstance(req.makePath(endpointPath(hostName(), name)));
        ASSERT_EQ(r.instances.size(), 1u) << name;
        EXPECT_EQ(propertyText(r.instances[0], "Name"), name);
    }
    for (const char* absent : {"eth1_m9_3", "eth1", "eth1_", "_m1_3", "eth1_2_m1_3"})
        EXPECT_EQ(req.getInstance(req.makePath(endpointPath(hostName(), absent))).rc, CMPI_RC_ERR_NOT_FOUND)
            << absent;
}

TEST(EndpointCodes, NodeCodesReadAsCimValues)
{
    // Origin code, state code, IP version code of each node.
    const unsigned codes[][3] = {{1, 1, 1}, {2, 12, 2}, {3, 16, 3}, {4, 9, 4},
                                 {5, 1, 1}, {6, 1, 1}, {7, 1, 1}};
    std::string nodes;
    for (const auto& c : codes) {
        std::string n = std::to_string(c[0]);
        nodes += std::string(nodes.empty() ? "" : ",") + R"({"name":"if)" + n +
                 R"(","type":"IP_INTERFACE","properties":{"NAME":"if)" + n +
                 R"(","ADDRESS_ORIGIN":)" + n + R"(,"STATE":)" + std::to_string(c[1]) +
                 R"(,"IP_VERSION":)" + std::to_string(c[2]) + "}}";
    }
    ModuleHarness h(R"({"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","children":[
      {"name":"nic","type":"NETWORK_ADAPTER","children":[)" + nodes + "]}]}]}");
    Request req(h.broker());
    Response r = req.enumerateInstances(h.classPath(req, "Tavrix_IPProtocolEndpoint"));
    ASSERT_EQ(r.instances.size(), 7u);
    const char* origins[] = {"4", "5", "3", "6", "1", "1", "0"};
    const char* states[] = {"2", "3", "3", "5", "2", "2", "2"};
    const char* addressTypes[] = {"1", "2", "0", "0", "1", "1", "1"};
    const char* versions[] = {"1", "2", "3", "0", "1", "1", "1"};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(propertyText(r.instances[i], "AddressOrigin"), origins[i]) << i;
        EXPECT_EQ(propertyText(r.instances[i], "EnabledState"), states[i]) << i;
        EXPECT_EQ(propertyText(r.instances[i], "RequestedState"), states[i]) << i;
        EXPECT_EQ(propertyText(r.instances[i], "AddressType"), addressTypes[i]) << i;
        EXPECT_EQ(propertyText(r.instances[i], "IPVersionSupport"), versions[i]) << i;
    }
}

TEST(EndpointCodes, CimValuesWriteNodeCodes)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    std::string name = eth0Static;
    for (auto origin : std::vector<std::pair<unsigned, unsigned>>{{4, 1}, {3, 3}}) {
        ASSERT_TRUE(modify(req, endpointPath(hostName(), name),
                           {{"AddressOrigin", Value::uint16(origin.first)}}).ok());
        EXPECT_EQ(nodeNumber(eth0Node, NodeLexicon::ADDRESS_ORIGIN), origin.second);
        // The origin goes into the Name key.
        name = "eth0_52:54:00:12:34:56_" + std::to_string(origin.first);
    }
    for (auto state : std::vector<std::pair<unsigned, unsigned>>{{3, 12}, {11, 9}, {2, 1}}) {
        MethodCall call = requestStateChange(h, req, endpointPath(hostName(), eth0Static),
                                             {{"RequestedState", Value::uint16(state.first)}});
        EXPECT_EQ(call.returnValue, 0u);
        EXPECT_EQ(nodeNumber(eth0Node, NodeLexicon::STATE), state.second);
    }
}

TEST(EndpointModify, WritesAddressAndMaskOnlyWhenAllValuesAreSound)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    const cimhost::PathSpec path = endpointPath(hostName(), eth0Static);

    Response r = modify(req, path, {{"IPv4Address", text("192.0.2.99")},
                                    {"SubnetMask", text("255.255.0.0")},
                                    {"ElementName", text("ignored")},
                                    {"EnabledState", Value::uint16(3)}});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(nodeText(eth0Node, NodeLexicon::IPV4_ADDRESS), "192.0.2.99");
    EXPECT_EQ(nodeText(eth0Node, NodeLexicon::SUBNET_MASK), "255.255.0.0");
    EXPECT_EQ(nodeText(eth0Node, NodeLexicon::NAME), "eth0");
    EXPECT_EQ(nodeNumber(eth0Node, NodeLexicon::STATE), 1u);

    for (const char* bad : {"192.0.2.300", "2001:db8::1", "10.0.0.1\nSTATE=9", "eth0"}) {
        r = modify(req, path, {{"SubnetMask", text("255.0.0.0")}, {"IPv4Address", text(bad)}});
        EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_PARAMETER) << bad;
        EXPECT_TRUE(r.hasMessage);
    }
    r = modify(req, path, {{"SubnetMask", text("255.0.0.0 ")}});
    EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(nodeText(eth0Node, NodeLexicon::IPV4_ADDRESS), "192.0.2.99");
    EXPECT_EQ(nodeText(eth0Node, NodeLexicon::SUBNET_MASK), "255.255.0.0");

    // An empty value clears the address.
    EXPECT_TRUE(modify(req, path, {{"IPv4Address", text("")}}).ok());
    EXPECT_EQ(nodeText(eth0Node, NodeLexicon::IPV4_ADDRESS), "");
}

TEST(EndpointModify, OwnAddressOriginComesBackUnchanged)
{
    // Origin codes the module reads but never writes: 5 (CIM 1), 2 (CIM 5),
    // none (CIM 0).
    ModuleHarness h(R"({"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","children":[
      {"name":"nic","type":"NETWORK_ADAPTER","children":[
       {"name":"a","type":"IP_INTERFACE","properties":{"NAME":"a","MAC_ADDRESS":"m","ADDRESS_ORIGIN":5,
        "IPV4_ADDRESS":"192.0.2.1"}},
       {"name":"b","type":"IP_INTERFACE","properties":{"NAME":"b","MAC_ADDRESS":"m","ADDRESS_ORIGIN":2,
        "IPV4_ADDRESS":"192.0.2.2"}},
       {"name":"c","type":"IP_INTERFACE","properties":{"NAME":"c","MAC_ADDRESS":"m",
        "IPV4_ADDRESS":"192.0.2.3"}}]}]}]})");
    Request req(h.broker());
    struct Case {
        const char* node;
        const char* name;
        unsigned origin;
        unsigned code;
    } cases[] = {{"/host/nic/a", "a_m_1", 1, 5}, {"/host/nic/b", "b_m_5", 5, 2}, {"/host/nic/c", "c_m_0", 0, 0xFFFFFFFFu}};
    for (const Case& c : cases) {
        const cimhost::PathSpec path = endpointPath(hostName(), c.name);
        // Get, change the address, put back: what every client does.
        const CMPIInstance* got = getOne(req, path);
        ASSERT_NE(got, nullptr) << c.name;
        ASSERT_EQ(propertyText(got, "AddressOrigin"), std::to_string(c.origin));
        Response r = modify(req, path, {{"AddressOrigin", Value::uint16(c.origin)},
                                        {"IPv4Address", text("198.51.100.7")}});
        ASSERT_TRUE(r.ok()) << c.name << ": " << r.message;
        EXPECT_EQ(nodeNumber(c.node, NodeLexicon::ADDRESS_ORIGIN), c.code) << c.name;
        const CMPIInstance* again = getOne(req, path);
        ASSERT_NE(again, nullptr) << c.name << " lost its Name";
        EXPECT_EQ(propertyText(again, "IPv4Address"), "198.51.100.7");

        // Another origin the module cannot write is refused, with nothing written.
        for (unsigned other : {0u, 1u, 2u, 5u, 6u}) {
            if (other == c.origin)
                continue;
            r = modify(req, path, {{"AddressOrigin", Value::uint16(other)},
                                   {"IPv4Address", text("198.51.100.8")}});
            EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_PARAMETER) << c.name << " " << other;
            EXPECT_TRUE(r.hasMessage);
        }
        EXPECT_EQ(nodeNumber(c.node, NodeLexicon::ADDRESS_ORIGIN), c.code);
        EXPECT_EQ(nodeText(c.node, NodeLexicon::IPV4_ADDRESS), "198.51.100.7");
    }
    // 3 and 4 stay writable.
    ASSERT_TRUE(modify(req, endpointPath(hostName(), "a_m_1"), {{"AddressOrigin", Value::uint16(4)}}).ok());
    EXPECT_EQ(nodeNumber("/host/nic/a", NodeLexicon::ADDRESS_ORIGIN), 1u);
}

TEST(EndpointModify, NonContiguousMasksAreRefused)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    const cimhost::PathSpec path = endpointPath(hostName(), eth0Static);
    for (const char* bad : {"255.0.255.0", "255.255.255.1", "0.255.255.255", "255.255.0.128"}) {
        Response r = modify(req, path, {{"SubnetMask", text(bad)}});
        EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_PARAMETER) << bad;
        r = modify(req, staticPath("Computer:eth0"), {{"SubnetMask", text(bad)}});
        EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_PARAMETER) << bad;
    }
    EXPECT_EQ(nodeText(eth0Node, NodeLexicon::SUBNET_MASK), "255.255.255.0");
    EXPECT_FALSE(h.fileExists(h.dataDir() + "ifcfg-eth0"));
    for (const char* good : {"255.255.255.128", "0.0.0.0", "255.255.255.255", "255.0.0.0"}) {
        EXPECT_TRUE(modify(req, path, {{"SubnetMask", text(good)}}).ok()) << good;
        EXPECT_EQ(nodeText(eth0Node, NodeLexicon::SUBNET_MASK), good);
        EXPECT_TRUE(modify(req, staticPath("Computer:eth0"), {{"SubnetMask", text(good)}}).ok()) << good;
        EXPECT_EQ(h.readFile(h.dataDir() + "ifcfg-eth0"), std::string("NETMASK=") + good + "\n");
    }
}

TEST(EndpointModify, InstanceKeysSelectingNothingWriteNothing)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    cimhost::InstanceSpec described;
    described.path = endpointPath(hostName(), "eth1_52:54:00:00:00:01_3");
    described.properties = {{"IPv4Address", text("192.0.2.77")}};
    Response r = req.modifyInstance(req.makePath(endpointPath(hostName(), eth0Static)),
                                    req.makeInstance(described));
    EXPECT_EQ(r.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(nodeText(eth0Node, NodeLexicon::IPV4_ADDRESS), "192.0.2.10");
    EXPECT_EQ(nodeText("/host/nic1/eth1", NodeLexicon::IPV4_ADDRESS), "198.51.100.1");
}

TEST(EndpointModify, RefusedStoreWriteIsAFailure)
{
    ModuleHarness h(R"({"nodes":[
      {"name":"host","type":"COMPUTER_SYSTEM","children":[{"name":"nic","type":"NETWORK_ADAPTER","children":[
       {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0","MAC_ADDRESS":"m","ADDRESS_ORIGIN":3,
        "IPV4_ADDRESS":"192.0.2.10","SUBNET_MASK":{"value":"255.255.255.0","readOnly":true},
        "STATE":{"value":1,"readOnly":true}}}]}]}]})");
    Request req(h.broker());
    const cimhost::PathSpec path = endpointPath(hostName(), "eth0_m_3");
    Response r = modify(req, path, {{"IPv4Address", text("192.0.2.11")},
                                    {"SubnetMask", text("255.0.0.0")}});
    EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED);
    EXPECT_TRUE(r.hasMessage);
    EXPECT_EQ(nodeText("/host/nic/eth0", NodeLexicon::IPV4_ADDRESS), "192.0.2.10");

    MethodCall call = requestStateChange(h, req, path, {{"RequestedState", Value::uint16(3)}});
    EXPECT_EQ(call.response.rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(call.returnValue, 4u);
}

TEST(EndpointStateChange, ArgumentErrors)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    const cimhost::PathSpec path = endpointPath(hostName(), eth0Static);
    struct Case {
        cimhost::NamedValues arguments;
        CMPIrc rc;
        const char* message;
    } cases[] = {
        {{{"RequestedState", Value::uint32(3)}}, CMPI_RC_ERR_INVALID_PARAMETER, "Invalid Type of Parameter"},
        {{}, CMPI_RC_ERR_INVALID_PARAMETER, "Invalid Type of Parameter"},
        {{{"RequestedState", Value::uint16(3)}, {"TimeoutPeriod", text("00000000000100.000000:000")}},
         CMPI_RC_ERR_INVALID_PARAMETER, "Invalid Type of TimeOut Parameter"},
        {{{"RequestedState", Value::uint16(10)}}, CMPI_RC_ERR_FAILED,
         "Invalid Value of RequestedState Parameter"},
    };
    for (const Case& c : cases) {
        MethodCall call = requestStateChange(h, req, path, c.arguments);
        EXPECT_EQ(call.response.rc, c.rc) << c.message;
        EXPECT_EQ(call.response.message, c.message);
        EXPECT_EQ(call.returnValue, 4u);
        EXPECT_EQ(CMGetArgCount(call.out, nullptr), 0u);
    }
    EXPECT_EQ(nodeNumber(eth0Node, NodeLexicon::STATE), 1u);
}

TEST(EndpointStateChange, ReturnsTheFixedJobReferenceWithOrWithoutTimeout)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    const cimhost::PathSpec path = endpointPath(hostName(), eth0Static);
    for (bool withTimeout : {false, true}) {
        cimhost::NamedValues arguments = {{"RequestedState", Value::uint16(withTimeout ? 2 : 3)}};
        if (withTimeout)
            arguments.push_back({"TimeoutPeriod", Value::dateTime("00000000000100.000000:000")});
        MethodCall call = requestStateChange(h, req, path, arguments);
        ASSERT_TRUE(call.response.ok()) << call.response.message;
        EXPECT_EQ(call.returnValue, 0u);
        EXPECT_EQ(nodeNumber(eth0Node, NodeLexicon::STATE), withTimeout ? 1u : 12u);

        CMPIStatus rc = {CMPI_RC_OK, nullptr};
        CMPIData job = CMGetArg(call.out, "Job", &rc);
        ASSERT_EQ(job.type, CMPI_ref);
        EXPECT_STREQ(CMGetCharsPtr(CMGetClassName(job.value.ref, nullptr), nullptr), "Tavrix_ConcreteJob");
        EXPECT_STREQ(CMGetCharsPtr(CMGetNameSpace(job.value.ref, nullptr), nullptr), "root/cimv2");
        EXPECT_EQ(keyText(job.value.ref, "InstanceID"), "IPConfigSvcJob:1");
        EXPECT_EQ(CMGetKeyCount(job.value.ref, nullptr), 1u);
    }
}

TEST(EndpointTrace, MethodAndInstanceLines)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    testsupport::LogCapture log(log4cxx::Level::getDebug());
    const cimhost::PathSpec path = endpointPath(hostName(), eth0Static);
    ASSERT_EQ(requestStateChange(h, req, path, {{"RequestedState", Value::uint16(2)}}).returnValue, 0u);
    EXPECT_EQ(log.count("METHOD: Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::executeMethod() "
                        "was invoked in CMPIProtocolEndpoint.cpp [Line: "),
              1u);
    EXPECT_EQ(log.count("ENTERING: Korvu::IPInterfaceProvider::IPprotocolEndpoint::setEnabledState() "
                        "in IPprotocolEndpoint.cpp"),
              1u);
    EXPECT_EQ(log.count("]: Calling CMNewObjectPath for ConcreteJob"), 1u);
    EXPECT_EQ(log.count("]: Job Created Successfully"), 1u);

    log.clear();
    ASSERT_NE(getOne(req, path), nullptr);
    EXPECT_EQ(log.count("MESSAGE [File: CMPIProtocolEndpoint.cpp, Line: "), 1u);
    EXPECT_EQ(log.count("]: Inside if"), 1u);
    EXPECT_EQ(log.count("ENTERING: Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::getCMPIInstance()"), 1u);
    EXPECT_EQ(log.count("EXITING: Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::getCMPIInstance()"), 1u);
    // GetInstance stops on the endpoint its path names.
    EXPECT_EQ(log.count("ENTERING: Korvu::IPInterfaceProvider::IPprotocolEndpoint::operator ++()"), 0u);
}
