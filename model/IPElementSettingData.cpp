#include "IPElementSettingData.h"

#include <string>
#include <vector>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "IPAssignmentSettingData.h"
#include "IPprotocolEndpoint.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("IPElementSettingData.cpp");

namespace {

// CIM AddressOrigin against the setting kind of an InstanceID ("static",
// "dhcp"): 1 when the setting is the one in force, else 2.
unsigned short inForce(unsigned long origin, const std::vector<std::string>& idTokens)
{
    if (origin == 4 && EndResolution::tokenIs(idTokens, 2, "dhcp"))
        return 1;
    if (origin == 3 && EndResolution::tokenIs(idTokens, 2, "static"))
        return 1;
    return 2;
}

} // namespace

IPElementSettingData::IPElementSettingData() : defaultValue(1), currentValue(1) {}

IPElementSettingData::~IPElementSettingData() {}

Moniker IPElementSettingData::getManagedElementMoniker(Moniker& setting)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPElementSettingData::getManagedElementMoniker");
    std::string instanceId;
    if (!EndResolution::findFirst(setting, "InstanceID", instanceId))
        throw FrameworkException("Could not find 'Name' key in Moniker");
    const std::vector<std::string> idTokens = EndResolution::split(instanceId, ":");
    if (idTokens.size() < 2)
        throw FrameworkException("Instance ID Property value is not correct");

    IPprotocolEndpoint endpoint;
    bool found = false;
    while (!found && endpoint) {
        std::string name;
        found = endpoint.getName(name) &&
                EndResolution::tokenIs(EndResolution::split(name, "_"), 0, idTokens[1]);
        if (!found)
            ++endpoint;
    }
    if (!found)
        throw FrameworkException("Could not get 'System Name' and  'Name' key");

    Moniker result;
    std::string value;
    if (endpoint.getSystemCreationClassName(value))
        result.addKey("SystemCreationClassName", value);
    if (endpoint.getSystemName(value))
        result.addKey("SystemName", value);
    std::string name;
    endpoint.getName(name);
    result.addKey("Name", name);
    result.addKey("CreationClassName", EndResolution::endpointClass);

    unsigned short origin = 0;
    if (!endpoint.getAddressOrigin(origin))
        origin = 0;
    defaultValue = currentValue = inForce(origin, idTokens);
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPElementSettingData::getManagedElementMoniker");
    return result;
}

Moniker IPElementSettingData::getIPSettingDataMoniker(Moniker& endpoint)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPElementSettingData::getIPSettingDataMoniker");
    std::string name;
    if (!EndResolution::findFirst(endpoint, "Name", name))
        throw FrameworkException("Could not find 'Name' key in Moniker");
    const std::vector<std::string> nameTokens = EndResolution::split(name, "_");

    IPAssignmentSettingData settings;
    std::vector<std::string> idTokens;
    std::string instanceId;
    bool found = false;
    while (!found && settings) {
        idTokens.clear();
        if (settings.getInstanceID(instanceId))
            idTokens = EndResolution::split(instanceId, ":");
        if (idTokens.size() >= 2) {
            if (nameTokens.size() < 3)
                throw FrameworkException("Name Property value is not correct");
            found = nameTokens[0] == idTokens[1];
        }
        if (!found)
            ++settings;
    }
    if (!found)
        throw FrameworkException("Could not get 'Instance ID' key");

    Moniker result;
    result.addKey("InstanceID", instanceId);
    defaultValue = currentValue = inForce(EndResolution::decimal(nameTokens.back()), idTokens);
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPElementSettingData::getIPSettingDataMoniker");
    return result;
}

void IPElementSettingData::rateSetting(const std::string& endpointName,
                                       const std::string& instanceId)
{
    const std::vector<std::string> nameTokens = EndResolution::split(endpointName, "_");
    const unsigned long origin = nameTokens.empty() ? 0 : EndResolution::decimal(nameTokens.back());
    defaultValue = currentValue = inForce(origin, EndResolution::split(instanceId, ":"));
}

bool IPElementSettingData::getDefaultValue(unsigned short& value)
{
    value = defaultValue;
    return true;
}

bool IPElementSettingData::getCurrentValue(unsigned short& value)
{
    value = currentValue;
    return true;
}

bool IPElementSettingData::getNextValue(unsigned short& value)
{
    value = 2;
    return true;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
