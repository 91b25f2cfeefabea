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

namespace {

// "System:interface": split at the first ':' only, both parts non-empty.
bool parseParts(std::string_view id, std::string_view& system, std::string_view& interfaceName)
{
    const std::string_view::size_type first = id.find(':');
    if (first == std::string_view::npos || first == 0 || first + 1 >= id.size())
        return false;
    system = id.substr(0, first);
    interfaceName = id.substr(first + 1);
    return true;
}

} // namespace

bool InstanceId::parse(const std::string& id, InstanceId& out)
{
    std::string_view system;
    std::string_view interfaceName;
    if (!parseParts(id, system, interfaceName))
        return false;
    out.system.assign(system);
    out.interfaceName.assign(interfaceName);
    out.kind.clear();
    return true;
}

bool InstanceId::split(std::string_view id, std::string_view& system, std::string_view& interfaceName,
                       std::string_view& kind)
{
    std::string_view systemPart;
    std::string_view interfacePart;
    if (!parseParts(id, systemPart, interfacePart))
        return false;
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
    system = systemPart;
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

bool EndpointName::split(std::string_view name, std::string_view& interfaceName, std::string_view& mac,
                         std::string_view& origin)
{
    const std::string_view::size_type originAt = name.rfind('_');
    if (originAt == std::string_view::npos || originAt == 0)
        return false;
    const std::string_view::size_type macAt = name.rfind('_', originAt - 1);
    if (macAt == std::string_view::npos)
        return false;
    interfaceName = name.substr(0, macAt);
    mac = name.substr(macAt + 1, originAt - macAt - 1);
    origin = name.substr(originAt + 1);
    return true;
}

bool EndpointName::split(const std::string& name, EndpointName& out)
{
    std::string_view interfaceName;
    std::string_view mac;
    std::string_view origin;
    if (!split(name, interfaceName, mac, origin))
        return false;
    out.interfaceName.assign(interfaceName);
    out.mac.assign(mac);
    out.origin.assign(origin);
    return true;
}

std::string interfaceOfEndpointName(const std::string& endpointName)
{
    EndpointName parts;
    return EndpointName::split(endpointName, parts) ? parts.interfaceName : endpointName;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
