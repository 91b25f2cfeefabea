#ifndef KORVU_IPIF_CMPIIPHOSTEDACCESSPOINT_H
#define KORVU_IPIF_CMPIIPHOSTEDACCESSPOINT_H

#include <cmpidt.h>

#include <string>
#include <vector>

#include "ComputerEndTraits.h"
#include "CMPIProtocolEndpoint.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_IPHostedAccessPoint: a host computer system (Antecedent) and its
// IP protocol endpoints (Dependent).
struct IPHostedAccessPointTraits : ComputerEndTraits<CMPIProtocolEndpoint, IPHostedAccessPointTraits> {
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

using CMPIIPHostedAccessPoint = AssociationClass<IPHostedAccessPointTraits>;
extern template class AssociationClass<IPHostedAccessPointTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
