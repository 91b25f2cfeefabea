#ifndef KORVU_IPIF_IPENABLEDLOGICALELEMENTCAPABILITIES_H
#define KORVU_IPIF_IPENABLEDLOGICALELEMENTCAPABILITIES_H

#include <string>
#include <vector>

#include "Instrumentation.h"
#include "NodeLexicon.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Cursor over the IP interface nodes that are not aliases (a name that
// cannot be read or holds ':'), one capabilities element per node.
// Exceptions of the node store and std::bad_alloc pass through.
class IPEnabledLogicalElementCapabilities {
public:
    enum FilterType { BY_INSTANCE_ID = 0 };

    IPEnabledLogicalElementCapabilities();
    ~IPEnabledLogicalElementCapabilities();

    // Moves past alias nodes that pass the filters' test too.
    operator bool();
    void operator++();
    void setFilter(FilterType type, std::string value);
    bool evaluate();

    // Interface name; false when the node has none.
    bool getInstanceID(std::string& value);
    // False when the store cannot tell whether the name is read-only.
    bool getElementNameEditSupported(bool& value);
    // Never has a value.
    bool getMaxElementNameLen(unsigned short& value);
    // Appends 2, 3 and 11.
    bool getRequestedStatesSupported(std::vector<unsigned short>& value);

private:
    struct Filter {
        FilterType type;
        std::string value;
    };

    bool isAlias();
    // Advances while the cursor stands on an alias or on a node that fails
    // the filters.
    void skipUnusable();

    bool filterActive;
    std::vector<Filter> filters;
    Instrumentation cursor;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
