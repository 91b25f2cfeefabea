#ifndef KORVU_IPIF_COMPANION_DNSSETTINGDATA_H
#define KORVU_IPIF_COMPANION_DNSSETTINGDATA_H

#include <string>
#include <vector>

#include "CompanionElement.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

// One DNS setting per interface (InstanceID as the DHCP setting's): host
// name, domain name and DNS servers of the interface.
class DNSSettingData {
public:
    static const char* const className;  // "Tavrix_DNSSettingData"

    // Appends the class's instances in store order; with `onlyInterface`
    // those of that interface name only. Throws what the node store throws
    // (std::exception). With `keysOnly`, the instances carry
    // their keys alone and no other value is computed.
    static void collect(std::vector<CompanionElement>& out, const std::string* onlyInterface = nullptr,
                        bool keysOnly = false);
};

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
