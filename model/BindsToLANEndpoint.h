#ifndef KORVU_IPIF_BINDSTOLANENDPOINT_H
#define KORVU_IPIF_BINDSTOLANENDPOINT_H

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_BindsToLanEndPoint: the LAN endpoint of a network adapter
// and the IP protocol endpoints bound to it.
class BindsToLANEndpoint {
public:
    BindsToLANEndpoint();
    ~BindsToLANEndpoint();

    // IP endpoint to the LAN endpoint of the adapter whose name equals the
    // interface name or whose MAC address equals the endpoint's. Throws
    // FrameworkException when neither Name nor SystemName is given and
    // when no adapter matches.
    Moniker getLANEndpointMoniker(Moniker& endpoint);
    // LAN endpoint to the first IP endpoint of the interface of that name.
    // Throws FrameworkException for a missing Name and
    // InstrumentationException when no endpoint matches.
    Moniker getIPProtocolEndPointMoniker(Moniker& lanEndpoint);

private:
    Instrumentation cursor;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
