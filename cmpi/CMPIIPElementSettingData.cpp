#include "CMPIIPElementSettingData.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const IPElementSettingDataTraits::name = "CMPIIPElementSettingData";
const char* const IPElementSettingDataTraits::qualified = "Korvu::IPInterfaceProvider::CMPIIPElementSettingData::";
const char* const IPElementSettingDataTraits::file = "CMPIIPElementSettingData.cpp";
const char* const IPElementSettingDataTraits::className = "Tavrix_IPElementSettingData";
const unsigned short IPElementSettingDataTraits::classId = 68;
const char* const IPElementSettingDataTraits::ancestors[] = {"CIM_ElementSettingData", nullptr};
const AssociationEnd IPElementSettingDataTraits::a = {"ManagedElement", {9, 0, 0}, {"Tavrix_IPProtocolEndpoint", "CIM_IPProtocolEndpoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};
const AssociationEnd IPElementSettingDataTraits::b = {"SettingData", {66, 0, 0}, {"Tavrix_IPAssignmentSettingData", "CIM_IPAssignmentSettingData", nullptr}, {"InstanceID", nullptr}};

std::string IPElementSettingDataTraits::keyB(Model& model, const PathKeys& path, bool given)
{
    return model.settingKey(AssociationPaths::key(path, "InstanceID"), given);
}

void IPElementSettingDataTraits::candidatesB(const EndContext& c, Model&, const std::string& key,
                                             std::vector<CMPIObjectPath*>& out)
{
    // The settings of one interface: its InstanceIDs up to the kind.
    CMPIObjectPath* narrow =
        AssociationPaths::keyPath(c, "Tavrix_IPAssignmentSettingData", {{"InstanceID", key + ":static"}});
    AssociationPaths::listOwnWhere<CMPIAssignmentSettingData>(
        c, [narrow](CMPIAssignmentSettingData& end) { if (narrow) end.setObjectPath(narrow, true); },
        [](const CMPIObjectPath*) { return true; }, out);
}

void IPElementSettingDataTraits::addProperties(Model& model, CMPIInstance* instance, const CMPIObjectPath* a,
                        const CMPIObjectPath* b)
{
    model.ratePair(AssociationPaths::key(a, "Name"), AssociationPaths::key(b, "InstanceID"));
    unsigned short value = 0;
    if (model.getDefaultValue(value))
        ProviderUtilities::setProperty(instance, "IsDefault", value);
    if (model.getCurrentValue(value))
        ProviderUtilities::setProperty(instance, "IsCurrent", value);
    if (model.getNextValue(value))
        ProviderUtilities::setProperty(instance, "IsNext", value);
}

template class AssociationClass<IPElementSettingDataTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
