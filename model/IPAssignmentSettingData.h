#ifndef KORVU_IPIF_IPASSIGNMENTSETTINGDATA_H
#define KORVU_IPIF_IPASSIGNMENTSETTINGDATA_H

#include <string>
#include <vector>

#include "Instrumentation.h"
#include "NodeLexicon.h"
#include "OwningSystem.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Two setting elements per IP interface node, the static one first and the
// DHCP one second, told apart by their InstanceID ("Computer:eth0:static",
// "BMC:eth0:dhcp"). Exceptions of the node store and std::bad_alloc pass
// through every operation.
class IPAssignmentSettingData {
public:
    enum FilterType { BY_INSTANCE_ID = 0 };

    IPAssignmentSettingData();

    operator bool();
    void operator++();
    // With prefixMatch, a value selects both elements of the interface it
    // names, whichever kind suffix it carries. The last call decides the
    // matching of every entry.
    void setFilter(FilterType type, const std::string value, bool prefixMatch);
    bool evaluate();

    bool getInstanceID(std::string& value);
    bool getElementName(std::string& value);
    // Always 2 (not applicable).
    bool getAddressOrigin(unsigned short& value);

private:
    struct Filter {
        FilterType type;
        std::string value;
        std::string interfaceId;  // the value without a kind, cut once
    };

    void step();

    bool filterActive;
    std::vector<Filter> filters;
    Instrumentation cursor;
    OwningSystem owner;
    // The InstanceID of the element the cursor stands on, forgotten on a step.
    std::string instanceId;
    bool instanceIdKnown = false;
    unsigned int settingKind;
    bool prefixMatch;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
