#ifndef KORVU_IPIF_OWNINGSYSTEM_H
#define KORVU_IPIF_OWNINGSYSTEM_H

#include <string>
#include <utility>

#include "Instrumentation.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Path of the node two levels above the cursor's node, which is the
// adapter's path less its last name: a node's path is its parent's path,
// "/" and its name. Empty when that is the root (no node) or on no node.
inline std::string owningSystemPath(Instrumentation& cursor)
{
    std::string path = cursor.getPathToParentNode();
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return std::string();
    path.resize(slash);
    return path;
}

// Description of the system node two levels above the cursor's node: the
// system that owns an IP interface ("BMC" for a service processor).
inline std::string owningSystemDescription(Instrumentation& cursor)
{
    std::string path = owningSystemPath(cursor);
    if (path.empty())
        return std::string();
    Instrumentation system;
    system.selectNode(path);
    return system.getNodeDescription();
}

// The same answer, looked up once per system for a cursor that walks many
// interfaces of few systems. A node's description never changes once the
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
