#include "StaticIPElementSettingData.h"

#include "EndResolution.h"

namespace Korvu {
namespace IPInterfaceProvider {

StaticIPElementSettingData::StaticIPElementSettingData() : defaultValue(1) {}

StaticIPElementSettingData::~StaticIPElementSettingData() {}

std::string StaticIPElementSettingData::staticKey(std::string_view instanceId, bool given)
{
    const std::string_view noKind;
    return EndResolution::settingKey(instanceId, &noKind, given, "Could not find 'InstanceID tokens");
}

void StaticIPElementSettingData::rateEndpoint(std::string_view endpointName)
{
    std::string_view interfaceName;
    std::string_view mac;
    unsigned long origin = 0;
    EndResolution::splitEndpointName(endpointName, interfaceName, mac, origin);
    defaultValue = origin == 3 ? 1 : 2;
}

bool StaticIPElementSettingData::getDefaultValue(unsigned short& value)
{
    value = defaultValue;
    return true;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
