#include "EndResolution.h"

#include "FrameworkException.h"
#include "InstanceId.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const EndResolution::hostClass = "Tavrix_ComputerSystem";
const char* const EndResolution::serviceProcessorClass = "Tavrix_SPComputerSystem";
const char* const EndResolution::endpointClass = "Tavrix_IPProtocolEndpoint";

bool EndResolution::splitEndpointName(const std::string& name, std::string& interfaceName,
                                      std::string& mac, unsigned long& origin)
{
    EndpointName parts;
    if (!EndpointName::split(name, parts) || parts.interfaceName.empty() || parts.mac.empty() ||
        parts.origin.empty())
        return false;
    interfaceName = parts.interfaceName;
    mac = parts.mac;
    origin = decimal(parts.origin);
    return true;
}

bool EndResolution::accessPointInterface(const std::string& name, std::string& interfaceName)
{
    const std::string::size_type last = name.rfind('_');
    if (last == std::string::npos || last == 0)
        return false;
    const std::string version = name.substr(last + 1);
    if (version != "IPv4" && version != "IPv6")
        return false;
    interfaceName = name.substr(0, last);
    return true;
}

std::string EndResolution::settingPrefix(const std::string& systemClass)
{
    return systemClass == serviceProcessorClass ? "BMC" : "Computer";
}

std::string EndResolution::endpointSettingKey(const std::string& systemClass, const std::string& name,
                                              bool given)
{
    std::string interfaceName;
    std::string mac;
    unsigned long origin = 0;
    if (!splitEndpointName(name, interfaceName, mac, origin)) {
        if (given)
            throw FrameworkException("Name Property value is not correct");
        return std::string();
    }
    return settingPrefix(systemClass) + ":" + interfaceName;
}

std::string EndResolution::join(std::initializer_list<std::string> parts)
{
    std::string key;
    for (const std::string& part : parts) {
        if (part.empty())
            return std::string();
        if (!key.empty())
            key += '\n';
        key += part;
    }
    return key;
}

unsigned long EndResolution::decimal(const std::string& text)
{
    if (text.empty() || text.size() > 9)
        return 0;
    unsigned long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    return value;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
