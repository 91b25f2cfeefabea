#ifndef KORVU_IPIF_IP_CONFIG_DATA_H
#define KORVU_IPIF_IP_CONFIG_DATA_H

#include <string>
#include <vector>

namespace Korvu {
namespace IPInterfaceProvider {

// One configuration on its way from ApplySettingToIPProtocolEndpoint to the
// configuration thread, which owns and deletes it. An empty text or list,
// or a prefix length of 0, leaves the node-store value as it is.
class IP_CONFIG_DATA {
public:
    IP_CONFIG_DATA() : configKind(0), ipv6PrefixLength(0), serviceProcessor(false) {}

    // 3 static, 4 DHCP, 0 nothing to apply.
    unsigned short configKind;
    unsigned short ipv6PrefixLength;
    // Name key of the target Tavrix_IPProtocolEndpoint.
    std::string endpointName;
    // The interface that the endpoint is on and whether it belongs to the
    // service processor: only that system's nodes of that name are written.
    // An empty name falls back to the one in endpointName.
    std::string interfaceName;
    bool serviceProcessor;
    std::string ipv4Address;
    std::string subnetMask;
    std::string gatewayIPv4Address;
    std::string gatewayIPv6Address;
    std::string ipv6Address;
    std::string requestedHostname;
    std::string domainName;
    std::vector<std::string> dnsServerAddresses;
    std::vector<std::string> dnsSuffixesToAppend;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
