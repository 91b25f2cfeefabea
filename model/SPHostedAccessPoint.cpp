#include "SPHostedAccessPoint.h"

#include <string>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "IPprotocolEndpoint.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("SPHostedAccessPoint.cpp");

SPHostedAccessPoint::SPHostedAccessPoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::SPHostedAccessPoint::SPHostedAccessPoint");
}

SPHostedAccessPoint::~SPHostedAccessPoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::SPHostedAccessPoint::~SPHostedAccessPoint");
}

Moniker SPHostedAccessPoint::getSPMoniker(Moniker& endpoint)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::SPHostedAccessPoint::getSPMoniker");
    std::string systemName;
    std::string systemClass;
    EndResolution::findLast(endpoint, "SystemName", systemName);
    EndResolution::findLast(endpoint, "SystemCreationClassName", systemClass);
    if (systemClass != EndResolution::serviceProcessorClass)
        throw FrameworkException("'SystemCreationClasName'  is not BMC in Moniker");
    Moniker result;
    result.addKey("Name", systemName);
    TRACE_EXIT("Korvu::IPInterfaceProvider::SPHostedAccessPoint::getSPMoniker");
    return result;
}

Moniker SPHostedAccessPoint::getIPProtocolEndPointMoniker(Moniker& computer)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::SPHostedAccessPoint::getIPProtocolEndPointMoniker");
    std::string name;
    if (!EndResolution::findFirst(computer, "Name", name))
        throw FrameworkException("Could not find 'Name' key in Moniker");

    IPprotocolEndpoint endpoint;
    std::string systemName;
    bool found = false;
    while (!found && endpoint) {
        found = endpoint.getSystemName(systemName) && systemName == name;
        if (!found)
            ++endpoint;
    }
    if (!found)
        throw FrameworkException(EndResolution::noMatchInComputer);

    Moniker result;
    result.addKey("SystemCreationClassName", EndResolution::serviceProcessorClass);
    result.addKey("SystemName", systemName);
    std::string endpointName;
    if (endpoint.getName(endpointName))
        result.addKey("Name", endpointName);
    TRACE_EXIT("Korvu::IPInterfaceProvider::SPHostedAccessPoint::getIPProtocolEndPointMoniker");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
