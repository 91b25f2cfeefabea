#include "CMPIStaticIPAssignmentSettingData.h"

#include <arpa/inet.h>
#include <cmpimacs.h>

#include <utility>
#include <vector>

#include "ProviderUtilities.h"
#include "SubnetMask.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIStaticIPAssignmentSettingData.cpp");

namespace {

CMPIStatus makeStatus(const CMPIBroker* broker, CMPIrc rc, const char* text)
{
    CMPIStatus status = {rc, nullptr};
    if (broker && text)
        status.msg = CMNewString(broker, text, nullptr);
    return status;
}

// Empty clears the value; anything else must be an address of the family.
// This also keeps line breaks and NULs out of the ifcfg file.
bool usableAddress(int family, const std::string& text)
{
    if (text.empty())
        return true;
    unsigned char address[sizeof(struct in6_addr)];
    return text.find('\0') == std::string::npos && inet_pton(family, text.c_str(), address) == 1;
}

struct AddressProperty {
    const char* property;
    const char* key;
    int family;
};

// In the order in which a new file receives its lines.
const AddressProperty addressProperties[] = {
    {"IPv4Address", "IPV4ADDR", AF_INET},
    {"SubnetMask", "NETMASK", AF_INET},
    {"GatewayIPv4Address", "GATEWAY", AF_INET},
    {"IPv6Address", "IPV6ADDR", AF_INET6},
    {"GatewayIPv6Address", "IPV6GATEWAY", AF_INET6},
};

const unsigned short maxIPv6PrefixLength = 128;

} // namespace

CMPIStaticIPAssignmentSettingData::CMPIStaticIPAssignmentSettingData(const CMPIBroker* broker,
                                                                     const CMPIContext* context,
                                                                     const std::string nameSpace)
    : broker(broker), context(context), nameSpace(nameSpace)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::CMPIStaticIPAssignmentSettingData");
}

CMPIStaticIPAssignmentSettingData::CMPIStaticIPAssignmentSettingData(const CMPIBroker* broker,
                                                                     const CMPIContext* context,
                                                                     const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path))
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::CMPIStaticIPAssignmentSettingData");
    setObjectPath(path);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::CMPIStaticIPAssignmentSettingData");
}

CMPIStaticIPAssignmentSettingData::~CMPIStaticIPAssignmentSettingData()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::~CMPIStaticIPAssignmentSettingData");
}

void CMPIStaticIPAssignmentSettingData::setObjectPath(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::setObjectPath");
    std::string given;
    if (ProviderUtilities::getKeyCount(path) > 0 &&
        ProviderUtilities::getKeyProperty(path, "InstanceID", given))
        settingData.setFilter(StaticIPAssignmentSettingData::BY_INSTANCE_ID, given);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::setObjectPath");
}

CMPIStaticIPAssignmentSettingData::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::operator bool");
    return static_cast<bool>(settingData);
}

void CMPIStaticIPAssignmentSettingData::operator++()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::operator ++");
    ++settingData;
}

CMPIObjectPath* CMPIStaticIPAssignmentSettingData::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::getObjectPath");
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(
        broker, "Tavrix_StaticIPAssignmentSettingData", nameSpace);
    if (path) {
        settingData.getInstanceID(instanceId);
        ProviderUtilities::setKeyProperty(path, "InstanceID", instanceId);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::getObjectPath");
    return path;
}

CMPIInstance* CMPIStaticIPAssignmentSettingData::getCMPIInstance(const char**)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::getCMPIInstance");
    CMPIInstance* instance = ProviderUtilities::instanceFrom(broker, getObjectPath());
    if (instance) {
        std::string text;
        unsigned short code = 0;
        unsigned int number = 0;
        // The key comes with the path where the broker makes it a property.
        if (!ProviderUtilities::holdsProperty(instance, "InstanceID") && settingData.getInstanceID(text))
            ProviderUtilities::setProperty(instance, "InstanceID", text);
        if (settingData.getElementName(text))
            ProviderUtilities::setProperty(instance, "ElementName", text);
        if (settingData.getAddressOrigin(code))
            ProviderUtilities::setProperty(instance, "AddressOrigin", code);
        if (settingData.getIPv4Address(text))
            ProviderUtilities::setProperty(instance, "IPv4Address", text);
        if (settingData.getIPv6Address(text))
            ProviderUtilities::setProperty(instance, "IPv6Address", text);
        if (settingData.getSubnetMask(text))
            ProviderUtilities::setProperty(instance, "SubnetMask", text);
        if (settingData.getGatewayIPv4Address(text))
            ProviderUtilities::setProperty(instance, "GatewayIPv4Address", text);
        if (settingData.getPrefixLength(number))
            ProviderUtilities::setProperty(instance, "PrefixLength", number);
        if (settingData.getIPv6SubnetPrefixLength(code))
            ProviderUtilities::setProperty(instance, "IPv6SubnetPrefixLength", code);
        if (settingData.getIPv6AddressType(code))
            ProviderUtilities::setProperty(instance, "IPv6AddressType", code);
        if (settingData.getGatewayIPv6Address(text))
            ProviderUtilities::setProperty(instance, "GatewayIPv6Address", text);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::getCMPIInstance");
    return instance;
}

CMPIStatus CMPIStaticIPAssignmentSettingData::modifyInstance(const CMPIInstance* instance)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::modifyInstance");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    if (!instance || !instance->hdl) {
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::modifyInstance");
        return status;
    }
    CMPIObjectPath* path = CMGetObjectPath(instance, &status);
    if (!path || !path->hdl) {
        if (status.rc == CMPI_RC_OK)
            status = makeStatus(broker, CMPI_RC_ERR_INVALID_PARAMETER, "Instance has no object path");
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::modifyInstance");
        return status;
    }
    setObjectPath(path);
    // No file may be written for keys that select no setting.
    if (!settingData) {
        status = makeStatus(broker, CMPI_RC_ERR_NOT_FOUND,
                            "No static IP assignment setting matches the InstanceID of the instance");
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::modifyInstance");
        return status;
    }

    std::vector<std::pair<std::string, std::string>> values;
    const char* refusal = nullptr;
    for (const AddressProperty& entry : addressProperties) {
        std::string text;
        if (!ProviderUtilities::getProperty(instance, entry.property, text))
            continue;
        if (!usableAddress(entry.family, text)) {
            refusal = entry.family == AF_INET ? "Value is not a valid IPv4 address"
                                              : "Value is not a valid IPv6 address";
            break;
        }
        if (entry.key == std::string("NETMASK") && !text.empty() && !isSubnetMask(text)) {
            refusal = "SubnetMask is not a valid subnet mask";
            break;
        }
        values.emplace_back(entry.key, text);
    }
    unsigned short prefix = 0;
    if (!refusal && ProviderUtilities::getProperty(instance, "IPv6SubnetPrefixLength", prefix)) {
        if (prefix > maxIPv6PrefixLength)
            refusal = "IPv6SubnetPrefixLength is above 128";
        else
            values.emplace_back("PREFIX", std::to_string(prefix));
    }
    if (refusal) {
        status = makeStatus(broker, CMPI_RC_ERR_INVALID_PARAMETER, refusal);
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::modifyInstance");
        return status;
    }

    if (!values.empty()) {
        // One rewrite for all values: a reader never sees half a request.
        switch (settingData.setValues(values)) {
        case StaticIPAssignmentSettingData::WRITE_OK:
            break;
        case StaticIPAssignmentSettingData::WRITE_BAD_VALUE:
            status = makeStatus(broker, CMPI_RC_ERR_INVALID_PARAMETER,
                                "Value cannot be stored in the ifcfg file");
            break;
        case StaticIPAssignmentSettingData::WRITE_BAD_FILE_NAME:
            status = makeStatus(broker, CMPI_RC_ERR_FAILED,
                                "Interface name is not a safe file name in the data folder (empty, "
                                "\".\" or \"..\", a leading blank, a control character or \"/\"), "
                                "or the ifcfg path is too long");
            break;
        case StaticIPAssignmentSettingData::WRITE_LINK:
            status = makeStatus(broker, CMPI_RC_ERR_FAILED,
                                "The ifcfg file is a symbolic link; it is not followed");
            break;
        default:
            status = makeStatus(broker, CMPI_RC_ERR_FAILED, "Could not write the ifcfg file");
            break;
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIStaticIPAssignmentSettingData::modifyInstance");
    return status;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
