#include "StaticIPElementSettingData.h"

#include "EndResolution.h"
#include "FrameworkException.h"
#include "InstanceId.h"

namespace Korvu {
namespace IPInterfaceProvider {

StaticIPElementSettingData::StaticIPElementSettingData() : defaultValue(1) {}

StaticIPElementSettingData::~StaticIPElementSettingData() {}

std::string StaticIPElementSettingData::staticKey(const std::string& instanceId, bool given)
{
    InstanceId parts;
    if (!InstanceId::split(instanceId, parts) || !parts.kind.empty()) {
        if (given)
            throw FrameworkException("Could not find 'InstanceID tokens");
        return std::string();
    }
    return parts.system + ":" + parts.interfaceName;
}

void StaticIPElementSettingData::rateEndpoint(const std::string& endpointName)
{
    std::string interfaceName;
    std::string mac;
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
