#ifndef KORVU_IPIF_OWNINGSYSTEM_H
#define KORVU_IPIF_OWNINGSYSTEM_H

#include <string>
#include <utility>

#include "Instrumentation.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Description of the system node `levels` above the cursor's node (two for
// an IP interface, one for a network adapter): the system that owns it
// ("BMC" for a service processor), empty above a top-level node. Looked up
// once per system for a cursor that walks many nodes of few systems. A node's
// description never changes once the store is parsed, so the answer of the
// last system asked is kept.
class OwningSystem {
public:
    explicit OwningSystem(int levels = 2) : levels(levels) {}

    const std::string& description(Instrumentation& cursor)
    {
        // Steps up the cursor's own store: no path is built or looked up.
        Instrumentation system = cursor;
        for (int i = 0; i < levels; ++i)
            system.selectParent();
        if (!known || !system.standsOn(last)) {
            lastDescription = system.getNodeDescription();
            last = std::move(system);
            known = true;
        }
        return lastDescription;
    }

    bool isServiceProcessor(Instrumentation& cursor) { return description(cursor) == "BMC"; }

    // The system node of the cursor asked about last; invalid above a
    // top-level node.
    Instrumentation& system() { return last; }

private:
    int levels;
    Instrumentation last;
    std::string lastDescription;
    bool known = false;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
