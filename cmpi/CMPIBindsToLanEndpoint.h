#ifndef KORVU_IPIF_CMPIBINDSTOLANENDPOINT_H
#define KORVU_IPIF_CMPIBINDSTOLANENDPOINT_H

#include <cmpidt.h>

#include <string>

#include "BindsToLANEndpoint.h"
#include "CMPIIPLanEndPoint.h"
#include "CMPIProtocolEndpoint.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_BindsToLanEndPoint: a LAN endpoint (Antecedent) and the IP
// protocol endpoint bound to it (Dependent). LAN endpoints come from
// another provider through the broker. Every operation lets
// FrameworkException, InstrumentationException and ProviderException of
// the resolvers and end objects pass.
class CMPIBindsToLanEndpoint {
public:
    CMPIBindsToLanEndpoint(const CMPIBroker* broker, const CMPIContext* context,
                           const CMPIObjectPath* path);
    ~CMPIBindsToLanEndpoint();

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);
    CMPIInstance* getAssociator(const char** properties);
    CMPIObjectPath* getAssociatorNames();
    bool isNotTargetClass(const char* resultClass);

    // The LAN endpoint of an IP endpoint; null when no path can be created.
    CMPIObjectPath* getLanEndptPath(const CMPIObjectPath* path);
    // The first IP endpoint of a LAN endpoint's interface.
    CMPIObjectPath* getIPEndptPath(const CMPIObjectPath* path);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    unsigned short sourceClassId;
    BindsToLANEndpoint model;
    CMPIIPLanEndPoint lan;
    CMPIProtocolEndpoint endpoint;
    // False when a located path could not be created: nothing is yielded.
    bool located;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
