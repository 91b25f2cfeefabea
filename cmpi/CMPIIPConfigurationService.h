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
    // Tavrix_StaticIPAssignmentSettingData) of the system and interface that
    // `configurationId` names (configurationNames); null when none is.
    CMPIInstance* getStaticConfiguration(CMPIObjectPath* op, const std::string& configurationId);

    // The first instance of `className`, enumerated through the CIM server,
    // of the system and interface that `configurationId` names
    // (configurationNames). Null when none matches or the enumeration fails.
    CMPIInstance* getConfiguartionSetting(const char* className, const std::string& configurationId);

    // ApplySettingToIPProtocolEndpoint: in-arguments "Configuration" and
    // "Endpoint" (references), out-argument "Job". 0 when the configuration
    // thread was started, 2 when the endpoint names no endpoint, 4 for a
    // wrong argument, a configuration of another system or interface, one
    // that names no static or DHCP setting, or a thread that could not be
    // started; the status tells why. Nothing is written when it is not 0.
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

// Whether the setting "System:interface" belongs to the interface of the
// configuration "System:interface:kind" (system up to the first ':', kind
// after the last): Computer:eth0:1 belongs to Computer:eth0:1:static,
// Computer:eth0 and BMC:eth0:1 do not.
bool configurationNames(const std::string& configurationId, const std::string& settingId);

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
