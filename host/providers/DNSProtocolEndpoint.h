#ifndef KORVU_IPIF_COMPANION_DNSPROTOCOLENDPOINT_H
#define KORVU_IPIF_COMPANION_DNSPROTOCOLENDPOINT_H

#include <string>
#include <vector>

#include "CompanionElement.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

// The DNS client of an interface: one per interface whose node carries
// DNS_SERVERS (an empty list counts), Name "<interface>_DNS".
class DNSProtocolEndpoint {
public:
    static const char* const className;  // "Tavrix_DNSProtocolEndpoint"

    // Appends the class's instances in store order; with `onlyInterface`
    // those of that interface name only. Throws what the node store throws
    // (std::exception). With `keysOnly`, the instances carry
    // their keys alone and no other value is computed.
    static void collect(std::vector<CompanionElement>& out, const std::string* onlyInterface = nullptr,
                        bool keysOnly = false);

    // The Name of an interface's DNS endpoint.
    static std::string nameOf(const std::string& interfaceName);
    // The interface whose endpoint would carry the Name `name`; false when
    // no interface's would.
    static bool interfaceOf(const std::string& name, std::string& interfaceName);
};

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
