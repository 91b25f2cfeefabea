#include "IPElementCapabilities.h"

#include <string>
#include <vector>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "IPEnabledLogicalElementCapabilities.h"
#include "IPprotocolEndpoint.h"
#include "InstrumentationException.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("IPElementCapabilities.cpp");

IPElementCapabilities::IPElementCapabilities()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::IPElementCapabilities::IPElementCapabilities");
}

IPElementCapabilities::~IPElementCapabilities()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::IPElementCapabilities::~IPElementCapabilities");
}

Moniker IPElementCapabilities::getIPMoniker(Moniker& capabilities)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPElementCapabilities::getIPMoniker");
    std::string instanceID;
    if (!EndResolution::findFirst(capabilities, "InstanceID", instanceID))
        throw FrameworkException("Could not find 'InstanceID' Key in Moniker");

    IPprotocolEndpoint endpoint;
    std::string name;
    bool found = false;
    while (!found && endpoint) {
        name.clear();
        if (endpoint.getName(name)) {
            const std::vector<std::string> n = EndResolution::split(name, "_");
            if (n.size() < 3)
                throw FrameworkException("Name Property value is not correct");
            found = n[0] == instanceID;
        }
        if (!found)
            ++endpoint;
    }
    if (!found)
        throw FrameworkException("Could not get 'System Name' and  'Name' key");

    Moniker result;
    std::string value;
    if (endpoint.getSystemCreationClassName(value))
        result.addKey("SystemCreationClassName", value);
    if (endpoint.getSystemName(value))
        result.addKey("SystemName", value);
    result.addKey("Name", name);
    result.addKey("CreationClassName", EndResolution::endpointClass);
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPElementCapabilities::getIPMoniker");
    return result;
}

Moniker IPElementCapabilities::getCapabilitiesMoniker(Moniker& endpoint)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPElementCapabilities::getCapabilitiesMoniker");
    std::string name;
    const bool present = EndResolution::findFirst(endpoint, "Name", name);
    const std::vector<std::string> n = EndResolution::split(name, "_");
    if (!present || n.size() < 3)
        throw FrameworkException("Name Property value is not correct");

    IPEnabledLogicalElementCapabilities caps;
    std::string instanceID;
    bool found = false;
    while (!found && caps) {
        instanceID.clear();
        found = caps.getInstanceID(instanceID) && instanceID == n[0];
        if (!found)
            ++caps;
    }
    if (!found)
        throw InstrumentationException(
            "Concerned IPEnabledLogicalElementCapabilities Could Not Be Found.");

    Moniker result;
    result.addKey("InstanceID", instanceID);
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPElementCapabilities::getCapabilitiesMoniker");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
