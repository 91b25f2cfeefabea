#include "StaticOrderedComponent.h"

#include "EndResolution.h"
#include "FrameworkException.h"
#include "InstanceId.h"
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

std::string StaticOrderedComponent::groupKey(std::string_view instanceId, bool given)
{
    std::string_view system;
    std::string_view interfaceName;
    std::string_view kind;
    if (!InstanceId::split(instanceId, system, interfaceName, kind) || kind.empty()) {
        if (given)
            throw FrameworkException("Instance ID Property value is not correct");
        return std::string();
    }
    const std::string_view staticKind("static");
    return InstanceId::interfaceKey(instanceId, &staticKind);
}

std::string StaticOrderedComponent::partKey(std::string_view instanceId, bool given)
{
    const std::string_view noKind;
    return EndResolution::settingKey(instanceId, &noKind, given, "Instance ID Property value is not correct");
}

bool StaticOrderedComponent::getAssignedSequence(unsigned long long& value)
{
    value = 1;
    return true;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
