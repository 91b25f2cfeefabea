// Associations on stores shaped like real machines, and as CIM servers and
// clients ask for them: without an association class, with a superclass,
// with Role and ResultRole, and GetInstance of one association instance.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "LogCapture.h"
#include "RealStore.h"

using namespace scene;
using namespace real;
using cimhost::Request;
using cimhost::Response;
using testsupport::LogCapture;

namespace {

const char* const allAssociations[] = {
    "Tavrix_BindsToLanEndPoint", "Tavrix_IPElementSettingData", "Tavrix_StaticOrderedComponent",
    "Tavrix_IPHostedAccessPoint", "Tavrix_StaticIPElementSettingData",
    "Tavrix_RemoteHostedAccessPoint", "Tavrix_IPRemoteAccessAvailableToElement",
    "Tavrix_SPHostedAccessPoint", "Tavrix_IPElementCapabilities", "Tavrix_IPHostedService",
    "Tavrix_IPServiceAffectsElement",
};

std::set<std::string> asSet(const Labels& labels) { return {labels.begin(), labels.end()}; }

// The module's own association record, asked as a CIM server asks it.
Response moduleAssociatorNames(World& w, Request& req, const cimhost::PathSpec& from,
                               const char* assocClass, const char* role = nullptr,
                               const char* resultRole = nullptr)
{
    CMPIAssociationMI* mi = w.h.associationMI();
    CMPIObjectPath* op = req.makePath(from);
    return req.call([&](const CMPIContext* c, const CMPIResult* r) {
        return mi->ft->associatorNames(mi, c, r, op, assocClass, nullptr, role, resultRole);
    });
}

Response moduleReferenceNames(World& w, Request& req, const cimhost::PathSpec& from,
                              const char* resultClass, const char* role = nullptr)
{
    CMPIAssociationMI* mi = w.h.associationMI();
    CMPIObjectPath* op = req.makePath(from);
    return req.call([&](const CMPIContext* c, const CMPIResult* r) {
        return mi->ft->referenceNames(mi, c, r, op, resultClass, role);
    });
}

std::string host() { return "Tavrix_ComputerSystem:" + hostName(); }
const std::string sp = "Tavrix_SPComputerSystem:BMC:-1";
const std::string service = "Tavrix_IPConfigurationService:IPConfigService";

} // namespace

TEST(AnyAssociation, NullClassGivesEveryAssociationOfTheObject)
{
    RealWorld w;
    Request req(w.h.broker());
    Response r = moduleAssociatorNames(w, req, endpointPath(hostEth0), nullptr);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.doneCount, 1);
    EXPECT_EQ(asSet(farEnds(r)),
              (std::set<std::string>{setting("Computer:eth0:static"), setting("Computer:eth0:dhcp"),
                                     staticSetting("Computer:eth0"), "Tavrix_LANEndpoint:eth0", host(),
                                     "Tavrix_IPRemoteServiceAccessPoint:eth0_IPv4",
                                     "Tavrix_IPEnabledLogicalElementCapabilities:eth0", service}));
    EXPECT_EQ(farEnds(r).size(), 8u);

    // The references name this endpoint in every one of them.
    Response refs = moduleReferenceNames(w, req, endpointPath(hostEth0), nullptr);
    ASSERT_TRUE(refs.ok()) << refs.message;
    EXPECT_EQ(refs.paths.size(), 8u);

    // From the computer: its endpoints, its gateways and its service.
    Response fromHost = moduleAssociatorNames(w, req, computerPath(hostName()), nullptr);
    ASSERT_TRUE(fromHost.ok()) << fromHost.message;
    EXPECT_EQ(asSet(farEnds(fromHost)),
              (std::set<std::string>{ep(hostEth0), ep(alias), ep(twoNodeStatic), ep(twoNodeDhcp),
                                     "Tavrix_IPRemoteServiceAccessPoint:eth0_IPv4", service}));

    // An object in none of them: OK, nothing, one end of the result.
    Response none = moduleAssociatorNames(w, req, path("Tavrix_DNSProtocolEndpoint",
                                                       {{"Name", text("eth0_DNS")}}), nullptr);
    EXPECT_TRUE(none.ok()) << none.message;
    EXPECT_TRUE(none.paths.empty());
    EXPECT_EQ(none.doneCount, 1);
}

TEST(AnyAssociation, SuperclassNamesTheAssociationsDerivedFromIt)
{
    RealWorld w;
    Request req(w.h.broker());
    Response settings = moduleAssociatorNames(w, req, endpointPath(hostEth0), "CIM_ElementSettingData");
    ASSERT_TRUE(settings.ok()) << settings.message;
    EXPECT_EQ(farEnds(settings), (Labels{setting("Computer:eth0:static"), setting("Computer:eth0:dhcp"),
                                         staticSetting("Computer:eth0")}));
    Response dependencies = moduleAssociatorNames(w, req, endpointPath(hostEth0), "cim_dependency");
    ASSERT_TRUE(dependencies.ok()) << dependencies.message;
    EXPECT_EQ(asSet(farEnds(dependencies)),
              (std::set<std::string>{"Tavrix_LANEndpoint:eth0", host(),
                                     "Tavrix_IPRemoteServiceAccessPoint:eth0_IPv4"}));
    Response hosted = moduleReferenceNames(w, req, computerPath("BMC:-1", true), "CIM_HostedAccessPoint");
    ASSERT_TRUE(hosted.ok()) << hosted.message;
    EXPECT_EQ(pairs(hosted, "Antecedent", "Dependent"),
              (Labels{sp + " | Tavrix_IPRemoteServiceAccessPoint:eth0_IPv6", sp + " | " + ep(bmcEth0)}));

    // A class that is nothing of this module's stays refused.
    Response foreign = moduleAssociatorNames(w, req, endpointPath(hostEth0), "CIM_Foo");
    EXPECT_EQ(foreign.rc, CMPI_RC_ERR_INVALID_CLASS);
}

TEST(AnyAssociation, RoleAndResultRoleSelectTheReferences)
{
    RealWorld w;
    Request req(w.h.broker());
    const char* esd = "Tavrix_IPElementSettingData";
    const cimhost::PathSpec from = endpointPath(hostEth0);
    EXPECT_TRUE(req.associatorNames(req.makePath(from), esd, nullptr, "SettingData").paths.empty());
    EXPECT_EQ(req.associatorNames(req.makePath(from), esd, nullptr, "managedelement").paths.size(), 2u);
    EXPECT_EQ(req.associatorNames(req.makePath(from), esd, nullptr, nullptr, "SettingData").paths.size(), 2u);
    EXPECT_TRUE(req.associatorNames(req.makePath(from), esd, nullptr, nullptr, "ManagedElement").paths.empty());
    EXPECT_TRUE(req.referenceNames(req.makePath(from), esd, "SettingData").paths.empty());
    EXPECT_EQ(req.referenceNames(req.makePath(from), esd, "ManagedElement").paths.size(), 2u);
    // Without a class, a role keeps the associations where the object plays it.
    Response antecedent = moduleAssociatorNames(w, req, from, nullptr, nullptr, "Antecedent");
    ASSERT_TRUE(antecedent.ok());
    EXPECT_EQ(asSet(farEnds(antecedent)),
              (std::set<std::string>{"Tavrix_LANEndpoint:eth0", host(),
                                     "Tavrix_IPRemoteServiceAccessPoint:eth0_IPv4"}));
}

TEST(Unpaired, SoundObjectsWithoutPartnerAnswerNothingMalformedKeysFail)
{
    RealWorld w;
    Request req(w.h.broker());
    LogCapture log(log4cxx::Level::getError());
    struct {
        cimhost::PathSpec from;
        const char* association;
    } unpaired[] = {
        {endpointPath(hostEth0), "Tavrix_SPHostedAccessPoint"},
        {idPath("Tavrix_IPAssignmentSettingData", "Computer:eth0:dhcp"), "Tavrix_StaticOrderedComponent"},
        {endpointPath(twoNodeStatic), "Tavrix_IPRemoteAccessAvailableToElement"},
        {endpointPath(alias), "Tavrix_IPElementCapabilities"},
        {endpointPath("eth9_52:54:00:00:00:09_3"), "Tavrix_IPElementSettingData"},
        {idPath("Tavrix_StaticIPAssignmentSettingData", "Computer:eth9"), "Tavrix_StaticIPElementSettingData"},
    };
    for (const auto& c : unpaired) {
        SCOPED_TRACE(c.association);
        for (Kind kind : {Kind::Associators, Kind::AssociatorNames, Kind::References, Kind::ReferenceNames}) {
            Response r = ask(req, kind, c.from, c.association);
            EXPECT_TRUE(r.ok()) << r.message;
            EXPECT_TRUE(r.paths.empty() && r.instances.empty());
        }
    }
    EXPECT_TRUE(log.lines().empty());

    struct {
        cimhost::PathSpec from;
        const char* association;
        const char* text;
    } malformed[] = {
        {endpointPath("eth0"), "Tavrix_IPElementSettingData", "Name Property value is not correct"},
        {idPath("Tavrix_IPAssignmentSettingData", "eth0"), "Tavrix_IPElementSettingData",
         "Instance ID Property value is not correct"},
        {accessPath("eth0"), "Tavrix_IPRemoteAccessAvailableToElement", "Name Property value is not correct"},
        {path("Tavrix_IPProtocolEndpoint", {{"Name", text(hostEth0)}}), "Tavrix_BindsToLanEndPoint",
         "Could not find 'SystemCreationClassName' key in Moniker"},
    };
    for (const auto& c : malformed) {
        SCOPED_TRACE(c.text);
        Response r = ask(req, Kind::AssociatorNames, c.from, c.association);
        EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED);
        EXPECT_EQ(r.message, c.text);
    }
}

TEST(OneInstance, GetInstanceReturnsExactlyThePairItsReferencesName)
{
    RealWorld w;
    // Every instance that an enumeration gives comes back alone by GetInstance.
    for (const char* association : allAssociations) {
        SCOPED_TRACE(association);
        Request req(w.h.broker());
        Response names = req.enumerateInstanceNames(w.h.classPath(req, association));
        ASSERT_TRUE(names.ok()) << names.message;
        EXPECT_FALSE(names.paths.empty());
        for (const CMPIObjectPath* p : names.paths) {
            Response one = req.getInstance(p);
            ASSERT_TRUE(one.ok()) << one.message;
            ASSERT_EQ(one.instances.size(), 1u);
            const CMPIObjectPath* got = CMGetObjectPath(one.instances[0], nullptr);
            CMPICount count = CMGetKeyCount(p, nullptr);
            ASSERT_EQ(count, 2u);
            for (CMPICount i = 0; i < count; ++i) {
                CMPIString* name = nullptr;
                CMPIData d = CMGetKeyAt(p, i, &name, nullptr);
                ASSERT_EQ(d.type, CMPI_ref);
                ASSERT_NE(d.value.ref, nullptr);
                EXPECT_EQ(label(reference(got, CMGetCharPtr(name))), label(d.value.ref));
            }
        }
    }

    Request req(w.h.broker());
    auto pathOf = [&](const char* association, const char* first, const cimhost::PathSpec& a,
                      const char* second, const cimhost::PathSpec& b) {
        CMPIObjectPath* p = req.newObjectPath(testsupport::ModuleHarness::nameSpace, association);
        CMAddKey(p, first, &static_cast<CMPIObjectPath* const&>(req.makePath(a)), CMPI_ref);
        CMAddKey(p, second, &static_cast<CMPIObjectPath* const&>(req.makePath(b)), CMPI_ref);
        return p;
    };
    Response esd = req.getInstance(pathOf("Tavrix_IPElementSettingData", "ManagedElement", endpointPath(hostEth0),
                                          "SettingData", idPath("Tavrix_IPAssignmentSettingData",
                                                                "Computer:eth0:dhcp")));
    ASSERT_EQ(esd.instances.size(), 1u);
    EXPECT_EQ(label(reference(esd.instances[0], "SettingData")), setting("Computer:eth0:dhcp"));
    EXPECT_EQ(testsupport::propertyText(esd.instances[0], "IsCurrent"), "2");

    // A pair that does not exist: not found, never another pair.
    Response absent = req.getInstance(pathOf(
        "Tavrix_StaticOrderedComponent", "GroupComponent",
        idPath("Tavrix_IPAssignmentSettingData", "Computer:eth2:static"), "PartComponent",
        idPath("Tavrix_StaticIPAssignmentSettingData", "Computer:eth0")));
    EXPECT_EQ(absent.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_TRUE(absent.instances.empty());
    Response crossed = req.getInstance(pathOf("Tavrix_IPElementSettingData", "ManagedElement",
                                              endpointPath(bmcEth0, true), "SettingData",
                                              idPath("Tavrix_IPAssignmentSettingData", "Computer:eth0:static")));
    EXPECT_EQ(crossed.rc, CMPI_RC_ERR_NOT_FOUND);
}

TEST(RealData, AliasesPairWithTheirOwnSettings)
{
    RealWorld w;
    Request req(w.h.broker());
    const char* esd = "Tavrix_IPElementSettingData";
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, endpointPath(alias), esd)),
              (Labels{setting("Computer:eth0:1:static"), setting("Computer:eth0:1:dhcp")}));
    for (const char* id : {"Computer:eth0:1:static", "Computer:eth0:1:dhcp"})
        EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, idPath("Tavrix_IPAssignmentSettingData", id), esd)),
                  Labels{ep(alias)})
            << id;
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames,
                          idPath("Tavrix_StaticIPAssignmentSettingData", "Computer:eth0:1"),
                          "Tavrix_StaticIPElementSettingData")),
              Labels{ep(alias)});
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, endpointPath(alias), "Tavrix_StaticIPElementSettingData")),
              Labels{staticSetting("Computer:eth0:1")});
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames,
                          idPath("Tavrix_IPAssignmentSettingData", "Computer:eth0:1:static"),
                          "Tavrix_StaticOrderedComponent")),
              Labels{staticSetting("Computer:eth0:1")});
    // hostEth0 keeps its own.
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, endpointPath(hostEth0), esd)),
              (Labels{setting("Computer:eth0:static"), setting("Computer:eth0:dhcp")}));
    // The alias sits on eth0's adapter.
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, endpointPath(alias), "Tavrix_BindsToLanEndPoint")),
              Labels{"Tavrix_LANEndpoint:eth0"});
}

TEST(RealData, CapabilitiesEnumerateWithAnAliasThatHasNone)
{
    RealWorld w;
    Request req(w.h.broker());
    Response r = req.enumerateInstanceNames(w.h.classPath(req, "Tavrix_IPElementCapabilities"));
    ASSERT_TRUE(r.ok()) << r.message;
    const Labels found = pairs(r, "ManagedElement", "Capabilities");
    EXPECT_EQ(std::count_if(found.begin(), found.end(),
                            [](const std::string& l) { return l.find("eth0:1") != std::string::npos; }),
              0);
    EXPECT_NE(std::find(found.begin(), found.end(),
                        ep(hostEth0) + " | Tavrix_IPEnabledLogicalElementCapabilities:eth0"),
              found.end());
}

TEST(RealData, ServiceProcessorInterfaceNamedLikeAHostOneKeepsItsOwn)
{
    RealWorld w;
    Request req(w.h.broker());
    const char* esd = "Tavrix_IPElementSettingData";
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, endpointPath(bmcEth0, true), esd)),
              (Labels{setting("BMC:eth0:static"), setting("BMC:eth0:dhcp")}));
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, idPath("Tavrix_IPAssignmentSettingData", "BMC:eth0:dhcp"),
                          esd)),
              Labels{ep(bmcEth0)});
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, idPath("Tavrix_IPAssignmentSettingData",
                                                             "Computer:eth0:static"), esd)),
              Labels{ep(hostEth0)});
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, idPath("Tavrix_StaticIPAssignmentSettingData", "BMC:eth0"),
                          "Tavrix_StaticIPElementSettingData")),
              Labels{ep(bmcEth0)});
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, accessPath("eth0_IPv6", true),
                          "Tavrix_IPRemoteAccessAvailableToElement")),
              Labels{ep(bmcEth0)});
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, accessPath("eth0_IPv4"),
                          "Tavrix_IPRemoteAccessAvailableToElement")),
              Labels{ep(hostEth0)});
    Response lan = ask(req, Kind::AssociatorNames, endpointPath(bmcEth0, true), "Tavrix_BindsToLanEndPoint");
    ASSERT_EQ(lan.paths.size(), 1u);
    EXPECT_EQ(testsupport::keyText(lan.paths[0], "SystemCreationClassName"), "Tavrix_SPComputerSystem");
    Response hostLan = ask(req, Kind::AssociatorNames, lanPath("eth0"), "Tavrix_BindsToLanEndPoint");
    EXPECT_EQ(farEnds(hostLan), (Labels{ep(hostEth0), ep(alias)}));
}

TEST(RealData, EveryEndpointOfATwoNodeInterfaceFromEitherEnd)
{
    RealWorld w;
    Request req(w.h.broker());
    const Labels both = {ep(twoNodeStatic), ep(twoNodeDhcp)};
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, idPath("Tavrix_IPAssignmentSettingData", "Computer:eth2:dhcp"),
                          "Tavrix_IPElementSettingData")),
              both);
    EXPECT_EQ(farEnds(ask(req, Kind::Associators, idPath("Tavrix_StaticIPAssignmentSettingData", "Computer:eth2"),
                          "Tavrix_StaticIPElementSettingData")),
              both);
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, lanPath("eth2"), "Tavrix_BindsToLanEndPoint")), both);
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, idPath("Tavrix_IPEnabledLogicalElementCapabilities", "eth2"),
                          "Tavrix_IPElementCapabilities")),
              both);
    Response refs = ask(req, Kind::References, idPath("Tavrix_IPAssignmentSettingData", "Computer:eth2:dhcp"),
                        "Tavrix_IPElementSettingData");
    ASSERT_EQ(refs.instances.size(), 2u);
    // DHCP is in force on the DHCP node only.
    EXPECT_EQ(testsupport::propertyText(refs.instances[0], "IsCurrent"), "2");
    EXPECT_EQ(testsupport::propertyText(refs.instances[1], "IsCurrent"), "1");
}

TEST(RealData, EachComputerFindsItsOwnWhateverComesFirst)
{
    RealWorld w({"spare-a", "spare-b"});
    Request req(w.h.broker());
    Response hosted = req.enumerateInstanceNames(w.h.classPath(req, "Tavrix_RemoteHostedAccessPoint"));
    ASSERT_TRUE(hosted.ok()) << hosted.message;
    EXPECT_EQ(pairs(hosted, "Antecedent", "Dependent"),
              (Labels{host() + " | Tavrix_IPRemoteServiceAccessPoint:eth0_IPv4",
                      sp + " | Tavrix_IPRemoteServiceAccessPoint:eth0_IPv6"}));
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, computerPath(hostName()), "Tavrix_IPHostedAccessPoint")),
              (Labels{ep(hostEth0), ep(alias), ep(twoNodeStatic), ep(twoNodeDhcp)}));
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, computerPath("BMC:-1", true), "Tavrix_SPHostedAccessPoint")),
              Labels{ep(bmcEth0)});
    EXPECT_EQ(farEnds(ask(req, Kind::AssociatorNames, endpointPath(twoNodeDhcp), "Tavrix_IPHostedAccessPoint")),
              Labels{host()});
    EXPECT_TRUE(farEnds(ask(req, Kind::AssociatorNames, computerPath("spare-b"), "Tavrix_IPHostedService")).empty());
    // No association element ever refers to nothing.
    for (const char* association : allAssociations) {
        SCOPED_TRACE(association);
        Response r = req.enumerateInstances(w.h.classPath(req, association));
        ASSERT_TRUE(r.ok()) << r.message;
        for (const CMPIInstance* inst : r.instances) {
            const CMPIObjectPath* p = CMGetObjectPath(inst, nullptr);
            for (CMPICount i = 0; i < CMGetKeyCount(p, nullptr); ++i) {
                CMPIData d = CMGetKeyAt(p, i, nullptr, nullptr);
                EXPECT_EQ(d.type, CMPI_ref);
                EXPECT_FALSE(d.state & CMPI_nullValue);
                EXPECT_NE(d.value.ref, nullptr);
            }
        }
    }
}

TEST(RealData, ShippedDemoSystemAnswersFromAndTowardsTheComputer)
{
    std::ifstream in(IPIF_DEMO_STORE);
    ASSERT_TRUE(in) << IPIF_DEMO_STORE;
    std::stringstream text;
    text << in.rdbuf();
    World w({}, {}, text.str(), {"eth0", "eth1"}, {"bmc0"});
    Request req(w.h.broker());
    const std::string endpoint = "eth0_52:54:00:12:34:56_3";
    for (const char* association : {"Tavrix_IPHostedAccessPoint", "Tavrix_RemoteHostedAccessPoint",
                                    "Tavrix_IPHostedService"}) {
        SCOPED_TRACE(association);
        for (Kind kind : {Kind::Associators, Kind::AssociatorNames, Kind::References, Kind::ReferenceNames}) {
            Response from = ask(req, kind, computerPath(hostName()), association);
            EXPECT_TRUE(from.ok()) << from.message;
            EXPECT_FALSE(from.paths.empty() && from.instances.empty());
        }
    }
    for (const auto& towards : {std::make_pair(endpointPath(endpoint), "Tavrix_IPHostedAccessPoint"),
                                std::make_pair(accessPath("eth0_IPv4"), "Tavrix_RemoteHostedAccessPoint"),
                                std::make_pair(servicePath(), "Tavrix_IPHostedService"),
                                std::make_pair(endpointPath("bmc0_52:54:00:ab:cd:ef_3", true),
                                               "Tavrix_SPHostedAccessPoint")}) {
        SCOPED_TRACE(towards.second);
        Response r = ask(req, Kind::AssociatorNames, towards.first, towards.second);
        EXPECT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(r.paths.size(), 1u);
    }
}

TEST(RealData, TraceLinesNameTheIncrementOperatorAsTheOtherClassesDo)
{
    RealWorld w;
    LogCapture log;
    for (const char* association : allAssociations) {
        Request req(w.h.broker());
        req.enumerateInstanceNames(w.h.classPath(req, association));
    }
    EXPECT_GT(log.count("::operator ++()"), 11u);
    EXPECT_EQ(log.count("operator++"), 0u);
    EXPECT_GT(log.count("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::operator ++() in "
                        "CMPIIPHostedAccessPoint.cpp"),
              0u);
}

// An interface with two nodes is one interface: its settings and
// capabilities are listed once, as every other element.
TEST(RealData, EnumerationsListEveryElementOnce)
{
    RealWorld w;
    Request req(w.h.broker());
    for (const char* cls : {"Tavrix_IPProtocolEndpoint", "Tavrix_IPAssignmentSettingData",
                            "Tavrix_StaticIPAssignmentSettingData", "Tavrix_IPRemoteServiceAccessPoint",
                            "Tavrix_IPEnabledLogicalElementCapabilities", "Tavrix_IPConfigurationService"}) {
        for (bool names : {true, false}) {
            Response r = names ? req.enumerateInstanceNames(w.h.classPath(req, cls))
                               : req.enumerateInstances(w.h.classPath(req, cls));
            ASSERT_TRUE(r.ok()) << cls << ": " << r.message;
            std::vector<const CMPIObjectPath*> paths(r.paths.begin(), r.paths.end());
            for (const CMPIInstance* inst : r.instances)
                paths.push_back(CMGetObjectPath(inst, nullptr));
            std::multiset<std::string> seen;
            for (const CMPIObjectPath* p : paths) {
                std::string text;
                for (CMPICount i = 0; i < CMGetKeyCount(p, nullptr); ++i) {
                    CMPIString* name = nullptr;
                    CMPIData d = CMGetKeyAt(p, i, &name, nullptr);
                    text += std::string(CMGetCharsPtr(name, nullptr)) + "=" +
                            (d.type == CMPI_string ? CMGetCharsPtr(d.value.string, nullptr) : "?") + ";";
                }
                seen.insert(text);
            }
            for (const std::string& text : std::set<std::string>(seen.begin(), seen.end()))
                EXPECT_EQ(seen.count(text), 1u) << cls << (names ? " names " : " instances ") << text;
            EXPECT_FALSE(paths.empty()) << cls;
        }
    }
}
