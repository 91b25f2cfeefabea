// The eleven associations through the broker: far ends and references from
// each end, enumeration of the association itself, result-class filtering,
// the values the association instances carry, and bad or unrelated paths.
#include <cmpimacs.h>
#include <gtest/gtest.h>

#include "AssociationPaths.h"
#include "Broker.h"

#include "EndResolution.h"
#include "InstanceId.h"
#include "JoinIndex.h"
#include "LogCapture.h"
#include "Scene.h"

using namespace scene;
using cimhost::Request;
using cimhost::Response;
using testsupport::LogCapture;
using testsupport::propertyText;

namespace {

struct Association {
    const char* name;
    const char* first;   // reference names, end A first
    const char* second;
};

const Association settingData{"Tavrix_IPElementSettingData", "ManagedElement", "SettingData"};
const Association staticSetting{"Tavrix_StaticIPElementSettingData", "ManagedElement", "SettingData"};
const Association ordered{"Tavrix_StaticOrderedComponent", "GroupComponent", "PartComponent"};
const Association binds{"Tavrix_BindsToLanEndPoint", "Antecedent", "Dependent"};
const Association hosted{"Tavrix_IPHostedAccessPoint", "Antecedent", "Dependent"};
const Association spHosted{"Tavrix_SPHostedAccessPoint", "Antecedent", "Dependent"};
const Association remoteHosted{"Tavrix_RemoteHostedAccessPoint", "Antecedent", "Dependent"};
const Association available{"Tavrix_IPRemoteAccessAvailableToElement", "Antecedent", "Dependent"};
const Association capabilities{"Tavrix_IPElementCapabilities", "ManagedElement", "Capabilities"};
const Association hostedService{"Tavrix_IPHostedService", "Antecedent", "Dependent"};
const Association affects{"Tavrix_IPServiceAffectsElement", "AffectingElement", "AffectedElement"};

const std::string ep = "Tavrix_IPProtocolEndpoint:";
const std::string host = "Tavrix_ComputerSystem:" + hostName();
const std::string service = "Tavrix_IPConfigurationService:IPConfigService";

// A question from one end: the far ends AssociatorNames gives (Associators
// must give the same), and the reference pairs (end A | end B) that
// ReferenceNames and References give.
struct Question {
    const Association* association;
    cimhost::PathSpec from;
    Labels farEnds;
    Labels pairs;
};

void expectAnswers(World& w, const Question& q)
{
    const Association& a = *q.association;
    SCOPED_TRACE(std::string(a.name) + " from " + q.from.className);
    Request req(w.h.broker());
    Response names = ask(req, Kind::AssociatorNames, q.from, a.name);
    ASSERT_TRUE(names.ok()) << names.message;
    EXPECT_EQ(farEnds(names), q.farEnds);
    Response objects = ask(req, Kind::Associators, q.from, a.name);
    ASSERT_TRUE(objects.ok()) << objects.message;
    EXPECT_EQ(farEnds(objects), q.farEnds);
    EXPECT_EQ(objects.instances.size(), q.farEnds.size());

    Response refNames = ask(req, Kind::ReferenceNames, q.from, a.name);
    ASSERT_TRUE(refNames.ok()) << refNames.message;
    EXPECT_EQ(pairs(refNames, a.first, a.second), q.pairs);
    Response refs = ask(req, Kind::References, q.from, a.name);
    ASSERT_TRUE(refs.ok()) << refs.message;
    EXPECT_EQ(pairs(refs, a.first, a.second), q.pairs);
    EXPECT_EQ(refs.instances.size(), q.pairs.size());
}

void expectEnumeration(World& w, const Association& a, const Labels& expected)
{
    SCOPED_TRACE(a.name);
    Request req(w.h.broker());
    Response names = req.enumerateInstanceNames(w.h.classPath(req, a.name));
    ASSERT_TRUE(names.ok()) << names.message;
    EXPECT_EQ(pairs(names, a.first, a.second), expected);
    Response instances = req.enumerateInstances(w.h.classPath(req, a.name));
    ASSERT_TRUE(instances.ok()) << instances.message;
    EXPECT_EQ(pairs(instances, a.first, a.second), expected);
}

std::string pair(const std::string& a, const std::string& b) { return a + " | " + b; }

} // namespace

TEST(SettingAssociations, EndpointsSettingsAndStaticSettings)
{
    World w;
    const std::string set0 = "Tavrix_IPAssignmentSettingData:Computer:eth0";
    const std::string st0 = "Tavrix_StaticIPAssignmentSettingData:Computer:eth0";
    expectAnswers(w, {&settingData, endpointPath(eth0),
                      {set0 + ":static", set0 + ":dhcp"},
                      {pair(ep + eth0, set0 + ":static"), pair(ep + eth0, set0 + ":dhcp")}});
    expectAnswers(w, {&settingData, idPath("Tavrix_IPAssignmentSettingData", "Computer:eth0:static"),
                      {ep + eth0}, {pair(ep + eth0, set0 + ":static")}});
    expectAnswers(w, {&staticSetting, endpointPath(eth0), {st0}, {pair(ep + eth0, st0)}});
    expectAnswers(w, {&staticSetting, idPath("Tavrix_StaticIPAssignmentSettingData", "Computer:eth0"),
                      {ep + eth0}, {pair(ep + eth0, st0)}});
    expectAnswers(w, {&ordered, idPath("Tavrix_IPAssignmentSettingData", "Computer:eth0:static"),
                      {st0}, {pair(set0 + ":static", st0)}});
    expectAnswers(w, {&ordered, idPath("Tavrix_StaticIPAssignmentSettingData", "Computer:eth0"),
                      {set0 + ":static"}, {pair(set0 + ":static", st0)}});

    expectEnumeration(w, staticSetting,
                      {pair(ep + eth0, st0),
                       pair(ep + eth1, "Tavrix_StaticIPAssignmentSettingData:Computer:eth1"),
                       pair(ep + eth2Static, "Tavrix_StaticIPAssignmentSettingData:Computer:eth2"),
                       pair(ep + eth2Dhcp, "Tavrix_StaticIPAssignmentSettingData:Computer:eth2"),
                       pair(ep + bmc0, "Tavrix_StaticIPAssignmentSettingData:BMC:bmc0")});
}

TEST(SettingAssociations, DefaultCurrentNextAndSequenceValues)
{
    World w;
    Request req(w.h.broker());
    // eth0 is static (origin 3), eth1 is DHCP (origin 4).
    Response eth0Refs = ask(req, Kind::References, endpointPath(eth0), settingData.name);
    ASSERT_EQ(eth0Refs.instances.size(), 2u);
    EXPECT_EQ(propertyText(eth0Refs.instances[0], "IsDefault"), "1");
    EXPECT_EQ(propertyText(eth0Refs.instances[0], "IsCurrent"), "1");
    EXPECT_EQ(propertyText(eth0Refs.instances[1], "IsDefault"), "2");
    EXPECT_EQ(propertyText(eth0Refs.instances[1], "IsCurrent"), "2");
    for (const CMPIInstance* inst : eth0Refs.instances)
        EXPECT_EQ(propertyText(inst, "IsNext"), "2");
    Response eth1Refs = ask(req, Kind::References, endpointPath(eth1), settingData.name);
    ASSERT_EQ(eth1Refs.instances.size(), 2u);
    EXPECT_EQ(propertyText(eth1Refs.instances[0], "IsCurrent"), "2");
    EXPECT_EQ(propertyText(eth1Refs.instances[1], "IsCurrent"), "1");

    // The static setting's endpoint comes back with all four keys.
    Response fromStatic = ask(req, Kind::References,
                              idPath("Tavrix_StaticIPAssignmentSettingData", "Computer:eth1"),
                              staticSetting.name);
    ASSERT_EQ(fromStatic.instances.size(), 1u);
    EXPECT_EQ(propertyText(fromStatic.instances[0], "IsCurrent"), "2");
    const CMPIObjectPath* element = reference(fromStatic.instances[0], "ManagedElement");
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(CMGetKeyCount(element, nullptr), 4u);
    EXPECT_EQ(testsupport::keyText(element, "SystemName"), hostName());
    Response eth0Static = ask(req, Kind::References,
                              idPath("Tavrix_StaticIPAssignmentSettingData", "Computer:eth0"),
                              staticSetting.name);
    ASSERT_EQ(eth0Static.instances.size(), 1u);
    EXPECT_EQ(propertyText(eth0Static.instances[0], "IsCurrent"), "1");

    Response sequence = ask(req, Kind::References,
                            idPath("Tavrix_StaticIPAssignmentSettingData", "Computer:eth0"), ordered.name);
    ASSERT_EQ(sequence.instances.size(), 1u);
    EXPECT_EQ(propertyText(sequence.instances[0], "AssignedSequence"), "1");
}

TEST(SystemAssociations, ComputersEndpointsGatewaysAndTheService)
{
    World w;
    const std::string sp = "Tavrix_SPComputerSystem:BMC:-1";
    const std::string gw0 = "Tavrix_IPRemoteServiceAccessPoint:eth0_IPv4";
    expectAnswers(w, {&hosted, computerPath(hostName()),
                      {ep + eth0, ep + eth1, ep + eth2Static, ep + eth2Dhcp},
                      {pair(host, ep + eth0), pair(host, ep + eth1), pair(host, ep + eth2Static),
                       pair(host, ep + eth2Dhcp)}});
    expectAnswers(w, {&hosted, endpointPath(eth1), {host}, {pair(host, ep + eth1)}});
    expectAnswers(w, {&spHosted, computerPath("BMC:-1", true), {ep + bmc0}, {pair(sp, ep + bmc0)}});
    expectAnswers(w, {&spHosted, endpointPath(bmc0, true), {sp}, {pair(sp, ep + bmc0)}});
    expectAnswers(w, {&remoteHosted, computerPath(hostName()), {gw0}, {pair(host, gw0)}});
    expectAnswers(w, {&remoteHosted, accessPath("eth0_IPv4"), {host}, {pair(host, gw0)}});
    expectAnswers(w, {&hostedService, computerPath(hostName()), {service}, {pair(host, service)}});
    expectAnswers(w, {&hostedService, servicePath(), {host}, {pair(host, service)}});

    expectEnumeration(w, hosted, {pair(host, ep + eth0), pair(host, ep + eth1),
                                  pair(host, ep + eth2Static), pair(host, ep + eth2Dhcp)});
    expectEnumeration(w, spHosted, {pair(sp, ep + bmc0)});
    expectEnumeration(w, remoteHosted,
                      {pair(host, gw0), pair(sp, "Tavrix_IPRemoteServiceAccessPoint:bmc0_IPv6")});
    expectEnumeration(w, hostedService, {pair(host, service)});
}

TEST(EndpointAssociations, LanEndpointsGatewaysCapabilitiesAndTheService)
{
    World w;
    const std::string gw0 = "Tavrix_IPRemoteServiceAccessPoint:eth0_IPv4";
    const std::string gwBmc = "Tavrix_IPRemoteServiceAccessPoint:bmc0_IPv6";
    const std::string caps = "Tavrix_IPEnabledLogicalElementCapabilities:";
    expectAnswers(w, {&binds, endpointPath(eth0), {"Tavrix_LANEndpoint:eth0"},
                      {pair("Tavrix_LANEndpoint:eth0", ep + eth0)}});
    expectAnswers(w, {&available, endpointPath(eth0), {gw0}, {pair(gw0, ep + eth0)}});
    expectAnswers(w, {&available, accessPath("bmc0_IPv6", true), {ep + bmc0}, {pair(gwBmc, ep + bmc0)}});
    expectAnswers(w, {&capabilities, endpointPath(bmc0, true), {caps + "bmc0"},
                      {pair(ep + bmc0, caps + "bmc0")}});
    expectAnswers(w, {&affects, endpointPath(eth2Static), {service}, {pair(service, ep + eth2Static)}});
    expectAnswers(w, {&affects, servicePath(), {ep + eth0, ep + eth1, ep + eth2Static, ep + eth2Dhcp},
                      {pair(service, ep + eth0), pair(service, ep + eth1), pair(service, ep + eth2Static),
                       pair(service, ep + eth2Dhcp)}});

    // The service processor's LAN endpoint keeps its own system class.
    expectAnswers(w, {&binds, endpointPath(bmc0, true), {"Tavrix_LANEndpoint:bmc0"},
                      {pair("Tavrix_LANEndpoint:bmc0", ep + bmc0)}});
    {
        Request req(w.h.broker());
        Response r = ask(req, Kind::AssociatorNames, endpointPath(bmc0, true), binds.name);
        ASSERT_EQ(r.paths.size(), 1u);
        EXPECT_EQ(testsupport::keyText(r.paths[0], "SystemCreationClassName"), "Tavrix_SPComputerSystem");
    }
    expectEnumeration(w, binds, {pair("Tavrix_LANEndpoint:eth0", ep + eth0),
                                 pair("Tavrix_LANEndpoint:lan1", ep + eth1),
                                 pair("Tavrix_LANEndpoint:eth2", ep + eth2Static),
                                 pair("Tavrix_LANEndpoint:eth2", ep + eth2Dhcp),
                                 pair("Tavrix_LANEndpoint:bmc0", ep + bmc0)});
    expectEnumeration(w, available, {pair(gw0, ep + eth0), pair(gwBmc, ep + bmc0)});
    expectEnumeration(w, capabilities, {pair(ep + eth0, caps + "eth0"), pair(ep + eth1, caps + "eth1"),
                                        pair(ep + eth2Static, caps + "eth2"),
                                        pair(ep + eth2Dhcp, caps + "eth2"),
                                        pair(ep + bmc0, caps + "bmc0")});

    Request req(w.h.broker());
    Response refs = req.enumerateInstances(w.h.classPath(req, available.name));
    ASSERT_FALSE(refs.instances.empty());
    for (const CMPIInstance* inst : refs.instances) {
        CMPIStatus rc = {CMPI_RC_OK, nullptr};
        CMGetProperty(inst, "OrderOfAccess", &rc);
        EXPECT_EQ(rc.rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
    }
}

// A far end that another provider serves costs that provider one request:
// in a CIM server each is a round trip to another process.
TEST(EndpointAssociations, AssociatorsAskTheFarEndsProviderOnce)
{
    World w;
    struct Case {
        const Association* association;
        cimhost::PathSpec from;
        const cimhost::StaticInstanceProvider* provider;
    };
    const Case cases[] = {
        {&binds, endpointPath(eth0), &w.lan},
        {&hosted, endpointPath(eth0), &w.host},
        {&spHosted, endpointPath(bmc0, true), &w.bmc},
        {&hostedService, servicePath(), &w.host},
        {&remoteHosted, accessPath("bmc0_IPv6", true), &w.bmc},
    };
    for (const Case& c : cases)
        for (const Kind kind : {Kind::Associators, Kind::AssociatorNames, Kind::References}) {
            SCOPED_TRACE(std::string(c.association->name) + " " + std::to_string(static_cast<int>(kind)));
            Request req(w.h.broker());
            const int before = c.provider->requests();
            Response r = ask(req, kind, c.from, c.association->name);
            ASSERT_TRUE(r.ok()) << r.message;
            EXPECT_EQ(r.paths.size() + r.instances.size(), 1u);
            EXPECT_EQ(c.provider->requests() - before, 1);
        }
}

// An endpoint binds to the first adapter, in store order, with an interface
// of the name and MAC address its Name gives, even one whose node comes
// after the endpoint's own: an enumeration pairs as each endpoint asked alone.
TEST(EndpointAssociations, EndpointsBindToTheFirstAdapterOfTheirNameAndAddress)
{
    const auto adapter = [](const char* node, const char* name, const char* ifName, const char* mac,
                            int origin) {
        return std::string(R"({"name":")") + node + R"(","type":"NETWORK_ADAPTER","properties":{"NAME":")" +
               name + R"("},"children":[{"name":"if)" + node + R"(","type":"IP_INTERFACE","properties":{"NAME":")" +
               ifName + R"(","MAC_ADDRESS":")" + mac + R"(","ADDRESS_ORIGIN":)" + std::to_string(origin) + "}}]}";
    };
    // lanA's endpoint "eth0_aa_bb_3" reads as interface eth0_aa, MAC bb:
    // lanB's, which comes later. eth9 stands on lanC and again on lanD.
    const std::string store = R"({"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","description":"Host",)"
                              R"("properties":{"NAME":")" + hostName() + R"("},"children":[)" +
                              adapter("nicA", "lanA", "eth0", "aa_bb", 3) + "," +
                              adapter("nicB", "lanB", "eth0_aa", "bb", 1) + "," +
                              adapter("nicC", "lanC", "eth9", "cc", 3) + "," +
                              adapter("nicD", "lanD", "eth9", "cc", 1) + "]}]}";
    World w({}, {}, store, {"lanA", "lanB", "lanC", "lanD"}, {});
    const std::string lan = "Tavrix_LANEndpoint:";
    for (const auto& [endpoint, adapterName] :
         std::vector<std::pair<std::string, std::string>>{
             {"eth0_aa_bb_3", "lanB"}, {"eth0_aa_bb_4", "lanB"}, {"eth9_cc_3", "lanC"}, {"eth9_cc_4", "lanC"}})
        expectAnswers(w, {&binds, endpointPath(endpoint), {lan + adapterName},
                          {pair(lan + adapterName, ep + endpoint)}});
    expectEnumeration(w, binds, {pair(lan + "lanB", ep + "eth0_aa_bb_3"), pair(lan + "lanB", ep + "eth0_aa_bb_4"),
                                 pair(lan + "lanC", ep + "eth9_cc_3"), pair(lan + "lanC", ep + "eth9_cc_4")});
}

TEST(ResultClass, CaseIsIgnoredAndSuperclassesAreRefused)
{
    World w;
    Request req(w.h.broker());
    const cimhost::PathSpec from = idPath("Tavrix_StaticIPAssignmentSettingData", "Computer:eth0");
    EXPECT_EQ(farEnds(req.associatorNames(req.makePath(from), staticSetting.name,
                                          "tavrix_ipprotocolendpoint")),
              Labels{ep + eth0});
    EXPECT_EQ(farEnds(req.associators(req.makePath(from), staticSetting.name, "CIM_IPProtocolEndpoint")),
              Labels{ep + eth0});
    EXPECT_TRUE(farEnds(req.associators(req.makePath(from), staticSetting.name, "CIM_ManagedElement")).empty());
    EXPECT_TRUE(farEnds(req.associatorNames(req.makePath(endpointPath(eth0)), hosted.name,
                                            "Tavrix_IPProtocolEndpoint"))
                    .empty());
    EXPECT_EQ(farEnds(req.associatorNames(req.makePath(endpointPath(eth0)), hosted.name,
                                          "CIM_ComputerSystem")),
              Labels{host});
}

TEST(BadPaths, UnrelatedClassesGiveNothingAndMissingKeysAreLogged)
{
    World w;
    Request req(w.h.broker());
    Response unrelated = ask(req, Kind::Associators,
                             idPath("Tavrix_IPAssignmentSettingData", "Computer:eth0:static"), hosted.name);
    EXPECT_TRUE(unrelated.ok());
    EXPECT_TRUE(farEnds(unrelated).empty());
    EXPECT_TRUE(farEnds(ask(req, Kind::ReferenceNames, lanPath("eth0"), affects.name)).empty());

    LogCapture log(log4cxx::Level::getError());
    // A static setting path without its InstanceID.
    Response missing = ask(req, Kind::AssociatorNames,
                           path("Tavrix_StaticIPAssignmentSettingData", {{"Other", text("x")}}),
                           ordered.name);
    EXPECT_EQ(missing.rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(missing.message, "Could not find 'InstanceID' key in Moniker");
    EXPECT_EQ(log.count("Could not find 'InstanceID' key in Moniker"), 1u);
    EXPECT_TRUE(missing.paths.empty());
}

TEST(BadPaths, ShortOrOddKeysNeverReadPastTheirTokens)
{
    World w;
    // Names and ids without the separators the resolvers split at.
    const std::vector<std::pair<const Association*, cimhost::PathSpec>> odd = {
        {&settingData, endpointPath("")},
        {&settingData, endpointPath("_")},
        {&settingData, idPath("Tavrix_IPAssignmentSettingData", "")},
        {&settingData, idPath("Tavrix_IPAssignmentSettingData", ":::")},
        {&staticSetting, endpointPath("eth0")},
        {&ordered, idPath("Tavrix_IPAssignmentSettingData", "static")},
        {&binds, endpointPath("__")},
        {&binds, lanPath("")},
        {&available, accessPath("_")},
        {&available, accessPath("eth0")},
        {&capabilities, idPath("Tavrix_IPEnabledLogicalElementCapabilities", "")},
        {&spHosted, endpointPath("bmc0", true)},
        {&affects, endpointPath("_x_")},
    };
    for (const auto& question : odd) {
        for (Kind kind : {Kind::Associators, Kind::AssociatorNames, Kind::References, Kind::ReferenceNames}) {
            Request req(w.h.broker());
            Response r = ask(req, kind, question.second, question.first->name);
            // Either an error with its reason or an answer; never a path
            // that refers to nothing.
            const bool references = kind == Kind::References || kind == Kind::ReferenceNames;
            if (r.ok())
                for (const auto& label : references
                                             ? pairs(r, question.first->first, question.first->second)
                                             : farEnds(r))
                    EXPECT_TRUE(label != "-" && label.compare(0, 4, "- | ") != 0 &&
                                label.compare(label.size() - 4, 4, " | -") != 0)
                        << question.first->name << ": " << label;
            else
                EXPECT_FALSE(r.message.empty());
        }
    }
}

TEST(ComputerEnds, ComputersWithoutElementsArePassedOver)
{
    // Computers served before and after the host that have no endpoints,
    // gateways or service in the store.
    World w({"spare-a"}, {"spare-b"});
    expectEnumeration(w, hosted, {pair(host, ep + eth0), pair(host, ep + eth1),
                                  pair(host, ep + eth2Static), pair(host, ep + eth2Dhcp)});
    const std::string gw0 = "Tavrix_IPRemoteServiceAccessPoint:eth0_IPv4";
    expectEnumeration(w, remoteHosted, {pair(host, gw0),
                                        pair("Tavrix_SPComputerSystem:BMC:-1",
                                             "Tavrix_IPRemoteServiceAccessPoint:bmc0_IPv6")});
    expectEnumeration(w, hostedService, {pair(host, service)});
}

// The association ends need all three parts of an endpoint Name; the
// configuration lookup takes what stands before the last two '_' whatever
// they hold. Both cut at the same places.
TEST(EndResolution, EndpointNamesSplitAtTheirLastTwoUnderscoresWithEveryPartPresent)
{
    using Korvu::IPInterfaceProvider::EndResolution;
    using Korvu::IPInterfaceProvider::interfaceOfEndpointName;
    std::string interfaceName, mac;
    unsigned long origin = 9;
    ASSERT_TRUE(EndResolution::splitEndpointName("br_lan_52:54:00:00:00:01_4", interfaceName, mac, origin));
    EXPECT_EQ(interfaceName, "br_lan");
    EXPECT_EQ(mac, "52:54:00:00:00:01");
    EXPECT_EQ(origin, 4u);
    EXPECT_EQ(interfaceOfEndpointName("br_lan_52:54:00:00:00:01_4"), "br_lan");
    ASSERT_TRUE(EndResolution::splitEndpointName("eth0:1_52:54_x", interfaceName, mac, origin));
    EXPECT_EQ(interfaceName, "eth0:1");
    EXPECT_EQ(origin, 0u);  // not a number: neither static nor DHCP

    for (const char* partial : {"eth0__3", "_52:54:00:00:00:01_3", "eth0_52:54:00:00:00:01_", "eth0_3", "eth0", "",
                                "_3"}) {
        SCOPED_TRACE(partial);
        interfaceName = "kept";
        EXPECT_FALSE(EndResolution::splitEndpointName(partial, interfaceName, mac, origin));
        EXPECT_EQ(interfaceName, "kept");
    }
    EXPECT_EQ(interfaceOfEndpointName("eth0__3"), "eth0");
    EXPECT_EQ(interfaceOfEndpointName("_52:54:00:00:00:01_3"), "");
    EXPECT_EQ(interfaceOfEndpointName("eth0_3"), "eth0_3");
}

// Elements listed from several nodes are kept once by their key values:
// names do not count, order and every value do, and a number compares by
// its text.
TEST(ListedElements, EachSequenceOfKeyValuesCountsOnce)
{
    using Korvu::IPInterfaceProvider::AssociationPaths;
    cimhost::Broker broker;
    Request req(broker);
    auto path = [&](std::initializer_list<std::pair<const char*, const char*>> keys, unsigned short number) {
        CMPIObjectPath* p = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
        for (const auto& key : keys)
            CMAddKey(p, key.first, key.second, CMPI_chars);
        if (number)
            CMAddKey(p, "Number", &number, CMPI_uint16);
        return p;
    };
    AssociationPaths::PathSet seen;
    EXPECT_TRUE(seen.insert(path({{"SystemName", "host"}, {"Name", "eth0_52:54_3"}}, 0)));
    EXPECT_FALSE(seen.insert(path({{"SystemName", "host"}, {"Name", "eth0_52:54_3"}}, 0)));
    EXPECT_FALSE(seen.insert(path({{"systemname", "host"}, {"NAME", "eth0_52:54_3"}}, 0)));
    EXPECT_TRUE(seen.insert(path({{"Name", "eth0_52:54_3"}, {"SystemName", "host"}}, 0)));
    EXPECT_TRUE(seen.insert(path({{"SystemName", "host"}, {"Name", "eth0_52:54_4"}}, 0)));
    EXPECT_TRUE(seen.insert(path({{"SystemName", "host"}}, 0)));
    EXPECT_TRUE(seen.insert(path({{"SystemName", "host"}}, 7)));
    EXPECT_FALSE(seen.insert(path({{"SystemName", "host"}}, 7)));
    EXPECT_TRUE(seen.insert(path({{"SystemName", "host"}}, 8)));
}

// The key texts a class keeps as it makes a path answer as the path would:
// the same element counts once whether its keys came along or were read
// back, a key is found by name whatever its case, and what the path does
// not hold (a key the broker refused, one past the kept ones) is not
// answered from the kept texts.
TEST(ListedElements, KeysKeptWhileMakingAPathAnswerAsThePathDoes)
{
    using Korvu::IPInterfaceProvider::AssociationPaths;
    using Korvu::IPInterfaceProvider::MadeKeys;
    using Korvu::IPInterfaceProvider::PathKeys;
    cimhost::Broker broker;
    Request req(broker);
    auto make = [&](MadeKeys& made, std::initializer_list<std::pair<const char*, const char*>> keys) {
        CMPIObjectPath* p = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
        made.clear();
        for (const auto& key : keys) {
            made.next() = key.second;
            made.set(p, key.first);
        }
        return p;
    };
    MadeKeys first;
    MadeKeys second;
    CMPIObjectPath* eth0 = make(first, {{"SystemName", "host"}, {"Name", "eth0_52:54_3"}});
    CMPIObjectPath* again = make(second, {{"SystemName", "host"}, {"Name", "eth0_52:54_3"}});
    CMPIObjectPath* eth1 = make(second, {{"SystemName", "host"}, {"Name", "eth1_52:55_3"}});

    AssociationPaths::PathSet kept;
    EXPECT_TRUE(kept.insert(eth0, &first));
    EXPECT_FALSE(kept.insert(again));
    EXPECT_FALSE(kept.insert(eth0, &first));
    EXPECT_TRUE(kept.insert(eth1, &second));
    AssociationPaths::PathSet read;
    EXPECT_TRUE(read.insert(eth0));
    EXPECT_FALSE(read.insert(again, &first));

    EXPECT_EQ(std::string_view(AssociationPaths::key(PathKeys(eth0, &first), "NAME")), "eth0_52:54_3");
    EXPECT_EQ(std::string_view(AssociationPaths::key(PathKeys(eth0, &first), "systemname")), "host");
    EXPECT_TRUE(AssociationPaths::key(PathKeys(eth0, &first), "CreationClassName").empty());

    // An empty name is refused by the broker: neither path nor texts hold it.
    MadeKeys refused;
    CMPIObjectPath* partial = make(refused, {{"Name", "eth2_52:56_3"}, {"", "lost"}});
    EXPECT_EQ(refused.size(), 1u);
    EXPECT_EQ(CMGetKeyCount(partial, nullptr), 1u);
    EXPECT_TRUE(kept.insert(partial, &refused));
    EXPECT_FALSE(kept.insert(partial));

    // Past the kept texts the path is read.
    MadeKeys many;
    CMPIObjectPath* five =
        make(many, {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}, {"E", "5"}});
    EXPECT_FALSE(many.whole());
    EXPECT_EQ(CMGetKeyCount(five, nullptr), 5u);
    EXPECT_EQ(std::string_view(AssociationPaths::key(PathKeys(five, &many), "E")), "5");
    EXPECT_EQ(PathKeys(five, &many).made, nullptr);
    EXPECT_TRUE(kept.insert(five, &many));
    EXPECT_FALSE(kept.insert(five));
}

// The pairing index gives, for a key, the elements of that key in the order
// they were added, and nothing for an empty key: keys that share their start
// or sit next to each other in the buffer stay apart.
TEST(JoinIndex, ElementsOfAKeyComeInTheirOrderAndEmptyKeysPairWithNothing)
{
    using Korvu::IPInterfaceProvider::AssociationPaths;
    const std::vector<std::string> keys = {"host\neth0", "", "host\neth", "host\neth0", "host\neth00", "", "h",
                                           "host\neth0"};
    Korvu::IPInterfaceProvider::JoinIndex::Keys given(keys.size());
    for (const std::string& key : keys)
        given.add(key);
    ASSERT_EQ(given.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(given.at(i), keys[i]) << i;

    const Korvu::IPInterfaceProvider::JoinIndex index(std::move(given));
    auto elements = [&](std::string_view key) {
        std::vector<std::size_t> found;
        for (std::size_t i = index.first(key); i != Korvu::IPInterfaceProvider::JoinIndex::none; i = index.next(i))
            found.push_back(i);
        return found;
    };
    EXPECT_EQ(elements("host\neth0"), (std::vector<std::size_t>{0, 3, 7}));
    EXPECT_EQ(elements("host\neth"), (std::vector<std::size_t>{2}));
    EXPECT_EQ(elements("host\neth00"), (std::vector<std::size_t>{4}));
    EXPECT_EQ(elements("h"), (std::vector<std::size_t>{6}));
    EXPECT_TRUE(elements("").empty());
    EXPECT_TRUE(elements("host\neth1").empty());
    EXPECT_TRUE(elements("HOST\neth0").empty());
}

// Every key of a store-sized end is found, each with its own elements,
// however the table's slots fill up.
TEST(JoinIndex, EveryKeyOfALargeEndFindsItsOwnElements)
{
    using Korvu::IPInterfaceProvider::AssociationPaths;
    const std::size_t count = 5000;
    Korvu::IPInterfaceProvider::JoinIndex::Keys given(count);
    // Two elements per key, the second far from the first.
    for (std::size_t i = 0; i < count; ++i)
        given.add("Tavrix_ComputerSystem\nhost\neth" + std::to_string(i % (count / 2)));
    const Korvu::IPInterfaceProvider::JoinIndex index(std::move(given));
    for (std::size_t k = 0; k < count / 2; ++k) {
        const std::size_t first = index.first("Tavrix_ComputerSystem\nhost\neth" + std::to_string(k));
        ASSERT_EQ(first, k);
        ASSERT_EQ(index.next(first), k + count / 2);
        ASSERT_EQ(index.next(k + count / 2), Korvu::IPInterfaceProvider::JoinIndex::none);
    }
    EXPECT_EQ(index.first("Tavrix_ComputerSystem\nhost\neth" + std::to_string(count)), Korvu::IPInterfaceProvider::JoinIndex::none);
}

// Looked up while it grows, the index built as a walk goes keeps the first
// value of each key through every enlargement, and nothing for an empty key.
TEST(JoinIndex, FirstValuesStayFoundAsTheWalkGoesOn)
{
    Korvu::IPInterfaceProvider::FirstOf firstOf;
    const std::size_t count = 3000;
    std::string_view found;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string key = "Computer\neth" + std::to_string(i / 2) + "\nmac";
        // What add gives is what find gives: the first value of the key.
        ASSERT_EQ(firstOf.add(key, "adapter" + std::to_string(i)), "adapter" + std::to_string(i - i % 2)) << i;
        ASSERT_TRUE(firstOf.find(key, found)) << i;
        ASSERT_EQ(found, "adapter" + std::to_string(i - i % 2)) << i;
        ASSERT_EQ(firstOf.size(), i / 2 + 1) << i;
    }
    for (std::size_t k = 0; k < count / 2; ++k) {
        ASSERT_TRUE(firstOf.find("Computer\neth" + std::to_string(k) + "\nmac", found)) << k;
        ASSERT_EQ(found, "adapter" + std::to_string(2 * k));
    }
    EXPECT_EQ(firstOf.add("", "none"), "");
    EXPECT_FALSE(firstOf.find("", found));
    EXPECT_EQ(firstOf.size(), count / 2);
    EXPECT_FALSE(firstOf.find("Computer\neth" + std::to_string(count) + "\nmac", found));
}
