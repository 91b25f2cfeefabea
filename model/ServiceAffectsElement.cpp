#include "ServiceAffectsElement.h"

#include <string>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "IPprotocolEndpoint.h"
#include "InstrumentationException.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("ServiceAffectsElement.cpp");

ServiceAffectsElement::ServiceAffectsElement()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::ServiceAffectsElement::ServiceAffectsElement");
}

ServiceAffectsElement::~ServiceAffectsElement()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::ServiceAffectsElement::~ServiceAffectsElement");
}

Moniker ServiceAffectsElement::getIPConfigurationServiceMoniker(Moniker& endpoint)
{
    TRACE_ENTER(
        "Korvu::IPInterfaceProvider::ServiceAffectsElement::getIPConfigurationServiceMoniker");
    std::string systemName;
    if (!EndResolution::findFirst(endpoint, "SystemName", systemName))
        throw FrameworkException("Could not find 'System Name' Key in Moniker");
    Moniker result;
    result.addKey("SystemName", systemName);
    TRACE_EXIT(
        "Korvu::IPInterfaceProvider::ServiceAffectsElement::getIPConfigurationServiceMoniker");
    return result;
}

Moniker ServiceAffectsElement::getIPProtocolEndpointMoniker(Moniker& service)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::ServiceAffectsElement::getIPProtocolEndpointMoniker");
    std::string systemName;
    std::string systemClass;
    if (!EndResolution::findLast(service, "SystemName", systemName))
        throw FrameworkException("Could not find 'Name' Key in Moniker");
    EndResolution::findLast(service, "SystemCreationClassName", systemClass);

    IPprotocolEndpoint endpoint;
    std::string endpointSystem;
    bool found = false;
    while (!found && endpoint) {
        found = endpoint.getSystemName(endpointSystem) && endpointSystem == systemName;
        if (!found)
            ++endpoint;
    }
    if (!found)
        throw InstrumentationException("Concerned IP Protocol Endpoint Could Not Be Found.");

    Moniker result;
    result.addKey("SystemName", endpointSystem);
    result.addKey("CreationClassName", EndResolution::endpointClass);
    result.addKey("SystemCreationClassName", systemClass);
    TRACE_EXIT("Korvu::IPInterfaceProvider::ServiceAffectsElement::getIPProtocolEndpointMoniker");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
