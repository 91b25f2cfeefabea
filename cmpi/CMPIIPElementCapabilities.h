#ifndef KORVU_IPIF_CMPIIPELEMENTCAPABILITIES_H
#define KORVU_IPIF_CMPIIPELEMENTCAPABILITIES_H

#include <cmpidt.h>

#include <string>

#include "CMPIIPEnabledLogicalElementCapabilities.h"
#include "CMPIProtocolEndpoint.h"
#include "IPElementCapabilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_IPElementCapabilities: an IP protocol endpoint (ManagedElement)
// and the capabilities of its interface (Capabilities). Every operation
// lets FrameworkException, InstrumentationException and ProviderException
// of the resolvers and end objects pass.
class CMPIIPElementCapabilities {
public:
    CMPIIPElementCapabilities(const CMPIBroker* broker, const CMPIContext* context,
                              const CMPIObjectPath* path);
    ~CMPIIPElementCapabilities();

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);
    CMPIInstance* getAssociator(const char** properties);
    CMPIObjectPath* getAssociatorNames();
    bool isNotTargetClass(const char* resultClass);

    // The first endpoint of the capabilities' interface; null when no path
    // can be created.
    CMPIObjectPath* locateProtocolEndpt(const CMPIObjectPath* path);
    // The capabilities of an endpoint's interface.
    CMPIObjectPath* locateCapabilities(const CMPIObjectPath* path);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    unsigned short sourceClassId;
    CMPIProtocolEndpoint endpoint;
    CMPIIPEnabledLogicalElementCapabilities caps;
    IPElementCapabilities model;
    // False when a located path could not be created: nothing is yielded.
    bool located;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
