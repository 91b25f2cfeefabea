// Requests whose path does not name exactly one instance of the class.
#include <gtest/gtest.h>

#include <dirent.h>

#include <set>

#include "Machine.h"
#include "ObjectPathObject.h"
#include "ProviderUtilities.h"

using namespace machine;
using cimhost::Request;
using cimhost::Response;
using cimhost::Value;
using Korvu::NodeLexicon;
using testsupport::ModuleHarness;
using testsupport::propertyText;

namespace {

const std::string eth0Static = "eth0_52:54:00:12:34:56_3";
const std::string bmcEth0 = "eth0_52:54:00:ab:cd:ef_3";
const char* const endpointNodes[] = {"/host/nic0/eth0", "/host/nic0/eth0-dhcp", "/host/nic0/eth0-1",
                                     "/host/nic1/eth1", "/bmc/bmcnic/bmc-eth0"};

bool refused(CMPIrc rc) { return rc == CMPI_RC_ERR_NOT_FOUND || rc == CMPI_RC_ERR_INVALID_PARAMETER; }

std::set<std::string> filesIn(const std::string& folder)
{
    std::set<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.insert(entry->d_name);
        closedir(dir);
    }
    return names;
}

// Every value the requests below could reach, to prove that none moved.
std::string everything(ModuleHarness& h)
{
    std::string all = h.readFile(h.storeFile());
    for (const std::string& name : filesIn(h.dataDir()))
        all += "\n" + name + ":" + h.readFile(h.dataDir() + name);
    return all;
}

} // namespace

TEST(RequestPath, MethodOnPathWithoutIdentifyingKeysChangesNothing)
{
    ModuleHarness h(store());
    Request req(h.broker());
    const std::string before = everything(h);

    cimhost::PathSpec classOnly = path("Tavrix_IPProtocolEndpoint", {});
    cimhost::PathSpec creationOnly =
        path("Tavrix_IPProtocolEndpoint", {{"CreationClassName", text("Tavrix_IPProtocolEndpoint")}});
    cimhost::PathSpec withoutName = endpoint(eth0Static);
    withoutName.keys.pop_back();
    for (const cimhost::PathSpec& target : {classOnly, creationOnly, withoutName}) {
        MethodCall call = invoke(h, req, target, "RequestStateChange",
                                 {{"RequestedState", Value::uint16(3)}});
        EXPECT_TRUE(refused(call.response.rc)) << call.response.rc;
        EXPECT_TRUE(call.response.hasMessage);
        EXPECT_EQ(call.returnValue, 4u);
    }
    for (const char* node : endpointNodes)
        EXPECT_EQ(nodeNumber(node, NodeLexicon::STATE), 1u) << node;
    EXPECT_EQ(everything(h), before);

    // The service's method alike.
    MethodCall apply = invoke(h, req, path("Tavrix_IPConfigurationService", {}),
                              "ApplySettingToIPProtocolEndpoint", {});
    EXPECT_TRUE(refused(apply.response.rc)) << apply.response.rc;
    EXPECT_EQ(apply.returnValue, 4u);

    // The full path still reaches exactly its own endpoint.
    MethodCall call = invoke(h, req, endpoint(bmcEth0, true), "RequestStateChange",
                             {{"RequestedState", Value::uint16(3)}});
    ASSERT_TRUE(call.response.ok()) << call.response.message;
    EXPECT_EQ(call.returnValue, 0u);
    EXPECT_EQ(nodeNumber("/bmc/bmcnic/bmc-eth0", NodeLexicon::STATE), 12u);
    EXPECT_EQ(nodeNumber("/host/nic0/eth0", NodeLexicon::STATE), 1u);
}

TEST(RequestPath, ModifyOnPathWithoutIdentifyingKeysWritesNothing)
{
    ModuleHarness h(store());
    Request req(h.broker());
    const std::string before = everything(h);

    // A client sending only the values: the instance carries no keys either.
    Response r = modify(req, path("Tavrix_StaticIPAssignmentSettingData", {}),
                        {{"IPv4Address", text("192.0.2.99")}});
    EXPECT_TRUE(refused(r.rc)) << r.rc;
    EXPECT_TRUE(r.hasMessage);
    EXPECT_FALSE(h.fileExists(h.dataDir() + "ifcfg-eth0"));

    cimhost::PathSpec partial = endpoint(eth0Static);
    partial.keys.erase(partial.keys.begin() + 1, partial.keys.end());
    r = modify(req, partial, {{"IPv4Address", text("192.0.2.99")}});
    EXPECT_TRUE(refused(r.rc)) << r.rc;

    r = modify(req, path("Tavrix_IPRemoteServiceAccessPoint",
                         {{"CreationClassName", text("Tavrix_IPRemoteServiceAccessPoint")}}),
               {{"AccessInfo", text("192.0.2.254")}});
    EXPECT_TRUE(refused(r.rc)) << r.rc;
    EXPECT_EQ(everything(h), before);

    // With its key the setting is written, and only its own file.
    ASSERT_TRUE(modify(req, staticSetting("Computer:eth1"), {{"IPv4Address", text("198.51.100.9")}}).ok());
    EXPECT_EQ(filesIn(h.dataDir()), std::set<std::string>{"ifcfg-eth1"});
}

TEST(RequestPath, GetInstanceNeedsEveryKeyAndReturnsOneInstance)
{
    ModuleHarness h(store());
    Request req(h.broker());
    cimhost::PathSpec withoutNames = endpoint(eth0Static);
    withoutNames.keys = {{"CreationClassName", text("Tavrix_IPProtocolEndpoint")},
                         {"SystemCreationClassName", text("Tavrix_ComputerSystem")}};
    for (const cimhost::PathSpec& target :
         {withoutNames, path("Tavrix_IPProtocolEndpoint", {}), path("Tavrix_IPAssignmentSettingData", {}),
          path("Tavrix_StaticIPAssignmentSettingData", {}), path("Tavrix_IPConfigurationService", {}),
          path("Tavrix_IPRemoteServiceAccessPoint", {})}) {
        Response r = req.getInstance(req.makePath(target));
        EXPECT_EQ(r.rc, CMPI_RC_ERR_NOT_FOUND) << target.className;
        EXPECT_TRUE(r.instances.empty()) << target.className;
    }

    // Two nodes that give the same keys: still one instance.
    std::string twice = store();
    const std::string alias = R"("NAME":"eth0:1",
     "MAC_ADDRESS":"52:54:00:12:34:56","ADDRESS_ORIGIN":3)";
    twice.replace(twice.find(alias), alias.size(),
                  R"("NAME":"eth0","MAC_ADDRESS":"52:54:00:12:34:56","ADDRESS_ORIGIN":3)");
    ModuleHarness h2(twice);
    Request req2(h2.broker());
    Response r = req2.getInstance(req2.makePath(endpoint(eth0Static)));
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.instances.size(), 1u);
    EXPECT_EQ(propertyText(r.instances[0], "IPv4Address"), "192.0.2.10");
}

TEST(RequestPath, KeysPresentMustAllMatch)
{
    ModuleHarness h(store());
    Request req(h.broker());
    const std::string before = everything(h);

    // Gateways: the Name must be the interface and a known suffix.
    for (const char* name : {"eth0_garbage_IPv4", "eth0", "eth0_IPv4_extra", "eth0_ipv4"}) {
        Response r = req.getInstance(req.makePath(gateway(name)));
        EXPECT_EQ(r.rc, CMPI_RC_ERR_NOT_FOUND) << name;
        EXPECT_TRUE(r.instances.empty()) << name;
        r = modify(req, gateway(name), {{"AccessInfo", text("192.0.2.253")}});
        EXPECT_EQ(r.rc, CMPI_RC_ERR_NOT_FOUND) << name;
    }
    EXPECT_EQ(req.getInstance(req.makePath(gateway("eth0_IPv4"))).instances.size(), 1u);

    // Endpoints: class names of the keys count as much as the names.
    cimhost::PathSpec wrongSystemClass = endpoint(eth0Static);
    wrongSystemClass.keys[0].second = text("Tavrix_SPComputerSystem");
    cimhost::PathSpec wrongClass = endpoint(eth0Static);
    wrongClass.keys[2].second = text("Tavrix_IPRemoteServiceAccessPoint");
    cimhost::PathSpec extraKey = endpoint(eth0Static);
    extraKey.keys.push_back({"InstanceID", text("Computer:eth0")});
    for (const cimhost::PathSpec& target : {wrongSystemClass, wrongClass, extraKey}) {
        EXPECT_EQ(req.getInstance(req.makePath(target)).rc, CMPI_RC_ERR_NOT_FOUND);
        MethodCall call = invoke(h, req, target, "RequestStateChange", {{"RequestedState", Value::uint16(3)}});
        EXPECT_TRUE(refused(call.response.rc));
        EXPECT_EQ(call.returnValue, 4u);
    }

    // The configuration service: each of its four keys.
    for (size_t key = 0; key < 4; ++key) {
        cimhost::PathSpec target = service();
        target.keys[key].second = text(target.keys[key].second.asString() + "x");
        Response r = req.getInstance(req.makePath(target));
        EXPECT_EQ(r.rc, CMPI_RC_ERR_NOT_FOUND) << target.keys[key].first;
        EXPECT_TRUE(r.instances.empty());
        MethodCall apply = invoke(h, req, target, "ApplySettingToIPProtocolEndpoint", {});
        EXPECT_EQ(apply.response.rc, CMPI_RC_ERR_NOT_FOUND) << target.keys[key].first;
        EXPECT_EQ(apply.returnValue, 4u);
    }
    Response own = req.getInstance(req.makePath(service()));
    ASSERT_EQ(own.instances.size(), 1u);
    EXPECT_EQ(propertyText(own.instances[0], "Name"), "IPConfigService");
    EXPECT_EQ(everything(h), before);
}

TEST(RequestPath, KeyCountSaturates)
{
    ModuleHarness h(store());
    Request req(h.broker());
    // 65,536 keys: one that names eth1's setting, the rest strangers.
    CMPIObjectPath* crowded = req.makePath(staticSetting("Computer:eth1"));
    auto* object = cimhost::ownerOf<cimhost::ObjectPathObject>(crowded);
    ASSERT_NE(object, nullptr);
    const CMPIData value = object->keys()[0].second;
    for (unsigned i = 1; i < 65536; ++i)
        object->own().keys.emplace_back("Extra" + std::to_string(i), value);
    ASSERT_EQ(CMGetKeyCount(crowded, nullptr), 65536u);
    EXPECT_EQ(Korvu::ProviderUtilities::getKeyCount(crowded), 65535u);

    cimhost::InstanceSpec described;
    described.path = staticSetting("Computer:eth1");
    described.properties = {{"IPv4Address", text("198.51.100.9")}};
    Response r = req.modifyInstance(crowded, req.makeInstance(described));
    EXPECT_TRUE(refused(r.rc)) << r.rc;
    EXPECT_TRUE(filesIn(h.dataDir()).empty());
    EXPECT_TRUE(req.getInstance(crowded).instances.empty());
}

// Endpoints, gateways and settings skip their keys when the instance made
// from their path holds them already; a property that is absent or null is
// not held.
TEST(RequestPath, InstancesMadeFromAPathHoldItsKeysOnly)
{
    ModuleHarness h(store());
    Request req(h.broker());
    CMPIObjectPath* path = req.makePath(staticSetting("Computer:eth1"));
    CMPIInstance* instance = CMNewInstance(h.broker().cmpi(), path, nullptr);
    ASSERT_NE(instance, nullptr);
    EXPECT_TRUE(Korvu::ProviderUtilities::holdsProperty(instance, "InstanceID"));
    EXPECT_TRUE(Korvu::ProviderUtilities::holdsProperty(instance, "instanceid"));
    EXPECT_FALSE(Korvu::ProviderUtilities::holdsProperty(instance, "IPv4Address"));
    CMSetProperty(instance, "IPv4Address", nullptr, CMPI_chars);
    EXPECT_FALSE(Korvu::ProviderUtilities::holdsProperty(instance, "IPv4Address"));
    EXPECT_FALSE(Korvu::ProviderUtilities::holdsProperty(nullptr, "InstanceID"));
}
