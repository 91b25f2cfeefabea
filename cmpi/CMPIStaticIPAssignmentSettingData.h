#ifndef KORVU_IPIF_CMPISTATICIPASSIGNMENTSETTINGDATA_H
#define KORVU_IPIF_CMPISTATICIPASSIGNMENTSETTINGDATA_H

#include <string>

#include <cmpidt.h>
#include <cmpift.h>

#include "StaticIPAssignmentSettingData.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Serves Tavrix_StaticIPAssignmentSettingData. Paths and instances returned
// belong to the broker. No operation throws on its own; exceptions of the
// node store and std::bad_alloc pass through.
class CMPIStaticIPAssignmentSettingData {
public:
    CMPIStaticIPAssignmentSettingData(const CMPIBroker* broker, const CMPIContext* context,
                                      const std::string nameSpace);
    CMPIStaticIPAssignmentSettingData(const CMPIBroker* broker, const CMPIContext* context,
                                      const CMPIObjectPath* path);
    ~CMPIStaticIPAssignmentSettingData();

    // Adds the path's InstanceID as an exact filter.
    void setObjectPath(const CMPIObjectPath* path);

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);

    // Writes the instance's static values into the interface's ifcfg file
    // in one rewrite: CMPI_RC_ERR_NOT_FOUND when the instance's InstanceID
    // selects no setting, CMPI_RC_ERR_INVALID_PARAMETER (nothing written)
    // for a value that is not an address of its family or a prefix length
    // above 128, CMPI_RC_ERR_FAILED when the file cannot be written.
    CMPIStatus modifyInstance(const CMPIInstance* instance);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    StaticIPAssignmentSettingData settingData;
    // Each element's InstanceID is read into the same room.
    std::string instanceId;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
