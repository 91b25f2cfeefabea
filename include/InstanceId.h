#ifndef KORVU_IPIF_INSTANCEID_H
#define KORVU_IPIF_INSTANCEID_H

#include <string>
#include <string_view>

namespace Korvu {
namespace IPInterfaceProvider {

// The parts of the InstanceIDs that name one interface of one system:
// "Computer:eth0" (static setting, DHCP and DNS settings) and
// "Computer:eth0:static" (IP assignment setting, configuration). Interface
// names may hold ':' themselves (aliases such as eth0:1), so the system ends
// at the first ':' and the kind starts after the last one.
struct InstanceId {
    std::string system;         // "Computer" or "BMC"
    std::string interfaceName;  // "eth0", "eth0:1"
    std::string kind;           // "static", "dhcp"; empty for system:interface ids

    // "System:interface:kind": split at the first and the last ':'. False,
    // leaving `out` unchanged, unless all three parts are non-empty.
    static bool parseWithKind(const std::string& id, InstanceId& out);
    // "System:interface": split at the first ':' only. False, leaving `out`
    // unchanged, unless both parts are non-empty.
    static bool parse(const std::string& id, InstanceId& out);
    // Either form: the last part is a kind only when it reads "static" or
    // "dhcp", otherwise it belongs to the interface name ("Computer:eth0:1").
    // False, leaving `out` unchanged, without a system and an interface.
    static bool split(const std::string& id, InstanceId& out);

    // split, the parts pointing into `id`.
    static bool split(std::string_view id, std::string_view& system, std::string_view& interfaceName,
                      std::string_view& kind);
    // "System:interface" of a split InstanceID; empty when it does not split.
    // With `kindWanted`, only an id with that kind ("" for none) counts.
    static std::string interfaceKey(std::string_view id, const std::string_view* kindWanted = nullptr);

    // True when `id` ends with ':', `interfaceName` and `kind` (":static",
    // ":dhcp" or none): a test a walk for one InstanceID makes at each node
    // before it builds the node's own.
    // Inline: it runs at every node of such a walk.
    static bool endsWithInterface(std::string_view id, std::string_view interfaceName,
                                  std::string_view kind = {})
    {
        const std::size_t size = 1 + interfaceName.size() + kind.size();
        if (id.size() < size)
            return false;
        id.remove_prefix(id.size() - size);
        return id[0] == ':' && id.substr(1, interfaceName.size()) == interfaceName &&
               id.substr(1 + interfaceName.size()) == kind;
    }

    // Same system and interface (the kind plays no part).
    bool sameInterface(const InstanceId& other) const;

    // "System:interface", plus ":kind" when the kind is set.
    std::string text() const;
};

// The parts of an IP protocol endpoint's Name key "<interface>_<MAC>_<origin>",
// cut at its last two '_' so that interface names holding '_' survive.
struct EndpointName {
    std::string interfaceName;
    std::string mac;
    std::string origin;

    // False, leaving `out` unchanged, when the Name has no '_' after its
    // first character and another before that one; parts may be empty.
    static bool split(const std::string& name, EndpointName& out);
    // The same cut, the parts pointing into `name`.
    static bool split(std::string_view name, std::string_view& interfaceName, std::string_view& mac,
                      std::string_view& origin);
};

// Interface name of an IP protocol endpoint's Name key: its first part. A
// Name that does not split is taken whole.
std::string interfaceOfEndpointName(const std::string& endpointName);

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
