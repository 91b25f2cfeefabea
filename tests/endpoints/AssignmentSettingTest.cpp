// Tavrix_IPAssignmentSettingData: two settings per endpoint node.
#include <gtest/gtest.h>

#include "CMPIAssignmentSettingData.h"
#include "Scene.h"

using namespace scene;
using cimhost::Request;
using cimhost::Response;
using testsupport::keyText;
using testsupport::ModuleHarness;
using testsupport::propertyText;

namespace {

std::vector<std::string> prefixSelection(ModuleHarness& h, Request& req, const std::string& id)
{
    Korvu::IPInterfaceProvider::CMPIAssignmentSettingData settings(h.broker().cmpi(), req.context(),
                                                                  std::string(ModuleHarness::nameSpace));
    settings.setObjectPath(req.makePath(settingPath("Tavrix_IPAssignmentSettingData", id)), true);
    std::vector<std::string> ids;
    for (; settings; ++settings)
        ids.push_back(keyText(settings.getObjectPath(), "InstanceID"));
    return ids;
}

} // namespace

TEST(AssignmentSetting, StaticThenDhcpForEveryInterface)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    Response r = req.enumerateInstances(h.classPath(req, "Tavrix_IPAssignmentSettingData"));
    ASSERT_TRUE(r.ok());
    std::vector<std::string> ids;
    for (const CMPIInstance* inst : r.instances) {
        ids.push_back(propertyText(inst, "InstanceID"));
        EXPECT_EQ(propertyText(inst, "AddressOrigin"), "2");
    }
    EXPECT_EQ(ids, (std::vector<std::string>{
                       "Computer:eth0:static", "Computer:eth0:dhcp", "Computer:eth1:static", "Computer:eth1:dhcp",
                       "Computer:eth10:static", "Computer:eth10:dhcp", "BMC:bmc0:static",
                       "BMC:bmc0:dhcp"}));
}

TEST(AssignmentSetting, ExactInstanceIDMatching)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    Response r = req.getInstance(req.makePath(settingPath("Tavrix_IPAssignmentSettingData",
                                                          "Computer:eth1:dhcp")));
    ASSERT_EQ(r.instances.size(), 1u);
    EXPECT_EQ(propertyText(r.instances[0], "InstanceID"), "Computer:eth1:dhcp");
    EXPECT_EQ(propertyText(r.instances[0], "ElementName"), "eth1");
    // Each setting, of either kind and system, is found by its own InstanceID.
    Response all = req.enumerateInstanceNames(h.classPath(req, "Tavrix_IPAssignmentSettingData"));
    ASSERT_EQ(all.paths.size(), 8u);
    for (const CMPIObjectPath* listed : all.paths) {
        const std::string id = keyText(listed, "InstanceID");
        Response one = req.getInstance(req.makePath(settingPath("Tavrix_IPAssignmentSettingData", id)));
        ASSERT_EQ(one.instances.size(), 1u) << id;
        EXPECT_EQ(propertyText(one.instances[0], "InstanceID"), id);
    }
    for (const char* id : {"Computer:eth1", "computer:eth1:dhcp", "Computer:eth1:dhcp:x"})
        EXPECT_EQ(req.getInstance(req.makePath(settingPath("Tavrix_IPAssignmentSettingData", id))).rc,
                  CMPI_RC_ERR_NOT_FOUND)
            << id;
}

TEST(AssignmentSetting, PrefixMatchingSelectsBothSettingsOfOneInterfaceOnly)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    const std::vector<std::string> eth1 = {"Computer:eth1:static", "Computer:eth1:dhcp"};
    EXPECT_EQ(prefixSelection(h, req, "Computer:eth1:static"), eth1);
    EXPECT_EQ(prefixSelection(h, req, "Computer:eth1:dhcp"), eth1);
    EXPECT_EQ(prefixSelection(h, req, "Computer:eth1"), eth1);
    // eth1 is contained in the name eth10 but is another interface.
    EXPECT_EQ(prefixSelection(h, req, "Computer:eth10:static"),
              (std::vector<std::string>{"Computer:eth10:static", "Computer:eth10:dhcp"}));
    EXPECT_EQ(prefixSelection(h, req, "BMC:bmc0:dhcp"),
              (std::vector<std::string>{"BMC:bmc0:static", "BMC:bmc0:dhcp"}));
    EXPECT_TRUE(prefixSelection(h, req, "Computer:bmc0:static").empty());
}
