#ifndef KORVU_IPIF_CMPISERVICEAFFECTSELEMENT_H
#define KORVU_IPIF_CMPISERVICEAFFECTSELEMENT_H

#include <cmpidt.h>

#include <string>
#include <vector>

#include "AssociationClass.h"
#include "CMPIIPConfigurationService.h"
#include "CMPIProtocolEndpoint.h"
#include "EndResolution.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_IPServiceAffectsElement: the IP configuration service
// (AffectingElement) and every IP protocol endpoint of its system
// (AffectedElement).
struct ServiceAffectsElementTraits {
    static const char* const name;
    static const char* const qualified;
    static const char* const file;
    static const char* const className;
    static const unsigned short classId;
    static const char* const ancestors[];
    static const AssociationEnd a;
    static const AssociationEnd b;
    using Model = EndResolution;
    static void listA(const EndContext& c, std::vector<CMPIObjectPath*>& out);
    static void listB(const EndContext& c, std::vector<CMPIObjectPath*>& out);
    static void findA(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out);
    static void findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out);
    static CMPIInstance* instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties);
    static CMPIInstance* instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties);
    static std::string keyA(Model& model, const PathKeys& path, bool given);
    static std::string keyB(Model& model, const PathKeys& path, bool given);
    static void addProperties(Model& model, CMPIInstance* instance, const CMPIObjectPath* a, const CMPIObjectPath* b);
};

using CMPIServiceAffectsElement = AssociationClass<ServiceAffectsElementTraits>;
extern template class AssociationClass<ServiceAffectsElementTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
