#include "CMPIIPConfigurationService.h"

#include <cmpimacs.h>

#include <cstring>
#include <memory>
#include <vector>

#include "CMPIStaticIPAssignmentSettingData.h"
#include "ConfigurationThread.h"
#include "IPprotocolEndpoint.h"
#include "InstanceId.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIIPConfigurationService.cpp");

namespace {

const char* const serviceClass = "Tavrix_IPConfigurationService";

void setStatus(const CMPIBroker* broker, CMPIStatus* status, CMPIrc rc, const char* text)
{
    if (!status)
        return;
    status->rc = rc;
    status->msg = broker ? CMNewString(broker, text, nullptr) : nullptr;
}

bool usable(const CMPIObjectPath* path) { return path && path->hdl; }
bool usable(const CMPIInstance* inst) { return inst && inst->hdl; }

// Text of a string key; empty when the key is absent or not a string.
std::string keyText(const CMPIObjectPath* path, const char* name)
{
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIData data = CMGetKey(path, name, &rc);
    if (rc.rc != CMPI_RC_OK || (data.state & CMPI_nullValue) || data.type != CMPI_string ||
        !data.value.string)
        return std::string();
    const char* text = CMGetCharPtr(data.value.string);
    return text ? std::string(text) : std::string();
}

// Text of a string property; false when it is absent, null or no string.
bool instanceIdOf(const CMPIInstance* inst, std::string& id)
{
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIData data = CMGetProperty(inst, "InstanceID", &rc);
    if (rc.rc != CMPI_RC_OK || (data.state & CMPI_nullValue) || data.type != CMPI_string ||
        !data.value.string)
        return false;
    const char* text = CMGetCharPtr(data.value.string);
    if (!text)
        return false;
    id = text;
    return true;
}

} // namespace

bool configurationNames(const std::string& configurationId, const std::string& settingId)
{
    // System and whole interface name, so that Computer:eth0 never selects
    // the settings of eth0:1, of eth01 or of the service processor's eth0.
    InstanceId configuration;
    InstanceId setting;
    return InstanceId::parseWithKind(configurationId, configuration) &&
           InstanceId::parse(settingId, setting) && configuration.sameInterface(setting);
}

CMPIIPConfigurationService::CMPIIPConfigurationService(const CMPIBroker* broker,
                                                       const CMPIContext* context,
                                                       const std::string ns)
    : broker(broker), context(context), nameSpace(ns)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::CMPIIPConfigurationService");
}

CMPIIPConfigurationService::CMPIIPConfigurationService(const CMPIBroker* broker,
                                                       const CMPIContext* context,
                                                       const CMPIObjectPath* op)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(op))
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::CMPIIPConfigurationService");
    setObjectPath(op);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::CMPIIPConfigurationService");
}

CMPIIPConfigurationService::~CMPIIPConfigurationService()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::~CMPIIPConfigurationService");
}

void CMPIIPConfigurationService::setObjectPath(const CMPIObjectPath* op)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::setObjectPath");
    std::string value;
    if (ProviderUtilities::getKeyCount(op) > 0 &&
        ProviderUtilities::getKeyProperty(op, "SystemName", value))
        service.setFilter(IPConfigurationService::BY_SYSTEM_NAME, value);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::setObjectPath");
}

CMPIIPConfigurationService::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::operator bool");
    return static_cast<bool>(service);
}

void CMPIIPConfigurationService::operator++()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::operator ++");
    ++service;
}

CMPIObjectPath* CMPIIPConfigurationService::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::getObjectPath");
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, serviceClass, nameSpace);
    if (path) {
        std::string value;
        if (service.getSystemCreationClassName(value))
            ProviderUtilities::setKeyProperty(path, "SystemCreationClassName", value);
        if (service.getSystemName(value))
            ProviderUtilities::setKeyProperty(path, "SystemName", value);
        if (service.getCreationClassName(value))
            ProviderUtilities::setKeyProperty(path, "CreationClassName", value);
        if (service.getName(value))
            ProviderUtilities::setKeyProperty(path, "Name", value);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::getObjectPath");
    return path;
}

CMPIInstance* CMPIIPConfigurationService::getCMPIInstance(const char**)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::getCMPIInstance");
    CMPIInstance* inst = nullptr;
    CMPIObjectPath* path = getObjectPath();
    if (path)
        inst = ProviderUtilities::createInstance(broker, path);
    if (inst) {
        std::string value;
        if (service.getName(value))
            ProviderUtilities::setProperty(inst, "ElementName", value);
        if (service.getSystemCreationClassName(value))
            ProviderUtilities::setProperty(inst, "SystemCreationClassName", value);
        if (service.getSystemName(value))
            ProviderUtilities::setProperty(inst, "SystemName", value);
        if (service.getCreationClassName(value))
            ProviderUtilities::setProperty(inst, "CreationClassName", value);
        if (service.getName(value))
            ProviderUtilities::setProperty(inst, "Name", value);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::getCMPIInstance");
    return inst;
}

CMPIInstance* CMPIIPConfigurationService::getStaticConfiguration(CMPIObjectPath* op,
                                                                 const std::string& configurationId)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::getStaticConfiguration");
    CMPIStaticIPAssignmentSettingData settings(broker, context, op);
    while (settings) {
        CMPIInstance* inst = settings.getCMPIInstance(nullptr);
        std::string id;
        if (usable(inst) && instanceIdOf(inst, id) && configurationNames(configurationId, id))
            return inst;
        ++settings;
    }
    return nullptr;
}

CMPIInstance* CMPIIPConfigurationService::getConfiguartionSetting(const char* className,
                                                                  const std::string& configurationId)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::getConfiguartionSetting");
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIObjectPath* path = CMNewObjectPath(broker, nameSpace.c_str(), className, &rc);
    if (!usable(path)) {
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::getConfiguartionSetting");
        return nullptr;
    }
    CMPIEnumeration* all = CBEnumInstances(broker, context, path, nullptr, &rc);
    if (rc.rc != CMPI_RC_OK || !all)
        return nullptr;
    TRACE_DEBUG("CBEnumInstances Success for the CIM_OrderedComponent");
    while (CMHasNext(all, nullptr)) {
        TRACE_DEBUG("Inside While");
        CMPIData element = CMGetNext(all, nullptr);
        CMPIInstance* inst = element.value.inst;
        if ((element.state & CMPI_nullValue) || !usable(inst))
            continue;
        TRACE_DEBUG("ObjectPath is not NULL");
        std::string id;
        if (!instanceIdOf(inst, id))
            continue;
        if (configurationNames(configurationId, id)) {
            TRACE_INFO("InstanceID matched for SettingData class association");
            return inst;
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::getConfiguartionSetting");
    return nullptr;
}

CMPIStatus getStaticConfigurationDetails(const CMPIBroker*, const CMPIContext*,
                                         CMPIInstance* setting, IP_CONFIG_DATA* record)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::getStaticConfigurationDetails");
    record->configKind = 3;
    unsigned short prefix = 0;
    ProviderUtilities::getProperty(setting, "IPv6SubnetPrefixLength", prefix);
    record->ipv6PrefixLength = prefix;
    struct Field {
        const char* property;
        std::string IP_CONFIG_DATA::*member;
    };
    static const Field fields[] = {
        {"IPv6Address", &IP_CONFIG_DATA::ipv6Address},
        {"GatewayIPv6Address", &IP_CONFIG_DATA::gatewayIPv6Address},
        {"IPv4Address", &IP_CONFIG_DATA::ipv4Address},
        {"SubnetMask", &IP_CONFIG_DATA::subnetMask},
        {"GatewayIPv4Address", &IP_CONFIG_DATA::gatewayIPv4Address},
    };
    for (const Field& field : fields) {
        std::string value;
        ProviderUtilities::getProperty(setting, field.property, value);
        record->*field.member = value;
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::getStaticConfigurationDetails");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    return status;
}

CMPIStatus getDNSConfigurationDetails(const CMPIBroker* broker, const CMPIContext* context,
                                      CMPIInstance* setting, CMPIObjectPath* endpoint,
                                      IP_CONFIG_DATA* record)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::getDNSConfigurationDetails");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    CMPIEnumeration* dns = CBAssociators(broker, context, endpoint, "Tavrix_DNSSAPSAPDependency",
                                         "Tavrix_DNSProtocolEndpoint", nullptr, nullptr, nullptr,
                                         &status);
    if (status.rc != CMPI_RC_OK) {
        TRACE_ERROR("CBAssociators Failed for the target Class");
        return status;
    }
    // Only an endpoint that resolves names takes DNS values.
    if (!dns || !CMHasNext(dns, &status))
        return status;

    CMPIObjectPath* path = CMGetObjectPath(setting, &status);
    CMPIString* name = path ? CMGetClassName(path, &status) : nullptr;
    const char* className = name ? CMGetCharPtr(name) : nullptr;
    if (!className)
        return status;
    if (strcasecmp(className, "Tavrix_DNSSettingData") == 0) {
        std::string text;
        if (ProviderUtilities::getProperty(setting, "RequestedHostname", text))
            record->requestedHostname = text;
        text.clear();
        if (ProviderUtilities::getProperty(setting, "DomainName", text))
            record->domainName = text;
        CMPIData servers = CMGetProperty(setting, "DNSServerAddresses", &status);
        if (!(servers.state & CMPI_nullValue) && (servers.type & CMPI_ARRAY) && servers.value.array) {
            CMPICount count = CMGetArrayCount(servers.value.array, &status);
            for (CMPICount i = 0; i < count; ++i) {
                CMPIData element = CMGetArrayElementAt(servers.value.array, i, &status);
                if (status.rc != CMPI_RC_OK || (element.state & CMPI_nullValue) ||
                    element.type != CMPI_string || !element.value.string)
                    continue;
                const char* text = CMGetCharPtr(element.value.string);
                if (text)
                    record->dnsServerAddresses.push_back(text);
            }
        }
    } else if (strcasecmp(className, "Tavrix_DNSGeneralSettingData") == 0) {
        std::vector<std::string> suffixes;
        if (ProviderUtilities::getProperty(setting, "DNSSuffixesToAppend", suffixes))
            record->dnsSuffixesToAppend.insert(record->dnsSuffixesToAppend.end(), suffixes.begin(),
                                               suffixes.end());
    }
    return status;
}

int CMPIIPConfigurationService::executeMethod(const CMPIArgs* in, CMPIArgs* out, CMPIStatus* status)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPConfigurationService::executeMethod");
    if (!in) {
        setStatus(broker, status, CMPI_RC_ERR_INVALID_PARAMETER, "Invalid Type of Parameter");
        return 4;
    }
    CMPIData configuration = CMGetArg(in, "Configuration", status);
    CMPIData endpoint = CMGetArg(in, "Endpoint", status);
    if (configuration.type != CMPI_ref || endpoint.type != CMPI_ref) {
        setStatus(broker, status, CMPI_RC_ERR_INVALID_PARAMETER, "Invalid Type of Parameter");
        return 4;
    }
    CMPIObjectPath* configurationRef = configuration.value.ref;
    CMPIObjectPath* endpointRef = endpoint.value.ref;
    if ((configuration.state & CMPI_nullValue) || !usable(configurationRef)) {
        setStatus(broker, status, CMPI_RC_ERR_INVALID_PARAMETER,
                  "Configuration Parameter passed has NULL value");
        return 4;
    }
    if ((endpoint.state & CMPI_nullValue) || !usable(endpointRef)) {
        setStatus(broker, status, CMPI_RC_ERR_FAILED, "Endpoint Parameter passed has NULL value");
        return 4;
    }

    const std::string endpointName = keyText(endpointRef, "Name");
    const std::string endpointSystem = keyText(endpointRef, "SystemName");
    CMSetNameSpace(endpointRef, nameSpace.c_str());
    CMPIInstance* endpointInstance = CMNewInstance(broker, endpointRef, status);
    if (!usable(endpointInstance)) {
        setStatus(broker, status, CMPI_RC_ERR_FAILED, "Failed to get the IP Protocol instance");
        return 2;
    }
    if (endpointName.empty() || endpointSystem.empty()) {
        setStatus(broker, status, CMPI_RC_ERR_INVALID_PARAMETER,
                  "Endpoint reference lacks its SystemName or Name key");
        return 4;
    }
    // The configuration may only touch the interface that the endpoint is on.
    IPprotocolEndpoint endpoints;
    endpoints.setFilter(IPprotocolEndpoint::BY_SYSTEM_NAME, endpointSystem);
    endpoints.setFilter(IPprotocolEndpoint::BY_NAME, endpointName);
    if (!endpoints) {
        setStatus(broker, status, CMPI_RC_ERR_NOT_FOUND, "Endpoint names no IP protocol endpoint");
        return 2;
    }
    InstanceId target;
    target.system = endpoints.isServiceProcessor() ? "BMC" : "Computer";
    endpoints.getElementName(target.interfaceName);

    CMSetNameSpace(configurationRef, nameSpace.c_str());
    const std::string configurationId = keyText(configurationRef, "InstanceID");
    InstanceId named;
    if (!InstanceId::parseWithKind(configurationId, named)) {
        setStatus(broker, status, CMPI_RC_ERR_INVALID_PARAMETER,
                  "Configuration InstanceID does not name a system, an interface and a kind");
        return 4;
    }
    if (!named.sameInterface(target)) {
        setStatus(broker, status, CMPI_RC_ERR_INVALID_PARAMETER,
                  "Configuration does not belong to the endpoint's system and interface");
        return 4;
    }

    std::unique_ptr<IP_CONFIG_DATA> record(new IP_CONFIG_DATA());
    record->endpointName = endpointName;
    record->interfaceName = target.interfaceName;
    record->serviceProcessor = target.system == "BMC";

    if (named.kind == "static") {
        CMPIObjectPath* staticPath = CMNewObjectPath(
            broker, nameSpace.c_str(), "Tavrix_StaticIPAssignmentSettingData", status);
        CMPIInstance* setting =
            usable(staticPath) ? getStaticConfiguration(staticPath, configurationId) : nullptr;
        if (usable(setting)) {
            CMPIStatus details = getStaticConfigurationDetails(broker, context, setting, record.get());
            if (details.rc != CMPI_RC_OK)
                TRACE_ERROR("modifyStaticConfiguration for Tavrix_StaticIPAssignmentSettingData Failed");
        }
    } else if (getConfiguartionSetting("Tavrix_DHCPSettingData", configurationId)) {
        TRACE_INFO("InstanceID matched for Tavrix_DHCPSettingData class association");
        record->configKind = 4;
    }
    if (record->configKind == 0) {
        setStatus(broker, status, CMPI_RC_ERR_NOT_FOUND,
                  "Configuration names no static or DHCP setting of the interface");
        return 4;
    }

    if (CMPIInstance* dns = getConfiguartionSetting("Tavrix_DNSSettingData", configurationId)) {
        TRACE_INFO("InstanceID matched for Tavrix_DNSSettingData class association");
        CMPIStatus details = getDNSConfigurationDetails(broker, context, dns, endpointRef, record.get());
        if (details.rc != CMPI_RC_OK)
            TRACE_ERROR("modifyDNSConfiguration for Tavrix_DNSSettingData Failed");
    }
    if (CMPIInstance* general =
            getConfiguartionSetting("Tavrix_DNSGeneralSettingData", configurationId)) {
        TRACE_INFO("InstanceID matched for Tavrix_DNSGenralSettingData class association");
        CMPIStatus details =
            getDNSConfigurationDetails(broker, context, general, endpointRef, record.get());
        if (details.rc != CMPI_RC_OK)
            TRACE_ERROR("modifyDNSConfiguration for Tavrix_DNSGenralSettingData Failed");
    }

    // The thread owns the record from here on, also when it is refused.
    switch (ConfigurationThread::start(record.release())) {
    case ConfigurationThread::ACCEPTED:
        break;
    case ConfigurationThread::QUEUE_FULL:
        setStatus(broker, status, CMPI_RC_ERR_FAILED,
                  "The interface has too many configurations waiting; try again when its job has ended");
        return 4;
    default:
        setStatus(broker, status, CMPI_RC_ERR_FAILED, "Failed to start the configuration thread");
        return 4;
    }

    CMPIObjectPath* job = CMNewObjectPath(broker, nameSpace.c_str(), "Tavrix_ConcreteJob", status);
    if (out && usable(job)) {
        CMAddKey(job, "InstanceID", "IPConfigSvcJob:1", CMPI_chars);
        CMAddArg(out, "Job", &job, CMPI_ref);
    }
    return 0;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
