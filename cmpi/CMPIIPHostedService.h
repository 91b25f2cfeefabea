#ifndef KORVU_IPIF_CMPIIPHOSTEDSERVICE_H
#define KORVU_IPIF_CMPIIPHOSTEDSERVICE_H

#include <cmpidt.h>

#include <string>
#include <vector>

#include "ComputerEndTraits.h"
#include "CMPIIPConfigurationService.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_IPHostedService: a computer system (Antecedent) and its IP
// configuration service (Dependent).
struct IPHostedServiceTraits : ComputerEndTraits<CMPIIPConfigurationService, IPHostedServiceTraits> {
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

using CMPIIPHostedService = AssociationClass<IPHostedServiceTraits>;
extern template class AssociationClass<IPHostedServiceTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
