// Tavrix_StaticIPAssignmentSettingData and its ifcfg files.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include "Scene.h"
#include "StaticIPAssignmentSettingData.h"

using namespace scene;
using cimhost::Request;
using cimhost::Response;
using cimhost::Value;
using testsupport::ModuleHarness;
using testsupport::propertyText;

namespace {

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
    }
    return names;
}

std::string storeWithInterface(const std::string& interfaceName)
{
    return R"({"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","children":[
      {"name":"nic","type":"NETWORK_ADAPTER","children":[
       {"name":"if","type":"IP_INTERFACE","properties":{"NAME":")" + interfaceName +
           R"(","IPV4_ADDRESS":"192.0.2.10"}}]}]}]})";
}

} // namespace

TEST(StaticSetting, InstanceIDsAndStoreValuesWhileNoFileExists)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    Response r = req.enumerateInstanceNames(h.classPath(req, "Tavrix_StaticIPAssignmentSettingData"));
    std::vector<std::string> ids;
    for (const CMPIObjectPath* path : r.paths)
        ids.push_back(testsupport::keyText(path, "InstanceID"));
    // eth0 has two nodes and is one element.
    EXPECT_EQ(ids, (std::vector<std::string>{"Computer:eth0", "Computer:eth1", "Computer:eth10", "BMC:bmc0"}));

    // Both eth0 nodes give the same InstanceID; GetInstance returns one.
    r = req.getInstance(req.makePath(staticPath("Computer:eth0")));
    ASSERT_EQ(r.instances.size(), 1u);
    const CMPIInstance* eth0 = r.instances[0];
    EXPECT_EQ(propertyText(eth0, "AddressOrigin"), "3");
    EXPECT_EQ(propertyText(eth0, "IPv4Address"), "192.0.2.10");
    EXPECT_EQ(propertyText(eth0, "SubnetMask"), "255.255.255.0");
    EXPECT_EQ(propertyText(eth0, "GatewayIPv4Address"), "192.0.2.1");
    EXPECT_EQ(propertyText(eth0, "IPv6Address"), "2001:db8::10");
    EXPECT_EQ(propertyText(eth0, "GatewayIPv6Address"), "2001:db8::1");
    EXPECT_EQ(propertyText(eth0, "IPv6SubnetPrefixLength"), "24");
    EXPECT_EQ(propertyText(eth0, "PrefixLength"), "24");
    EXPECT_EQ(propertyText(getOne(req, staticPath("Computer:eth1")), "IPv6AddressType"), "1");
    EXPECT_EQ(propertyText(getOne(req, staticPath("Computer:eth10")), "IPv6AddressType"), "2");
    EXPECT_EQ(propertyText(getOne(req, staticPath("BMC:bmc0")), "IPv4Address"), "10.0.0.5");
}

TEST(StaticSetting, FileAloneIsTheSourceOnceItExists)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    Response r = modify(req, staticPath("Computer:eth1"), {{"IPv4Address", text("198.51.100.7")},
                                                           {"ElementName", text("ignored")},
                                                           {"PrefixLength", Value::uint32(8)}});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(h.readFile(h.dataDir() + "ifcfg-eth1"), "IPV4ADDR=198.51.100.7\n");
    const CMPIInstance* eth1 = getOne(req, staticPath("Computer:eth1"));
    EXPECT_EQ(propertyText(eth1, "IPv4Address"), "198.51.100.7");
    EXPECT_EQ(propertyText(eth1, "SubnetMask"), "");
    EXPECT_EQ(propertyText(eth1, "IPv6SubnetPrefixLength"), "0");
    EXPECT_EQ(propertyText(eth1, "PrefixLength"), "16");
    EXPECT_EQ(propertyText(eth1, "ElementName"), "eth1");
    // The node store itself is never written.
    EXPECT_EQ(nodeText("/host/nic1/eth1", Korvu::NodeLexicon::IPV4_ADDRESS), "198.51.100.1");
}

TEST(StaticSetting, OwnedLinesReplacedOtherLinesPreserved)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    const std::string file = h.dataDir() + "ifcfg-eth1";
    h.writeFile(file, "# managed elsewhere\nGATEWAY=1.1.1.1\nIPV6GATEWAY=fe80::1\nNETMASK=1\n"
                      "DEVICE=eth1\nNETMASK=2\nBOOTPROTO=static");
    ASSERT_TRUE(modify(req, staticPath("Computer:eth1"),
                       {{"GatewayIPv4Address", text("198.51.100.254")},
                        {"SubnetMask", text("255.255.255.0")}}).ok());
    EXPECT_EQ(h.readFile(file), "# managed elsewhere\nGATEWAY=198.51.100.254\nIPV6GATEWAY=fe80::1\n"
                                "NETMASK=255.255.255.0\nDEVICE=eth1\nNETMASK=255.255.255.0\n"
                                "BOOTPROTO=static");
    ASSERT_TRUE(modify(req, staticPath("Computer:eth1"), {{"GatewayIPv6Address", text("fe80::2")},
                                                          {"IPv6SubnetPrefixLength", Value::uint16(64)}})
                    .ok());
    EXPECT_EQ(h.readFile(file), "# managed elsewhere\nGATEWAY=198.51.100.254\nIPV6GATEWAY=fe80::2\n"
                                "NETMASK=255.255.255.0\nDEVICE=eth1\nNETMASK=255.255.255.0\n"
                                "BOOTPROTO=static\nPREFIX=64\n");
    const CMPIInstance* eth1 = getOne(req, staticPath("Computer:eth1"));
    EXPECT_EQ(propertyText(eth1, "IPv6SubnetPrefixLength"), "64");
    EXPECT_EQ(propertyText(eth1, "GatewayIPv4Address"), "198.51.100.254");

    h.writeFile(file, "PREFIX=sixty-four\n");
    EXPECT_EQ(propertyText(getOne(req, staticPath("Computer:eth1")), "IPv6SubnetPrefixLength"), "0");
}

TEST(StaticSetting, NewFileTakesLinesInTableOrder)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    ASSERT_TRUE(modify(req, staticPath("BMC:bmc0"), {{"IPv6SubnetPrefixLength", Value::uint16(48)},
                                                     {"GatewayIPv6Address", text("2001:db8::1")},
                                                     {"IPv6Address", text("2001:db8::5")},
                                                     {"GatewayIPv4Address", text("")},
                                                     {"SubnetMask", text("255.0.0.0")},
                                                     {"IPv4Address", text("10.0.0.6")}})
                    .ok());
    EXPECT_EQ(h.readFile(h.dataDir() + "bmc/ifcfg-bmc0"),
              "IPV4ADDR=10.0.0.6\nNETMASK=255.0.0.0\nGATEWAY=\nIPV6ADDR=2001:db8::5\n"
              "IPV6GATEWAY=2001:db8::1\nPREFIX=48\n");
}

TEST(StaticSetting, UnsafeValuesAreRefusedAndNothingIsWritten)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    const cimhost::NamedValues bad[] = {
        {{"IPv4Address", text("10.0.0.256")}},
        {{"SubnetMask", text("255.255.255.0\nGATEWAY=6.6.6.6")}},
        {{"GatewayIPv4Address", text("2001:db8::1")}},
        {{"IPv6Address", text("10.0.0.1")}},
        {{"GatewayIPv6Address", text("fe80::1\r")}},
        {{"IPv6SubnetPrefixLength", Value::uint16(129)}},
    };
    for (const auto& properties : bad) {
        cimhost::NamedValues request = {{"IPv4Address", text("10.0.0.7")}};
        request.insert(request.end(), properties.begin(), properties.end());
        Response r = modify(req, staticPath("Computer:eth1"), request);
        EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_PARAMETER) << properties[0].first;
        EXPECT_TRUE(r.hasMessage);
    }
    EXPECT_TRUE(folderEntries(h.dataDir()).empty());
}

TEST(StaticSetting, KeysSelectingNothingWriteNoFile)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    cimhost::InstanceSpec described;
    described.path = staticPath("Computer:nothing");
    described.properties = {{"IPv4Address", text("10.0.0.7")}};
    EXPECT_EQ(req.modifyInstance(req.makePath(staticPath("Computer:eth1")), req.makeInstance(described)).rc,
              CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(modify(req, staticPath("Computer:"), {{"IPv4Address", text("10.0.0.7")}}).rc,
              CMPI_RC_ERR_NOT_FOUND);
    EXPECT_TRUE(folderEntries(h.dataDir()).empty());
}

TEST(StaticSetting, InterfaceNamesThatCannotMakeAFileNameInTheFolder)
{
    // The name as it is, and as JSON text.
    const std::vector<std::pair<std::string, std::string>> names = {
        {"../escape", "../escape"},
        {std::string(130, 'x'), std::string(130, 'x')},
        {"eth0\nIPV4ADDR=1", "eth0\\nIPV4ADDR=1"},
        {"eth0\r", "eth0\\r"},
        {" eth0", " eth0"},
        {"\teth0", "\\teth0"},
        {".", "."},
        {"..", ".."},
        {"eth0/", "eth0/"},
    };
    for (const auto& entry : names) {
        const std::string& name = entry.first;
        ModuleHarness h(storeWithInterface(entry.second));
        Request req(h.broker());
        Response r = modify(req, staticPath("Computer:" + name), {{"IPv4Address", text("10.0.0.7")}});
        EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED) << entry.second;
        EXPECT_NE(r.message.find("not a safe file name"), std::string::npos) << r.message;
        EXPECT_TRUE(folderEntries(h.dataDir()).empty()) << entry.second;
        EXPECT_EQ(folderEntries(h.folder()).size(), 2u);  // data folder and store file
        // Reading still works, from the store.
        EXPECT_EQ(propertyText(getOne(req, staticPath("Computer:" + name)), "IPv4Address"),
                  "192.0.2.10");
    }
}

TEST(StaticSetting, UnwritableFileIsAFailure)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    ASSERT_EQ(mkdir((h.dataDir() + "ifcfg-eth1").c_str(), 0755), 0);
    Response r = modify(req, staticPath("Computer:eth1"), {{"IPv4Address", text("10.0.0.7")}});
    EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED);
    EXPECT_TRUE(r.hasMessage);
    EXPECT_EQ(folderEntries(h.dataDir()), std::vector<std::string>{"ifcfg-eth1"});
}

TEST(StaticSetting, SymbolicLinkInPlaceOfTheFileIsRefused)
{
    ModuleHarness h(hostAndBmc());
    Request req(h.broker());
    const std::string outside = h.folder() + "outside";
    h.writeFile(outside, "IPV4ADDR=203.0.113.99\nSECRET=kept\n");
    ASSERT_EQ(symlink(outside.c_str(), (h.dataDir() + "ifcfg-eth1").c_str()), 0);

    Response r = req.getInstance(req.makePath(staticPath("Computer:eth1")));
    EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED);
    EXPECT_NE(r.message.find("symbolic link"), std::string::npos) << r.message;
    EXPECT_TRUE(r.instances.empty());

    r = modify(req, staticPath("Computer:eth1"), {{"IPv4Address", text("10.0.0.7")}});
    EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED);
    EXPECT_NE(r.message.find("symbolic link"), std::string::npos) << r.message;
    EXPECT_EQ(h.readFile(outside), "IPV4ADDR=203.0.113.99\nSECRET=kept\n");
    struct stat info;
    ASSERT_EQ(lstat((h.dataDir() + "ifcfg-eth1").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    // The other interfaces are untouched by it.
    EXPECT_EQ(propertyText(getOne(req, staticPath("Computer:eth10")), "ElementName"), "eth10");
}

// The values of one element come from one reading of its file: a rewrite
// between two getters must not give an element half old, half new values.
TEST(StaticSetting, OneElementNeverMixesTwoVersionsOfItsFile)
{
    ModuleHarness h(hostAndBmc());
    const std::string file = h.dataDir() + "ifcfg-eth1";
    h.writeFile(file, "IPV4ADDR=198.51.100.7\nNETMASK=255.255.255.0\nPREFIX=24\n");
    Korvu::IPInterfaceProvider::StaticIPAssignmentSettingData setting;
    setting.setFilter(Korvu::IPInterfaceProvider::StaticIPAssignmentSettingData::BY_INSTANCE_ID,
                      "Computer:eth1");
    ASSERT_TRUE(static_cast<bool>(setting));
    std::string value;
    ASSERT_TRUE(setting.getIPv4Address(value));
    EXPECT_EQ(value, "198.51.100.7");
    h.writeFile(file, "IPV4ADDR=203.0.113.9\nNETMASK=255.255.0.0\nPREFIX=16\n");
    ASSERT_TRUE(setting.getSubnetMask(value));
    EXPECT_EQ(value, "255.255.255.0");
    unsigned short prefix = 0;
    ASSERT_TRUE(setting.getIPv6SubnetPrefixLength(prefix));
    EXPECT_EQ(prefix, 24);

    // A write through the element is what it reads afterwards.
    ASSERT_TRUE(setting.setSubnetMask("255.255.255.128"));
    ASSERT_TRUE(setting.getSubnetMask(value));
    EXPECT_EQ(value, "255.255.255.128");
    ASSERT_TRUE(setting.getIPv4Address(value));
    EXPECT_EQ(value, "203.0.113.9");

    // A later request sees the file as it is now.
    Request req(h.broker());
    const CMPIInstance* eth1 = getOne(req, staticPath("Computer:eth1"));
    EXPECT_EQ(propertyText(eth1, "IPv4Address"), "203.0.113.9");
    EXPECT_EQ(propertyText(eth1, "SubnetMask"), "255.255.255.128");
}
