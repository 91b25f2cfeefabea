#include "RemoteHostedAccessPoint.h"

#include <string>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "RemoteServiceAccessPoint.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("RemoteHostedAccessPoint.cpp");

RemoteHostedAccessPoint::RemoteHostedAccessPoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::RemoteHostedAccessPoint::RemoteHostedAccessPoint");
}

RemoteHostedAccessPoint::~RemoteHostedAccessPoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::RemoteHostedAccessPoint::~RemoteHostedAccessPoint");
}

Moniker RemoteHostedAccessPoint::getSystemMoniker(Moniker& accessPoint)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::RemoteHostedAccessPoint::getSystemMoniker");
    Moniker result;
    result.addKey("Name", EndResolution::computerSystemName(cursor, accessPoint));
    TRACE_EXIT("Korvu::IPInterfaceProvider::RemoteHostedAccessPoint::getSystemMoniker");
    return result;
}

Moniker RemoteHostedAccessPoint::getRemoteSAPMoniker(Moniker& computer)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::RemoteHostedAccessPoint::getRemoteSAPMoniker");
    std::string name;
    if (!EndResolution::findFirst(computer, "Name", name))
        throw FrameworkException("Could not find 'Name' key in Moniker");
    RemoteServiceAccessPoint access;
    bool found = false;
    while (!found && access) {
        std::string systemName;
        found = access.getSystemName(systemName) && systemName == name;
        if (!found)
            ++access;
    }
    if (!found)
        throw FrameworkException(EndResolution::noMatchInComputer);
    Moniker result;
    result.addKey("SystemName", name);
    TRACE_EXIT("Korvu::IPInterfaceProvider::RemoteHostedAccessPoint::getRemoteSAPMoniker");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
