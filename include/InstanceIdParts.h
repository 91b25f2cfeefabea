#ifndef KORVU_IPIF_INSTANCEIDPARTS_H
#define KORVU_IPIF_INSTANCEIDPARTS_H

#include <string>

namespace Korvu {
namespace IPInterfaceProvider {

// The parts of a setting InstanceID "<system>:<interface>[:static|:dhcp]",
// e.g. "Computer:eth0:1:static" or "BMC:eth0". An interface name may hold
// ':' itself (aliases such as eth0:1), so the text is cut at its first and
// its last ':' only; the last part is a kind only when it reads "static" or
// "dhcp", otherwise it belongs to the interface name.
struct InstanceIdParts {
    std::string system;         // "Computer" or "BMC"
    std::string interfaceName;  // "eth0:1"
    std::string kind;           // "static", "dhcp" or empty

    // False, leaving the parts empty, when the text has no system or no
    // interface part.
    static bool split(const std::string& instanceId, InstanceIdParts& parts)
    {
        parts = InstanceIdParts();
        const std::string::size_type first = instanceId.find(':');
        if (first == std::string::npos || first == 0 || first + 1 >= instanceId.size())
            return false;
        const std::string::size_type last = instanceId.rfind(':');
        std::string rest = instanceId.substr(first + 1);
        std::string kind;
        if (last > first) {
            const std::string tail = instanceId.substr(last + 1);
            if (tail == "static" || tail == "dhcp") {
                kind = tail;
                rest = instanceId.substr(first + 1, last - first - 1);
            }
        }
        if (rest.empty())
            return false;
        parts.system = instanceId.substr(0, first);
        parts.interfaceName = rest;
        parts.kind = kind;
        return true;
    }
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
