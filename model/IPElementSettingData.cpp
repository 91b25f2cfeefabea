#include "IPElementSettingData.h"

#include "EndResolution.h"
#include "FrameworkException.h"
#include "InstanceId.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPElementSettingData::IPElementSettingData() : defaultValue(1), currentValue(1) {}

IPElementSettingData::~IPElementSettingData() {}

std::string IPElementSettingData::settingKey(const std::string& instanceId, bool given)
{
    InstanceId parts;
    if (!InstanceId::split(instanceId, parts)) {
        if (given)
            throw FrameworkException("Instance ID Property value is not correct");
        return std::string();
    }
    return parts.system + ":" + parts.interfaceName;
}

void IPElementSettingData::ratePair(const std::string& endpointName, const std::string& instanceId)
{
    std::string interfaceName;
    std::string mac;
    unsigned long origin = 0;
    EndResolution::splitEndpointName(endpointName, interfaceName, mac, origin);
    InstanceId parts;
    InstanceId::split(instanceId, parts);
    const bool inForce = (origin == 4 && parts.kind == "dhcp") || (origin == 3 && parts.kind == "static");
    defaultValue = currentValue = inForce ? 1 : 2;
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
