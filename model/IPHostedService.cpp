#include "IPHostedService.h"

#include <string>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "IPConfigurationService.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("IPHostedService.cpp");

IPHostedService::IPHostedService()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::IPHostedService::IPHostedService");
}

IPHostedService::~IPHostedService()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::IPHostedService::~IPHostedService");
}

Moniker IPHostedService::getComputerSystemMoniker(Moniker& service)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPHostedService::getComputerSystemMoniker");
    Moniker result;
    result.addKey("Name", EndResolution::computerSystemName(cursor, service));
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPHostedService::getComputerSystemMoniker");
    return result;
}

Moniker IPHostedService::getIPConfigurationServiceMoniker(Moniker& computer)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPHostedService::getIPConfigurationServiceMoniker");
    std::string name;
    if (!EndResolution::findFirst(computer, "Name", name))
        throw FrameworkException("Could not find 'Name' key in Moniker");
    IPConfigurationService service;
    bool found = false;
    while (!found && service) {
        std::string systemName;
        found = service.getSystemName(systemName) && systemName == name;
        if (!found)
            ++service;
    }
    if (!found)
        throw FrameworkException(EndResolution::noMatchInComputer);
    Moniker result;
    result.addKey("SystemName", name);
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPHostedService::getIPConfigurationServiceMoniker");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
