#ifndef KORVU_IPIF_CMPIASSIGNMENTSETTINGDATA_H
#define KORVU_IPIF_CMPIASSIGNMENTSETTINGDATA_H

#include <string>

#include <cmpidt.h>
#include <cmpift.h>

#include "IPAssignmentSettingData.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Serves Tavrix_IPAssignmentSettingData: the static and DHCP setting of each
// endpoint node. Paths and instances returned belong to the broker. No
// operation throws on its own; exceptions of the node store and
// std::bad_alloc pass through.
class CMPIAssignmentSettingData {
public:
    CMPIAssignmentSettingData(const CMPIBroker* broker, const CMPIContext* context,
                              const std::string nameSpace);
    // Exact InstanceID matching.
    CMPIAssignmentSettingData(const CMPIBroker* broker, const CMPIContext* context,
                              const CMPIObjectPath* path);
    ~CMPIAssignmentSettingData();

    // With prefixMatch, the path's InstanceID selects both settings of the
    // interface it names.
    void setObjectPath(const CMPIObjectPath* path, bool prefixMatch);

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    IPAssignmentSettingData settingData;
    // Each element's InstanceID is read into the same room.
    std::string instanceId;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
