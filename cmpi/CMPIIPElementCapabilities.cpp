#include "CMPIIPElementCapabilities.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const IPElementCapabilitiesTraits::name = "CMPIIPElementCapabilities";
const char* const IPElementCapabilitiesTraits::qualified = "Korvu::IPInterfaceProvider::CMPIIPElementCapabilities::";
const char* const IPElementCapabilitiesTraits::file = "CMPIIPElementCapabilities.cpp";
const char* const IPElementCapabilitiesTraits::className = "Tavrix_IPElementCapabilities";
const unsigned short IPElementCapabilitiesTraits::classId = 121;
const char* const IPElementCapabilitiesTraits::ancestors[] = {"CIM_ElementCapabilities", nullptr};
const AssociationEnd IPElementCapabilitiesTraits::a = {"ManagedElement", {9, 0, 0}, {"Tavrix_IPProtocolEndpoint", "CIM_IPProtocolEndpoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};
const AssociationEnd IPElementCapabilitiesTraits::b = {"Capabilities", {128, 0, 0}, {"Tavrix_IPEnabledLogicalElementCapabilities", "CIM_EnabledLogicalElementCapabilities", nullptr}, {"InstanceID", nullptr}};

void IPElementCapabilitiesTraits::listA(const EndContext& c, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listOwn<CMPIProtocolEndpoint>(c, out);
}

CMPIInstance* IPElementCapabilitiesTraits::instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties)
{
    return AssociationPaths::instanceOwn<CMPIProtocolEndpoint>(c, path, properties);
}

void IPElementCapabilitiesTraits::listB(const EndContext& c, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listOwn<CMPIIPEnabledLogicalElementCapabilities>(c, out);
}

CMPIInstance* IPElementCapabilitiesTraits::instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties)
{
    return AssociationPaths::instanceOwn<CMPIIPEnabledLogicalElementCapabilities>(c, path, properties);
}

void IPElementCapabilitiesTraits::findA(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::findOwn<CMPIProtocolEndpoint>(c, given, out);
}

void IPElementCapabilitiesTraits::findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::findOwn<CMPIIPEnabledLogicalElementCapabilities>(c, given, out);
}

void IPElementCapabilitiesTraits::candidatesA(const EndContext& c, Model&, const std::string& key,
                                              std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listInterfaceEndpoints<CMPIProtocolEndpoint>(c, key, out);
}

void IPElementCapabilitiesTraits::candidatesB(const EndContext& c, Model&, const std::string& key,
                                              std::vector<CMPIObjectPath*>& out)
{
    // Capabilities carry their interface's name as InstanceID.
    AssociationPaths::listOwnNarrowed<CMPIIPEnabledLogicalElementCapabilities>(
        c, AssociationPaths::keyPath(c, "Tavrix_IPEnabledLogicalElementCapabilities", {{"InstanceID", key}}), out);
}

std::string IPElementCapabilitiesTraits::keyA(Model& model, const PathKeys& path, bool given)
{
    return model.endpointKey(AssociationPaths::key(path, "Name"), given);
}

std::string IPElementCapabilitiesTraits::keyB(Model& model, const PathKeys& path, bool given)
{
    return model.capabilitiesKey(AssociationPaths::key(path, "InstanceID"), given);
}

void IPElementCapabilitiesTraits::addProperties(Model&, CMPIInstance*, const CMPIObjectPath*, const CMPIObjectPath*) {}

template class AssociationClass<IPElementCapabilitiesTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
