#ifndef REQUESTS_MACHINE_H
#define REQUESTS_MACHINE_H

// A store shaped like a real machine, and request helpers.
#include <cmpimacs.h>

#include <string>

#include "ModuleHarness.h"
#include "Request.h"
#include "SceneHelpers.h"
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

using testsupport::hostName;
using testsupport::modify;
using testsupport::nodeNumber;
using testsupport::nodeText;
using testsupport::path;
using testsupport::text;

inline cimhost::NamedValues systemKeys(const std::string& className, const std::string& name,
                                       bool serviceProcessor = false)
{
    return testsupport::hostedKeys(className, name, serviceProcessor, serviceProcessor ? "BMC:-1" : hostName());
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

} // namespace machine

#endif
