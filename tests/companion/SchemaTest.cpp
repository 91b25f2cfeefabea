// The shipped MOF, registration and demo files agree with what the two
// libraries serve.
#include <gtest/gtest.h>

#include <cmpimacs.h>

#include <set>

#include "ModuleHarness.h"
#include "NodeStore.h"
#include "Request.h"
#include "Schema.h"

namespace {

TEST(Schema, EveryRegisteredClassIsDefinedWithSuperclassAndKeys)
{
    const auto classes = schema::allClasses();
    const auto regs = schema::registrations();
    ASSERT_EQ(regs.size(), 26u);
    std::set<std::string> seen;
    for (const schema::Registration& r : regs) {
        SCOPED_TRACE(r.className);
        EXPECT_TRUE(seen.insert(r.className).second) << "registered twice";
        EXPECT_EQ(r.nameSpace, "root/cimv2");
        EXPECT_TRUE(r.location == "ipinterfaceprofileprovider" || r.location == "ipifcompanion");
        ASSERT_EQ(classes.count(r.className), 1u) << "not in the MOF files";
        const schema::ClassInfo& c = classes.at(r.className);
        EXPECT_EQ(c.superClass.rfind("CIM_", 0), 0u);
        EXPECT_FALSE(c.keys.empty());
        // The superclass chain is complete down to a root class.
        std::string up = c.superClass;
        for (int depth = 0; !up.empty() && depth < 20; ++depth) {
            ASSERT_EQ(classes.count(up), 1u) << up << " is not defined";
            up = classes.at(up).superClass;
        }
        EXPECT_TRUE(up.empty());
        EXPECT_TRUE(schema::hasRole(r, "instance"));
    }
    EXPECT_TRUE(schema::hasRole(regs[0], "method"));  // Tavrix_IPProtocolEndpoint
}

TEST(Schema, RegistrationLoadsBothLibrariesWithTheirRoles)
{
    cimhost::Broker broker;
    for (const schema::Registration& r : schema::registrations()) {
        SCOPED_TRACE(r.className);
        const std::string path = r.location == "ipifcompanion" ? COMPANION_LIBRARY : MODULE_LIBRARY;
        std::string error;
        const cimhost::Broker::Module* m = broker.loadModule(path, r.provider, &error);
        ASSERT_NE(m, nullptr) << error;
        EXPECT_NE(m->instance, nullptr);
        if (schema::hasRole(r, "association")) {
            EXPECT_NE(m->association, nullptr);
        }
        if (schema::hasRole(r, "method")) {
            EXPECT_NE(m->method, nullptr);
        }
    }
}

// sfcb starts one provider process per group; both libraries read and write
// the same node store and ifcfg files, so they must share one.
TEST(Schema, EveryBlockNamesTheOneSharedProviderGroup)
{
    const auto regs = schema::registrations();
    ASSERT_FALSE(regs.empty());
    std::set<std::string> locations;
    for (const schema::Registration& r : regs) {
        SCOPED_TRACE(r.className);
        EXPECT_FALSE(r.group.empty());
        EXPECT_EQ(r.group, regs.front().group);
        EXPECT_EQ(r.nameSpace, "root/cimv2");
        locations.insert(r.location);
    }
    EXPECT_EQ(locations, (std::set<std::string>{"ipinterfaceprofileprovider", "ipifcompanion"}));
}

TEST(Schema, CompanionPathsCarryTheMofKeys)
{
    testsupport::ModuleHarness harness(
        schema::readText(std::string(IPIF_SOURCE_DIR) + "/host/demo/demo-store.json"));
    schema::describeClasses(harness.broker());
    std::string error;
    ASSERT_NE(schema::loadCompanion(harness.broker(), error), nullptr) << error;
    const auto classes = schema::allClasses();
    cimhost::Request req(harness.broker());
    for (const schema::Registration& r : schema::registrations()) {
        if (r.provider != "IPInterfaceCompanion")
            continue;
        SCOPED_TRACE(r.className);
        cimhost::Response names = req.enumerateInstanceNames(harness.classPath(req, r.className));
        ASSERT_TRUE(names.ok()) << names.message;
        ASSERT_FALSE(names.paths.empty());
        for (const std::string& key : classes.at(r.className).keys) {
            CMPIStatus rc = {CMPI_RC_OK, nullptr};
            CMGetKey(names.paths[0], key.c_str(), &rc);
            EXPECT_EQ(rc.rc, CMPI_RC_OK) << key;
        }
        EXPECT_EQ(CMGetKeyCount(names.paths[0], nullptr), classes.at(r.className).keys.size());
    }
}

TEST(DemoStore, LoadsAndShowsTheDescribedSystem)
{
    const std::string file = std::string(IPIF_SOURCE_DIR) + "/host/demo/demo-store.json";
    ASSERT_NO_THROW(Korvu::NodeStore::open(file));
    testsupport::ModuleHarness harness(schema::readText(file));
    cimhost::Request req(harness.broker());
    cimhost::Response endpoints = req.enumerateInstances(harness.classPath(req, "Tavrix_IPProtocolEndpoint"));
    ASSERT_TRUE(endpoints.ok()) << endpoints.message;
    std::vector<std::string> names;
    for (const CMPIInstance* i : endpoints.instances)
        names.push_back(testsupport::propertyText(i, "Name"));
    EXPECT_EQ(names, (std::vector<std::string>{"eth0_52:54:00:12:34:56_3", "eth0:1_52:54:00:12:34:56_3",
                                               "eth1_52:54:00:12:34:57_4", "bmc0_52:54:00:ab:cd:ef_3"}));
    EXPECT_EQ(testsupport::propertyText(endpoints.instances[0], "IPv6Address"), "2001:db8:0:1::10");
    EXPECT_EQ(testsupport::propertyText(endpoints.instances[3], "SystemName"), "BMC:-1");
    // IPv4 and IPv6 gateways of eth0, eth1's and the service processor's.
    cimhost::Response gateways = req.enumerateInstances(harness.classPath(req, "Tavrix_IPRemoteServiceAccessPoint"));
    ASSERT_TRUE(gateways.ok()) << gateways.message;
    std::set<std::string> access;
    for (const CMPIInstance* i : gateways.instances)
        access.insert(testsupport::propertyText(i, "AccessInfo"));
    EXPECT_EQ(access, (std::set<std::string>{"192.0.2.1", "2001:db8:0:1::1", "198.51.100.1", "10.0.0.1"}));
}

} // namespace
