#include "IPElementCapabilities.h"

#include "EndResolution.h"
#include "FrameworkException.h"
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

std::string IPElementCapabilities::endpointKey(std::string_view name, bool given)
{
    std::string_view interfaceName;
    std::string_view mac;
    unsigned long origin = 0;
    if (!EndResolution::splitEndpointName(name, interfaceName, mac, origin)) {
        if (given)
            throw FrameworkException("Name Property value is not correct");
        return std::string();
    }
    return std::string(interfaceName);
}

std::string IPElementCapabilities::capabilitiesKey(std::string_view instanceId, bool given)
{
    if (instanceId.empty() && given)
        throw FrameworkException("Could not find 'InstanceID' Key in Moniker");
    return std::string(instanceId);
}

} // namespace IPInterfaceProvider
} // namespace Korvu
