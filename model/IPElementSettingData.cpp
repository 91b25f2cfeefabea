#include "IPElementSettingData.h"

#include "EndResolution.h"
#include "InstanceId.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPElementSettingData::IPElementSettingData() : defaultValue(1), currentValue(1) {}

IPElementSettingData::~IPElementSettingData() {}

std::string IPElementSettingData::settingKey(std::string_view instanceId, bool given)
{
    return EndResolution::settingKey(instanceId, nullptr, given, "Instance ID Property value is not correct");
}

void IPElementSettingData::ratePair(std::string_view endpointName, std::string_view instanceId)
{
    std::string_view interfaceName;
    std::string_view mac;
    unsigned long origin = 0;
    EndResolution::splitEndpointName(endpointName, interfaceName, mac, origin);
    std::string_view system;
    std::string_view kind;
    InstanceId::split(instanceId, system, interfaceName, kind);
    const bool inForce = (origin == 4 && kind == "dhcp") || (origin == 3 && kind == "static");
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
