// InstanceIDs of interfaces whose names hold ':' (aliases) and endpoint
// names whose interface holds '_'.
#include <gtest/gtest.h>

#include "InstanceId.h"

using Korvu::IPInterfaceProvider::InstanceId;
using Korvu::IPInterfaceProvider::interfaceOfEndpointName;

TEST(InstanceIdParse, SystemEndsAtTheFirstColonAndKindStartsAfterTheLast)
{
    struct Case {
        const char* id;
        const char* system;
        const char* interfaceName;
        const char* kind;
    };
    const Case cases[] = {
        {"Computer:eth0:static", "Computer", "eth0", "static"},
        {"Computer:eth0:1:static", "Computer", "eth0:1", "static"},
        {"BMC:eth0:dhcp", "BMC", "eth0", "dhcp"},
        {"Computer:a:b:c:dhcp", "Computer", "a:b:c", "dhcp"},
    };
    for (const Case& c : cases) {
        InstanceId id;
        ASSERT_TRUE(InstanceId::parseWithKind(c.id, id)) << c.id;
        EXPECT_EQ(id.system, c.system) << c.id;
        EXPECT_EQ(id.interfaceName, c.interfaceName) << c.id;
        EXPECT_EQ(id.kind, c.kind) << c.id;
        EXPECT_EQ(id.text(), c.id);
    }
    // Without a kind the alias keeps all of its colons.
    InstanceId setting;
    ASSERT_TRUE(InstanceId::parse("Computer:eth0:1", setting));
    EXPECT_EQ(setting.system, "Computer");
    EXPECT_EQ(setting.interfaceName, "eth0:1");
    EXPECT_TRUE(setting.kind.empty());
    InstanceId configuration;
    ASSERT_TRUE(InstanceId::parseWithKind("Computer:eth0:1:static", configuration));
    EXPECT_TRUE(configuration.sameInterface(setting));
    InstanceId host;
    ASSERT_TRUE(InstanceId::parse("Computer:eth0", host));
    EXPECT_FALSE(configuration.sameInterface(host));
    InstanceId bmc;
    ASSERT_TRUE(InstanceId::parse("BMC:eth0", bmc));
    EXPECT_FALSE(host.sameInterface(bmc));
}

TEST(InstanceIdParse, IdsWithAnEmptyPartAreRefusedAndLeaveTheResultAlone)
{
    for (const char* id : {"", ":", "::", "Computer", "Computer:", ":eth0:static", "Computer::static",
                           "Computer:eth0:", "Computer:eth0"}) {
        InstanceId out;
        out.system = "kept";
        EXPECT_FALSE(InstanceId::parseWithKind(id, out)) << id;
        EXPECT_EQ(out.system, "kept") << id;
    }
    for (const char* id : {"", ":", "Computer", "Computer:", ":eth0"}) {
        InstanceId out;
        out.system = "kept";
        EXPECT_FALSE(InstanceId::parse(id, out)) << id;
        EXPECT_EQ(out.system, "kept") << id;
    }
}

TEST(InstanceIdParse, SplitTakesAKindOnlyWhenItIsOne)
{
    struct Case { const char* id; const char* system; const char* interfaceName; const char* kind; };
    for (const Case& c : {Case{"Computer:eth0", "Computer", "eth0", ""},
                          Case{"Computer:eth0:1", "Computer", "eth0:1", ""},
                          Case{"BMC:eth0:1:dhcp", "BMC", "eth0:1", "dhcp"},
                          Case{"Computer:eth0:static", "Computer", "eth0", "static"}}) {
        InstanceId out;
        ASSERT_TRUE(InstanceId::split(c.id, out)) << c.id;
        EXPECT_EQ(out.system, c.system) << c.id;
        EXPECT_EQ(out.interfaceName, c.interfaceName) << c.id;
        EXPECT_EQ(out.kind, c.kind) << c.id;
    }
    for (const char* id : {"", "Computer", "Computer:", ":eth0", "Computer::static"}) {
        InstanceId out;
        out.system = "kept";
        EXPECT_FALSE(InstanceId::split(id, out)) << id;
        EXPECT_EQ(out.system, "kept") << id;
    }
}

TEST(InstanceIdParse, InterfaceKeyIsSystemAndInterfaceOfAnIdOfTheWantedKind)
{
    const std::string_view none;
    const std::string_view staticKind("static");
    EXPECT_EQ(InstanceId::interfaceKey("Computer:eth0:1"), "Computer:eth0:1");
    EXPECT_EQ(InstanceId::interfaceKey("BMC:eth0:1:dhcp"), "BMC:eth0:1");
    EXPECT_EQ(InstanceId::interfaceKey("Computer:eth0:static", &staticKind), "Computer:eth0");
    EXPECT_EQ(InstanceId::interfaceKey("Computer:eth0:dhcp", &staticKind), "");
    EXPECT_EQ(InstanceId::interfaceKey("Computer:eth0:static", &none), "");
    EXPECT_EQ(InstanceId::interfaceKey("Computer:eth0", &none), "Computer:eth0");
    for (const char* id : {"", "Computer", "Computer:", ":eth0", "Computer::static"})
        EXPECT_EQ(InstanceId::interfaceKey(id), "") << id;
}

TEST(InstanceIdParse, EndpointNamesLoseTheirMacAndOriginOnly)
{
    EXPECT_EQ(interfaceOfEndpointName("eth0_52:54:00:00:00:01_3"), "eth0");
    EXPECT_EQ(interfaceOfEndpointName("eth0:1_52:54:00:00:00:01_3"), "eth0:1");
    EXPECT_EQ(interfaceOfEndpointName("br_lan_52:54:00:00:00:01_4"), "br_lan");
    EXPECT_EQ(interfaceOfEndpointName("eth0__3"), "eth0");
    EXPECT_EQ(interfaceOfEndpointName("eth7"), "eth7");
    EXPECT_EQ(interfaceOfEndpointName("eth7_3"), "eth7_3");
    EXPECT_EQ(interfaceOfEndpointName(""), "");
}
