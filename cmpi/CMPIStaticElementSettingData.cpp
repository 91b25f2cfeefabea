#include "CMPIStaticElementSettingData.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const StaticElementSettingDataTraits::name = "CMPIStaticElementSettingData";
const char* const StaticElementSettingDataTraits::qualified = "Korvu::IPInterfaceProvider::CMPIStaticElementSettingData::";
const char* const StaticElementSettingDataTraits::file = "CMPIStaticElementSettingData.cpp";
const char* const StaticElementSettingDataTraits::className = "Tavrix_StaticIPElementSettingData";
const unsigned short StaticElementSettingDataTraits::classId = 73;
const char* const StaticElementSettingDataTraits::ancestors[] = {"CIM_ElementSettingData", nullptr};
const AssociationEnd StaticElementSettingDataTraits::a = {"ManagedElement", {9, 0, 0}, {"Tavrix_IPProtocolEndpoint", "CIM_IPProtocolEndpoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};
const AssociationEnd StaticElementSettingDataTraits::b = {"SettingData", {69, 0, 0}, {"Tavrix_StaticIPAssignmentSettingData", "CIM_StaticIPAssignmentSettingData", nullptr}, {"InstanceID", nullptr}};

std::string StaticElementSettingDataTraits::keyB(Model& model, const PathKeys& path, bool given)
{
    return model.staticKey(AssociationPaths::key(path, "InstanceID"), given);
}

void StaticElementSettingDataTraits::candidatesB(const EndContext& c, Model&, const std::string& key,
                                                 std::vector<CMPIObjectPath*>& out)
{
    // A static setting's InstanceID is its join key.
    AssociationPaths::listOwnNarrowed<CMPIStaticIPAssignmentSettingData>(
        c, AssociationPaths::keyPath(c, "Tavrix_StaticIPAssignmentSettingData", {{"InstanceID", key}}), out);
}

void StaticElementSettingDataTraits::addProperties(Model& model, CMPIInstance* instance, const CMPIObjectPath* a,
                        const CMPIObjectPath*)
{
    model.rateEndpoint(AssociationPaths::key(a, "Name"));
    unsigned short value = 0;
    if (model.getDefaultValue(value))
        ProviderUtilities::setProperty(instance, "IsCurrent", value);
}

template class AssociationClass<StaticElementSettingDataTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
