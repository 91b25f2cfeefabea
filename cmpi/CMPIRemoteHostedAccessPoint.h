#ifndef KORVU_IPIF_CMPIREMOTEHOSTEDACCESSPOINT_H
#define KORVU_IPIF_CMPIREMOTEHOSTEDACCESSPOINT_H

#include <cmpidt.h>

#include <string>
#include <vector>

#include "ComputerEndTraits.h"
#include "CMPIRemoteServiceAccessPoint.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_RemoteHostedAccessPoint: a computer system, host or service
// processor (Antecedent), and its remote access points, the default
// gateways (Dependent).
struct RemoteHostedAccessPointTraits : ComputerEndTraits<CMPIRemoteServiceAccessPoint, RemoteHostedAccessPointTraits> {
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

using CMPIRemoteHostedAccessPoint = AssociationClass<RemoteHostedAccessPointTraits>;
extern template class AssociationClass<RemoteHostedAccessPointTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
