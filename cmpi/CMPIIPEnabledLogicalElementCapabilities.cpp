#include "CMPIIPEnabledLogicalElementCapabilities.h"

#include <vector>

#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIIPEnabledLogicalElementCapabilities.cpp");

namespace {
const char* const className = "Tavrix_IPEnabledLogicalElementCapabilities";
}

CMPIIPEnabledLogicalElementCapabilities::CMPIIPEnabledLogicalElementCapabilities(
    const CMPIBroker* broker, const CMPIContext* context, const std::string ns)
    : broker(broker), context(context), nameSpace(ns)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::"
                 "CMPIIPEnabledLogicalElementCapabilities");
}

CMPIIPEnabledLogicalElementCapabilities::CMPIIPEnabledLogicalElementCapabilities(
    const CMPIBroker* broker, const CMPIContext* context, const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path))
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::"
                "CMPIIPEnabledLogicalElementCapabilities");
    setObjectPath(path);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::"
               "CMPIIPEnabledLogicalElementCapabilities");
}

CMPIIPEnabledLogicalElementCapabilities::~CMPIIPEnabledLogicalElementCapabilities()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::"
                 "~CMPIIPEnabledLogicalElementCapabilities");
}

void CMPIIPEnabledLogicalElementCapabilities::setObjectPath(const CMPIObjectPath* path)
{
    TRACE_ENTER(
        "Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::setObjectPath");
    std::string value;
    if (ProviderUtilities::getKeyCount(path) > 0 &&
        ProviderUtilities::getKeyProperty(path, "InstanceID", value))
        capabilities.setFilter(IPEnabledLogicalElementCapabilities::BY_INSTANCE_ID, value);
    TRACE_EXIT(
        "Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::setObjectPath");
}

CMPIIPEnabledLogicalElementCapabilities::operator bool()
{
    TRACE_METHOD(
        "Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::operator bool");
    return static_cast<bool>(capabilities);
}

void CMPIIPEnabledLogicalElementCapabilities::operator++()
{
    TRACE_METHOD(
        "Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::operator ++");
    ++capabilities;
}

CMPIObjectPath* CMPIIPEnabledLogicalElementCapabilities::getObjectPath()
{
    TRACE_ENTER(
        "Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::getObjectPath");
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, className, nameSpace);
    std::string value;
    if (path && capabilities.getInstanceID(value))
        ProviderUtilities::setKeyProperty(path, "InstanceID", value);
    TRACE_EXIT(
        "Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::getObjectPath");
    return path;
}

CMPIInstance* CMPIIPEnabledLogicalElementCapabilities::getCMPIInstance(const char**)
{
    TRACE_ENTER(
        "Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::getCMPIInstance");
    CMPIInstance* instance = ProviderUtilities::instanceFrom(broker, getObjectPath());
    if (instance) {
        std::string text;
        bool flag = false;
        unsigned short number = 0;
        std::vector<unsigned short> states;
        if (capabilities.getInstanceID(text)) {
            ProviderUtilities::setProperty(instance, "InstanceID", text);
            ProviderUtilities::setProperty(instance, "ElementName", text);
        }
        if (capabilities.getElementNameEditSupported(flag))
            ProviderUtilities::setProperty(instance, "ElementNameEditSupported", flag);
        if (capabilities.getMaxElementNameLen(number))
            ProviderUtilities::setProperty(instance, "MaxElementNameLen", number);
        if (capabilities.getRequestedStatesSupported(states))
            ProviderUtilities::setProperty(broker, instance, "RequestedStatesSupported", states);
    }
    TRACE_EXIT(
        "Korvu::IPInterfaceProvider::CMPIIPEnabledLogicalElementCapabilities::getCMPIInstance");
    return instance;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
