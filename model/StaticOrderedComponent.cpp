#include "StaticOrderedComponent.h"

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

std::string StaticOrderedComponent::groupKey(const std::string& instanceId, bool given)
{
    InstanceId parts;
    if (!InstanceId::split(instanceId, parts) || parts.kind.empty()) {
        if (given)
            throw FrameworkException("Instance ID Property value is not correct");
        return std::string();
    }
    if (parts.kind != "static")
        return std::string();
    return parts.system + ":" + parts.interfaceName;
}

std::string StaticOrderedComponent::partKey(const std::string& instanceId, bool given)
{
    InstanceId parts;
    if (!InstanceId::split(instanceId, parts) || !parts.kind.empty()) {
        if (given)
            throw FrameworkException("Instance ID Property value is not correct");
        return std::string();
    }
    return parts.system + ":" + parts.interfaceName;
}

bool StaticOrderedComponent::getAssignedSequence(unsigned long long& value)
{
    value = 1;
    return true;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
