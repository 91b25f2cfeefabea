#ifndef KORVU_IPIF_SERVICEAFFECTSELEMENT_H
#define KORVU_IPIF_SERVICEAFFECTSELEMENT_H

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_IPServiceAffectsElement: the IP configuration service and
// the IP protocol endpoints of its system.
class ServiceAffectsElement {
public:
    ServiceAffectsElement();
    ~ServiceAffectsElement();

    // Endpoint (SystemName) to the service of its system, without reading
    // the store. Throws FrameworkException for a missing SystemName.
    Moniker getIPConfigurationServiceMoniker(Moniker& endpoint);
    // Service (SystemName) to all endpoints of its system: the result has
    // no Name. Throws FrameworkException for a missing SystemName and
    // InstrumentationException when the system has no endpoint.
    Moniker getIPProtocolEndpointMoniker(Moniker& service);

private:
    Instrumentation cursor;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
