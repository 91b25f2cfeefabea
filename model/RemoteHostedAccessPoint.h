#ifndef KORVU_IPIF_REMOTEHOSTEDACCESSPOINT_H
#define KORVU_IPIF_REMOTEHOSTEDACCESSPOINT_H

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_RemoteHostedAccessPoint: a computer system and the remote
// service access points of that system.
class RemoteHostedAccessPoint {
public:
    RemoteHostedAccessPoint();
    ~RemoteHostedAccessPoint();

    // Access point (SystemName) to its computer. Throws FrameworkException
    // for a missing SystemName and InstrumentationException when no computer
    // node carries that name.
    Moniker getSystemMoniker(Moniker& accessPoint);
    // Computer (Name) to all of its access points: the result has no Name.
    // Throws FrameworkException for a missing Name or a system without
    // access points.
    Moniker getRemoteSAPMoniker(Moniker& computer);

private:
    Instrumentation cursor;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
