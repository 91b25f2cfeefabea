#include "RemoteAccessAvailableToElement.h"

#include <string>
#include <vector>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "IPprotocolEndpoint.h"
#include "InstrumentationException.h"
#include "RemoteServiceAccessPoint.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("RemoteAccessAvailableToElement.cpp");

RemoteAccessAvailableToElement::RemoteAccessAvailableToElement()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::RemoteAccessAvailableToElement::"
                 "RemoteAccessAvailableToElement");
}

RemoteAccessAvailableToElement::~RemoteAccessAvailableToElement()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::RemoteAccessAvailableToElement::"
                 "~RemoteAccessAvailableToElement");
}

Moniker RemoteAccessAvailableToElement::getRemoteServiceAccessPointMoniker(Moniker& endpoint)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::RemoteAccessAvailableToElement::"
                "getRemoteServiceAccessPointMoniker");
    std::string name, systemName, systemClass;
    if (!EndResolution::findLast(endpoint, "Name", name))
        throw FrameworkException("Could not find 'Name' Key in Moniker");
    EndResolution::findLast(endpoint, "SystemName", systemName);
    EndResolution::findLast(endpoint, "SystemCreationClassName", systemClass);
    const std::vector<std::string> n = EndResolution::split(name, "_");

    RemoteServiceAccessPoint access;
    std::string interfaceName;
    bool found = false;
    while (!found && access) {
        std::string accessName;
        if (!access.getName(accessName))
            throw InstrumentationException("Name Property on NetworkIPConfig Node not available.");
        const std::vector<std::string> a = EndResolution::split(accessName, "_");
        found = !a.empty() && !n.empty() && a[0] == n[0];
        if (found)
            interfaceName = a[0];
        else
            ++access;
    }
    if (!found)
        throw InstrumentationException("Concerned DHCP Protocol Endpoint Could Not Be Found.");

    Moniker result;
    result.addKey("Name", interfaceName);
    result.addKey("SystemName", systemName);
    result.addKey("SystemCreationClassName", systemClass);
    result.addKey("CreationClassName", "Tavrix_IPRemoteServiceAccessPoint");
    TRACE_EXIT("Korvu::IPInterfaceProvider::RemoteAccessAvailableToElement::"
               "getRemoteServiceAccessPointMoniker");
    return result;
}

Moniker RemoteAccessAvailableToElement::getIPProtocolEndpointMoniker(Moniker& accessPoint)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::RemoteAccessAvailableToElement::"
                "getIPProtocolEndpointMoniker");
    std::string name, systemClass;
    EndResolution::findLast(accessPoint, "Name", name);
    EndResolution::findLast(accessPoint, "SystemCreationClassName", systemClass);
    const std::vector<std::string> a = EndResolution::split(name, "_");

    IPprotocolEndpoint endpoint;
    std::string endpointName, systemName;
    bool found = false;
    while (!found && endpoint) {
        endpointName.clear();
        systemName.clear();
        found = !a.empty() && endpoint.getName(endpointName) &&
                EndResolution::tokenIs(EndResolution::split(endpointName, "_"), 0, a[0]) &&
                endpoint.getSystemName(systemName);
        if (!found)
            ++endpoint;
    }
    if (!found)
        throw InstrumentationException("Concerned IP Protocol Endpoint Could Not Be Found.");

    Moniker result;
    result.addKey("SystemName", systemName);
    result.addKey("Name", endpointName);
    result.addKey("SystemCreationClassName", systemClass);
    result.addKey("CreationClassName", EndResolution::endpointClass);
    TRACE_EXIT("Korvu::IPInterfaceProvider::RemoteAccessAvailableToElement::"
               "getIPProtocolEndpointMoniker");
    return result;
}

bool RemoteAccessAvailableToElement::getOrderOfAccess(unsigned short& /*value*/)
{
    return false;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
