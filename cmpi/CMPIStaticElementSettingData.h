#ifndef KORVU_IPIF_CMPISTATICELEMENTSETTINGDATA_H
#define KORVU_IPIF_CMPISTATICELEMENTSETTINGDATA_H

#include <cmpidt.h>

#include <string>
#include <vector>

#include "SettingDataTraits.h"
#include "CMPIStaticIPAssignmentSettingData.h"
#include "StaticIPElementSettingData.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_StaticIPElementSettingData: an IP protocol endpoint
// (ManagedElement) and the static IP assignment setting of its interface
// (SettingData), IsCurrent 1 when the endpoint is statically configured.
struct StaticElementSettingDataTraits : SettingDataTraits<CMPIStaticIPAssignmentSettingData, StaticIPElementSettingData> {
    static const char* const name;
    static const char* const qualified;
    static const char* const file;
    static const char* const className;
    static const unsigned short classId;
    static const char* const ancestors[];
    static const AssociationEnd a;
    static const AssociationEnd b;
    static std::string keyB(Model& model, const PathKeys& path, bool given);
    static void candidatesB(const EndContext& c, Model& model, const std::string& key, std::vector<CMPIObjectPath*>& out);
    static void addProperties(Model& model, CMPIInstance* instance, const CMPIObjectPath* a, const CMPIObjectPath* b);
};

using CMPIStaticElementSettingData = AssociationClass<StaticElementSettingDataTraits>;
extern template class AssociationClass<StaticElementSettingDataTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
