#include "CMPIAssignmentSettingData.h"

#include <cmpimacs.h>

#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIAssignmentSettingData.cpp");

CMPIAssignmentSettingData::CMPIAssignmentSettingData(const CMPIBroker* broker,
                                                     const CMPIContext* context,
                                                     const std::string nameSpace)
    : broker(broker), context(context), nameSpace(nameSpace)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::CMPIAssignmentSettingData");
}

CMPIAssignmentSettingData::CMPIAssignmentSettingData(const CMPIBroker* broker,
                                                     const CMPIContext* context,
                                                     const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path))
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::CMPIAssignmentSettingData");
    setObjectPath(path, false);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::CMPIAssignmentSettingData");
}

CMPIAssignmentSettingData::~CMPIAssignmentSettingData()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::~CMPIAssignmentSettingData");
}

void CMPIAssignmentSettingData::setObjectPath(const CMPIObjectPath* path, bool prefixMatch)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::setObjectPath");
    std::string given;
    if (ProviderUtilities::getKeyCount(path) > 0 &&
        ProviderUtilities::getKeyProperty(path, "InstanceID", given))
        settingData.setFilter(IPAssignmentSettingData::BY_INSTANCE_ID, given, prefixMatch);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::setObjectPath");
}

CMPIAssignmentSettingData::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::operator bool");
    return static_cast<bool>(settingData);
}

void CMPIAssignmentSettingData::operator++()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::operator ++");
    ++settingData;
}

CMPIObjectPath* CMPIAssignmentSettingData::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::getObjectPath");
    CMPIObjectPath* path =
        ProviderUtilities::createObjectPath(broker, "Tavrix_IPAssignmentSettingData", nameSpace);
    if (path) {
        settingData.getInstanceID(instanceId);
        ProviderUtilities::setKeyProperty(path, "InstanceID", instanceId);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::getObjectPath");
    return path;
}

CMPIInstance* CMPIAssignmentSettingData::getCMPIInstance(const char**)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::getCMPIInstance");
    CMPIInstance* instance = ProviderUtilities::instanceFrom(broker, getObjectPath());
    if (instance) {
        std::string text;
        unsigned short origin = 0;
        // The key comes with the path where the broker makes it a property.
        if (!ProviderUtilities::holdsProperty(instance, "InstanceID") && settingData.getInstanceID(text))
            ProviderUtilities::setProperty(instance, "InstanceID", text);
        if (settingData.getElementName(text))
            ProviderUtilities::setProperty(instance, "ElementName", text);
        if (settingData.getAddressOrigin(origin))
            ProviderUtilities::setProperty(instance, "AddressOrigin", origin);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIAssignmentSettingData::getCMPIInstance");
    return instance;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
