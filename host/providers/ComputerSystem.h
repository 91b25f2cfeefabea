#ifndef KORVU_IPIF_COMPANION_COMPUTERSYSTEM_H
#define KORVU_IPIF_COMPANION_COMPUTERSYSTEM_H

#include <vector>

#include "CompanionElement.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

// The host: one instance, named by the machine's host name as the main
// module names the system of every host endpoint, for the first computer
// node not described "BMC".
class ComputerSystem {
public:
    static const char* const className;  // "Tavrix_ComputerSystem"

    // Appends the class's instances in store order. Throws what the node
    // store throws (std::exception).
    static void collect(std::vector<CompanionElement>& out);
};

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
