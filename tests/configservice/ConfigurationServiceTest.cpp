// Tavrix_IPConfigurationService instances and the configuration lookups.
#include <gtest/gtest.h>

#include "CMPIIPConfigurationService.h"
#include "ConfigScene.h"

using namespace configscene;
using cimhost::Request;
using cimhost::Response;
using testsupport::ModuleHarness;
using testsupport::keyText;
using testsupport::propertyText;
using Korvu::IPInterfaceProvider::configurationNames;

TEST(ConfigurationServiceInstances, OneServiceForManyEndpointsAndNoneForAnEmptyStore)
{
    ModuleHarness h(store());
    Request req(h.broker());
    Response r = req.enumerateInstances(h.classPath(req, "Tavrix_IPConfigurationService"));
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.instances.size(), 1u);
    const CMPIInstance* inst = r.instances[0];
    EXPECT_EQ(propertyText(inst, "SystemCreationClassName"), "Tavrix_ComputerSystem");
    EXPECT_EQ(propertyText(inst, "SystemName"), hostName());
    EXPECT_EQ(propertyText(inst, "CreationClassName"), "Tavrix_IPConfigurationService");
    EXPECT_EQ(propertyText(inst, "Name"), "IPConfigService");
    EXPECT_EQ(propertyText(inst, "ElementName"), "IPConfigService");
    EXPECT_EQ(r.doneCount, 1);

    Response names = req.enumerateInstanceNames(h.classPath(req, "Tavrix_IPConfigurationService"));
    ASSERT_EQ(names.paths.size(), 1u);
    EXPECT_EQ(keyText(names.paths[0], "Name"), "IPConfigService");

    ModuleHarness empty(R"({"nodes":[{"name":"host","type":"COMPUTER_SYSTEM"}]})");
    Request other(empty.broker());
    EXPECT_TRUE(other.enumerateInstances(empty.classPath(other, "Tavrix_IPConfigurationService"))
                    .instances.empty());
}

TEST(ConfigurationServiceInstances, GetMatchesEveryKey)
{
    ModuleHarness h(store());
    Request req(h.broker());
    cimhost::PathSpec anyName = servicePath();
    anyName.keys[3].second = text("SomethingElse");
    EXPECT_EQ(req.getInstance(req.makePath(anyName)).rc, CMPI_RC_ERR_NOT_FOUND);
    Response found = req.getInstance(req.makePath(servicePath()));
    ASSERT_EQ(found.instances.size(), 1u);
    EXPECT_EQ(propertyText(found.instances[0], "Name"), "IPConfigService");

    std::string upper = hostName();
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    upper += "X";
    Response missed = req.getInstance(req.makePath(servicePath(upper)));
    EXPECT_EQ(missed.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_TRUE(missed.instances.empty());
}

TEST(ConfigurationLookup, MatchesTheSystemAndTheWholeInterfaceName)
{
    struct Case {
        const char* configuration;
        const char* setting;
        bool names;
    };
    const Case cases[] = {
        {"Computer:eth1:static", "Computer:eth1", true},
        {"Computer:eth10:static", "Computer:eth1", false},
        {"Computer:eth1:static", "Computer:eth10", false},
        {"Computer:eth0:1:static", "Computer:eth0:1", true},
        {"Computer:eth0:1:static", "Computer:eth0", false},
        {"Computer:eth0:static", "Computer:eth0:1", false},
        {"BMC:eth0:static", "Computer:eth0", false},
        {"BMC:eth0:dhcp", "BMC:eth0", true},
        {"Computer:eth1:static", "eth1:static", false},
        {"Computer:eth1:static", "Computer:eth1:static", false},
        {"Computer:eth1", "Computer:eth1", false},
        {"Computer:eth1:static", "omputer:eth1", false},
        {"Computer:eth1:static", "", false},
        {"", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(configurationNames(c.configuration, c.setting), c.names)
            << c.configuration << " / " << c.setting;
}
