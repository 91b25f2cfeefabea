#ifndef KORVU_IPIF_COMPANION_DHCPSETTINGDATA_H
#define KORVU_IPIF_COMPANION_DHCPSETTINGDATA_H

#include <string>
#include <vector>

#include "CompanionElement.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

// One DHCP setting per interface, InstanceID "<prefix>:<interface>", so
// that the configuration "Computer:eth1:dhcp" names the one of eth1.
class DHCPSettingData {
public:
    static const char* const className;  // "Tavrix_DHCPSettingData"

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
