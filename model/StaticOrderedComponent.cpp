#include "StaticOrderedComponent.h"

#include <string>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "IPAssignmentSettingData.h"
#include "StaticIPAssignmentSettingData.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("StaticOrderedComponent.cpp");

StaticOrderedComponent::StaticOrderedComponent()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::StaticOrderedComponent::StaticOrderedComponent");
}

StaticOrderedComponent::~StaticOrderedComponent()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::StaticOrderedComponent::~StaticOrderedComponent");
}

Moniker StaticOrderedComponent::getPartComponentMoniker(Moniker& setting)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::StaticOrderedComponent::getPartComponentMoniker");
    std::string instanceId;
    if (!EndResolution::findFirst(setting, "InstanceID", instanceId))
        throw FrameworkException("Could not find 'Name' key in Moniker");
    std::string prefix;
    std::string suffix;
    EndResolution::cutAtLastColon(instanceId, prefix, suffix);
    if (suffix != "static")
        throw FrameworkException("AssignmentSetting data is not static");

    StaticIPAssignmentSettingData statics;
    bool found = false;
    while (!found && statics) {
        std::string staticId;
        found = statics.getInstanceID(staticId) && staticId == prefix;
        if (!found)
            ++statics;
    }
    if (!found)
        throw FrameworkException("Could not get InstanceID");

    Moniker result;
    result.addKey("InstanceID", prefix);
    TRACE_EXIT("Korvu::IPInterfaceProvider::StaticOrderedComponent::getPartComponentMoniker");
    return result;
}

Moniker StaticOrderedComponent::getGroupComponentMoniker(Moniker& staticSetting)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::StaticOrderedComponent::getGroupComponentMoniker");
    std::string staticId;
    if (!EndResolution::findFirst(staticSetting, "InstanceID", staticId))
        throw FrameworkException("Could not find 'InstanceID' property");

    // The static element of a node precedes its DHCP element, so the first
    // match is the ":static" setting.
    IPAssignmentSettingData settings;
    std::string instanceId;
    bool found = false;
    while (!found && settings) {
        if (settings.getInstanceID(instanceId)) {
            std::string prefix;
            std::string suffix;
            EndResolution::cutAtLastColon(instanceId, prefix, suffix);
            found = prefix == staticId;
        }
        if (!found)
            ++settings;
    }
    if (!found)
        throw FrameworkException("Could not get 'Instance ID' key");

    Moniker result;
    result.addKey("InstanceID", instanceId);
    TRACE_EXIT("Korvu::IPInterfaceProvider::StaticOrderedComponent::getGroupComponentMoniker");
    return result;
}

bool StaticOrderedComponent::getAssignedSequence(unsigned long long& value)
{
    value = 1;
    return true;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
