#ifndef KORVU_IPIF_OWNINGSYSTEM_H
#define KORVU_IPIF_OWNINGSYSTEM_H

#include <string>
#include <utility>

#include "Instrumentation.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Description of the system node two levels above the cursor's node: the
// system that owns an IP interface ("BMC" for a service processor), empty
// above a top-level node. Looked up once per system for a cursor that walks
// many interfaces of few systems. A node's description never changes once the
// store is parsed, so the answer of the last system asked is kept.
class OwningSystem {
public:
    const std::string& description(Instrumentation& cursor)
    {
        // Two steps up the cursor's own store: no path is built or looked up.
        Instrumentation system = cursor;
        system.selectParent();
        system.selectParent();
        if (!known || !system.standsOn(last)) {
            lastDescription = system.getNodeDescription();
            last = std::move(system);
            known = true;
        }
        return lastDescription;
    }

    bool isServiceProcessor(Instrumentation& cursor) { return description(cursor) == "BMC"; }

private:
    Instrumentation last;
    std::string lastDescription;
    bool known = false;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
