#ifndef KORVU_IPIF_IPHOSTEDSERVICE_H
#define KORVU_IPIF_IPHOSTEDSERVICE_H

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_IPHostedService: a computer system and the IP
// configuration service it hosts.
class IPHostedService {
public:
    IPHostedService();
    ~IPHostedService();

    // Service (SystemName) to its computer. Throws FrameworkException for a
    // missing SystemName and InstrumentationException when no computer node
    // carries that name or a node before it has none.
    Moniker getComputerSystemMoniker(Moniker& service);
    // Computer (Name) to its service. Throws FrameworkException for a
    // missing Name and when no service belongs to that system.
    Moniker getIPConfigurationServiceMoniker(Moniker& computer);

private:
    Instrumentation cursor;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
