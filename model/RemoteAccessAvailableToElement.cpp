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

std::string RemoteAccessAvailableToElement::accessKey(const std::string& systemClass,
                                                      const std::string& systemName,
                                                      const std::string& name, bool given)
{
    std::string interfaceName;
    if (!EndResolution::accessPointInterface(name, interfaceName)) {
        if (given)
            throw FrameworkException("Name Property value is not correct");
        return std::string();
    }
    return EndResolution::join({systemClass, systemName, interfaceName});
}

std::string RemoteAccessAvailableToElement::endpointKey(const std::string& systemClass,
                                                        const std::string& systemName,
                                                        const std::string& name, bool given)
{
    std::string interfaceName;
    std::string mac;
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
