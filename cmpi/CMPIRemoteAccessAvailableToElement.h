#ifndef KORVU_IPIF_CMPIREMOTEACCESSAVAILABLETOELEMENT_H
#define KORVU_IPIF_CMPIREMOTEACCESSAVAILABLETOELEMENT_H

#include <cmpidt.h>

#include <string>

#include "CMPIProtocolEndpoint.h"
#include "CMPIRemoteServiceAccessPoint.h"
#include "RemoteAccessAvailableToElement.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_IPRemoteAccessAvailableToElement: the default gateways of an
// interface (Antecedent) and the IP protocol endpoint that uses them
// (Dependent). Every operation lets FrameworkException,
// InstrumentationException and ProviderException of the resolvers and end
// objects pass.
class CMPIRemoteAccessAvailableToElement {
public:
    CMPIRemoteAccessAvailableToElement(const CMPIBroker* broker, const CMPIContext* context,
                                       const CMPIObjectPath* path);
    ~CMPIRemoteAccessAvailableToElement();

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);
    CMPIInstance* getAssociator(const char** properties);
    CMPIObjectPath* getAssociatorNames();
    bool isNotTargetClass(const char* resultClass);

    // Every access point of an endpoint's interface; null when no path can
    // be created.
    CMPIObjectPath* locateRemoteSAP(const CMPIObjectPath* path);
    // The first endpoint of an access point's interface.
    CMPIObjectPath* locateIPEndptPath(const CMPIObjectPath* path);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    unsigned short sourceClassId;
    CMPIRemoteServiceAccessPoint access;
    CMPIProtocolEndpoint endpoint;
    RemoteAccessAvailableToElement model;
    // False when a located path could not be created: nothing is yielded.
    bool located;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
