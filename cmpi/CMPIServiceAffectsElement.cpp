#include "CMPIServiceAffectsElement.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const ServiceAffectsElementTraits::name = "CMPIServiceAffectsElement";
const char* const ServiceAffectsElementTraits::qualified = "Korvu::IPInterfaceProvider::CMPIServiceAffectsElement::";
const char* const ServiceAffectsElementTraits::file = "CMPIServiceAffectsElement.cpp";
const char* const ServiceAffectsElementTraits::className = "Tavrix_IPServiceAffectsElement";
const unsigned short ServiceAffectsElementTraits::classId = 131;
const char* const ServiceAffectsElementTraits::ancestors[] = {"CIM_ServiceAffectsElement", nullptr};
const AssociationEnd ServiceAffectsElementTraits::a = {"AffectingElement", {129, 0, 0}, {"Tavrix_IPConfigurationService", "CIM_IPConfigurationService", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};
const AssociationEnd ServiceAffectsElementTraits::b = {"AffectedElement", {9, 0, 0}, {"Tavrix_IPProtocolEndpoint", "CIM_IPProtocolEndpoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};

void ServiceAffectsElementTraits::listA(const EndContext& c, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listOwn<CMPIIPConfigurationService>(c, out);
}

CMPIInstance* ServiceAffectsElementTraits::instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties)
{
    return AssociationPaths::instanceOwn<CMPIIPConfigurationService>(c, path, properties);
}

void ServiceAffectsElementTraits::listB(const EndContext& c, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listOwn<CMPIProtocolEndpoint>(c, out);
}

CMPIInstance* ServiceAffectsElementTraits::instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties)
{
    return AssociationPaths::instanceOwn<CMPIProtocolEndpoint>(c, path, properties);
}

void ServiceAffectsElementTraits::findA(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::findOwn<CMPIIPConfigurationService>(c, given, out);
}

void ServiceAffectsElementTraits::findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::findOwn<CMPIProtocolEndpoint>(c, given, out);
}

std::string ServiceAffectsElementTraits::keyA(Model& model, const PathKeys& path, bool given)
{
    (void)model;
    (void)given;
    return EndResolution::join({AssociationPaths::key(path, "SystemCreationClassName"),
                                AssociationPaths::key(path, "SystemName")});
}

std::string ServiceAffectsElementTraits::keyB(Model& model, const PathKeys& path, bool given)
{
    (void)model;
    (void)given;
    return EndResolution::join({AssociationPaths::key(path, "SystemCreationClassName"),
                                AssociationPaths::key(path, "SystemName")});
}

void ServiceAffectsElementTraits::addProperties(Model&, CMPIInstance*, const CMPIObjectPath*, const CMPIObjectPath*) {}

template class AssociationClass<ServiceAffectsElementTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
