#ifndef KORVU_IPIF_CMPIBINDSTOLANENDPOINT_H
#define KORVU_IPIF_CMPIBINDSTOLANENDPOINT_H

#include <cmpidt.h>

#include <string>
#include <vector>

#include "AssociationClass.h"
#include "BindsToLANEndpoint.h"
#include "CMPIProtocolEndpoint.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_BindsToLanEndPoint: the LAN endpoint of a network adapter
// (Antecedent, served by another provider) and the IP protocol endpoints of
// the interfaces below it (Dependent).
struct BindsToLanEndpointTraits {
    static const char* const name;
    static const char* const qualified;
    static const char* const file;
    static const char* const className;
    static const unsigned short classId;
    static const char* const ancestors[];
    static const AssociationEnd a;
    static const AssociationEnd b;
    using Model = BindsToLANEndpoint;
    static void listA(const EndContext& c, std::vector<CMPIObjectPath*>& out);
    static void listB(const EndContext& c, std::vector<CMPIObjectPath*>& out);
    static void candidatesA(const EndContext& c, Model& model, const std::string& key, std::vector<CMPIObjectPath*>& out);
    static void findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out);
    static CMPIInstance* instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties);
    static CMPIInstance* instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties);
    static std::string keyA(Model& model, const PathKeys& path, bool given);
    static std::string keyB(Model& model, const PathKeys& path, bool given);
    static void addProperties(Model& model, CMPIInstance* instance, const CMPIObjectPath* a, const CMPIObjectPath* b);
};

using CMPIBindsToLanEndpoint = AssociationClass<BindsToLanEndpointTraits>;
extern template class AssociationClass<BindsToLanEndpointTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
