#ifndef KORVU_IPIF_CMPISERVICEAFFECTSELEMENT_H
#define KORVU_IPIF_CMPISERVICEAFFECTSELEMENT_H

#include <cmpidt.h>

#include <string>

#include "CMPIIPConfigurationService.h"
#include "CMPIProtocolEndpoint.h"
#include "ServiceAffectsElement.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_IPServiceAffectsElement: the IP configuration service of a system
// (AffectingElement) and the IP protocol endpoints it configures
// (AffectedElement). The endpoint end is walked whichever end was given.
// Every operation lets FrameworkException, InstrumentationException and
// ProviderException of the resolvers and end objects pass.
class CMPIServiceAffectsElement {
public:
    CMPIServiceAffectsElement(const CMPIBroker* broker, const CMPIContext* context,
                              const CMPIObjectPath* path);
    ~CMPIServiceAffectsElement();

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);
    CMPIInstance* getAssociator(const char** properties);
    CMPIObjectPath* getAssociatorNames();
    bool isNotTargetClass(const char* resultClass);

    // The service of an endpoint's system; null when no path can be created.
    CMPIObjectPath* locateIPConfgSvce(const CMPIObjectPath* path);
    // Every endpoint of a service's system.
    CMPIObjectPath* locateIPEndptPath(const CMPIObjectPath* path);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    unsigned short sourceClassId;
    CMPIIPConfigurationService service;
    CMPIProtocolEndpoint endpoint;
    ServiceAffectsElement model;
    // False when a located path could not be created: nothing is yielded.
    bool located;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
