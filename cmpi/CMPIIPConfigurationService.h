#ifndef KORVU_IPIF_CMPIIPCONFIGURATIONSERVICE_H
#define KORVU_IPIF_CMPIIPCONFIGURATIONSERVICE_H

#include <string>

#include <cmpidt.h>
#include <cmpift.h>

#include "IPConfigurationService.h"
#include "IP_CONFIG_DATA.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Serves Tavrix_IPConfigurationService and its method
// ApplySettingToIPProtocolEndpoint. Paths and instances returned belong to
// the broker. No operation throws on its own; exceptions of the node store
// and std::bad_alloc pass through.
class CMPIIPConfigurationService {
public:
    // Walks everything; for callers that know the namespace.
    CMPIIPConfigurationService(const CMPIBroker* broker, const CMPIContext* context,
                               const std::string ns);
    // Namespace from the path, then setObjectPath.
    CMPIIPConfigurationService(const CMPIBroker* broker, const CMPIContext* context,
                               const CMPIObjectPath* op);
    ~CMPIIPConfigurationService();

    // Filters on the path's SystemName key, the only key examined.
    void setObjectPath(const CMPIObjectPath* op);

    operator bool();
    void operator++();

    // Null when no path or instance can be made.
    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);

    // The static IP assignment setting (walked from `op`, a keyless path of
    // Tavrix_StaticIPAssignmentSettingData) whose InstanceID is a run of
    // whole ':'-separated parts of `configurationId`; null when none is.
    CMPIInstance* getStaticConfiguration(CMPIObjectPath* op, const std::string& configurationId);

    // The first instance of `className`, enumerated through the CIM server,
    // whose InstanceID is a run of whole ':'-separated parts of
    // `configurationId`; for Tavrix_DNSGeneralSettingData the first instance
    // with an InstanceID. Null when none matches or the enumeration fails.
    CMPIInstance* getConfiguartionSetting(const char* className, const std::string& configurationId);

    // ApplySettingToIPProtocolEndpoint: in-arguments "Configuration" and
    // "Endpoint" (references), out-argument "Job". 0 when the configuration
    // thread was started, 2 when no instance can be made for the endpoint,
    // 4 for a wrong argument or a thread that could not be started; the
    // status tells why.
    int executeMethod(const CMPIArgs* in, CMPIArgs* out, CMPIStatus* status);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    IPConfigurationService service;
};

// Copies the static values of a Tavrix_StaticIPAssignmentSettingData
// instance into the record and sets its kind to static. Always CMPI_RC_OK.
CMPIStatus getStaticConfigurationDetails(const CMPIBroker* broker, const CMPIContext* context,
                                         CMPIInstance* setting, IP_CONFIG_DATA* record);

// Copies a DNS or DNS general setting into the record, only when the
// endpoint has a Tavrix_DNSProtocolEndpoint through
// Tavrix_DNSSAPSAPDependency. The status of the last CMPI call made.
CMPIStatus getDNSConfigurationDetails(const CMPIBroker* broker, const CMPIContext* context,
                                      CMPIInstance* setting, CMPIObjectPath* endpoint,
                                      IP_CONFIG_DATA* record);

// Whether `settingId` equals a run of whole ':'-separated parts of
// `configurationId`: Computer:eth1 is in Computer:eth1:static but not in
// Computer:eth10:static. An empty id is in nothing.
bool configurationNames(const std::string& configurationId, const std::string& settingId);

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
