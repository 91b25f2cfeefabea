#include "RemoteAccessAvailableToElement.h"

#include "EndResolution.h"
#include "FrameworkException.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("RemoteAccessAvailableToElement.cpp");

RemoteAccessAvailableToElement::RemoteAccessAvailableToElement()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::RemoteAccessAvailableToElement::RemoteAccessAvailableToElement");
}

RemoteAccessAvailableToElement::~RemoteAccessAvailableToElement()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::RemoteAccessAvailableToElement::~RemoteAccessAvailableToElement");
}

std::string RemoteAccessAvailableToElement::accessKey(std::string_view systemClass, std::string_view systemName,
                                                      std::string_view name, bool given)
{
    std::string_view interfaceName;
    if (!EndResolution::accessPointInterface(name, interfaceName)) {
        if (given)
            throw FrameworkException("Name Property value is not correct");
        return std::string();
    }
    return EndResolution::join({systemClass, systemName, interfaceName});
}

std::string RemoteAccessAvailableToElement::endpointKey(std::string_view systemClass,
                                                        std::string_view systemName, std::string_view name,
                                                        bool given)
{
    std::string_view interfaceName;
    std::string_view mac;
    unsigned long origin = 0;
    if (!EndResolution::splitEndpointName(name, interfaceName, mac, origin)) {
        if (given)
            throw FrameworkException("Name Property value is not correct");
        return std::string();
    }
    return EndResolution::join({systemClass, systemName, interfaceName});
}

bool RemoteAccessAvailableToElement::getOrderOfAccess(unsigned short& /*value*/)
{
    return false;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
