#ifndef KORVU_IPIF_COMPANION_DNSPROTOCOLENDPOINT_H
#define KORVU_IPIF_COMPANION_DNSPROTOCOLENDPOINT_H

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

    // Appends the class's instances in store order. Throws what the node
    // store throws (std::exception).
    static void collect(std::vector<CompanionElement>& out);
};

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
