#ifndef KORVU_IPIF_CMPISTATICELEMENTSETTINGDATA_H
#define KORVU_IPIF_CMPISTATICELEMENTSETTINGDATA_H

#include <cmpidt.h>

#include <string>

#include "CMPIProtocolEndpoint.h"
#include "CMPIStaticIPAssignmentSettingData.h"
#include "StaticIPElementSettingData.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_StaticIPElementSettingData: an IP protocol endpoint
// (ManagedElement) and the static IP assignment setting of its interface
// (SettingData). Every operation lets FrameworkException,
// InstrumentationException and ProviderException of the resolvers and end
// objects pass.
class CMPIStaticElementSettingData {
public:
    CMPIStaticElementSettingData(const CMPIBroker* broker, const CMPIContext* context,
                                 const CMPIObjectPath* path);
    ~CMPIStaticElementSettingData();

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);
    CMPIInstance* getAssociator(const char** properties);
    CMPIObjectPath* getAssociatorNames();
    bool isNotTargetClass(const char* resultClass);

    // The first endpoint of a static setting's interface; null when no path
    // can be created.
    CMPIObjectPath* locateIPEndptPath(const CMPIObjectPath* path);
    // The static setting of an endpoint's interface.
    CMPIObjectPath* locateStaticSettingDataPath(const CMPIObjectPath* path);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    unsigned short sourceClassId;
    StaticIPElementSettingData model;
    CMPIProtocolEndpoint endpoint;
    CMPIStaticIPAssignmentSettingData statics;
    // False when a located path could not be created: nothing is yielded.
    bool located;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
