#ifndef KORVU_IPIF_CMPIREMOTESERVICEACCESSPOINT_H
#define KORVU_IPIF_CMPIREMOTESERVICEACCESSPOINT_H

#include <string>

#include <cmpidt.h>
#include <cmpift.h>

#include "MadeKeys.h"
#include "RemoteServiceAccessPoint.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Serves Tavrix_IPRemoteServiceAccessPoint: an iterator over the default
// gateways that the path's SystemName and Name keys select. Paths and
// instances returned belong to the broker. No operation throws on its own;
// exceptions of the node store and std::bad_alloc pass through.
class CMPIRemoteServiceAccessPoint {
public:
    // Walks every access point until setObjectPath narrows it.
    CMPIRemoteServiceAccessPoint(const CMPIBroker* broker, const CMPIContext* context,
                                 const std::string ns);
    CMPIRemoteServiceAccessPoint(const CMPIBroker* broker, const CMPIContext* context,
                                 const CMPIObjectPath* path);
    ~CMPIRemoteServiceAccessPoint();

    // Adds the path's SystemName and Name keys as filters.
    void setObjectPath(const CMPIObjectPath* path);

    operator bool();
    void operator++();

    // Null when the broker cannot make the path or instance.
    CMPIObjectPath* getObjectPath();
    // The keys of the path getObjectPath made last.
    const MadeKeys& madeKeys() const { return made; }
    CMPIInstance* getCMPIInstance(const char** properties);

    // Writes the instance's AccessInfo as the gateway of the selected
    // interface: CMPI_RC_ERR_NOT_FOUND when the instance's keys select no
    // access point, CMPI_RC_ERR_INVALID_PARAMETER (nothing written) for a
    // value that is no address of the family to be written,
    // CMPI_RC_ERR_FAILED when the node's protocol type names no family or
    // the store refuses the value. An instance without AccessInfo changes
    // nothing.
    CMPIStatus modifyInstance(const CMPIInstance* instance);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    RemoteServiceAccessPoint accessPoint;
    MadeKeys made;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
