#ifndef ASSOCIATIONS_REALSTORE_H
#define ASSOCIATIONS_REALSTORE_H

// A store shaped like real machines: an alias (eth0:1) beside eth0, an
// interface with a static and a DHCP node (eth2), and a service processor
// whose interface is also named eth0.
#include "Scene.h"

namespace real {

inline std::string store()
{
    return R"({"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","description":"Host","properties":{"NAME":")" +
           scene::hostName() + R"("},"children":[
  {"name":"nic0","type":"NETWORK_ADAPTER","properties":{"NAME":"eth0","MAC_ADDRESS":"52:54:00:00:00:00"},
   "children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:00:00:00","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"192.0.2.10",
     "IPV4_GATEWAY":"192.0.2.1","PROTOCOL_IF_TYPE":4096}},
   {"name":"eth0:1","type":"IP_INTERFACE","properties":{"NAME":"eth0:1",
     "MAC_ADDRESS":"52:54:00:00:00:00","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"192.0.2.11"}}]},
  {"name":"nic2","type":"NETWORK_ADAPTER","properties":{"NAME":"eth2","MAC_ADDRESS":"52:54:00:00:00:02"},
   "children":[
   {"name":"eth2","type":"IP_INTERFACE","properties":{"NAME":"eth2",
     "MAC_ADDRESS":"52:54:00:00:00:02","ADDRESS_ORIGIN":3}},
   {"name":"eth2-dhcp","type":"IP_INTERFACE","properties":{"NAME":"eth2",
     "MAC_ADDRESS":"52:54:00:00:00:02","ADDRESS_ORIGIN":1}}]}]},
 {"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","properties":{"NAME":"BMC:-1"},"children":[
  {"name":"bmcnic","type":"NETWORK_ADAPTER","properties":{"NAME":"eth0","MAC_ADDRESS":"52:54:00:ab:cd:ef"},
   "children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:ab:cd:ef","ADDRESS_ORIGIN":3,"IPV6_GATEWAY":"fe80::1"}}]}]}
]})";
}

const std::string hostEth0 = "eth0_52:54:00:00:00:00_3";
const std::string alias = "eth0:1_52:54:00:00:00:00_3";
const std::string twoNodeStatic = "eth2_52:54:00:00:00:02_3";
const std::string twoNodeDhcp = "eth2_52:54:00:00:00:02_4";
const std::string bmcEth0 = "eth0_52:54:00:ab:cd:ef_3";

// The module on that store, with the host and service processor computers
// (and `spares` served before them, owning nothing) and one LAN endpoint
// per adapter.
struct RealWorld : scene::World {
    explicit RealWorld(const std::vector<std::string>& spares = {})
        : scene::World(spares, {}, store(), {"eth0", "eth2"}, {"eth0"})
    {
    }
};

inline std::string ep(const std::string& name) { return "Tavrix_IPProtocolEndpoint:" + name; }
inline std::string setting(const std::string& id) { return "Tavrix_IPAssignmentSettingData:" + id; }
inline std::string staticSetting(const std::string& id)
{
    return "Tavrix_StaticIPAssignmentSettingData:" + id;
}

} // namespace real

#endif
