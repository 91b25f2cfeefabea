#ifndef KORVU_IPIF_CMPIIPELEMENTSETTINGDATA_H
#define KORVU_IPIF_CMPIIPELEMENTSETTINGDATA_H

#include <cmpidt.h>

#include <string>

#include "CMPIAssignmentSettingData.h"
#include "CMPIProtocolEndpoint.h"
#include "IPElementSettingData.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_IPElementSettingData: an IP protocol endpoint (ManagedElement) and
// the static and DHCP assignment settings of its interface (SettingData).
// Every operation lets FrameworkException, InstrumentationException and
// ProviderException of the resolvers and end objects pass.
class CMPIIPElementSettingData {
public:
    CMPIIPElementSettingData(const CMPIBroker* broker, const CMPIContext* context,
                             const CMPIObjectPath* path);
    ~CMPIIPElementSettingData();

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);
    CMPIInstance* getAssociator(const char** properties);
    CMPIObjectPath* getAssociatorNames();
    bool isNotTargetClass(const char* resultClass);

    // The first endpoint of a setting's interface; rates the setting for it.
    // Null when no path can be created.
    CMPIObjectPath* locateIPEndptPath(const CMPIObjectPath* path);
    // The settings of an endpoint's interface.
    CMPIObjectPath* locateAssignSettingDataPath(const CMPIObjectPath* path);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    unsigned short sourceClassId;
    IPElementSettingData model;
    CMPIProtocolEndpoint endpoint;
    CMPIAssignmentSettingData settings;
    // False when a located path could not be created: nothing is yielded.
    bool located;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
