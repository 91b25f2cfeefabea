#include "CMPIStaticOrderedComponent.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIStaticOrderedComponent.cpp");

#define QUALIFIED(operation) "Korvu::IPInterfaceProvider::CMPIStaticOrderedComponent::" operation

namespace {
const unsigned short settingsId = 66;
const unsigned short staticId = 69;
const unsigned short associationId = 71;
const char* const associationClass = "Tavrix_StaticOrderedComponent";
}

CMPIStaticOrderedComponent::CMPIStaticOrderedComponent(const CMPIBroker* broker,
                                                       const CMPIContext* context,
                                                       const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), settings(broker, context, nameSpace),
      statics(broker, context, nameSpace), located(true)
{
    TRACE_ENTER(QUALIFIED("CMPIStaticOrderedComponent"));
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == settingsId) {
        CMPIObjectPath* far = locateStaticAssignmentSetting(path);
        located = far != nullptr;
        if (located) {
            statics.setObjectPath(far);
            settings.setObjectPath(path, false);
        }
    } else if (sourceClassId == staticId) {
        CMPIObjectPath* far = locateAssignmentSetting(path);
        located = far != nullptr;
        if (located) {
            settings.setObjectPath(far, false);
            statics.setObjectPath(path);
        }
    } else if (sourceClassId == associationId) {
        if (!setObjectPath(path)) {
            CMPIObjectPath* all = locateStaticAssignmentSetting(path);
            CMPIObjectPath* groups = all ? locateAssignmentSetting(all) : nullptr;
            located = groups != nullptr;
            if (located) {
                statics.setObjectPath(all);
                settings.setObjectPath(groups, false);
            }
        }
    }
    TRACE_EXIT(QUALIFIED("CMPIStaticOrderedComponent"));
}

CMPIStaticOrderedComponent::~CMPIStaticOrderedComponent()
{
    TRACE_METHOD(QUALIFIED("~CMPIStaticOrderedComponent"));
}

bool CMPIStaticOrderedComponent::setObjectPath(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("setObjectPath"));
    bool keyed = ProviderUtilities::getKeyCount(path) > 0;
    if (keyed) {
        CMPIObjectPath* reference = nullptr;
        if (ProviderUtilities::getKeyProperty(path, "PartComponent", &reference) && reference)
            statics.setObjectPath(reference);
        reference = nullptr;
        if (ProviderUtilities::getKeyProperty(path, "GroupComponent", &reference) && reference)
            settings.setObjectPath(reference, false);
    }
    TRACE_EXIT(QUALIFIED("setObjectPath"));
    return keyed;
}

CMPIStaticOrderedComponent::operator bool()
{
    TRACE_ENTER(QUALIFIED("operator bool"));
    bool result = false;
    if (located) {
        if (sourceClassId == settingsId || sourceClassId == associationId)
            result = statics;
        else if (sourceClassId == staticId)
            result = settings;
    }
    TRACE_EXIT(QUALIFIED("operator bool"));
    return result;
}

void CMPIStaticOrderedComponent::operator++()
{
    TRACE_ENTER(QUALIFIED("operator++"));
    if (located) {
        if (sourceClassId == settingsId || sourceClassId == associationId)
            ++statics;
        else if (sourceClassId == staticId)
            ++settings;
    }
    TRACE_EXIT(QUALIFIED("operator++"));
}

CMPIObjectPath* CMPIStaticOrderedComponent::getObjectPath()
{
    TRACE_ENTER(QUALIFIED("getObjectPath"));
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        CMPIObjectPath* part = statics.getObjectPath();
        ProviderUtilities::setKeyProperty(path, "PartComponent", part);
        ProviderUtilities::setKeyProperty(path, "GroupComponent", locateAssignmentSetting(part));
    }
    TRACE_EXIT(QUALIFIED("getObjectPath"));
    return path;
}

CMPIInstance* CMPIStaticOrderedComponent::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER(QUALIFIED("getCMPIInstance"));
    CMPIInstance* instance =
        AssociationPaths::instance(broker, getObjectPath(), "GroupComponent", "PartComponent");
    if (instance) {
        unsigned long long sequence = 0;
        if (model.getAssignedSequence(sequence))
            ProviderUtilities::setProperty(instance, "AssignedSequence", sequence);
    }
    TRACE_EXIT(QUALIFIED("getCMPIInstance"));
    return instance;
}

CMPIInstance* CMPIStaticOrderedComponent::getAssociator(const char** properties)
{
    TRACE_ENTER(QUALIFIED("getAssociator"));
    CMPIInstance* instance = nullptr;
    if (sourceClassId == settingsId)
        instance = statics.getCMPIInstance(properties);
    else if (sourceClassId == staticId)
        instance = settings.getCMPIInstance(properties);
    TRACE_EXIT(QUALIFIED("getAssociator"));
    return instance;
}

CMPIObjectPath* CMPIStaticOrderedComponent::getAssociatorNames()
{
    TRACE_ENTER(QUALIFIED("getAssociatorNames"));
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == settingsId)
        path = statics.getObjectPath();
    else if (sourceClassId == staticId)
        path = settings.getObjectPath();
    TRACE_EXIT(QUALIFIED("getAssociatorNames"));
    return path;
}

bool CMPIStaticOrderedComponent::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER(QUALIFIED("isNotTargetClass"));
    bool result = true;
    if (sourceClassId == settingsId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_StaticIPAssignmentSettingData",
                                            "CIM_StaticIPAssignmentSettingData");
    else if (sourceClassId == staticId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPAssignmentSettingData",
                                            "CIM_IPAssignmentSettingData");
    TRACE_EXIT(QUALIFIED("isNotTargetClass"));
    return result;
}

CMPIObjectPath* CMPIStaticOrderedComponent::locateAssignmentSetting(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateAssignmentSetting"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPAssignmentSettingData", path,
        [this](Moniker& m) { return model.getGroupComponentMoniker(m); });
    TRACE_EXIT(QUALIFIED("locateAssignmentSetting"));
    return result;
}

CMPIObjectPath* CMPIStaticOrderedComponent::locateStaticAssignmentSetting(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateStaticAssignmentSetting"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_StaticIPAssignmentSettingData", path,
        [this](Moniker& m) { return model.getPartComponentMoniker(m); });
    TRACE_EXIT(QUALIFIED("locateStaticAssignmentSetting"));
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
