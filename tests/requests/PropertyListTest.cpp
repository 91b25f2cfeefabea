// The request's property list: keys and the named properties come back,
// nothing else, for every kind of instance the module returns.
#include <gtest/gtest.h>

#include <set>

#include "Machine.h"

using namespace machine;
using cimhost::Request;
using cimhost::Response;
using testsupport::ModuleHarness;
using testsupport::propertyText;

namespace {

const std::string eth0Static = "eth0_52:54:00:12:34:56_3";

std::set<std::string> propertyNames(const CMPIInstance* inst)
{
    std::set<std::string> names;
    const CMPICount count = CMGetPropertyCount(inst, nullptr);
    for (CMPICount i = 0; i < count; ++i) {
        CMPIString* name = nullptr;
        CMGetPropertyAt(inst, i, &name, nullptr);
        if (name)
            names.insert(CMGetCharsPtr(name, nullptr));
    }
    return names;
}

const std::set<std::string> endpointKeys = {"SystemCreationClassName", "SystemName",
                                            "CreationClassName", "Name"};

std::set<std::string> with(std::set<std::string> names, const std::string& extra)
{
    names.insert(extra);
    return names;
}

} // namespace

TEST(PropertyList, InstanceRequestsReturnKeysAndNamedProperties)
{
    ModuleHarness h(store());
    Request req(h.broker());
    const char* address[] = {"IPv4Address", nullptr};
    Response r = req.getInstance(req.makePath(endpoint(eth0Static)), address);
    ASSERT_EQ(r.instances.size(), 1u) << r.message;
    EXPECT_EQ(propertyNames(r.instances[0]), with(endpointKeys, "IPv4Address"));
    EXPECT_EQ(propertyText(r.instances[0], "IPv4Address"), "192.0.2.10");
    EXPECT_EQ(propertyText(r.instances[0], "Name"), eth0Static);

    // Names are matched without regard to case; an empty list leaves the keys.
    const char* mixed[] = {"subnetmask", "NoSuchProperty", nullptr};
    r = req.enumerateInstances(h.classPath(req, "Tavrix_IPProtocolEndpoint"), mixed);
    ASSERT_EQ(r.instances.size(), 5u);
    for (const CMPIInstance* inst : r.instances) {
        std::set<std::string> names = propertyNames(inst);
        names.erase("SubnetMask");
        EXPECT_EQ(names, endpointKeys);
    }
    EXPECT_EQ(propertyText(r.instances[0], "SubnetMask"), "255.255.255.0");
    const char* none[] = {nullptr};
    r = req.getInstance(req.makePath(staticSetting("Computer:eth1")), none);
    ASSERT_EQ(r.instances.size(), 1u);
    EXPECT_EQ(propertyNames(r.instances[0]), std::set<std::string>{"InstanceID"});
    r = req.getInstance(req.makePath(gateway("eth0_IPv6")), none);
    ASSERT_EQ(r.instances.size(), 1u);
    EXPECT_EQ(propertyNames(r.instances[0]), endpointKeys);

    // Without a list every property comes back.
    r = req.getInstance(req.makePath(endpoint(eth0Static)));
    ASSERT_EQ(r.instances.size(), 1u);
    EXPECT_GT(propertyNames(r.instances[0]).size(), 10u);
    EXPECT_EQ(propertyText(r.instances[0], "ElementName"), "eth0");
}

TEST(PropertyList, AssociationInstancesAndFarEndsAlike)
{
    ModuleHarness h(store());
    Request req(h.broker());
    CMPIObjectPath* eth1 = req.makePath(endpoint("eth1_52:54:00:00:00:01_1"));
    const char* element[] = {"ElementName", nullptr};
    Response far = req.associators(eth1, "Tavrix_IPElementSettingData", nullptr, nullptr, nullptr, element);
    ASSERT_TRUE(far.ok()) << far.message;
    ASSERT_FALSE(far.instances.empty());
    for (const CMPIInstance* inst : far.instances)
        EXPECT_EQ(propertyNames(inst), (std::set<std::string>{"InstanceID", "ElementName"}));

    const char* none[] = {nullptr};
    Response refs = req.references(eth1, "Tavrix_IPElementSettingData", nullptr, none);
    ASSERT_TRUE(refs.ok()) << refs.message;
    ASSERT_FALSE(refs.instances.empty());
    for (const CMPIInstance* inst : refs.instances) {
        std::set<std::string> names = propertyNames(inst);
        EXPECT_EQ(names, (std::set<std::string>{"ManagedElement", "SettingData"}));
    }
}
