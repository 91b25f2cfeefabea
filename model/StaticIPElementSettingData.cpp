#include "StaticIPElementSettingData.h"

#include <string>
#include <vector>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "IPprotocolEndpoint.h"
#include "StaticIPAssignmentSettingData.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("StaticIPElementSettingData.cpp");

StaticIPElementSettingData::StaticIPElementSettingData() : defaultValue(1), currentValue(1) {}

StaticIPElementSettingData::~StaticIPElementSettingData() {}

Moniker StaticIPElementSettingData::getManagedElementMoniker(Moniker& setting)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::StaticIPElementSettingData::getManagedElementMoniker");
    std::string instanceId;
    if (!EndResolution::findFirst(setting, "InstanceID", instanceId))
        throw FrameworkException("Could not find 'Name' key in Moniker");
    const std::vector<std::string> idTokens = EndResolution::split(instanceId, ":");
    if (idTokens.size() < 2)
        throw FrameworkException("Could not find 'InstanceID tokens");

    IPprotocolEndpoint endpoint;
    bool found = false;
    std::string name;
    while (!found && endpoint) {
        found = endpoint.getName(name) &&
                EndResolution::tokenIs(EndResolution::split(name, "_"), 0, idTokens[1]);
        if (!found)
            ++endpoint;
    }
    if (!found)
        throw FrameworkException("Could not get 'System Name' and  'Name' key");

    Moniker result;
    std::string systemName;
    if (endpoint.getSystemName(systemName))
        result.addKey("SystemName", systemName);
    result.addKey("Name", name);

    unsigned short origin = 0;
    if (!endpoint.getAddressOrigin(origin))
        origin = 0;
    defaultValue = currentValue = (origin == 3) ? 1 : 2;
    TRACE_EXIT("Korvu::IPInterfaceProvider::StaticIPElementSettingData::getManagedElementMoniker");
    return result;
}

Moniker StaticIPElementSettingData::getStaticIPSettingDataMoniker(Moniker& endpoint)
{
    TRACE_ENTER(
        "Korvu::IPInterfaceProvider::StaticIPElementSettingData::getStaticIPSettingDataMoniker");
    std::string name;
    if (!EndResolution::findFirst(endpoint, "Name", name))
        throw FrameworkException("Could not find 'Name' key in Moniker");
    const std::vector<std::string> nameTokens = EndResolution::split(name, "_");

    StaticIPAssignmentSettingData settings;
    std::string instanceId;
    bool found = false;
    while (!found && settings) {
        if (settings.getInstanceID(instanceId)) {
            const std::vector<std::string> idTokens = EndResolution::split(instanceId, ":");
            found = idTokens.size() >= 2 && EndResolution::tokenIs(nameTokens, 0, idTokens[1]);
        }
        if (!found)
            ++settings;
    }
    if (!found)
        throw FrameworkException("Could not get 'Instance ID' key");

    Moniker result;
    result.addKey("InstanceID", instanceId);
    TRACE_EXIT(
        "Korvu::IPInterfaceProvider::StaticIPElementSettingData::getStaticIPSettingDataMoniker");
    return result;
}

void StaticIPElementSettingData::rateEndpoint(const std::string& endpointName)
{
    const std::vector<std::string> nameTokens = EndResolution::split(endpointName, "_");
    const unsigned long origin = nameTokens.empty() ? 0 : EndResolution::decimal(nameTokens.back());
    defaultValue = currentValue = (origin == 3) ? 1 : 2;
}

bool StaticIPElementSettingData::getDefaultValue(unsigned short& value)
{
    value = defaultValue;
    return true;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
