#ifndef KORVU_IPIF_IPELEMENTCAPABILITIES_H
#define KORVU_IPIF_IPELEMENTCAPABILITIES_H

#include <string>
#include <string_view>

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_IPElementCapabilities: an IP protocol endpoint and the IP
// capabilities of its interface (InstanceID = interface name). An endpoint
// whose interface has no capabilities (an alias) has no pair.
class IPElementCapabilities {
public:
    IPElementCapabilities();
    ~IPElementCapabilities();

    // Interface name of an endpoint; a given Name not of the form
    // "<interface>_<MAC>_<origin>" throws FrameworkException.
    std::string endpointKey(std::string_view name, bool given);
    // Interface name of capabilities: their InstanceID.
    std::string capabilitiesKey(std::string_view instanceId, bool given);
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
