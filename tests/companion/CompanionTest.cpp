// The companion provider loaded next to the module, on the demo store, as a
// CIM server would drive both.
#include <gtest/gtest.h>

#include <cmpimacs.h>

#include <unistd.h>

#include <algorithm>
#include <memory>

#include "CMPIIPConfigurationService.h"
#include "Instrumentation.h"
#include "ModuleHarness.h"
#include "NodeLexicon.h"
#include "PathText.h"
#include "Request.h"
#include "Schema.h"
#include "Value.h"

using testsupport::keyText;
using testsupport::propertyText;

namespace {

std::string hostName()
{
    char name[257] = {};
    gethostname(name, 256);
    return name;
}

class Companion : public ::testing::Test {
protected:
    virtual std::string store() const
    {
        return schema::readText(std::string(IPIF_SOURCE_DIR) + "/host/demo/demo-store.json");
    }

    void SetUp() override
    {
        harness.reset(new testsupport::ModuleHarness(store()));
        schema::describeClasses(harness->broker());
        std::string error;
        ASSERT_NE(schema::loadCompanion(harness->broker(), error), nullptr) << error;
    }

    cimhost::Response enumerate(cimhost::Request& req, const std::string& cls)
    {
        return req.enumerateInstances(harness->classPath(req, cls));
    }

    std::vector<std::string> values(const cimhost::Response& r, const char* property)
    {
        std::vector<std::string> out;
        for (const CMPIInstance* i : r.instances)
            out.push_back(propertyText(i, property));
        return out;
    }

    // The module's endpoint path of an interface.
    const CMPIObjectPath* endpointOf(cimhost::Request& req, const std::string& iface)
    {
        cimhost::Response r = req.enumerateInstanceNames(harness->classPath(req, "Tavrix_IPProtocolEndpoint"));
        for (const CMPIObjectPath* p : r.paths)
            if (keyText(p, "Name").rfind(iface + "_", 0) == 0)
                return p;
        return nullptr;
    }

    cimhost::PathSpec lanPath(const std::string& systemClass, const std::string& system, const std::string& name)
    {
        cimhost::PathSpec p;
        p.nameSpace = testsupport::ModuleHarness::nameSpace;
        p.className = "Tavrix_LANEndpoint";
        p.keys = {{"SystemCreationClassName", cimhost::Value::string(systemClass)},
                  {"SystemName", cimhost::Value::string(system)},
                  {"CreationClassName", cimhost::Value::string("Tavrix_LANEndpoint")},
                  {"Name", cimhost::Value::string(name)}};
        return p;
    }

    std::unique_ptr<testsupport::ModuleHarness> harness;
};

TEST_F(Companion, SystemsAreTheHostAndTheServiceProcessor)
{
    cimhost::Request req(harness->broker());
    cimhost::Response host = enumerate(req, "Tavrix_ComputerSystem");
    ASSERT_TRUE(host.ok()) << host.message;
    ASSERT_EQ(host.instances.size(), 1u);
    EXPECT_EQ(propertyText(host.instances[0], "Name"), hostName());
    EXPECT_EQ(propertyText(host.instances[0], "ElementName"), "demo-host");

    cimhost::Response sp = enumerate(req, "Tavrix_SPComputerSystem");
    ASSERT_EQ(sp.instances.size(), 1u);
    EXPECT_EQ(propertyText(sp.instances[0], "Name"), "BMC:-1");

    // Asked through the superclass, the provider answers once for both.
    cimhost::Response all = enumerate(req, "CIM_ComputerSystem");
    ASSERT_TRUE(all.ok()) << all.message;
    EXPECT_EQ(all.instances.size(), 2u);
}

TEST_F(Companion, LanEndpointsComeFromTheAdapters)
{
    cimhost::Request req(harness->broker());
    cimhost::Response r = enumerate(req, "Tavrix_LANEndpoint");
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(values(r, "Name"), (std::vector<std::string>{"eth0", "eth1", "bmc0"}));
    EXPECT_EQ(propertyText(r.instances[0], "MACAddress"), "525400123456");
    EXPECT_EQ(propertyText(r.instances[0], "SystemName"), hostName());
    EXPECT_EQ(propertyText(r.instances[2], "SystemName"), "BMC:-1");
    EXPECT_EQ(propertyText(r.instances[2], "SystemCreationClassName"), "Tavrix_SPComputerSystem");
}

// A names request builds keys alone: the same paths, in the same order, as
// the instances, which carry their keys as properties too.
TEST_F(Companion, NamesAreThePathsOfTheInstances)
{
    cimhost::Request req(harness->broker());
    for (const char* cls : {"Tavrix_ComputerSystem", "Tavrix_SPComputerSystem", "Tavrix_LANEndpoint",
                            "Tavrix_DHCPSettingData", "Tavrix_DNSSettingData", "Tavrix_DNSGeneralSettingData",
                            "Tavrix_DNSProtocolEndpoint"}) {
        SCOPED_TRACE(cls);
        cimhost::Response names = req.enumerateInstanceNames(harness->classPath(req, cls));
        cimhost::Response instances = enumerate(req, cls);
        ASSERT_TRUE(names.ok() && instances.ok()) << names.message << instances.message;
        ASSERT_FALSE(names.paths.empty());
        ASSERT_EQ(names.paths.size(), instances.instances.size());
        for (size_t i = 0; i < names.paths.size(); ++i) {
            const CMPIObjectPath* own = CMGetObjectPath(instances.instances[i], nullptr);
            EXPECT_EQ(cimhost::pathToText(names.paths[i]), cimhost::pathToText(own));
            const CMPICount keys = CMGetKeyCount(names.paths[i], nullptr);
            ASSERT_GT(keys, 0u);
            for (CMPICount k = 0; k < keys; ++k) {
                CMPIString* key = nullptr;
                CMGetKeyAt(names.paths[i], k, &key, nullptr);
                EXPECT_EQ(propertyText(instances.instances[i], CMGetCharPtr(key)),
                          keyText(names.paths[i], CMGetCharPtr(key)));
            }
        }
    }
}

TEST_F(Companion, LanEndpointGetTakesThePathTheModuleBuilds)
{
    cimhost::Request req(harness->broker());
    // The module names the system class Tavrix_ComputerSystem even below
    // the service processor.
    cimhost::Response bmc = req.getInstance(req.makePath(lanPath("Tavrix_ComputerSystem", "BMC:-1", "bmc0")));
    ASSERT_TRUE(bmc.ok()) << bmc.message;
    ASSERT_EQ(bmc.instances.size(), 1u);
    EXPECT_EQ(propertyText(bmc.instances[0], "MACAddress"), "525400ABCDEF");

    cimhost::Response wrongSystem = req.getInstance(req.makePath(lanPath("Tavrix_ComputerSystem", hostName(), "bmc0")));
    EXPECT_EQ(wrongSystem.rc, CMPI_RC_ERR_NOT_FOUND);
    cimhost::Response unknown = req.getInstance(req.makePath(lanPath("Tavrix_ComputerSystem", hostName(), "eth7")));
    EXPECT_EQ(unknown.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_TRUE(unknown.instances.empty());
}

TEST_F(Companion, SettingsFollowTheInterfaces)
{
    cimhost::Request req(harness->broker());
    const std::vector<std::string> ids = {"Computer:eth0", "Computer:eth0:1", "Computer:eth1", "BMC:bmc0"};
    for (const char* cls : {"Tavrix_DHCPSettingData", "Tavrix_DNSSettingData", "Tavrix_DNSGeneralSettingData"}) {
        cimhost::Response r = enumerate(req, cls);
        ASSERT_TRUE(r.ok()) << cls << ": " << r.message;
        EXPECT_EQ(values(r, "InstanceID"), ids) << cls;
    }
    cimhost::Response dns = enumerate(req, "Tavrix_DNSSettingData");
    EXPECT_EQ(propertyText(dns.instances[0], "RequestedHostname"), "demo-host");
    EXPECT_EQ(propertyText(dns.instances[0], "DomainName"), "example.net");
    EXPECT_EQ(propertyText(dns.instances[0], "DNSServerAddresses"), "{192.0.2.53,2001:db8:0:1::53}");
    // The alias has no resolver settings of its own.
    EXPECT_EQ(propertyText(dns.instances[1], "DNSServerAddresses"), "");

    cimhost::Response general = enumerate(req, "Tavrix_DNSGeneralSettingData");
    EXPECT_EQ(propertyText(general.instances[0], "DNSSuffixesToAppend"), "{example.net,lab.example.net}");

    cimhost::PathSpec dhcp;
    dhcp.nameSpace = testsupport::ModuleHarness::nameSpace;
    dhcp.className = "Tavrix_DHCPSettingData";
    dhcp.keys = {{"InstanceID", cimhost::Value::string("Computer:eth1")}};
    cimhost::Response one = req.getInstance(req.makePath(dhcp));
    ASSERT_EQ(one.instances.size(), 1u);
    EXPECT_EQ(propertyText(one.instances[0], "AddressOrigin"), "4");
}

TEST_F(Companion, SettingsReflectStoreChanges)
{
    {
        Korvu::Instrumentation node;
        node.selectNode("/host/eth-adapter-1/eth1");
        ASSERT_TRUE(node.setProperty(Korvu::NodeLexicon::DNS_SERVERS, std::vector<std::string>{"203.0.113.1"}));
    }
    cimhost::Request req(harness->broker());
    cimhost::Response dns = enumerate(req, "Tavrix_DNSSettingData");
    EXPECT_EQ(propertyText(dns.instances[2], "DNSServerAddresses"), "{203.0.113.1}");
}

TEST_F(Companion, DnsEndpointOfAnInterface)
{
    cimhost::Request req(harness->broker());
    cimhost::Response r = enumerate(req, "Tavrix_DNSProtocolEndpoint");
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(values(r, "Name"), (std::vector<std::string>{"eth0_DNS", "eth1_DNS"}));

    const CMPIObjectPath* eth0 = endpointOf(req, "eth0");
    ASSERT_NE(eth0, nullptr);
    cimhost::Response far = req.associators(eth0, "Tavrix_DNSSAPSAPDependency", "Tavrix_DNSProtocolEndpoint",
                                            nullptr, nullptr);
    ASSERT_TRUE(far.ok()) << far.message;
    ASSERT_EQ(far.instances.size(), 1u);
    EXPECT_EQ(propertyText(far.instances[0], "Name"), "eth0_DNS");
    EXPECT_EQ(propertyText(far.instances[0], "SystemName"), hostName());
    // The whole instance, as the class's enumeration gives it.
    EXPECT_EQ(propertyText(far.instances[0], "ElementName"), propertyText(r.instances[0], "ElementName"));
    EXPECT_EQ(propertyText(far.instances[0], "Hostname"), "demo-host");

    // An alias shares the adapter, not the resolver.
    const CMPIObjectPath* alias = endpointOf(req, "eth0:1");
    ASSERT_NE(alias, nullptr);
    EXPECT_TRUE(req.associatorNames(alias, "Tavrix_DNSSAPSAPDependency", nullptr, nullptr, nullptr).paths.empty());
    const CMPIObjectPath* bmc = endpointOf(req, "bmc0");
    ASSERT_NE(bmc, nullptr);
    EXPECT_TRUE(req.associatorNames(bmc, "Tavrix_DNSSAPSAPDependency", nullptr, nullptr, nullptr).paths.empty());
}

TEST_F(Companion, DependencyRolesAndBothDirections)
{
    cimhost::Request req(harness->broker());
    const CMPIObjectPath* eth1 = endpointOf(req, "eth1");
    ASSERT_NE(eth1, nullptr);

    cimhost::Response refs = req.references(eth1, "Tavrix_DNSSAPSAPDependency", nullptr);
    ASSERT_TRUE(refs.ok()) << refs.message;
    ASSERT_EQ(refs.instances.size(), 1u);
    CMPIData dep = CMGetProperty(refs.instances[0], "Dependent", nullptr);
    ASSERT_EQ(dep.type, CMPI_ref);
    EXPECT_EQ(keyText(dep.value.ref, "Name"), "eth1_DNS");
    CMPIData ante = CMGetProperty(refs.instances[0], "Antecedent", nullptr);
    ASSERT_EQ(ante.type, CMPI_ref);
    EXPECT_EQ(keyText(ante.value.ref, "Name"), keyText(eth1, "Name"));

    // The IP endpoint is the antecedent, never the dependent.
    EXPECT_TRUE(req.referenceNames(eth1, "Tavrix_DNSSAPSAPDependency", "Dependent").paths.empty());
    EXPECT_EQ(req.referenceNames(eth1, "Tavrix_DNSSAPSAPDependency", "Antecedent").paths.size(), 1u);
    // A result class the far end is not.
    EXPECT_TRUE(req.associatorNames(eth1, "Tavrix_DNSSAPSAPDependency", "Tavrix_LANEndpoint", nullptr, nullptr)
                    .paths.empty());

    // From the DNS endpoint back to the module's IP endpoint.
    CMPIObjectPath* dnsPath = dep.value.ref;
    cimhost::Response back = req.associatorNames(dnsPath, "Tavrix_DNSSAPSAPDependency", nullptr, nullptr, nullptr);
    ASSERT_TRUE(back.ok()) << back.message;
    ASSERT_EQ(back.paths.size(), 1u);
    EXPECT_EQ(keyText(back.paths[0], "Name"), keyText(eth1, "Name"));
    EXPECT_EQ(std::string(CMGetCharPtr(CMGetClassName(back.paths[0], nullptr))), "Tavrix_IPProtocolEndpoint");
}

TEST_F(Companion, DependencyInstancesOfTheClassItself)
{
    cimhost::Request req(harness->broker());
    cimhost::Response all = req.enumerateInstanceNames(harness->classPath(req, "Tavrix_DNSSAPSAPDependency"));
    ASSERT_TRUE(all.ok()) << all.message;
    ASSERT_EQ(all.paths.size(), 2u);
    cimhost::Response one = req.getInstance(all.paths[1]);
    ASSERT_TRUE(one.ok()) << one.message;
    ASSERT_EQ(one.instances.size(), 1u);
    CMPIData dep = CMGetProperty(one.instances[0], "Dependent", nullptr);
    ASSERT_EQ(dep.type, CMPI_ref);
    EXPECT_EQ(keyText(dep.value.ref, "Name"), "eth1_DNS");
}

TEST_F(Companion, UnknownClassesAndWritesAreRefused)
{
    cimhost::Request req(harness->broker());
    CMPIInstanceMI* mi = nullptr;
    mi = harness->broker().instanceProvider("Tavrix_LANEndpoint");
    ASSERT_NE(mi, nullptr);
    cimhost::Response r = req.call([&](const CMPIContext* c, const CMPIResult* res) {
        return mi->ft->enumerateInstances(mi, c, res, harness->classPath(req, "Tavrix_Nothing"), nullptr);
    });
    EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_CLASS);
    cimhost::Response bad = req.call([&](const CMPIContext* c, const CMPIResult* res) {
        return mi->ft->getInstance(mi, c, res, nullptr, nullptr);
    });
    EXPECT_EQ(bad.rc, CMPI_RC_ERR_INVALID_PARAMETER);
    cimhost::Response del = req.deleteInstance(req.makePath(lanPath("Tavrix_ComputerSystem", hostName(), "eth0")));
    EXPECT_EQ(del.rc, CMPI_RC_ERR_NOT_SUPPORTED);
}

} // namespace

namespace {

// The module's configuration lookup finds the companion's settings, and its
// DNS copy reaches the DNS endpoint through the companion's association.
TEST_F(Companion, ConfigurationLookupUsesTheCompanionSettings)
{
    cimhost::Request req(harness->broker());
    const CMPIBroker* b = harness->broker().cmpi();
    Korvu::IPInterfaceProvider::IP_CONFIG_DATA record;
    std::string dhcpId, dnsId, generalId;
    cimhost::Response r = req.call([&](const CMPIContext* c, const CMPIResult*) {
        Korvu::IPInterfaceProvider::CMPIIPConfigurationService service(b, c, std::string("root/cimv2"));
        CMPIInstance* dhcp = service.getConfiguartionSetting("Tavrix_DHCPSettingData", "Computer:eth1:dhcp");
        CMPIInstance* dns = service.getConfiguartionSetting("Tavrix_DNSSettingData", "Computer:eth0:static");
        // Each interface's own general setting, not the first one served.
        CMPIInstance* general =
            service.getConfiguartionSetting("Tavrix_DNSGeneralSettingData", "Computer:eth1:dhcp");
        dhcpId = propertyText(dhcp, "InstanceID");
        dnsId = propertyText(dns, "InstanceID");
        generalId = propertyText(general, "InstanceID");
        CMPIObjectPath* eth0 = const_cast<CMPIObjectPath*>(endpointOf(req, "eth0"));
        if (dns && eth0)
            return Korvu::IPInterfaceProvider::getDNSConfigurationDetails(b, c, dns, eth0, &record);
        return CMPIStatus{CMPI_RC_ERR_FAILED, nullptr};
    });
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(dhcpId, "Computer:eth1");
    EXPECT_EQ(dnsId, "Computer:eth0");
    EXPECT_EQ(generalId, "Computer:eth1");
    EXPECT_EQ(record.requestedHostname, "demo-host");
    EXPECT_EQ(record.domainName, "example.net");
    EXPECT_EQ(record.dnsServerAddresses, (std::vector<std::string>{"192.0.2.53", "2001:db8:0:1::53"}));
}

} // namespace

namespace {

// Names met twice: eth0 has two adapters and two IP interface nodes on the
// host, the second pair after eth1, and the service processor has an eth0
// of its own.
class CompanionRepeatedNames : public Companion {
protected:
    std::string store() const override
    {
        auto adapter = [](const std::string& node, const std::string& mac, const std::string& ip) {
            return R"({"name":")" + node + R"(","type":"NETWORK_ADAPTER","properties":{"NAME":"eth)" +
                   node.substr(1, 1) + R"(","MAC_ADDRESS":"52:54:00:00:00:)" + mac +
                   R"("},"children":[{"name":")" + node + R"(-ip","type":"IP_INTERFACE","properties":{)" + ip +
                   "}}]}";
        };
        const std::string common = R"("IP_VERSION":1,"PREFIX_LENGTH":24,"SUBNET_MASK":"255.255.255.0",)"
                                   R"("PROTOCOL_IF_TYPE":4096,"STATE":1)";
        return R"({"version":1,"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","description":"Host",)"
               R"("properties":{"NAME":"h","HOST_NAME":"h"},"children":[)" +
               adapter("a0", "01", R"("NAME":"eth0","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"192.0.2.10",)" + common) +
               "," +
               adapter("a1", "02", R"("NAME":"eth1","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"198.51.100.2",)"
                                   R"("DNS_SERVERS":["198.51.100.53"],)" + common) +
               "," +
               adapter("b0", "03", R"("NAME":"eth0","ADDRESS_ORIGIN":4,"DNS_SERVERS":["192.0.2.53"],)" + common) +
               R"(]},{"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","properties":{"NAME":"BMC:-1"},)"
               R"("children":[)" +
               adapter("c0", "04", R"("NAME":"eth0","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"10.0.0.5",)"
                                   R"("DNS_SERVERS":["10.0.0.53"],)" + common) +
               "]}]}";
    }
};

TEST_F(CompanionRepeatedNames, OneLanEndpointPerSystemAndName)
{
    cimhost::Request req(harness->broker());
    cimhost::Response r = enumerate(req, "Tavrix_LANEndpoint");
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(values(r, "Name"), (std::vector<std::string>{"eth0", "eth1", "eth0"}));
    EXPECT_EQ(values(r, "SystemName"), (std::vector<std::string>{hostName(), hostName(), "BMC:-1"}));
    // The first adapter of a name is the one described.
    EXPECT_EQ(values(r, "MACAddress"), (std::vector<std::string>{"525400000001", "525400000002", "525400000004"}));
}

TEST_F(CompanionRepeatedNames, InterfaceNodesMergeWhereTheFirstOneStands)
{
    cimhost::Request req(harness->broker());
    cimhost::Response r = enumerate(req, "Tavrix_DNSSettingData");
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(values(r, "InstanceID"), (std::vector<std::string>{"Computer:eth0", "Computer:eth1", "BMC:eth0"}));
    // The later node gives what the first lacks.
    EXPECT_EQ(propertyText(r.instances[0], "DNSServerAddresses"), "{192.0.2.53}");
    EXPECT_EQ(propertyText(r.instances[2], "DNSServerAddresses"), "{10.0.0.53}");
    // What no node of the interface gives, its system's node does.
    EXPECT_EQ(propertyText(r.instances[0], "RequestedHostname"), "h");
    EXPECT_EQ(propertyText(r.instances[1], "RequestedHostname"), "h");

    cimhost::Response dns = enumerate(req, "Tavrix_DNSProtocolEndpoint");
    EXPECT_EQ(values(dns, "Name"), (std::vector<std::string>{"eth0_DNS", "eth1_DNS", "eth0_DNS"}));
}

TEST_F(CompanionRepeatedNames, EachIpEndpointMeetsTheDnsEndpointOfItsOwnSystem)
{
    cimhost::Request req(harness->broker());
    cimhost::Response ip = req.enumerateInstanceNames(harness->classPath(req, "Tavrix_IPProtocolEndpoint"));
    ASSERT_TRUE(ip.ok()) << ip.message;
    cimhost::Response all = req.enumerateInstanceNames(harness->classPath(req, "Tavrix_DNSSAPSAPDependency"));
    ASSERT_TRUE(all.ok()) << all.message;
    // Every IP endpoint here has a DNS endpoint, and pairs follow the IP endpoints.
    ASSERT_EQ(all.paths.size(), ip.paths.size());
    size_t bmc = 0;
    for (size_t i = 0; i < all.paths.size(); ++i) {
        CMPIData ante = CMGetKey(all.paths[i], "Antecedent", nullptr);
        CMPIData dep = CMGetKey(all.paths[i], "Dependent", nullptr);
        ASSERT_EQ(ante.type, CMPI_ref);
        ASSERT_EQ(dep.type, CMPI_ref);
        EXPECT_EQ(keyText(ante.value.ref, "Name"), keyText(ip.paths[i], "Name"));
        EXPECT_EQ(keyText(dep.value.ref, "SystemName"), keyText(ante.value.ref, "SystemName"));
        if (keyText(dep.value.ref, "SystemName") == "BMC:-1") {
            ++bmc;
            cimhost::Response back = req.referenceNames(ante.value.ref, "Tavrix_DNSSAPSAPDependency", nullptr);
            ASSERT_EQ(back.paths.size(), 1u);
            CMPIData far = CMGetKey(back.paths[0], "Dependent", nullptr);
            ASSERT_EQ(far.type, CMPI_ref);
            EXPECT_EQ(keyText(far.value.ref, "SystemName"), "BMC:-1");
        }
    }
    EXPECT_EQ(bmc, 1u);
}

// An instance as text: its path and every property with its value.
std::string described(const CMPIInstance* inst)
{
    const cimhost::InstanceSpec held = cimhost::toInstanceSpec(inst);
    std::string text = cimhost::pathToText(held.path);
    for (const auto& p : held.properties)
        text += " " + p.first + "=" + p.second.toText();
    return text;
}

TEST_F(CompanionRepeatedNames, GetInstanceAnswersWhatTheEnumerationHolds)
{
    cimhost::Request req(harness->broker());
    for (const char* cls : {"Tavrix_ComputerSystem", "Tavrix_SPComputerSystem", "Tavrix_LANEndpoint",
                            "Tavrix_DHCPSettingData", "Tavrix_DNSSettingData", "Tavrix_DNSGeneralSettingData",
                            "Tavrix_DNSProtocolEndpoint"}) {
        cimhost::Response all = enumerate(req, cls);
        ASSERT_TRUE(all.ok()) << cls << ": " << all.message;
        ASSERT_FALSE(all.instances.empty()) << cls;
        for (const CMPIInstance* inst : all.instances) {
            cimhost::Response one = req.getInstance(CMGetObjectPath(inst, nullptr));
            ASSERT_TRUE(one.ok()) << described(inst) << ": " << one.message;
            ASSERT_EQ(one.instances.size(), 1u) << described(inst);
            EXPECT_EQ(described(one.instances[0]), described(inst));
        }
    }
}

TEST_F(CompanionRepeatedNames, GetInstanceOfWhatNoNodeNames)
{
    cimhost::Request req(harness->broker());
    auto get = [&](const char* cls, const cimhost::NamedValues& keys) {
        cimhost::PathSpec p;
        p.nameSpace = testsupport::ModuleHarness::nameSpace;
        p.className = cls;
        p.keys = keys;
        return req.getInstance(req.makePath(p));
    };
    auto text = [](const char* v) { return cimhost::Value::string(v); };
    auto endpoint = [&](const char* cls, const std::string& system, const char* name) {
        return get(cls, {{"SystemCreationClassName", text("Tavrix_ComputerSystem")},
                         {"SystemName", cimhost::Value::string(system)},
                         {"CreationClassName", text(cls)},
                         {"Name", text(name)}});
    };
    const char* lan = "Tavrix_LANEndpoint";
    const char* dns = "Tavrix_DNSProtocolEndpoint";
    EXPECT_EQ(endpoint(lan, hostName(), "eth9").rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(endpoint(lan, "BMC:-1", "eth1").rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(endpoint(lan, hostName(), "").rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(endpoint(dns, hostName(), "eth0").rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(endpoint(dns, hostName(), "_DNS").rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(endpoint(dns, hostName(), "eth0_DNS_DNS").rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(endpoint(dns, "BMC:-1", "eth1_DNS").rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(get(lan, {{"SystemName", cimhost::Value::string(hostName())}}).rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(get(dns, {{"SystemName", cimhost::Value::string(hostName())}}).rc, CMPI_RC_ERR_NOT_FOUND);
    for (const char* cls : {"Tavrix_DHCPSettingData", "Tavrix_DNSSettingData", "Tavrix_DNSGeneralSettingData"}) {
        for (const char* id : {"BMC:eth1", "eth0", "Computer:", "Computer:eth0:1", "Host:eth0", "computer:eth0"})
            EXPECT_EQ(get(cls, {{"InstanceID", text(id)}}).rc, CMPI_RC_ERR_NOT_FOUND) << cls << " " << id;
        EXPECT_EQ(get(cls, {}).rc, CMPI_RC_ERR_NOT_FOUND) << cls;
        EXPECT_EQ(get(cls, {{"InstanceID", cimhost::Value::uint16(0)}}).rc, CMPI_RC_ERR_NOT_FOUND) << cls;
    }
}

TEST_F(CompanionRepeatedNames, EachDnsEndpointMeetsTheIpEndpointsOfItsOwnSystem)
{
    cimhost::Request req(harness->broker());
    cimhost::Response dns = enumerate(req, "Tavrix_DNSProtocolEndpoint");
    ASSERT_TRUE(dns.ok()) << dns.message;
    cimhost::Response ip = req.enumerateInstanceNames(harness->classPath(req, "Tavrix_IPProtocolEndpoint"));
    ASSERT_TRUE(ip.ok()) << ip.message;
    size_t met = 0;
    for (const CMPIInstance* d : dns.instances) {
        const CMPIObjectPath* self = CMGetObjectPath(d, nullptr);
        const std::string system = keyText(self, "SystemName");
        const std::string iface = keyText(self, "Name").substr(0, keyText(self, "Name").size() - 4);
        std::vector<std::string> expected;
        for (const CMPIObjectPath* p : ip.paths)
            if (keyText(p, "SystemName") == system && keyText(p, "Name").rfind(iface + "_", 0) == 0)
                expected.push_back(keyText(p, "Name"));
        cimhost::Response back = req.associatorNames(self, "Tavrix_DNSSAPSAPDependency", nullptr, nullptr, nullptr);
        ASSERT_TRUE(back.ok()) << back.message;
        std::vector<std::string> got;
        for (const CMPIObjectPath* p : back.paths) {
            EXPECT_EQ(keyText(p, "SystemName"), system);
            got.push_back(keyText(p, "Name"));
        }
        EXPECT_EQ(got, expected) << described(d);
        met += got.size();
    }
    EXPECT_EQ(met, ip.paths.size());
}

} // namespace

namespace {

// Linux interface names may hold underscores; the endpoint's Name ends in
// "_<MAC>_<origin>" after them.
class CompanionUnderscoredNames : public Companion {
protected:
    std::string store() const override
    {
        return R"({"version":1,"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","description":"Host",)"
               R"("properties":{"NAME":"h","HOST_NAME":"h"},"children":[)"
               R"({"name":"a0","type":"NETWORK_ADAPTER","properties":{"NAME":"br_lan","MAC_ADDRESS":"52:54:00:00:00:01"},)"
               R"("children":[{"name":"a0-ip","type":"IP_INTERFACE","properties":{"NAME":"br_lan",)"
               R"("ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"192.0.2.10","IP_VERSION":1,"PREFIX_LENGTH":24,)"
               R"("SUBNET_MASK":"255.255.255.0","PROTOCOL_IF_TYPE":4096,"STATE":1,"DNS_SERVERS":["192.0.2.53"]}}]}]}]})";
    }
};

TEST_F(CompanionUnderscoredNames, TheIpEndpointMeetsTheDnsEndpointOfItsWholeInterfaceName)
{
    cimhost::Request req(harness->broker());
    cimhost::Response ip = req.enumerateInstanceNames(harness->classPath(req, "Tavrix_IPProtocolEndpoint"));
    ASSERT_TRUE(ip.ok()) << ip.message;
    ASSERT_EQ(ip.paths.size(), 1u);
    ASSERT_EQ(keyText(ip.paths[0], "Name").rfind("br_lan_", 0), 0u);

    cimhost::Response all = req.enumerateInstanceNames(harness->classPath(req, "Tavrix_DNSSAPSAPDependency"));
    ASSERT_TRUE(all.ok()) << all.message;
    ASSERT_EQ(all.paths.size(), 1u);
    CMPIData dep = CMGetKey(all.paths[0], "Dependent", nullptr);
    ASSERT_EQ(dep.type, CMPI_ref);
    EXPECT_EQ(keyText(dep.value.ref, "Name"), "br_lan_DNS");

    cimhost::Response from = req.referenceNames(ip.paths[0], "Tavrix_DNSSAPSAPDependency", nullptr);
    ASSERT_TRUE(from.ok()) << from.message;
    EXPECT_EQ(from.paths.size(), 1u);
}

} // namespace
