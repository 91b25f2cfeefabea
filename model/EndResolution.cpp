#include "EndResolution.h"

#include "FrameworkException.h"
#include "InstanceId.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const EndResolution::hostClass = "Tavrix_ComputerSystem";
const char* const EndResolution::serviceProcessorClass = "Tavrix_SPComputerSystem";
const char* const EndResolution::endpointClass = "Tavrix_IPProtocolEndpoint";

bool EndResolution::splitEndpointName(std::string_view name, std::string_view& interfaceName,
                                      std::string_view& mac, unsigned long& origin)
{
    std::string_view interfacePart;
    std::string_view macPart;
    std::string_view originPart;
    if (!EndpointName::split(name, interfacePart, macPart, originPart) || interfacePart.empty() ||
        macPart.empty() || originPart.empty())
        return false;
    interfaceName = interfacePart;
    mac = macPart;
    origin = decimal(originPart);
    return true;
}

bool EndResolution::splitEndpointName(std::string_view name, std::string& interfaceName, std::string& mac,
                                      unsigned long& origin)
{
    std::string_view interfacePart;
    std::string_view macPart;
    if (!splitEndpointName(name, interfacePart, macPart, origin))
        return false;
    interfaceName.assign(interfacePart);
    mac.assign(macPart);
    return true;
}

bool EndResolution::accessPointInterface(std::string_view name, std::string_view& interfaceName)
{
    const std::string_view::size_type last = name.rfind('_');
    if (last == std::string_view::npos || last == 0)
        return false;
    const std::string_view version = name.substr(last + 1);
    if (version != "IPv4" && version != "IPv6")
        return false;
    interfaceName = name.substr(0, last);
    return true;
}

std::string EndResolution::settingPrefix(std::string_view systemClass)
{
    return systemClass == serviceProcessorClass ? "BMC" : "Computer";
}

std::string EndResolution::endpointSettingKey(std::string_view systemClass, std::string_view name, bool given)
{
    std::string_view interfaceName;
    std::string_view mac;
    unsigned long origin = 0;
    if (!splitEndpointName(name, interfaceName, mac, origin)) {
        if (given)
            throw FrameworkException("Name Property value is not correct");
        return std::string();
    }
    std::string key = settingPrefix(systemClass);
    key.reserve(key.size() + 1 + interfaceName.size());
    key += ':';
    key += interfaceName;
    return key;
}

std::string EndResolution::settingKey(std::string_view instanceId, const std::string_view* kind, bool given,
                                      const char* refusal)
{
    std::string key = InstanceId::interfaceKey(instanceId, kind);
    if (key.empty() && given)
        throw FrameworkException(refusal);
    return key;
}

std::string EndResolution::join(std::initializer_list<std::string_view> parts)
{
    // One allocation: keys are built for every listed element.
    std::size_t length = parts.size();
    for (std::string_view part : parts) {
        if (part.empty())
            return std::string();
        length += part.size();
    }
    std::string key;
    key.reserve(length);
    for (std::string_view part : parts) {
        if (!key.empty())
            key += '\n';
        key += part;
    }
    return key;
}

unsigned long EndResolution::decimal(std::string_view text)
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
