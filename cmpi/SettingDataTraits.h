#ifndef KORVU_IPIF_SETTINGDATATRAITS_H
#define KORVU_IPIF_SETTINGDATATRAITS_H

#include <string>
#include <vector>

#include "AssociationClass.h"
#include "AssociationPaths.h"
#include "CMPIProtocolEndpoint.h"
#include "EndResolution.h"

namespace Korvu {
namespace IPInterfaceProvider {

// What the two element-setting-data associations share: an IP protocol
// endpoint (ManagedElement) and settings of its interface (SettingData),
// whose InstanceIDs start with "<system>:<interface>" of the endpoint. Each
// association adds its setting class, the key of a setting and the values
// of a pair.
template <class Setting, class ModelType>
struct SettingDataTraits {
    using Model = ModelType;

    static void listA(const EndContext& c, std::vector<CMPIObjectPath*>& out)
    {
        AssociationPaths::listOwn<CMPIProtocolEndpoint>(c, out);
    }
    static void listB(const EndContext& c, std::vector<CMPIObjectPath*>& out)
    {
        AssociationPaths::listOwn<Setting>(c, out);
    }
    static void findA(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
    {
        AssociationPaths::findOwn<CMPIProtocolEndpoint>(c, given, out);
    }
    static void findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
    {
        AssociationPaths::findOwn<Setting>(c, given, out);
    }
    // "<system>:<interface>": the endpoints of that interface.
    static void candidatesA(const EndContext& c, Model&, const std::string& key, std::vector<CMPIObjectPath*>& out)
    {
        AssociationPaths::listInterfaceEndpoints<CMPIProtocolEndpoint>(c, key.substr(key.find(':') + 1), out);
    }
    static CMPIInstance* instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties)
    {
        return AssociationPaths::instanceOwn<CMPIProtocolEndpoint>(c, path, properties);
    }
    static CMPIInstance* instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties)
    {
        return AssociationPaths::instanceOwn<Setting>(c, path, properties);
    }
    static std::string keyA(Model&, const PathKeys& path, bool given)
    {
        return EndResolution::endpointSettingKey(AssociationPaths::key(path, "SystemCreationClassName"),
                                                 AssociationPaths::key(path, "Name"), given);
    }
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
