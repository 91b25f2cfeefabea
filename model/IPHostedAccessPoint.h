#ifndef KORVU_IPIF_IPHOSTEDACCESSPOINT_H
#define KORVU_IPIF_IPHOSTEDACCESSPOINT_H

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_IPHostedAccessPoint: the host computer system and its IP
// protocol endpoints. Service-processor endpoints belong to
// SPHostedAccessPoint.
class IPHostedAccessPoint {
public:
    IPHostedAccessPoint();
    ~IPHostedAccessPoint();

    // Endpoint (SystemName) to its computer. Throws FrameworkException for
    // a missing SystemName and InstrumentationException when no computer
    // node carries that name.
    Moniker getComputerSystemMoniker(Moniker& endpoint);
    // Host computer (Name) to all of its endpoints: the result has no Name.
    // Throws FrameworkException for a missing Name, a service-processor
    // computer and a computer without endpoints.
    Moniker getIPProtocolEndPointMoniker(Moniker& computer);

private:
    Instrumentation cursor;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
