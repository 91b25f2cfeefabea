#include "IPHostedAccessPoint.h"

#include <string>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "IPprotocolEndpoint.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("IPHostedAccessPoint.cpp");

IPHostedAccessPoint::IPHostedAccessPoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::IPHostedAccessPoint::IPHostedAccessPoint");
}

IPHostedAccessPoint::~IPHostedAccessPoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::IPHostedAccessPoint::~IPHostedAccessPoint");
}

Moniker IPHostedAccessPoint::getComputerSystemMoniker(Moniker& endpoint)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPHostedAccessPoint::getComputerSystemMoniker");
    Moniker result;
    result.addKey("Name", EndResolution::computerSystemName(cursor, endpoint));
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPHostedAccessPoint::getComputerSystemMoniker");
    return result;
}

Moniker IPHostedAccessPoint::getIPProtocolEndPointMoniker(Moniker& computer)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPHostedAccessPoint::getIPProtocolEndPointMoniker");
    std::string name;
    std::string creationClass;
    if (!EndResolution::findLast(computer, "Name", name))
        throw FrameworkException("Could not find 'Name' key in Moniker");
    EndResolution::findLast(computer, "CreationClassName", creationClass);
    if (creationClass == EndResolution::serviceProcessorClass)
        throw FrameworkException("Service processor is not a host computer system");

    IPprotocolEndpoint endpoint;
    bool found = false;
    while (!found && endpoint) {
        std::string systemClass;
        std::string systemName;
        found = endpoint.getSystemCreationClassName(systemClass) &&
                systemClass == EndResolution::hostClass && endpoint.getSystemName(systemName) &&
                systemName == name;
        if (!found)
            ++endpoint;
    }
    if (!found)
        throw FrameworkException(EndResolution::noMatchInComputer);

    Moniker result;
    result.addKey("SystemName", name);
    std::string value;
    if (endpoint.getSystemCreationClassName(value))
        result.addKey("SystemCreationClassName", value);
    if (endpoint.getCreationClassName(value))
        result.addKey("CreationClassName", value);
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPHostedAccessPoint::getIPProtocolEndPointMoniker");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
