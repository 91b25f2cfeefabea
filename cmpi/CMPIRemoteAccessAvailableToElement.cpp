#include "CMPIRemoteAccessAvailableToElement.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const RemoteAccessAvailableToElementTraits::name = "CMPIRemoteAccessAvailableToElement";
const char* const RemoteAccessAvailableToElementTraits::qualified = "Korvu::IPInterfaceProvider::CMPIRemoteAccessAvailableToElement::";
const char* const RemoteAccessAvailableToElementTraits::file = "CMPIRemoteAccessAvailableToElement.cpp";
const char* const RemoteAccessAvailableToElementTraits::className = "Tavrix_IPRemoteAccessAvailableToElement";
const unsigned short RemoteAccessAvailableToElementTraits::classId = 81;
const char* const RemoteAccessAvailableToElementTraits::ancestors[] = {"CIM_RemoteAccessAvailableToElement", "CIM_Dependency", nullptr};
const AssociationEnd RemoteAccessAvailableToElementTraits::a = {"Antecedent", {70, 0, 0}, {"Tavrix_IPRemoteServiceAccessPoint", "CIM_RemoteServiceAccessPoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};
const AssociationEnd RemoteAccessAvailableToElementTraits::b = {"Dependent", {9, 0, 0}, {"Tavrix_IPProtocolEndpoint", "CIM_IPProtocolEndpoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};

void RemoteAccessAvailableToElementTraits::listA(const EndContext& c, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listOwn<CMPIRemoteServiceAccessPoint>(c, out);
}

CMPIInstance* RemoteAccessAvailableToElementTraits::instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties)
{
    return AssociationPaths::instanceOwn<CMPIRemoteServiceAccessPoint>(c, path, properties);
}

void RemoteAccessAvailableToElementTraits::listB(const EndContext& c, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::listOwn<CMPIProtocolEndpoint>(c, out);
}

CMPIInstance* RemoteAccessAvailableToElementTraits::instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties)
{
    return AssociationPaths::instanceOwn<CMPIProtocolEndpoint>(c, path, properties);
}

void RemoteAccessAvailableToElementTraits::findA(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::findOwn<CMPIRemoteServiceAccessPoint>(c, given, out);
}

void RemoteAccessAvailableToElementTraits::findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
{
    AssociationPaths::findOwn<CMPIProtocolEndpoint>(c, given, out);
}

void RemoteAccessAvailableToElementTraits::candidatesA(const EndContext& c, Model&, const std::string& key,
                                                       std::vector<CMPIObjectPath*>& out)
{
    // The access points' Name filter compares the part before the first
    // '_', so it narrows to one interface only for names without one.
    const std::string interfaceName = key.substr(key.rfind('\n') + 1);
    CMPIObjectPath* narrow = nullptr;
    if (interfaceName.find('_') == std::string::npos)
        narrow = AssociationPaths::keyPath(c, "Tavrix_IPRemoteServiceAccessPoint", {{"Name", interfaceName}});
    AssociationPaths::listOwnNarrowed<CMPIRemoteServiceAccessPoint>(c, narrow, out);
}

void RemoteAccessAvailableToElementTraits::candidatesB(const EndContext& c, Model&, const std::string& key,
                                                       std::vector<CMPIObjectPath*>& out)
{
    // System and interface: the endpoints of that interface.
    AssociationPaths::listInterfaceEndpoints<CMPIProtocolEndpoint>(c, key.substr(key.rfind('\n') + 1), out);
}

std::string RemoteAccessAvailableToElementTraits::keyA(Model& model, const PathKeys& path, bool given)
{
    return model.accessKey(AssociationPaths::key(path, "SystemCreationClassName"),
                           AssociationPaths::key(path, "SystemName"), AssociationPaths::key(path, "Name"),
                           given);
}

std::string RemoteAccessAvailableToElementTraits::keyB(Model& model, const PathKeys& path, bool given)
{
    return model.endpointKey(AssociationPaths::key(path, "SystemCreationClassName"),
                             AssociationPaths::key(path, "SystemName"), AssociationPaths::key(path, "Name"),
                             given);
}

void RemoteAccessAvailableToElementTraits::addProperties(Model& model, CMPIInstance* instance, const CMPIObjectPath*,
                        const CMPIObjectPath*)
{
    unsigned short order = 0;
    if (model.getOrderOfAccess(order))
        ProviderUtilities::setProperty(instance, "OrderOfAccess", order);
}

template class AssociationClass<RemoteAccessAvailableToElementTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
