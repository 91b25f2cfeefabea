#ifndef QUELLSTORE_TEST_SAMPLESTORE_H
#define QUELLSTORE_TEST_SAMPLESTORE_H

#include <string>

// A host with two interfaces on one adapter and a service processor with
// one, as the agent lays them out.
inline std::string sampleStore()
{
    return R"({
  "version": 1,
  "nodes": [
    { "name": "host", "type": "COMPUTER_SYSTEM", "description": "Host",
      "properties": { "HOST_NAME": "demo", "STATE": 2 },
      "children": [
        { "name": "eth-adapter-0", "type": 12, "description": "Ethernet adapter",
          "children": [
            { "name": "eth0", "type": "IP_INTERFACE", "description": "IP interface",
              "properties": {
                "NAME": "eth0",
                "MAC_ADDRESS": { "value": "52:54:00:12:34:56", "readOnly": true },
                "IPV4_ADDRESS": "192.0.2.10", "SUBNET_MASK": "255.255.255.0",
                "IP_VERSION": 4, "PREFIX_LENGTH": 24, "STATE": 2,
                "DNS_SERVERS": ["192.0.2.53", "192.0.2.54"], "700": 7 } },
            { "name": "eth1", "type": 29,
              "properties": { "NAME": "eth1", "IPV4_ADDRESS": "198.51.100.7" } }
          ] }
      ] },
    { "name": "bmc", "type": 40, "description": "BMC",
      "children": [
        { "name": "bmc-adapter-0", "type": "NETWORK_ADAPTER",
          "children": [
            { "name": "bmc0", "type": 29,
              "properties": { "NAME": "bmc0", "IPV6_ADDRESS": "2001:db8::20", "STATE": 2 } }
          ] }
      ] }
  ]
})";
}

#endif
