#ifndef BENCH_STOREGENERATOR_H
#define BENCH_STOREGENERATOR_H

// Node stores of a chosen number of IP interface nodes, laid out the way the
// agent presents a large host: one adapter per interface, a static node
// with both gateways on every other interface and a DHCP node otherwise,
// and one service processor interface at the end.
#include <cstdio>
#include <string>

#include <unistd.h>

namespace benchstore {

inline std::string mac(unsigned i)
{
    char text[32];
    std::snprintf(text, sizeof text, "52:54:%02x:%02x:%02x:%02x", (i >> 24) & 0xff, (i >> 16) & 0xff,
                  (i >> 8) & 0xff, i & 0xff);
    return text;
}

inline std::string interfaceNode(unsigned i, const std::string& ifName)
{
    std::string node = R"({"name":")" + ifName + R"(","type":"IP_INTERFACE","properties":{"NAME":")" +
                       ifName + R"(","MAC_ADDRESS":")" + mac(i) + R"(","PROTOCOL_IF_TYPE":4096,"STATE":2,)";
    if (i % 2 == 0) {
        unsigned a = (i >> 8) & 0xff, b = i & 0xff;
        std::string net = "10." + std::to_string(a) + "." + std::to_string(b) + ".";
        node += R"("IP_VERSION":4,"ADDRESS_ORIGIN":3,"IPV4_ADDRESS":")" + net + R"(10","SUBNET_MASK":"255.255.255.0",)"
                R"("IPV4_GATEWAY":")" + net + R"(1","IPV6_ADDRESS":"2001:db8::)" + std::to_string(i) +
                R"(","IPV6_GATEWAY":"2001:db8::1","PREFIX_LENGTH":24,"DNS_SERVERS":["192.0.2.53"]}})";
    } else {
        node += R"("IP_VERSION":4,"ADDRESS_ORIGIN":1}})";
    }
    return node;
}

// `endpoints` interface nodes in all; the last one sits on the service
// processor.
inline std::string generate(unsigned endpoints)
{
    // The host's NAME is what the system's SystemName keys carry.
    char host[257] = {};
    gethostname(host, 256);
    std::string json = R"({"version":1,"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","description":"Host",)"
                       R"("properties":{"NAME":")" + std::string(host) + R"(","HOST_NAME":"bench","STATE":2},"children":[)";
    unsigned hostCount = endpoints > 1 ? endpoints - 1 : endpoints;
    for (unsigned i = 0; i < hostCount; ++i) {
        if (i)
            json += ",";
        json += R"({"name":"nic)" + std::to_string(i) + R"(","type":"NETWORK_ADAPTER","properties":{"NAME":"eth)" +
                std::to_string(i) + R"(","MAC_ADDRESS":")" + mac(i) + R"("},"children":[)" +
                interfaceNode(i, "eth" + std::to_string(i)) + "]}";
    }
    json += "]}";
    if (endpoints > 1) {
        json += R"(,{"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","properties":{"NAME":"BMC:-1"},"children":[)"
                R"({"name":"bmcnic","type":"NETWORK_ADAPTER","properties":{"NAME":"bmc0","MAC_ADDRESS":")" +
                mac(hostCount) + R"("},"children":[)" +
                interfaceNode(hostCount, "bmc0") + "]}]}";
    }
    json += "]}";
    return json;
}

} // namespace benchstore

#endif
