// Tavrix_IPEnabledLogicalElementCapabilities through the broker.
#include <gtest/gtest.h>

#include "Stores.h"

using namespace stores;
using cimhost::Request;
using cimhost::Response;
using testsupport::keyText;
using testsupport::ModuleHarness;
using testsupport::propertyText;

namespace {

const char* const capsClass = "Tavrix_IPEnabledLogicalElementCapabilities";

cimhost::PathSpec capsPath(const std::string& instanceId)
{
    cimhost::PathSpec described;
    described.nameSpace = ModuleHarness::nameSpace;
    described.className = capsClass;
    described.keys = {{"InstanceID", text(instanceId)}};
    return described;
}

} // namespace

TEST(Capabilities, AliasesAndUnnamedNodesArePassedOver)
{
    ModuleHarness h(interfaces());
    Request req(h.broker());
    Response r = req.enumerateInstances(h.classPath(req, capsClass));
    ASSERT_TRUE(r.ok());
    // eth1 has two endpoint nodes and is one element.
    ASSERT_EQ(r.instances.size(), 2u);
    EXPECT_EQ(propertyText(r.instances[0], "InstanceID"), "eth0");
    EXPECT_EQ(propertyText(r.instances[1], "InstanceID"), "eth1");
    EXPECT_EQ(propertyText(r.instances[0], "ElementName"), "eth0");
    EXPECT_EQ(propertyText(r.instances[0], "ElementNameEditSupported"), "true");
    EXPECT_EQ(propertyText(r.instances[1], "ElementNameEditSupported"), "false");
    for (const CMPIInstance* inst : r.instances) {
        cimhost::InstanceSpec spec = cimhost::toInstanceSpec(inst);
        const cimhost::Value* states = spec.property("RequestedStatesSupported");
        ASSERT_NE(states, nullptr);
        EXPECT_EQ(states->type, CMPI_uint16A);
        EXPECT_EQ(states->toText(), "{2,3,11}");
        EXPECT_EQ(spec.property("MaxElementNameLen"), nullptr);
    }
    Response names = req.enumerateInstanceNames(h.classPath(req, capsClass));
    ASSERT_EQ(names.paths.size(), 2u);
    EXPECT_EQ(keyText(names.paths[1], "InstanceID"), "eth1");
}

TEST(Capabilities, InstanceIdSelectsOnlyItsInterface)
{
    ModuleHarness h(interfaces());
    Request req(h.broker());
    // Two endpoint nodes of eth1, one instance.
    Response eth1 = req.getInstance(req.makePath(capsPath("eth1")));
    ASSERT_EQ(eth1.instances.size(), 1u);
    EXPECT_EQ(propertyText(eth1.instances[0], "InstanceID"), "eth1");
    Response eth0 = req.getInstance(req.makePath(capsPath("eth0")));
    ASSERT_EQ(eth0.instances.size(), 1u);
    // An alias is no element, and skipping it must not land on another one.
    EXPECT_EQ(req.getInstance(req.makePath(capsPath("eth0:1"))).rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(req.getInstance(req.makePath(capsPath("eth1:0"))).rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(req.getInstance(req.makePath(capsPath("eth9"))).rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(req.getInstance(req.makePath(capsPath(""))).rc, CMPI_RC_ERR_NOT_FOUND);
}

TEST(Capabilities, ModificationIsNotServed)
{
    ModuleHarness h(interfaces());
    Request req(h.broker());
    cimhost::InstanceSpec described;
    described.path = capsPath("eth0");
    described.properties = {{"ElementName", text("x")}};
    Response r = req.modifyInstance(req.makePath(described.path), req.makeInstance(described));
    EXPECT_EQ(r.rc, CMPI_RC_ERR_NOT_SUPPORTED);
}
