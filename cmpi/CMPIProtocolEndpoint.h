#ifndef KORVU_IPIF_CMPIPROTOCOLENDPOINT_H
#define KORVU_IPIF_CMPIPROTOCOLENDPOINT_H

#include <string>

#include <cmpidt.h>
#include <cmpift.h>

#include "MadeKeys.h"
#include "IPprotocolEndpoint.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Serves Tavrix_IPProtocolEndpoint: an iterator over the endpoints that the
// path's SystemName and Name keys select. Paths and instances returned
// belong to the broker. No operation throws on its own; exceptions of the
// node store and std::bad_alloc pass through.
class CMPIProtocolEndpoint {
public:
    // Walks every endpoint until setObjectPath narrows it.
    CMPIProtocolEndpoint(const CMPIBroker* broker, const CMPIContext* context,
                         const std::string nameSpace);
    CMPIProtocolEndpoint(const CMPIBroker* broker, const CMPIContext* context,
                         const CMPIObjectPath* path);
    ~CMPIProtocolEndpoint();

    // Adds the path's SystemName and Name keys as filters.
    void setObjectPath(const CMPIObjectPath* path);
    // Keeps the endpoints of that interface (the first part of their Name).
    void setInterfaceName(const std::string& interfaceName);

    operator bool();
    void operator++();

    // Null when the broker cannot make the path or instance.
    CMPIObjectPath* getObjectPath();
    // The keys of the path getObjectPath made last.
    const MadeKeys& madeKeys() const { return made; }
    CMPIInstance* getCMPIInstance(const char** properties);

    // Writes AddressOrigin, IPv4Address and SubnetMask of the instance into
    // the node store: CMPI_RC_ERR_NOT_FOUND when the instance's keys select
    // no endpoint, CMPI_RC_ERR_INVALID_PARAMETER (nothing written) for an
    // address that is not IPv4, a mask that is not contiguous, or an origin
    // other than 3 and 4 that differs from the endpoint's own (its own origin
    // is left as it is), CMPI_RC_ERR_FAILED when the store refuses a write.
    CMPIStatus modifyInstance(const CMPIInstance* instance);

    // RequestStateChange: 0 when the state was changed (output argument
    // "Job" then references Tavrix_ConcreteJob "IPConfigSvcJob:1"), 4 on
    // failure with the status set.
    int executeMethod(const CMPIArgs* in, CMPIArgs* out, CMPIStatus* status);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    IPprotocolEndpoint endpoint;
    MadeKeys made;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
