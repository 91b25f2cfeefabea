#ifndef KORVU_IPIF_CMPIIPELEMENTSETTINGDATA_H
#define KORVU_IPIF_CMPIIPELEMENTSETTINGDATA_H

#include <cmpidt.h>

#include <string>
#include <vector>

#include "SettingDataTraits.h"
#include "CMPIAssignmentSettingData.h"
#include "IPElementSettingData.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_IPElementSettingData: an IP protocol endpoint (ManagedElement) and
// the static and DHCP IP assignment settings of its interface
// (SettingData), with IsDefault and IsCurrent 1 on the kind in force on the
// endpoint.
struct IPElementSettingDataTraits : SettingDataTraits<CMPIAssignmentSettingData, IPElementSettingData> {
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

using CMPIIPElementSettingData = AssociationClass<IPElementSettingDataTraits>;
extern template class AssociationClass<IPElementSettingDataTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
