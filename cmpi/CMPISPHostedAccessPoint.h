#ifndef KORVU_IPIF_CMPISPHOSTEDACCESSPOINT_H
#define KORVU_IPIF_CMPISPHOSTEDACCESSPOINT_H

#include <cmpidt.h>

#include <string>
#include <vector>

#include "ComputerEndTraits.h"
#include "CMPIProtocolEndpoint.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_SPHostedAccessPoint: the service processor (Antecedent) and its IP
// protocol endpoints (Dependent).
struct SPHostedAccessPointTraits : ComputerEndTraits<CMPIProtocolEndpoint, SPHostedAccessPointTraits> {
    static const char* const name;
    static const char* const qualified;
    static const char* const file;
    static const char* const className;
    static const unsigned short classId;
    static const char* const ancestors[];
    static const AssociationEnd a;
    static const AssociationEnd b;
    static const char* const computers[];
};

using CMPISPHostedAccessPoint = AssociationClass<SPHostedAccessPointTraits>;
extern template class AssociationClass<SPHostedAccessPointTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
