// The four associations with a computer-system end, through the broker.
#include <gtest/gtest.h>

#include "FunctionProvider.h"
#include "LogCapture.h"
#include "Scene.h"

using namespace scene;
using cimhost::Request;
using cimhost::Response;
using testsupport::LogCapture;

namespace {

std::string host() { return "Tavrix_ComputerSystem:" + hostName(); }
std::string ep(const std::string& name) { return "Tavrix_IPProtocolEndpoint:" + name; }
const std::string sp = "Tavrix_SPComputerSystem:BMC:-1";
const std::string gateway0 = "Tavrix_IPRemoteServiceAccessPoint:eth0_IPv4";
const std::string service = "Tavrix_IPConfigurationService:IPConfigService";

struct Case {
    const char* what;
    cimhost::PathSpec from;
    const char* association;
    Labels far;    // Associators and AssociatorNames
    Labels refs;   // References and ReferenceNames, "Antecedent | Dependent"
};

void check(Request& req, const Case& c)
{
    SCOPED_TRACE(c.what);
    for (Kind kind : {Kind::Associators, Kind::AssociatorNames}) {
        Response r = ask(req, kind, c.from, c.association);
        EXPECT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(farEnds(r), c.far);
    }
    for (Kind kind : {Kind::References, Kind::ReferenceNames}) {
        Response r = ask(req, kind, c.from, c.association);
        EXPECT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(pairs(r, "Antecedent", "Dependent"), c.refs);
    }
}

Labels hostPairs(const Labels& dependents)
{
    Labels result;
    for (const std::string& d : dependents)
        result.push_back(host() + " | " + d);
    return result;
}

} // namespace

TEST(SystemAssociations, FarEndsAndReferencesFromEachEnd)
{
    World w;
    Request req(w.h.broker());
    const Labels hostEndpoints = {ep(eth0), ep(eth1), ep(eth2Static), ep(eth2Dhcp)};
    const Case cases[] = {
        {"host to its endpoints", computerPath(hostName()), "Tavrix_IPHostedAccessPoint",
         hostEndpoints, hostPairs(hostEndpoints)},
        {"endpoint to its host", endpointPath(eth1), "Tavrix_IPHostedAccessPoint", {host()},
         {host() + " | " + ep(eth1)}},
        {"service processor to its first endpoint", computerPath("BMC:-1", true),
         "Tavrix_SPHostedAccessPoint", {ep(bmc0)}, {sp + " | " + ep(bmc0)}},
        {"service processor endpoint to its computer", endpointPath(bmc0, true),
         "Tavrix_SPHostedAccessPoint", {sp}, {sp + " | " + ep(bmc0)}},
        {"host to its gateways", computerPath(hostName()), "Tavrix_RemoteHostedAccessPoint",
         {gateway0}, {host() + " | " + gateway0}},
        {"gateway to its host", accessPath("eth0_IPv4"), "Tavrix_RemoteHostedAccessPoint",
         {host()}, {host() + " | " + gateway0}},
        {"host to its service", computerPath(hostName()), "Tavrix_IPHostedService", {service},
         {host() + " | " + service}},
        {"service to its host", servicePath(), "Tavrix_IPHostedService", {host()},
         {host() + " | " + service}},
    };
    for (const Case& c : cases)
        check(req, c);
}

TEST(SystemAssociations, EnumeratingTheAssociationPairsEachComputerWithItsOwn)
{
    World w;
    Request req(w.h.broker());
    struct {
        const char* association;
        Labels refs;
    } expected[] = {
        {"Tavrix_IPHostedAccessPoint",
         hostPairs({ep(eth0), ep(eth1), ep(eth2Static), ep(eth2Dhcp)})},
        {"Tavrix_SPHostedAccessPoint", {sp + " | " + ep(bmc0)}},
        {"Tavrix_RemoteHostedAccessPoint",
         {host() + " | " + gateway0, sp + " | Tavrix_IPRemoteServiceAccessPoint:bmc0_IPv6"}},
        {"Tavrix_IPHostedService", {host() + " | " + service}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.association);
        Response names = req.enumerateInstanceNames(w.h.classPath(req, e.association));
        EXPECT_TRUE(names.ok()) << names.message;
        EXPECT_EQ(pairs(names, "Antecedent", "Dependent"), e.refs);
        Response instances = req.enumerateInstances(w.h.classPath(req, e.association));
        EXPECT_EQ(pairs(instances, "Antecedent", "Dependent"), e.refs);
    }
}

TEST(SystemAssociations, ComputersWithoutElementsArePassedOver)
{
    // Computers the other provider serves but that own nothing here, before
    // and after the host: no element may refer to an exhausted end.
    World w({"lonely-a"}, {"lonely-b", "lonely-c"});
    Request req(w.h.broker());
    struct {
        const char* association;
        size_t count;
    } expected[] = {{"Tavrix_IPHostedAccessPoint", 4},
                    {"Tavrix_IPHostedService", 1}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.association);
        Response r = req.enumerateInstanceNames(w.h.classPath(req, e.association));
        EXPECT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(r.doneCount, 1);
        ASSERT_EQ(r.paths.size(), e.count);
        for (const CMPIObjectPath* p : r.paths) {
            EXPECT_EQ(label(reference(p, "Antecedent")), host());
            EXPECT_NE(reference(p, "Dependent"), nullptr);
        }
    }
    // Only computers: the service processor's enumeration has no other.
    Response onlyLonely = req.associatorNames(req.makePath(computerPath("lonely-a")),
                                              "Tavrix_IPHostedAccessPoint", nullptr);
    EXPECT_TRUE(onlyLonely.paths.empty());
}

TEST(SystemAssociations, ResultClassCaseIgnoredSuperclassRefused)
{
    World w;
    Request req(w.h.broker());
    const cimhost::PathSpec from = computerPath(hostName());
    Response lower = ask(req, Kind::AssociatorNames, from, "Tavrix_IPHostedAccessPoint",
                         "tavrix_ipprotocolendpoint");
    EXPECT_EQ(lower.paths.size(), 4u);
    Response cim = ask(req, Kind::Associators, from, "Tavrix_IPHostedAccessPoint",
                       "CIM_IPProtocolEndpoint");
    EXPECT_EQ(cim.instances.size(), 4u);
    for (const char* refused : {"CIM_ManagedElement", "CIM_ProtocolEndpoint", "Tavrix_ComputerSystem"}) {
        SCOPED_TRACE(refused);
        Response r = ask(req, Kind::Associators, from, "Tavrix_IPHostedAccessPoint", refused);
        EXPECT_TRUE(r.ok());
        EXPECT_TRUE(r.instances.empty());
        EXPECT_EQ(r.doneCount, 0);
    }
    Response sp = ask(req, Kind::AssociatorNames, endpointPath(bmc0, true),
                      "Tavrix_SPHostedAccessPoint", "TAVRIX_SPCOMPUTERSYSTEM");
    EXPECT_EQ(farEnds(sp), Labels{"Tavrix_SPComputerSystem:BMC:-1"});
    Response hostClass = ask(req, Kind::AssociatorNames, endpointPath(bmc0, true),
                             "Tavrix_SPHostedAccessPoint", "Tavrix_ComputerSystem");
    EXPECT_TRUE(hostClass.paths.empty());
}

TEST(SystemAssociations, MissingKeysFailAndUnpairedPathsAnswerNothing)
{
    World w;
    Request req(w.h.broker());
    LogCapture log(log4cxx::Level::getError());
    struct {
        cimhost::PathSpec from;
        const char* association;
        const char* text;
    } failing[] = {
        {path("Tavrix_ComputerSystem", {{"CreationClassName", text("Tavrix_ComputerSystem")}}),
         "Tavrix_IPHostedAccessPoint", "Could not find 'Name' key in Moniker"},
        {path("Tavrix_IPConfigurationService", {{"Name", text("IPConfigService")}}),
         "Tavrix_IPHostedService", "Could not find 'SystemCreationClassName' key in Moniker"},
        {path("Tavrix_IPProtocolEndpoint", {{"SystemName", text("nowhere")}}),
         "Tavrix_IPHostedAccessPoint", "Could not find 'SystemCreationClassName' key in Moniker"},
    };
    for (const auto& c : failing) {
        SCOPED_TRACE(c.text);
        log.clear();
        Response r = ask(req, Kind::References, c.from, c.association);
        EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED);
        EXPECT_EQ(r.message, c.text);
        EXPECT_TRUE(r.instances.empty());
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_EQ(log.lines()[0].level, "ERROR");
        EXPECT_NE(log.lines()[0].text.find(c.text), std::string::npos);
    }
    // Sound paths that have no partner, and association paths whose
    // references are no paths: OK and nothing.
    struct {
        cimhost::PathSpec from;
        const char* association;
    } unpaired[] = {
        {path("Tavrix_IPHostedAccessPoint", {{"Antecedent", text("x")}}), "Tavrix_IPHostedAccessPoint"},
        {path("Tavrix_SPHostedAccessPoint", {{"Dependent", text("x")}}), "Tavrix_SPHostedAccessPoint"},
        {endpointPath(eth0), "Tavrix_SPHostedAccessPoint"},
        {endpointPath(bmc0, true), "Tavrix_IPHostedAccessPoint"},
        {computerPath("nowhere"), "Tavrix_IPHostedService"},
        {computerPath("BMC:-1", true), "Tavrix_IPHostedService"},
    };
    log.clear();
    for (const auto& c : unpaired) {
        SCOPED_TRACE(c.association);
        for (Kind kind : {Kind::Associators, Kind::AssociatorNames, Kind::References, Kind::ReferenceNames}) {
            Response r = ask(req, kind, c.from, c.association);
            EXPECT_TRUE(r.ok()) << r.message;
            EXPECT_TRUE(r.paths.empty());
            EXPECT_TRUE(r.instances.empty());
            EXPECT_EQ(r.doneCount, 1);
        }
    }
    EXPECT_TRUE(log.lines().empty());
    // GetInstance of an association path that names no pair.
    Response get = req.getInstance(req.makePath(path("Tavrix_IPHostedAccessPoint",
                                                     {{"Antecedent", text("x")}})));
    EXPECT_EQ(get.rc, CMPI_RC_ERR_NOT_FOUND);
}

// A far end's provider that fails fails the request with one text, whether
// the far end was listed or asked for alone.
TEST(SystemAssociations, FailingFarEndProvidersFailTheRequestWithOneText)
{
    testsupport::ModuleHarness h(system());
    cimhost::FunctionProvider failing;
    const auto fail = [](auto&&...) { return CMPIStatus{CMPI_RC_ERR_FAILED, nullptr}; };
    failing.getInstance = fail;
    failing.enumerateInstances = fail;
    failing.enumerateInstanceNames = fail;
    for (const char* cls : {"Tavrix_LANEndpoint", "Tavrix_ComputerSystem", "Tavrix_SPComputerSystem"})
        h.broker().registerInstanceProvider(cls, failing.instanceMI());
    Request req(h.broker());
    LogCapture log(log4cxx::Level::getError());
    const std::pair<cimhost::PathSpec, const char*> asked[] = {
        {endpointPath(eth0), "Tavrix_BindsToLanEndPoint"},
        {endpointPath(eth0), "Tavrix_IPHostedAccessPoint"},
        {endpointPath(bmc0, true), "Tavrix_SPHostedAccessPoint"},
        {servicePath(), "Tavrix_IPHostedService"},
    };
    for (const auto& [from, association] : asked)
        for (Kind kind : {Kind::Associators, Kind::AssociatorNames, Kind::References, Kind::ReferenceNames}) {
            SCOPED_TRACE(std::string(association) + " " + std::to_string(static_cast<int>(kind)));
            Response r = ask(req, kind, from, association);
            EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED);
            EXPECT_EQ(r.message, "Could not obtain an instance of Computer System");
            EXPECT_TRUE(r.paths.empty() && r.instances.empty());
        }
}

TEST(SystemAssociations, UnrelatedClassYieldsNothing)
{
    World w;
    Request req(w.h.broker());
    const cimhost::PathSpec unrelated = idPath("Tavrix_IPAssignmentSettingData", "Computer:eth0:static");
    for (const char* association : {"Tavrix_IPHostedAccessPoint", "Tavrix_SPHostedAccessPoint",
                                    "Tavrix_RemoteHostedAccessPoint", "Tavrix_IPHostedService"}) {
        for (Kind kind : {Kind::Associators, Kind::AssociatorNames, Kind::References,
                          Kind::ReferenceNames}) {
            SCOPED_TRACE(association);
            Response r = ask(req, kind, unrelated, association);
            EXPECT_TRUE(r.ok()) << r.message;
            EXPECT_TRUE(r.paths.empty());
            EXPECT_TRUE(r.instances.empty());
        }
    }
}
