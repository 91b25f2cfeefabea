#ifndef KORVU_IPIF_REMOTEACCESSAVAILABLETOELEMENT_H
#define KORVU_IPIF_REMOTEACCESSAVAILABLETOELEMENT_H

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_IPRemoteAccessAvailableToElement: the remote access points
// (default gateways) of an interface and its IP protocol endpoint.
class RemoteAccessAvailableToElement {
public:
    RemoteAccessAvailableToElement();
    ~RemoteAccessAvailableToElement();

    // Endpoint (Name) to every access point of its interface. Throws
    // FrameworkException for a missing Name and InstrumentationException
    // when an access point has no name or none belongs to the interface.
    Moniker getRemoteServiceAccessPointMoniker(Moniker& endpoint);
    // Access point (Name) to the first endpoint of its interface. Throws
    // InstrumentationException when no endpoint matches.
    Moniker getIPProtocolEndpointMoniker(Moniker& accessPoint);
    // The association carries no order: always false.
    bool getOrderOfAccess(unsigned short& value);

private:
    Instrumentation cursor;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
