#include "CMPIStaticOrderedComponent.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const StaticOrderedComponentTraits::name = "CMPIStaticOrderedComponent";
const char* const StaticOrderedComponentTraits::qualified = "Korvu::IPInterfaceProvider::CMPIStaticOrderedComponent::";
const char* const StaticOrderedComponentTraits::file = "CMPIStaticOrderedComponent.cpp";
const char* const StaticOrderedComponentTraits::className = "Tavrix_StaticOrderedComponent";
const unsigned short StaticOrderedComponentTraits::classId = 71;
const char* const StaticOrderedComponentTraits::ancestors[] = {"CIM_OrderedComponent", "CIM_Component", nullptr};
const AssociationEnd StaticOrderedComponentTraits::a = {"GroupComponent", {66, 0, 0}, {"Tavrix_IPAssignmentSettingData", "CIM_IPAssignmentSettingData", nullptr}, {"InstanceID", nullptr}};
const AssociationEnd StaticOrderedComponentTraits::b = {"PartComponent", {69, 0, 0}, {"Tavrix_StaticIPAssignmentSettingData", "CIM_StaticIPAssignmentSettingData", nullptr}, {"InstanceID", nullptr}};

void StaticOrderedComponentTraits::listA(const EndContext& c, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listOwn<CMPIAssignmentSettingData>(c, out);
}

CMPIInstance* StaticOrderedComponentTraits::instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties)
{
    return AssociationPaths::instanceOwn<CMPIAssignmentSettingData>(c, path, properties);
}

void StaticOrderedComponentTraits::listB(const EndContext& c, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listOwn<CMPIStaticIPAssignmentSettingData>(c, out);
}

CMPIInstance* StaticOrderedComponentTraits::instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties)
{
    return AssociationPaths::instanceOwn<CMPIStaticIPAssignmentSettingData>(c, path, properties);
}

void StaticOrderedComponentTraits::findA(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::findOwn<CMPIAssignmentSettingData>(c, given, out);
}

void StaticOrderedComponentTraits::findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::findOwn<CMPIStaticIPAssignmentSettingData>(c, given, out);
}

void StaticOrderedComponentTraits::candidatesA(const EndContext& c, Model&, const std::string& key,
                                               std::vector<CMPIObjectPath*>& out)
{
    // Only the static kind of an interface's settings groups its static one.
    AssociationPaths::listOwnNarrowed<CMPIAssignmentSettingData>(
        c, AssociationPaths::keyPath(c, "Tavrix_IPAssignmentSettingData", {{"InstanceID", key + ":static"}}), out);
}

void StaticOrderedComponentTraits::candidatesB(const EndContext& c, Model&, const std::string& key,
                                               std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listOwnNarrowed<CMPIStaticIPAssignmentSettingData>(
        c, AssociationPaths::keyPath(c, "Tavrix_StaticIPAssignmentSettingData", {{"InstanceID", key}}), out);
}

std::string StaticOrderedComponentTraits::keyA(Model& model, const PathKeys& path, bool given)
{
    return model.groupKey(AssociationPaths::key(path, "InstanceID"), given);
}

std::string StaticOrderedComponentTraits::keyB(Model& model, const PathKeys& path, bool given)
{
    return model.partKey(AssociationPaths::key(path, "InstanceID"), given);
}

void StaticOrderedComponentTraits::addProperties(Model& model, CMPIInstance* instance, const CMPIObjectPath*,
                        const CMPIObjectPath*)
{
    unsigned long long sequence = 0;
    if (model.getAssignedSequence(sequence))
        ProviderUtilities::setProperty(instance, "AssignedSequence", sequence);
}

template class AssociationClass<StaticOrderedComponentTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
