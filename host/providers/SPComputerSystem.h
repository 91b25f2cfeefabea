#ifndef KORVU_IPIF_COMPANION_SPCOMPUTERSYSTEM_H
#define KORVU_IPIF_COMPANION_SPCOMPUTERSYSTEM_H

#include <vector>

#include "CompanionElement.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

// The service processor: one instance named "BMC:-1" for the first
// computer node described "BMC".
class SPComputerSystem {
public:
    static const char* const className;  // "Tavrix_SPComputerSystem"

    // Appends the class's instances in store order. Throws what the node
    // store throws (std::exception).
    static void collect(std::vector<CompanionElement>& out);
};

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
