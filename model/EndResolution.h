#ifndef KORVU_IPIF_ENDRESOLUTION_H
#define KORVU_IPIF_ENDRESOLUTION_H

#include <initializer_list>
#include <string>
#include <string_view>

namespace Korvu {
namespace IPInterfaceProvider {

// Pieces shared by the association models: the parts of the keys that tell
// which elements belong together, and the join keys built from them. A join
// key is empty when a part it needs is missing; an empty key pairs with
// nothing. They write no trace lines.
class EndResolution {
public:
    // Parts of an endpoint Name "<interface>_<MAC>_<origin>", as
    // EndpointName cuts it, with the origin as a number. False when it has
    // fewer than three non-empty parts.
    static bool splitEndpointName(std::string_view name, std::string& interfaceName,
                                  std::string& mac, unsigned long& origin);
    // The same, the parts pointing into `name`.
    static bool splitEndpointName(std::string_view name, std::string_view& interfaceName,
                                  std::string_view& mac, unsigned long& origin);
    // Interface name of an access-point Name "<interface>_IPv4" or
    // "<interface>_IPv6"; false otherwise.
    static bool accessPointInterface(std::string_view name, std::string_view& interfaceName);

    // The InstanceID prefix of a system class: "BMC" for the service
    // processor, "Computer" for the host.
    static std::string settingPrefix(std::string_view systemClass);

    // "<system>:<interface>" of an endpoint: the part of its settings'
    // InstanceIDs that names it. For a Name not of the form
    // "<interface>_<MAC>_<origin>" it throws FrameworkException when the
    // path was given by a client and is empty otherwise.
    static std::string endpointSettingKey(std::string_view systemClass, std::string_view name, bool given);

    // "<system>:<interface>" of a setting's InstanceID with the kind asked
    // for (any kind when null, "" for none); empty for another id, or
    // FrameworkException with `refusal` when the id was given by a client.
    static std::string settingKey(std::string_view instanceId, const std::string_view* kind, bool given,
                                  const char* refusal);

    // The parts joined by '\n'; empty when any part is empty.
    static std::string join(std::initializer_list<std::string_view> parts);

    // A whole decimal number; 0 for anything else, so a malformed origin
    // never counts as static or DHCP.
    static unsigned long decimal(std::string_view text);

    static const char* const hostClass;             // "Tavrix_ComputerSystem"
    static const char* const serviceProcessorClass; // "Tavrix_SPComputerSystem"
    static const char* const endpointClass;         // "Tavrix_IPProtocolEndpoint"
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
