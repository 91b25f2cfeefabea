#ifndef ASSOCIATIONS_SCENE_H
#define ASSOCIATIONS_SCENE_H

// A managed system for the association tests: a host and a service
// processor in the node store, and the LAN endpoints and computer systems
// that other providers serve.
#include <cmpimacs.h>

#include <string>
#include <vector>

#include "ModuleHarness.h"
#include "Request.h"
#include "SceneHelpers.h"
#include "StaticInstanceProvider.h"
#include "Value.h"

namespace scene {

using testsupport::hostName;
using testsupport::path;
using testsupport::text;

// eth0: one static node with an IPv4 gateway; eth1 (adapter named lan1):
// one DHCP node; eth2: a static and a DHCP node; bmc0 on the service
// processor: static, IPv6 gateway.
inline std::string system(const std::string& extraComputer = std::string())
{
    return R"({"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","description":"Host","properties":{"NAME":")" +
           hostName() + R"("},"children":[
  {"name":"nic0","type":"NETWORK_ADAPTER","properties":{"NAME":"eth0","MAC_ADDRESS":"52:54:00:00:00:00"},
   "children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:00:00:00","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"192.0.2.10",
     "IPV4_GATEWAY":"192.0.2.1","PROTOCOL_IF_TYPE":4096}}]},
  {"name":"nic1","type":"NETWORK_ADAPTER","properties":{"NAME":"lan1","MAC_ADDRESS":"52:54:00:00:00:01"},
   "children":[
   {"name":"eth1","type":"IP_INTERFACE","properties":{"NAME":"eth1",
     "MAC_ADDRESS":"52:54:00:00:00:01","ADDRESS_ORIGIN":1}}]},
  {"name":"nic2","type":"NETWORK_ADAPTER","properties":{"NAME":"eth2","MAC_ADDRESS":"52:54:00:00:00:02"},
   "children":[
   {"name":"eth2","type":"IP_INTERFACE","properties":{"NAME":"eth2",
     "MAC_ADDRESS":"52:54:00:00:00:02","ADDRESS_ORIGIN":3}},
   {"name":"eth2-dhcp","type":"IP_INTERFACE","properties":{"NAME":"eth2",
     "MAC_ADDRESS":"52:54:00:00:00:02","ADDRESS_ORIGIN":1}}]}]},
 {"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","properties":{"NAME":"BMC:-1"},"children":[
  {"name":"bmcnic","type":"NETWORK_ADAPTER","properties":{"NAME":"bmc0","MAC_ADDRESS":"52:54:00:ab:cd:ef"},
   "children":[
   {"name":"bmc0","type":"IP_INTERFACE","properties":{"NAME":"bmc0",
     "MAC_ADDRESS":"52:54:00:ab:cd:ef","ADDRESS_ORIGIN":3,"IPV6_GATEWAY":"fe80::1",
     "PROTOCOL_IF_TYPE":4097}}]}]})" + extraComputer + R"(
]})";
}

const std::string eth0 = "eth0_52:54:00:00:00:00_3";
const std::string eth1 = "eth1_52:54:00:00:00:01_4";
const std::string eth2Static = "eth2_52:54:00:00:00:02_3";
const std::string eth2Dhcp = "eth2_52:54:00:00:00:02_4";
const std::string bmc0 = "bmc0_52:54:00:ab:cd:ef_3";

inline cimhost::PathSpec endpointPath(const std::string& name, bool serviceProcessor = false)
{
    return path("Tavrix_IPProtocolEndpoint",
                {{"SystemCreationClassName",
                  text(serviceProcessor ? "Tavrix_SPComputerSystem" : "Tavrix_ComputerSystem")},
                 {"SystemName", text(serviceProcessor ? "BMC:-1" : hostName())},
                 {"CreationClassName", text("Tavrix_IPProtocolEndpoint")},
                 {"Name", text(name)}});
}

inline cimhost::PathSpec idPath(const std::string& className, const std::string& instanceId)
{
    return path(className, {{"InstanceID", text(instanceId)}});
}

inline cimhost::PathSpec computerPath(const std::string& name, bool serviceProcessor = false)
{
    const char* cls = serviceProcessor ? "Tavrix_SPComputerSystem" : "Tavrix_ComputerSystem";
    return path(cls, {{"CreationClassName", text(cls)}, {"Name", text(name)}});
}

inline cimhost::PathSpec lanPath(const std::string& name, bool serviceProcessor = false)
{
    return path("Tavrix_LANEndpoint", {{"SystemCreationClassName",
                                        text(serviceProcessor ? "Tavrix_SPComputerSystem" : "Tavrix_ComputerSystem")},
                                       {"SystemName", text(serviceProcessor ? "BMC:-1" : hostName())},
                                       {"CreationClassName", text("Tavrix_LANEndpoint")},
                                       {"Name", text(name)}});
}

inline cimhost::PathSpec accessPath(const std::string& name, bool serviceProcessor = false)
{
    return path("Tavrix_IPRemoteServiceAccessPoint",
                {{"SystemCreationClassName",
                  text(serviceProcessor ? "Tavrix_SPComputerSystem" : "Tavrix_ComputerSystem")},
                 {"SystemName", text(serviceProcessor ? "BMC:-1" : hostName())},
                 {"CreationClassName", text("Tavrix_IPRemoteServiceAccessPoint")},
                 {"Name", text(name)}});
}

inline cimhost::PathSpec servicePath()
{
    return path("Tavrix_IPConfigurationService",
                {{"SystemCreationClassName", text("Tavrix_ComputerSystem")},
                 {"SystemName", text(hostName())},
                 {"CreationClassName", text("Tavrix_IPConfigurationService")},
                 {"Name", text("IPConfigService")}});
}

inline cimhost::InstanceSpec served(const cimhost::PathSpec& p)
{
    cimhost::InstanceSpec described;
    described.path = p;
    described.properties = p.keys;
    return described;
}

// The module with the ends other providers serve: the host computer
// (after `before` and before `after`, computers without elements of their
// own), the service processor and a LAN endpoint per adapter (`bmcAdapters`
// on the service processor).
struct World {
    testsupport::ModuleHarness h;
    cimhost::StaticInstanceProvider lan;
    cimhost::StaticInstanceProvider host;
    cimhost::StaticInstanceProvider bmc;

    explicit World(const std::vector<std::string>& before = {},
                   const std::vector<std::string>& after = {},
                   const std::string& store = system(),
                   const std::vector<std::string>& hostAdapters = {"eth0", "lan1", "eth2"},
                   const std::vector<std::string>& bmcAdapters = {"bmc0"})
        : h(store)
    {
        h.broker().registerInstanceProvider("Tavrix_LANEndpoint", lan.mi());
        h.broker().registerInstanceProvider("Tavrix_ComputerSystem", host.mi());
        h.broker().registerInstanceProvider("Tavrix_SPComputerSystem", bmc.mi());
        for (const std::string& n : before)
            host.add(served(computerPath(n)));
        host.add(served(computerPath(hostName())));
        for (const std::string& n : after)
            host.add(served(computerPath(n)));
        bmc.add(served(computerPath("BMC:-1", true)));
        for (const std::string& n : hostAdapters)
            lan.add(served(lanPath(n)));
        for (const std::string& n : bmcAdapters)
            lan.add(served(lanPath(n, true)));
    }
};

enum class Kind { Associators, AssociatorNames, References, ReferenceNames };

inline cimhost::Response ask(cimhost::Request& req, Kind kind, const cimhost::PathSpec& from,
                             const char* association, const char* resultClass = nullptr)
{
    CMPIObjectPath* op = req.makePath(from);
    switch (kind) {
    case Kind::Associators:
        return req.associators(op, association, resultClass);
    case Kind::AssociatorNames:
        return req.associatorNames(op, association, resultClass);
    case Kind::References:
        return req.references(op, association);
    case Kind::ReferenceNames:
        return req.referenceNames(op, association);
    }
    return cimhost::Response();
}

// "Class:key" of a path, with its Name or else its InstanceID; "-" for none.
inline std::string label(const CMPIObjectPath* p)
{
    if (!p)
        return "-";
    CMPIString* cls = CMGetClassName(p, nullptr);
    std::string key = testsupport::keyText(p, "Name");
    if (key.empty())
        key = testsupport::keyText(p, "InstanceID");
    return std::string(cls ? CMGetCharPtr(cls) : "?") + ":" + key;
}

inline const CMPIObjectPath* reference(const CMPIObjectPath* p, const char* name)
{
    CMPIData d = CMGetKey(p, name, nullptr);
    return (d.type == CMPI_ref && !(d.state & CMPI_nullValue)) ? d.value.ref : nullptr;
}

inline const CMPIObjectPath* reference(const CMPIInstance* inst, const char* name)
{
    CMPIData d = CMGetProperty(inst, name, nullptr);
    return (d.type == CMPI_ref && !(d.state & CMPI_nullValue)) ? d.value.ref : nullptr;
}

// Far ends of Associators / AssociatorNames, in order.
inline std::vector<std::string> farEnds(const cimhost::Response& r)
{
    std::vector<std::string> labels;
    for (const CMPIObjectPath* p : r.paths)
        labels.push_back(label(p));
    for (const CMPIInstance* inst : r.instances)
        labels.push_back(label(CMGetObjectPath(inst, nullptr)));
    return labels;
}

// "first | second" references of References / ReferenceNames, in order.
inline std::vector<std::string> pairs(const cimhost::Response& r, const char* first,
                                      const char* second)
{
    std::vector<std::string> labels;
    for (const CMPIObjectPath* p : r.paths)
        labels.push_back(label(reference(p, first)) + " | " + label(reference(p, second)));
    for (const CMPIInstance* inst : r.instances)
        labels.push_back(label(reference(inst, first)) + " | " + label(reference(inst, second)));
    return labels;
}

using Labels = std::vector<std::string>;

} // namespace scene

#endif
