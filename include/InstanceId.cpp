#include "InstanceId.h"

namespace Korvu {
namespace IPInterfaceProvider {

bool InstanceId::parseWithKind(const std::string& id, InstanceId& out)
{
    const std::string::size_type first = id.find(':');
    const std::string::size_type last = id.rfind(':');
    // Three non-empty parts need two distinct colons with text between.
    if (first == std::string::npos || first == 0 || last <= first + 1 || last + 1 >= id.size())
        return false;
    out.system = id.substr(0, first);
    out.interfaceName = id.substr(first + 1, last - first - 1);
    out.kind = id.substr(last + 1);
    return true;
}

bool InstanceId::parse(const std::string& id, InstanceId& out)
{
    const std::string::size_type first = id.find(':');
    if (first == std::string::npos || first == 0 || first + 1 >= id.size())
        return false;
    out.system = id.substr(0, first);
    out.interfaceName = id.substr(first + 1);
    out.kind.clear();
    return true;
}

bool InstanceId::split(std::string_view id, std::string_view& system, std::string_view& interfaceName,
                       std::string_view& kind)
{
    const std::string_view::size_type first = id.find(':');
    if (first == std::string_view::npos || first == 0 || first + 1 >= id.size())
        return false;
    std::string_view interfacePart = id.substr(first + 1);
    std::string_view kindPart;
    const std::string_view::size_type last = interfacePart.rfind(':');
    if (last != std::string_view::npos) {
        const std::string_view tail = interfacePart.substr(last + 1);
        if (tail == "static" || tail == "dhcp") {
            if (last == 0)
                return false;
            kindPart = tail;
            interfacePart = interfacePart.substr(0, last);
        }
    }
    system = id.substr(0, first);
    interfaceName = interfacePart;
    kind = kindPart;
    return true;
}

bool InstanceId::split(const std::string& id, InstanceId& out)
{
    std::string_view system;
    std::string_view interfaceName;
    std::string_view kind;
    if (!split(id, system, interfaceName, kind))
        return false;
    out.system.assign(system);
    out.interfaceName.assign(interfaceName);
    out.kind.assign(kind);
    return true;
}

std::string InstanceId::interfaceKey(std::string_view id, const std::string_view* kindWanted)
{
    std::string_view system;
    std::string_view interfaceName;
    std::string_view kind;
    if (!split(id, system, interfaceName, kind) || (kindWanted && kind != *kindWanted))
        return std::string();
    std::string key;
    key.reserve(system.size() + 1 + interfaceName.size());
    key += system;
    key += ':';
    key += interfaceName;
    return key;
}

bool InstanceId::sameInterface(const InstanceId& other) const
{
    return system == other.system && interfaceName == other.interfaceName;
}

std::string InstanceId::text() const
{
    std::string id = system + ":" + interfaceName;
    if (!kind.empty())
        id += ":" + kind;
    return id;
}

bool EndpointName::split(const std::string& name, EndpointName& out)
{
    const std::string::size_type origin = name.rfind('_');
    if (origin == std::string::npos || origin == 0)
        return false;
    const std::string::size_type mac = name.rfind('_', origin - 1);
    if (mac == std::string::npos)
        return false;
    out.interfaceName = name.substr(0, mac);
    out.mac = name.substr(mac + 1, origin - mac - 1);
    out.origin = name.substr(origin + 1);
    return true;
}

std::string interfaceOfEndpointName(const std::string& endpointName)
{
    EndpointName parts;
    return EndpointName::split(endpointName, parts) ? parts.interfaceName : endpointName;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
