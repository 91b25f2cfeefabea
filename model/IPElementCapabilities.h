#ifndef KORVU_IPIF_IPELEMENTCAPABILITIES_H
#define KORVU_IPIF_IPELEMENTCAPABILITIES_H

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_IPElementCapabilities: an IP protocol endpoint and the IP
// capabilities of its interface.
class IPElementCapabilities {
public:
    IPElementCapabilities();
    ~IPElementCapabilities();

    // Capabilities (InstanceID = interface name) to the first endpoint of
    // that interface. Throws FrameworkException for a missing InstanceID, a
    // malformed endpoint Name or no match.
    Moniker getIPMoniker(Moniker& capabilities);
    // Endpoint (Name) to the capabilities of its interface. Throws
    // FrameworkException for a missing or malformed Name and
    // InstrumentationException when no capabilities match.
    Moniker getCapabilitiesMoniker(Moniker& endpoint);

private:
    Instrumentation cursor;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
