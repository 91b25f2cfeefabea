#ifndef KORVU_IPIF_COMPANION_LANENDPOINT_H
#define KORVU_IPIF_COMPANION_LANENDPOINT_H

#include <string>
#include <vector>

#include "CompanionElement.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

// One LAN endpoint per network adapter node with a NAME: Name the
// adapter's NAME, SystemName and SystemCreationClassName of the system that
// owns it. The main module's BindsToLanEndPoint names the system class of
// every LAN endpoint "Tavrix_ComputerSystem", also below the service
// processor, so a request path's SystemCreationClassName is not compared.
class LANEndpoint {
public:
    static const char* const className;  // "Tavrix_LANEndpoint"

    // Appends the class's instances in store order; with `onlyName` those
    // of adapters of that NAME only. Throws what the node store throws
    // (std::exception). With `keysOnly`, the instances carry
    // their keys alone and no other value is computed.
    static void collect(std::vector<CompanionElement>& out, const std::string* onlyName = nullptr,
                        bool keysOnly = false);
};

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
