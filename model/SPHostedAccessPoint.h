#ifndef KORVU_IPIF_SPHOSTEDACCESSPOINT_H
#define KORVU_IPIF_SPHOSTEDACCESSPOINT_H

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_SPHostedAccessPoint: the service-processor computer system
// and its IP protocol endpoint.
class SPHostedAccessPoint {
public:
    SPHostedAccessPoint();
    ~SPHostedAccessPoint();

    // Service-processor endpoint to its computer (Name = SystemName),
    // without reading the store. Throws FrameworkException when the
    // endpoint's system is not the service processor.
    Moniker getSPMoniker(Moniker& endpoint);
    // Service-processor computer (Name) to its first endpoint. Throws
    // FrameworkException for a missing Name and when no endpoint has that
    // system name.
    Moniker getIPProtocolEndPointMoniker(Moniker& computer);

private:
    Instrumentation cursor;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
