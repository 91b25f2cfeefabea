#ifndef KORVU_IPIF_COMPANION_DNSGENERALSETTINGDATA_H
#define KORVU_IPIF_COMPANION_DNSGENERALSETTINGDATA_H

#include <string>
#include <vector>

#include "CompanionElement.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

// One DNS general setting per interface (InstanceID as the DHCP
// setting's): the DNS suffixes of the interface.
class DNSGeneralSettingData {
public:
    static const char* const className;  // "Tavrix_DNSGeneralSettingData"

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
