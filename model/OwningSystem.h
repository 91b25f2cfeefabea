#ifndef KORVU_IPIF_OWNINGSYSTEM_H
#define KORVU_IPIF_OWNINGSYSTEM_H

#include <string>

#include "Instrumentation.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Description of the system node two levels above the cursor's node: the
// system that owns an IP interface ("BMC" for a service processor).
inline std::string owningSystemDescription(Instrumentation& cursor)
{
    Instrumentation system;
    system.selectNode(cursor.getPathToParentNode());
    system.selectNode(system.getPathToParentNode());
    return system.getNodeDescription();
}

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
