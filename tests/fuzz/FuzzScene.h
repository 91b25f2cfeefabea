#ifndef FUZZ_FUZZSCENE_H
#define FUZZ_FUZZSCENE_H

// The module over a small node store kept in memory, registered in an
// embedded broker the way a CIM server loads it; built once per process.
#include <cmpidt.h>
#include <cmpift.h>
#include <log4cxx/level.h>
#include <log4cxx/logger.h>

#include <stdlib.h>

#include <string>

#include "Broker.h"
#include "IPInterfaceProvider.h"
#include "NodeStore.h"
#include "PlatformUtilities.h"

namespace fuzzscene {

inline const char* const* instanceClasses()
{
    static const char* const names[] = {
        "Tavrix_IPProtocolEndpoint", "Tavrix_IPAssignmentSettingData",
        "Tavrix_BindsToLanEndPoint", "Tavrix_IPElementSettingData",
        "Tavrix_StaticIPAssignmentSettingData", "Tavrix_IPRemoteServiceAccessPoint",
        "Tavrix_StaticOrderedComponent", "Tavrix_IPHostedAccessPoint",
        "Tavrix_StaticIPElementSettingData", "Tavrix_RemoteHostedAccessPoint",
        "Tavrix_IPRemoteAccessAvailableToElement", "Tavrix_SPHostedAccessPoint",
        "Tavrix_IPElementCapabilities", "Tavrix_IPEnabledLogicalElementCapabilities",
        "Tavrix_IPConfigurationService", "Tavrix_IPHostedService", "Tavrix_IPServiceAffectsElement",
        nullptr};
    return names;
}

inline const char* store()
{
    return R"({"nodes":[
 {"name":"host","type":"COMPUTER_SYSTEM","description":"Host","properties":{"HOST_NAME":"fuzz"},"children":[
  {"name":"nic0","type":"NETWORK_ADAPTER","children":[
   {"name":"eth0","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:12:34:56","IP_VERSION":1,"ADDRESS_ORIGIN":3,
     "IPV4_ADDRESS":"192.0.2.10","SUBNET_MASK":"255.255.255.0","IPV4_GATEWAY":"192.0.2.1",
     "IPV6_ADDRESS":"2001:db8::10","IPV6_GATEWAY":"2001:db8::1","PREFIX_LENGTH":24,
     "PROTOCOL_IF_TYPE":4096,"STATE":1,"DNS_SERVERS":["192.0.2.53"]}},
   {"name":"eth0-dhcp","type":"IP_INTERFACE","properties":{"NAME":"eth0",
     "MAC_ADDRESS":"52:54:00:12:34:56","ADDRESS_ORIGIN":1,"STATE":12}}]},
  {"name":"nic1","type":"NETWORK_ADAPTER","children":[
   {"name":"eth1","type":"IP_INTERFACE","properties":{"NAME":"eth1:0",
     "MAC_ADDRESS":"52:54:00:00:00:01","ADDRESS_ORIGIN":3,"IPV4_ADDRESS":"198.51.100.1",
     "SUBNET_MASK":"255.255.0.0","PREFIX_LENGTH":16,"IP_VERSION":4}},
   {"name":"anon","type":"IP_INTERFACE","properties":{"STATE":1}}]}]},
 {"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","children":[
  {"name":"bmcnic","type":"NETWORK_ADAPTER","children":[
   {"name":"bmc0","type":"IP_INTERFACE","properties":{"NAME":"bmc0",
     "MAC_ADDRESS":"52:54:00:ab:cd:ef","ADDRESS_ORIGIN":3,"STATE":1,"IPV4_ADDRESS":"10.0.0.5",
     "IPV6_GATEWAY":"fe80::1","PROTOCOL_IF_TYPE":4097}}]}]}
]})";
}

struct Scene {
    cimhost::Broker broker;
    CMPIInstanceMI* instance = nullptr;
    CMPIAssociationMI* association = nullptr;
    CMPIMethodMI* method = nullptr;
    std::string dataDir;

    Scene()
    {
        log4cxx::Logger::getLogger("Prelvar.IPInterfaceProvider")->setLevel(log4cxx::Level::getOff());
        char pattern[] = "/tmp/ipif-fuzz-XXXXXX";
        if (mkdtemp(pattern))
            dataDir = std::string(pattern) + "/";
        Korvu::PlatformUtilities::setMaranthDataDir(dataDir);
        // Writes stay in memory: the store file is not what is under test here.
        Korvu::NodeStore::loadFromString(store());
        const CMPIBroker* b = broker.cmpi();
        instance = IPInterfaceProvider_Create_InstanceMI(b, nullptr, nullptr);
        association = IPInterfaceProvider_Create_AssociationMI(b, nullptr, nullptr);
        method = IPInterfaceProvider_Create_MethodMI(b, nullptr, nullptr);
        for (const char* const* c = instanceClasses(); *c; ++c) {
            broker.registerInstanceProvider(*c, instance);
            broker.registerAssociationProvider(*c, association);
        }
        broker.registerMethodProvider("Tavrix_IPProtocolEndpoint", method);
        broker.registerMethodProvider("Tavrix_IPConfigurationService", method);
    }

    // Back to the seed store, so one input's writes do not steer the next.
    static void resetStore() { Korvu::NodeStore::loadFromString(store()); }
};

inline Scene& scene()
{
    static Scene* one = new Scene();  // outlives the fuzzer's exit handlers
    return *one;
}

} // namespace fuzzscene

#endif
