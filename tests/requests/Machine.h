#ifndef REQUESTS_MACHINE_H
#define REQUESTS_MACHINE_H

// A store shaped like a real machine, and request helpers.
#include <cmpimacs.h>

#include <unistd.h>

#include <string>

#include "Instrumentation.h"
#include "ModuleHarness.h"
#include "Request.h"
#include "Value.h"

namespace machine {

// eth0 has a static node (both gateways) and a DHCP node, eth0:1 is an
// alias, eth1 has an origin the module cannot write, and the service
// processor's interface is also called eth0.
inline std::string store()
{
    return R"({"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","description":"Host","children":[
  {"name":"nic0","type":"NETWORK_ADAPTER","children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:12:34:56","IP_VERSION":3,"ADDRESS_ORIGIN":3,
     "IPV4_ADDRESS":"192.0.2.10","SUBNET_MASK":"255.255.255.0","IPV4_GATEWAY":"192.0.2.1",
     "IPV6_ADDRESS":"2001:db8::10","IPV6_GATEWAY":"2001:db8::1","PREFIX_LENGTH":24,
     "PROTOCOL_IF_TYPE":4098,"STATE":1}},
   {"name":"eth0-dhcp","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:12:34:56","ADDRESS_ORIGIN":1,"STATE":1}},
   {"name":"eth0-1","type":"IP_INTERFACE","properties":{"NAME":"eth0:1",
     "MAC_ADDRESS":"52:54:00:12:34:56","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"192.0.2.11",
     "STATE":1}}]},
  {"name":"nic1","type":"NETWORK_ADAPTER","children":[
   {"name":"eth1","type":"IP_INTERFACE","properties":{"NAME":"eth1",
     "MAC_ADDRESS":"52:54:00:00:00:01","ADDRESS_ORIGIN":5,"IPV4_ADDRESS":"198.51.100.1",
     "SUBNET_MASK":"255.255.0.0","IPV4_GATEWAY":"198.51.100.254","PROTOCOL_IF_TYPE":4096,
     "STATE":1}}]}]},
 {"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","children":[
  {"name":"bmcnic","type":"NETWORK_ADAPTER","children":[
   {"name":"bmc-eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:ab:cd:ef","ADDRESS_ORIGIN":3,"STATE":1,"IPV4_ADDRESS":"10.0.0.5",
     "IPV4_GATEWAY":"10.0.0.1","PROTOCOL_IF_TYPE":4096}}]}]}
]})";
}

inline std::string hostName()
{
    char name[257] = {};
    gethostname(name, 256);
    return name;
}

inline cimhost::Value text(const std::string& v) { return cimhost::Value::string(v); }

inline cimhost::PathSpec path(const std::string& className, const cimhost::NamedValues& keys)
{
    cimhost::PathSpec described;
    described.nameSpace = testsupport::ModuleHarness::nameSpace;
    described.className = className;
    described.keys = keys;
    return described;
}

inline cimhost::NamedValues systemKeys(const std::string& className, const std::string& name,
                                       bool serviceProcessor = false)
{
    return {{"SystemCreationClassName",
             text(serviceProcessor ? "Tavrix_SPComputerSystem" : "Tavrix_ComputerSystem")},
            {"SystemName", text(serviceProcessor ? "BMC:-1" : hostName())},
            {"CreationClassName", text(className)},
            {"Name", text(name)}};
}

inline cimhost::PathSpec endpoint(const std::string& name, bool serviceProcessor = false)
{
    return path("Tavrix_IPProtocolEndpoint",
                systemKeys("Tavrix_IPProtocolEndpoint", name, serviceProcessor));
}

inline cimhost::PathSpec gateway(const std::string& name, bool serviceProcessor = false)
{
    return path("Tavrix_IPRemoteServiceAccessPoint",
                systemKeys("Tavrix_IPRemoteServiceAccessPoint", name, serviceProcessor));
}

inline cimhost::PathSpec service()
{
    return path("Tavrix_IPConfigurationService",
                systemKeys("Tavrix_IPConfigurationService", "IPConfigService"));
}

inline cimhost::PathSpec staticSetting(const std::string& instanceId)
{
    return path("Tavrix_StaticIPAssignmentSettingData", {{"InstanceID", text(instanceId)}});
}

inline cimhost::Response modify(cimhost::Request& req, const cimhost::PathSpec& target,
                                const cimhost::NamedValues& properties)
{
    cimhost::InstanceSpec described;
    described.path = target;
    described.properties = properties;
    return req.modifyInstance(req.makePath(target), req.makeInstance(described));
}

struct MethodCall {
    cimhost::Response response;
    CMPIUint32 returnValue = 0xFFFFFFFFu;
};

inline MethodCall invoke(testsupport::ModuleHarness& h, cimhost::Request& req,
                         const cimhost::PathSpec& target, const char* method,
                         const cimhost::NamedValues& arguments)
{
    CMPIArgs* in = req.newArgs();
    for (const auto& argument : arguments) {
        CMPIData d = cimhost::toData(&h.broker(), req.arena(), argument.second);
        CMAddArg(in, argument.first.c_str(), &d.value, d.type);
    }
    MethodCall call;
    call.response = req.invokeMethod(req.makePath(target), method, in, req.newArgs());
    if (call.response.data.size() == 1 && call.response.data[0].type == CMPI_uint32)
        call.returnValue = call.response.data[0].value.uint32;
    return call;
}

// Raw node-store values, read behind the module's back.
inline unsigned int nodeNumber(const std::string& node, Korvu::NodeLexicon::Properties p)
{
    Korvu::Instrumentation cursor;
    cursor.selectNode(node);
    unsigned int value = 0xFFFFFFFFu;
    cursor.getProperty(p, value);
    return value;
}

inline std::string nodeText(const std::string& node, Korvu::NodeLexicon::Properties p)
{
    Korvu::Instrumentation cursor;
    cursor.selectNode(node);
    std::string value = "<absent>";
    cursor.getProperty(p, value);
    return value;
}

} // namespace machine

#endif
