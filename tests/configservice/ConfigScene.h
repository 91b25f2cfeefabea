#ifndef CONFIGSERVICE_CONFIGSCENE_H
#define CONFIGSERVICE_CONFIGSCENE_H

// A managed system, the providers that serve its DHCP and DNS settings, and
// helpers that call ApplySettingToIPProtocolEndpoint as a client would.
#include <cmpimacs.h>

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "Arena.h"
#include "ConfigurationThread.h"
#include "FunctionProvider.h"
#include "Instrumentation.h"
#include "ModuleHarness.h"
#include "NodeStore.h"
#include "Request.h"
#include "SceneHelpers.h"
#include "StaticInstanceProvider.h"
#include "Value.h"

namespace configscene {

using cimhost::Value;

// eth1 is configured twice (static and DHCP nodes), eth10's name holds
// eth1's; only the first eth1 node and eth10 carry host and domain names.
inline std::string store()
{
    return R"({"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","description":"Host","properties":{"STATE":2},"children":[
  {"name":"nic1","type":"NETWORK_ADAPTER","children":[
   {"name":"eth1","type":"IP_INTERFACE","properties":{"NAME":"eth1",
     "MAC_ADDRESS":"52:54:00:00:00:01","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"198.51.100.1",
     "SUBNET_MASK":"255.255.0.0","IPV4_GATEWAY":"198.51.100.254","IPV6_ADDRESS":"2001:db8::1",
     "PREFIX_LENGTH":64,"IPV6_GATEWAY":"2001:db8::fe","HOST_NAME":"alpha",
     "DOMAIN_NAME":"example.net"}},
   {"name":"eth1-dhcp","type":"IP_INTERFACE","properties":{"NAME":"eth1",
     "MAC_ADDRESS":"52:54:00:00:00:01","ADDRESS_ORIGIN":1,"IPV4_ADDRESS":"198.51.100.2"}},
   {"name":"eth10","type":"IP_INTERFACE","properties":{"NAME":"eth10",
     "MAC_ADDRESS":"52:54:00:00:00:10","ADDRESS_ORIGIN":1,"IPV4_ADDRESS":"203.0.113.10",
     "SUBNET_MASK":"255.255.255.0","IPV4_GATEWAY":"203.0.113.1","HOST_NAME":"alpha",
     "DOMAIN_NAME":"example.net","PREFIX_LENGTH":64}}]}]}
]})";
}

const char* const eth1Node = "/host/nic1/eth1";
const char* const eth1DhcpNode = "/host/nic1/eth1-dhcp";
const char* const eth10Node = "/host/nic1/eth10";
const char* const eth1Endpoint = "eth1_52:54:00:00:00:01_3";
const char* const eth10Endpoint = "eth10_52:54:00:00:00:10_4";

using testsupport::hostName;
using testsupport::path;
using testsupport::text;

inline cimhost::PathSpec servicePath(const std::string& systemName = hostName())
{
    return path("Tavrix_IPConfigurationService",
                {{"SystemCreationClassName", text("Tavrix_ComputerSystem")},
                 {"SystemName", text(systemName)},
                 {"CreationClassName", text("Tavrix_IPConfigurationService")},
                 {"Name", text("IPConfigService")}});
}

inline cimhost::PathSpec endpointPath(const std::string& name)
{
    return path("Tavrix_IPProtocolEndpoint",
                {{"SystemCreationClassName", text("Tavrix_ComputerSystem")},
                 {"SystemName", text(hostName())},
                 {"CreationClassName", text("Tavrix_IPProtocolEndpoint")},
                 {"Name", text(name)}});
}

inline cimhost::PathSpec configurationPath(const std::string& instanceId)
{
    return path("Tavrix_IPAssignmentSettingData", {{"InstanceID", text(instanceId)}});
}

inline unsigned int number(const std::string& node, Korvu::NodeLexicon::Properties p)
{
    return testsupport::nodeNumber(node, p);
}

inline std::string textOf(const std::string& node, Korvu::NodeLexicon::Properties p)
{
    return testsupport::nodeText(node, p);
}

inline std::vector<std::string> listOf(const std::string& node, Korvu::NodeLexicon::Properties p)
{
    Korvu::Instrumentation cursor;
    cursor.selectNode(node);
    std::vector<std::string> value;
    cursor.getProperty(p, value);
    return value;
}

struct Applied {
    cimhost::Response response;
    CMPIUint32 returnValue = 0xFFFFFFFFu;
    std::string jobId;
};

// Arguments are added only when given; a non-reference value stands for a
// client sending the wrong type.
inline Applied invoke(cimhost::Request& req, const cimhost::Broker& broker,
                      const std::vector<std::pair<std::string, Value>>& arguments,
                      const cimhost::PathSpec& target = servicePath())
{
    CMPIArgs* in = req.newArgs();
    for (const auto& argument : arguments) {
        CMPIData d = cimhost::toData(const_cast<cimhost::Broker*>(&broker), req.arena(), argument.second);
        CMAddArg(in, argument.first.c_str(), &d.value, d.type);
    }
    CMPIArgs* out = req.newArgs();
    Applied applied;
    applied.response = req.invokeMethod(req.makePath(target), "ApplySettingToIPProtocolEndpoint", in, out);
    if (applied.response.data.size() == 1 && applied.response.data[0].type == CMPI_uint32)
        applied.returnValue = applied.response.data[0].value.uint32;
    CMPIData job = CMGetArg(out, "Job", nullptr);
    if (job.type == CMPI_ref && job.value.ref) {
        CMPIData id = CMGetKey(job.value.ref, "InstanceID", nullptr);
        if (id.type == CMPI_string && id.value.string)
            applied.jobId = CMGetCharPtr(id.value.string);
    }
    return applied;
}

inline Applied apply(cimhost::Request& req, const cimhost::Broker& broker,
                     const std::string& configurationId, const std::string& endpointName)
{
    return invoke(req, broker,
                  {{"Configuration", Value::reference(configurationPath(configurationId))},
                   {"Endpoint", Value::reference(endpointPath(endpointName))}});
}

// Applies and waits for the configuration thread to end.
inline Applied applyAndWait(cimhost::Request& req, const cimhost::Broker& broker,
                            const std::string& configurationId, const std::string& endpointName)
{
    Applied applied = apply(req, broker, configurationId, endpointName);
    Korvu::IPInterfaceProvider::ConfigurationThread::waitUntilIdle(10000);
    return applied;
}

// The other providers of the CIM server: DHCP and DNS settings, the DNS
// protocol endpoints and the association from IP to DNS endpoints (only
// endpoints whose Name starts with one of `resolving` have one).
class OtherProviders {
public:
    OtherProviders(cimhost::Broker& broker, std::vector<std::string> resolving)
        : broker(broker), resolving(std::move(resolving))
    {
        dependency.associators = [this](const CMPIContext*, const CMPIResult* rslt,
                                        const CMPIObjectPath* op, const char*, const char*,
                                        const char*, const char*, const char**) {
            CMPIData name = CMGetKey(op, "Name", nullptr);
            std::string endpoint =
                name.type == CMPI_string && name.value.string ? CMGetCharPtr(name.value.string) : "";
            for (const std::string& prefix : this->resolving)
                if (endpoint.compare(0, prefix.size(), prefix) == 0) {
                    cimhost::InstanceSpec dns;
                    dns.path = path("Tavrix_DNSProtocolEndpoint", {{"Name", text(endpoint)}});
                    CMReturnInstance(rslt, cimhost::toInstance(&this->broker, *cimhost::Arena::current(), dns));
                    break;
                }
            CMReturnDone(rslt);
            return CMPIStatus{CMPI_RC_OK, nullptr};
        };
        broker.registerInstanceProvider("Tavrix_DHCPSettingData", dhcp.mi());
        broker.registerInstanceProvider("Tavrix_DNSSettingData", dns.mi());
        broker.registerInstanceProvider("Tavrix_DNSGeneralSettingData", general.mi());
        broker.registerAssociationProvider("Tavrix_DNSSAPSAPDependency", dependency.associationMI());
    }

    void addDhcp(const std::string& instanceId)
    {
        cimhost::InstanceSpec s;
        s.path = path("Tavrix_DHCPSettingData", {{"InstanceID", text(instanceId)}});
        dhcp.add(s);
    }

    void addDns(const std::string& instanceId, const std::string& host, const std::string& domain,
                const std::vector<std::string>& servers)
    {
        cimhost::InstanceSpec s;
        s.path = path("Tavrix_DNSSettingData", {{"InstanceID", text(instanceId)}});
        if (!host.empty())
            s.set("RequestedHostname", text(host));
        if (!domain.empty())
            s.set("DomainName", text(domain));
        if (!servers.empty())
            s.set("DNSServerAddresses", Value::stringArray(servers));
        dns.add(s);
    }

    void addGeneral(const std::string& instanceId, const std::vector<std::string>& suffixes)
    {
        cimhost::InstanceSpec s;
        s.path = path("Tavrix_DNSGeneralSettingData", {{"InstanceID", text(instanceId)}});
        s.set("DNSSuffixesToAppend", Value::stringArray(suffixes));
        general.add(s);
    }

private:
    cimhost::Broker& broker;
    std::vector<std::string> resolving;
    cimhost::StaticInstanceProvider dhcp;
    cimhost::StaticInstanceProvider dns;
    cimhost::StaticInstanceProvider general;
    cimhost::FunctionProvider dependency;
};

} // namespace configscene

#endif
