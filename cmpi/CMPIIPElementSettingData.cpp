#include "CMPIIPElementSettingData.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIIPElementSettingData.cpp");

#define QUALIFIED(operation) "Korvu::IPInterfaceProvider::CMPIIPElementSettingData::" operation

namespace {
const unsigned short endpointId = 9;
const unsigned short settingsId = 66;
const unsigned short associationId = 68;
const char* const associationClass = "Tavrix_IPElementSettingData";
}

CMPIIPElementSettingData::CMPIIPElementSettingData(const CMPIBroker* broker,
                                                   const CMPIContext* context,
                                                   const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), endpoint(broker, context, nameSpace),
      settings(broker, context, nameSpace), located(true)
{
    TRACE_ENTER(QUALIFIED("CMPIIPElementSettingData"));
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == endpointId) {
        CMPIObjectPath* far = locateAssignSettingDataPath(path);
        located = far != nullptr;
        if (located) {
            // Both settings of the interface: the static and the DHCP one.
            settings.setObjectPath(far, true);
            endpoint.setObjectPath(path);
        }
    } else if (sourceClassId == settingsId) {
        CMPIObjectPath* far = locateIPEndptPath(path);
        located = far != nullptr;
        if (located) {
            endpoint.setObjectPath(far);
            settings.setObjectPath(path, false);
        }
    } else if (sourceClassId == associationId) {
        if (settings) {
            CMPIObjectPath* far = locateIPEndptPath(settings.getObjectPath());
            located = far != nullptr;
            if (located)
                endpoint.setObjectPath(far);
        }
    }
    TRACE_EXIT(QUALIFIED("CMPIIPElementSettingData"));
}

CMPIIPElementSettingData::~CMPIIPElementSettingData()
{
    TRACE_METHOD(QUALIFIED("~CMPIIPElementSettingData"));
}

CMPIIPElementSettingData::operator bool()
{
    TRACE_ENTER(QUALIFIED("operator bool"));
    bool result = false;
    if (located) {
        if (sourceClassId == endpointId || sourceClassId == associationId)
            result = settings;
        else if (sourceClassId == settingsId)
            result = endpoint;
    }
    TRACE_EXIT(QUALIFIED("operator bool"));
    return result;
}

void CMPIIPElementSettingData::operator++()
{
    TRACE_ENTER(QUALIFIED("operator++"));
    if (located) {
        if (sourceClassId == endpointId || sourceClassId == associationId)
            ++settings;
        else if (sourceClassId == settingsId)
            ++endpoint;
    }
    TRACE_EXIT(QUALIFIED("operator++"));
}

CMPIObjectPath* CMPIIPElementSettingData::getObjectPath()
{
    TRACE_ENTER(QUALIFIED("getObjectPath"));
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        CMPIObjectPath* setting = settings.getObjectPath();
        CMPIObjectPath* element = nullptr;
        // The endpoint asked about is the managed element, not merely the
        // first endpoint of its interface: an interface may have several.
        if (sourceClassId == endpointId && endpoint) {
            element = endpoint.getObjectPath();
            std::string endpointName;
            std::string instanceId;
            ProviderUtilities::getKeyProperty(element, "Name", endpointName);
            ProviderUtilities::getKeyProperty(setting, "InstanceID", instanceId);
            model.rateSetting(endpointName, instanceId);
        } else {
            element = locateIPEndptPath(setting);
        }
        ProviderUtilities::setKeyProperty(path, "SettingData", setting);
        ProviderUtilities::setKeyProperty(path, "ManagedElement", element);
    }
    TRACE_EXIT(QUALIFIED("getObjectPath"));
    return path;
}

CMPIInstance* CMPIIPElementSettingData::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER(QUALIFIED("getCMPIInstance"));
    CMPIInstance* instance =
        AssociationPaths::instance(broker, getObjectPath(), "ManagedElement", "SettingData");
    if (instance) {
        unsigned short value = 0;
        if (model.getDefaultValue(value))
            ProviderUtilities::setProperty(instance, "IsDefault", value);
        if (model.getCurrentValue(value))
            ProviderUtilities::setProperty(instance, "IsCurrent", value);
        if (model.getNextValue(value))
            ProviderUtilities::setProperty(instance, "IsNext", value);
    }
    TRACE_EXIT(QUALIFIED("getCMPIInstance"));
    return instance;
}

CMPIInstance* CMPIIPElementSettingData::getAssociator(const char** properties)
{
    TRACE_ENTER(QUALIFIED("getAssociator"));
    CMPIInstance* instance = nullptr;
    if (sourceClassId == endpointId)
        instance = settings.getCMPIInstance(properties);
    else if (sourceClassId == settingsId)
        instance = endpoint.getCMPIInstance(properties);
    TRACE_EXIT(QUALIFIED("getAssociator"));
    return instance;
}

CMPIObjectPath* CMPIIPElementSettingData::getAssociatorNames()
{
    TRACE_ENTER(QUALIFIED("getAssociatorNames"));
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == endpointId)
        path = settings.getObjectPath();
    else if (sourceClassId == settingsId)
        path = endpoint.getObjectPath();
    TRACE_EXIT(QUALIFIED("getAssociatorNames"));
    return path;
}

bool CMPIIPElementSettingData::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER(QUALIFIED("isNotTargetClass"));
    bool result = true;
    if (sourceClassId == endpointId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPAssignmentSettingData",
                                            "CIM_IPAssignmentSettingData");
    else if (sourceClassId == settingsId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPProtocolEndpoint",
                                            "CIM_IPProtocolEndpoint");
    TRACE_EXIT(QUALIFIED("isNotTargetClass"));
    return result;
}

CMPIObjectPath* CMPIIPElementSettingData::locateIPEndptPath(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateIPEndptPath"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPProtocolEndpoint", path, [this](Moniker& m) {
            Moniker found = model.getManagedElementMoniker(m);
            TRACE_INFO("Returned from getManagedElementMoniker");
            return found;
        });
    TRACE_EXIT(QUALIFIED("locateIPEndptPath"));
    return result;
}

CMPIObjectPath* CMPIIPElementSettingData::locateAssignSettingDataPath(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateAssignSettingDataPath"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPAssignmentSettingData", path,
        [this](Moniker& m) { return model.getIPSettingDataMoniker(m); });
    TRACE_EXIT(QUALIFIED("locateAssignSettingDataPath"));
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
