#include "CMPIStaticElementSettingData.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIStaticElementSettingData.cpp");

#define QUALIFIED(operation) "Korvu::IPInterfaceProvider::CMPIStaticElementSettingData::" operation

namespace {
const unsigned short endpointId = 9;
const unsigned short staticId = 69;
const unsigned short associationId = 73;
const char* const associationClass = "Tavrix_StaticIPElementSettingData";
}

CMPIStaticElementSettingData::CMPIStaticElementSettingData(const CMPIBroker* broker,
                                                           const CMPIContext* context,
                                                           const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), endpoint(broker, context, nameSpace),
      statics(broker, context, nameSpace), located(true)
{
    TRACE_ENTER(QUALIFIED("CMPIStaticElementSettingData"));
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == endpointId) {
        CMPIObjectPath* far = locateStaticSettingDataPath(path);
        located = far != nullptr;
        if (located) {
            statics.setObjectPath(far);
            endpoint.setObjectPath(path);
        }
    } else if (sourceClassId == staticId) {
        CMPIObjectPath* far = locateIPEndptPath(path);
        located = far != nullptr;
        if (located) {
            endpoint.setObjectPath(far);
            statics.setObjectPath(path);
        }
    } else if (sourceClassId == associationId) {
        if (statics) {
            CMPIObjectPath* far = locateIPEndptPath(statics.getObjectPath());
            located = far != nullptr;
            if (located)
                endpoint.setObjectPath(far);
        }
    }
    TRACE_EXIT(QUALIFIED("CMPIStaticElementSettingData"));
}

CMPIStaticElementSettingData::~CMPIStaticElementSettingData()
{
    TRACE_METHOD(QUALIFIED("~CMPIStaticElementSettingData"));
}

CMPIStaticElementSettingData::operator bool()
{
    TRACE_ENTER(QUALIFIED("operator bool"));
    bool result = false;
    if (located) {
        if (sourceClassId == endpointId || sourceClassId == associationId)
            result = statics;
        else if (sourceClassId == staticId)
            result = endpoint;
    }
    TRACE_EXIT(QUALIFIED("operator bool"));
    return result;
}

void CMPIStaticElementSettingData::operator++()
{
    TRACE_ENTER(QUALIFIED("operator++"));
    if (located) {
        if (sourceClassId == endpointId || sourceClassId == associationId)
            ++statics;
        else if (sourceClassId == staticId)
            ++endpoint;
    }
    TRACE_EXIT(QUALIFIED("operator++"));
}

CMPIObjectPath* CMPIStaticElementSettingData::getObjectPath()
{
    TRACE_ENTER(QUALIFIED("getObjectPath"));
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        CMPIObjectPath* setting = statics.getObjectPath();
        CMPIObjectPath* element = nullptr;
        // The endpoint asked about is the managed element, not merely the
        // first endpoint of its interface: an interface may have several.
        if (sourceClassId == endpointId && endpoint) {
            element = endpoint.getObjectPath();
            std::string endpointName;
            ProviderUtilities::getKeyProperty(element, "Name", endpointName);
            model.rateEndpoint(endpointName);
        } else {
            CMPIObjectPath* resolved = locateIPEndptPath(setting);
            // The resolver gives SystemName and Name only; the endpoint
            // object completes the reference with the other keys.
            if (resolved) {
                CMPIProtocolEndpoint complete(broker, context, resolved);
                if (complete)
                    element = complete.getObjectPath();
            }
        }
        ProviderUtilities::setKeyProperty(path, "SettingData", setting);
        ProviderUtilities::setKeyProperty(path, "ManagedElement", element);
    }
    TRACE_EXIT(QUALIFIED("getObjectPath"));
    return path;
}

CMPIInstance* CMPIStaticElementSettingData::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER(QUALIFIED("getCMPIInstance"));
    CMPIInstance* instance =
        AssociationPaths::instance(broker, getObjectPath(), "ManagedElement", "SettingData");
    if (instance) {
        unsigned short value = 0;
        if (model.getDefaultValue(value))
            ProviderUtilities::setProperty(instance, "IsCurrent", value);
    }
    TRACE_EXIT(QUALIFIED("getCMPIInstance"));
    return instance;
}

CMPIInstance* CMPIStaticElementSettingData::getAssociator(const char** properties)
{
    TRACE_ENTER(QUALIFIED("getAssociator"));
    CMPIInstance* instance = nullptr;
    if (sourceClassId == endpointId)
        instance = statics.getCMPIInstance(properties);
    else if (sourceClassId == staticId)
        instance = endpoint.getCMPIInstance(properties);
    TRACE_EXIT(QUALIFIED("getAssociator"));
    return instance;
}

CMPIObjectPath* CMPIStaticElementSettingData::getAssociatorNames()
{
    TRACE_ENTER(QUALIFIED("getAssociatorNames"));
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == endpointId)
        path = statics.getObjectPath();
    else if (sourceClassId == staticId)
        path = endpoint.getObjectPath();
    TRACE_EXIT(QUALIFIED("getAssociatorNames"));
    return path;
}

bool CMPIStaticElementSettingData::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER(QUALIFIED("isNotTargetClass"));
    bool result = true;
    if (sourceClassId == endpointId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_StaticIPAssignmentSettingData",
                                            "CIM_StaticIPAssignmentSettingData");
    else if (sourceClassId == staticId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPProtocolEndpoint",
                                            "CIM_IPProtocolEndpoint");
    TRACE_EXIT(QUALIFIED("isNotTargetClass"));
    return result;
}

CMPIObjectPath* CMPIStaticElementSettingData::locateIPEndptPath(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateIPEndptPath"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPProtocolEndpoint", path,
        [this](Moniker& m) { return model.getManagedElementMoniker(m); });
    TRACE_EXIT(QUALIFIED("locateIPEndptPath"));
    return result;
}

CMPIObjectPath* CMPIStaticElementSettingData::locateStaticSettingDataPath(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateStaticSettingDataPath"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_StaticIPAssignmentSettingData", path,
        [this](Moniker& m) { return model.getStaticIPSettingDataMoniker(m); });
    TRACE_EXIT(QUALIFIED("locateStaticSettingDataPath"));
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
