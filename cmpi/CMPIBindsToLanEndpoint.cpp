#include "CMPIBindsToLanEndpoint.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const BindsToLanEndpointTraits::name = "CMPIBindsToLanEndpoint";
const char* const BindsToLanEndpointTraits::qualified = "Korvu::IPInterfaceProvider::CMPIBindsToLanEndpoint::";
const char* const BindsToLanEndpointTraits::file = "CMPIBindsToLanEndpoint.cpp";
const char* const BindsToLanEndpointTraits::className = "Tavrix_BindsToLanEndPoint";
const unsigned short BindsToLanEndpointTraits::classId = 67;
const char* const BindsToLanEndpointTraits::ancestors[] = {"CIM_BindsToLANEndpoint", "CIM_BindsTo", "CIM_SAPSAPDependency", "CIM_Dependency", nullptr};
const AssociationEnd BindsToLanEndpointTraits::a = {"Antecedent", {16, 0, 0}, {"Tavrix_LANEndpoint", "CIM_LANEndpoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};
const AssociationEnd BindsToLanEndpointTraits::b = {"Dependent", {9, 0, 0}, {"Tavrix_IPProtocolEndpoint", "CIM_IPProtocolEndpoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};

void BindsToLanEndpointTraits::listA(const EndContext& c, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listServed(c, "Tavrix_LANEndpoint", out);
}

CMPIInstance* BindsToLanEndpointTraits::instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties)
{
    return AssociationPaths::instanceServed(c, path, properties);
}

void BindsToLanEndpointTraits::listB(const EndContext& c, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listOwn<CMPIProtocolEndpoint>(c, out);
}

CMPIInstance* BindsToLanEndpointTraits::instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties)
{
    return AssociationPaths::instanceOwn<CMPIProtocolEndpoint>(c, path, properties);
}

void BindsToLanEndpointTraits::candidatesA(const EndContext& c, Model&, const std::string& key,
                                           std::vector<CMPIObjectPath*>& out)
{
    // The key names system and adapter: the one LAN endpoint is asked for.
    const std::string::size_type first = key.find('\n');
    const std::string::size_type last = key.rfind('\n');
    if (first == std::string::npos || last == first || key.find('\n', first + 1) != last) {
        listA(c, out);
        return;
    }
    CMPIObjectPath* path = AssociationPaths::keyPath(
        c, "Tavrix_LANEndpoint",
        {{"SystemCreationClassName", key.substr(0, first)}, {"SystemName", key.substr(first + 1, last - first - 1)},
         {"CreationClassName", "Tavrix_LANEndpoint"}, {"Name", key.substr(last + 1)}});
    if (path)
        AssociationPaths::findServed(c, path, out);
    else
        listA(c, out);
}

void BindsToLanEndpointTraits::findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::findOwn<CMPIProtocolEndpoint>(c, given, out);
}

std::string BindsToLanEndpointTraits::keyA(Model& model, const PathKeys& path, bool given)
{
    (void)given;
    return model.lanKey(AssociationPaths::key(path, "SystemCreationClassName"),
                        AssociationPaths::key(path, "SystemName"), AssociationPaths::key(path, "Name"));
}

std::string BindsToLanEndpointTraits::keyB(Model& model, const PathKeys& path, bool given)
{
    return model.endpointKey(AssociationPaths::key(path, "SystemCreationClassName"),
                             AssociationPaths::key(path, "SystemName"), AssociationPaths::key(path, "Name"),
                             given);
}

void BindsToLanEndpointTraits::addProperties(Model&, CMPIInstance*, const CMPIObjectPath*, const CMPIObjectPath*) {}

template class AssociationClass<BindsToLanEndpointTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
