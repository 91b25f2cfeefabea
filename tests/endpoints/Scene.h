#ifndef ENDPOINTS_SCENE_H
#define ENDPOINTS_SCENE_H

// Node stores and request helpers shared by the endpoint and setting tests.
#include <cmpimacs.h>

#include <string>

#include "ModuleHarness.h"
#include "Request.h"
#include "SceneHelpers.h"
#include "Value.h"

namespace scene {

// Host with eth0 configured twice (static node and DHCP node), eth1 and
// eth10 (names where one contains the other), and a service processor.
inline std::string hostAndBmc(const std::string& eth0Extra = std::string())
{
    return R"({"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","description":"Host","children":[
  {"name":"nic0","type":"NETWORK_ADAPTER","children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:12:34:56","IP_VERSION":1,"ADDRESS_ORIGIN":3,
     "IPV4_ADDRESS":"192.0.2.10","SUBNET_MASK":"255.255.255.0","IPV4_GATEWAY":"192.0.2.1",
     "IPV6_ADDRESS":"2001:db8::10","IPV6_GATEWAY":"2001:db8::1","PREFIX_LENGTH":24,
     "PROTOCOL_IF_TYPE":4096,"STATE":1)" + eth0Extra + R"(}},
   {"name":"eth0-dhcp","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:12:34:56","ADDRESS_ORIGIN":1,"STATE":12}}]},
  {"name":"nic1","type":"NETWORK_ADAPTER","children":[
   {"name":"eth1","type":"IP_INTERFACE","properties":{"NAME":"eth1",
     "MAC_ADDRESS":"52:54:00:00:00:01","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"198.51.100.1",
     "SUBNET_MASK":"255.255.0.0","PREFIX_LENGTH":16,"IP_VERSION":4}},
   {"name":"eth10","type":"IP_INTERFACE","properties":{"NAME":"eth10",
     "MAC_ADDRESS":"52:54:00:00:00:10","ADDRESS_ORIGIN":1,"IPV6_ADDRESS_TYPE":2}}]}]},
 {"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","children":[
  {"name":"bmcnic","type":"NETWORK_ADAPTER","children":[
   {"name":"bmc0","type":"IP_INTERFACE","properties":{"NAME":"bmc0",
     "MAC_ADDRESS":"52:54:00:ab:cd:ef","ADDRESS_ORIGIN":3,"STATE":1,"IPV4_ADDRESS":"10.0.0.5"}}]}]}
]})";
}

using testsupport::hostName;
using testsupport::modify;
using testsupport::nodeNumber;
using testsupport::nodeText;
using testsupport::text;

// Dotted IPv4 mask of a prefix length (0 to 32).
inline std::string prefixMask(int bits)
{
    const unsigned long mask = bits <= 0 ? 0ul : (0xFFFFFFFFul << (32 - bits)) & 0xFFFFFFFFul;
    return std::to_string((mask >> 24) & 255) + "." + std::to_string((mask >> 16) & 255) + "." +
           std::to_string((mask >> 8) & 255) + "." + std::to_string(mask & 255);
}

inline cimhost::PathSpec endpointPath(const std::string& systemName, const std::string& name,
                                      bool serviceProcessor = false)
{
    return testsupport::path("Tavrix_IPProtocolEndpoint",
                             testsupport::hostedKeys("Tavrix_IPProtocolEndpoint", name, serviceProcessor, systemName));
}

inline cimhost::PathSpec settingPath(const std::string& className, const std::string& instanceId)
{
    return testsupport::path(className, {{"InstanceID", text(instanceId)}});
}

inline cimhost::PathSpec staticPath(const std::string& instanceId)
{
    return settingPath("Tavrix_StaticIPAssignmentSettingData", instanceId);
}

inline const CMPIInstance* getOne(cimhost::Request& req, const cimhost::PathSpec& path)
{
    cimhost::Response r = req.getInstance(req.makePath(path));
    return r.instances.size() == 1 ? r.instances[0] : nullptr;
}

} // namespace scene

#endif
