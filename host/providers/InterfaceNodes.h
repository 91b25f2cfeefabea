#ifndef KORVU_IPIF_COMPANION_INTERFACENODES_H
#define KORVU_IPIF_COMPANION_INTERFACENODES_H

#include <string>
#include <vector>

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

// What the companion classes need to know of one network interface: the
// IP interface nodes of the store, one entry per system and interface name
// (an interface may have several nodes, one per address origin), with the
// names of the system that owns it as the main module computes them.
class InterfaceNodes {
public:
    struct Interface {
        std::string name;               // NAME
        bool serviceProcessor = false;  // system node described "BMC"
        std::string systemClass;        // Tavrix_ComputerSystem / Tavrix_SPComputerSystem
        std::string systemName;         // host name / "BMC:-1"
        std::string idPrefix;           // "Computer:" / "BMC:"
        std::string hostName;           // HOST_NAME, else the system node's
        std::string domainName;         // DOMAIN_NAME, else the system node's
        bool hasDnsServers = false;     // DNS_SERVERS present, even empty
        std::vector<std::string> dnsServers;
        std::vector<std::string> dnsSuffixes;
    };

    // Interfaces in store order; nodes without NAME are left out, and with
    // `onlyName` every node of another NAME. Throws what the node store
    // throws (std::exception).
    static std::vector<Interface> collect(const std::string* onlyName = nullptr);

    // The interface name in an InstanceID "<idPrefix><name>"; false when
    // the text starts with neither prefix.
    static bool nameOfInstanceID(const std::string& instanceID, std::string& name);

    // The host name of this machine; empty when gethostname fails.
    static std::string hostName();

    static const char* const hostClass;
    static const char* const serviceProcessorClass;
    static const char* const serviceProcessorName;  // "BMC:-1"
};

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
