#ifndef ACCESSPOINTS_STORES_H
#define ACCESSPOINTS_STORES_H

// Node stores and request helpers shared by the access point, capability
// and fetched-end tests.
#include <unistd.h>

#include <string>

#include "Instrumentation.h"
#include "ModuleHarness.h"
#include "Request.h"
#include "SceneHelpers.h"
#include "Value.h"

namespace stores {

// eth0: IPv4 gateway only; eth1: none; eth2: both; bmc0 on the service
// processor: IPv6 gateway only.
inline std::string gateways(unsigned eth0Type = 4096, unsigned eth2Type = 4098)
{
    return R"({"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","description":"Host","children":[
  {"name":"nic0","type":"NETWORK_ADAPTER","children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "IPV4_GATEWAY":"192.0.2.1","PROTOCOL_IF_TYPE":)" + std::to_string(eth0Type) + R"(}},
   {"name":"eth1","type":"IP_INTERFACE","properties":{"NAME":"eth1","IPV4_GATEWAY":"",
     "PROTOCOL_IF_TYPE":4096}},
   {"name":"eth2","type":"IP_INTERFACE","properties":{"NAME":"eth2",
     "IPV4_GATEWAY":"198.51.100.1","IPV6_GATEWAY":"2001:db8::1",
     "PROTOCOL_IF_TYPE":)" + std::to_string(eth2Type) + R"(}}]}]},
 {"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","children":[
  {"name":"bmcnic","type":"NETWORK_ADAPTER","children":[
   {"name":"bmc0","type":"IP_INTERFACE","properties":{"NAME":"bmc0",
     "IPV6_GATEWAY":"fe80::1","PROTOCOL_IF_TYPE":4097}}]}]}
]})";
}

// Aliases, an unnamed node, an interface with two endpoint nodes and one
// whose name is read-only.
inline std::string interfaces()
{
    return R"({"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","children":[
  {"name":"nic0","type":"NETWORK_ADAPTER","children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0"}},
   {"name":"eth0a","type":"IP_INTERFACE","properties":{"NAME":"eth0:1"}},
   {"name":"anon","type":"IP_INTERFACE","properties":{"STATE":1}},
   {"name":"eth1","type":"IP_INTERFACE","properties":{"NAME":{"value":"eth1","readOnly":true}}},
   {"name":"eth1-dhcp","type":"IP_INTERFACE","properties":{"NAME":"eth1"}},
   {"name":"eth1a","type":"IP_INTERFACE","properties":{"NAME":"eth1:0"}}]}]}
]})";
}

using testsupport::hostName;
using testsupport::modify;
using testsupport::nodeText;
using testsupport::text;

inline cimhost::PathSpec accessPath(const std::string& systemName, const std::string& name,
                                    bool serviceProcessor = false)
{
    return testsupport::path("Tavrix_IPRemoteServiceAccessPoint",
                             testsupport::hostedKeys("Tavrix_IPRemoteServiceAccessPoint", name, serviceProcessor,
                                                     systemName));
}

} // namespace stores

#endif
