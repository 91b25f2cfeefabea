#ifndef KORVU_IPIF_CMPIIPELEMENTCAPABILITIES_H
#define KORVU_IPIF_CMPIIPELEMENTCAPABILITIES_H

#include <cmpidt.h>

#include <string>
#include <vector>

#include "AssociationClass.h"
#include "CMPIIPEnabledLogicalElementCapabilities.h"
#include "CMPIProtocolEndpoint.h"
#include "IPElementCapabilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_IPElementCapabilities: an IP protocol endpoint (ManagedElement)
// and the IP capabilities of its interface (Capabilities); an alias has
// none.
struct IPElementCapabilitiesTraits {
    static const char* const name;
    static const char* const qualified;
    static const char* const file;
    static const char* const className;
    static const unsigned short classId;
    static const char* const ancestors[];
    static const AssociationEnd a;
    static const AssociationEnd b;
    using Model = IPElementCapabilities;
    static void listA(const EndContext& c, std::vector<CMPIObjectPath*>& out);
    static void listB(const EndContext& c, std::vector<CMPIObjectPath*>& out);
    static void findA(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out);
    static void findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out);
    static void candidatesA(const EndContext& c, Model& model, const std::string& key, std::vector<CMPIObjectPath*>& out);
    static void candidatesB(const EndContext& c, Model& model, const std::string& key, std::vector<CMPIObjectPath*>& out);
    static CMPIInstance* instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties);
    static CMPIInstance* instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties);
    static std::string keyA(Model& model, const PathKeys& path, bool given);
    static std::string keyB(Model& model, const PathKeys& path, bool given);
    static void addProperties(Model& model, CMPIInstance* instance, const CMPIObjectPath* a, const CMPIObjectPath* b);
};

using CMPIIPElementCapabilities = AssociationClass<IPElementCapabilitiesTraits>;
extern template class AssociationClass<IPElementCapabilitiesTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
