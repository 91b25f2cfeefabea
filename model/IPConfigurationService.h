#ifndef KORVU_IPIF_IPCONFIGURATIONSERVICE_H
#define KORVU_IPIF_IPCONFIGURATIONSERVICE_H

#include <string>
#include <vector>

#include "Instrumentation.h"

namespace Korvu {
namespace IPInterfaceProvider {

// The one IP configuration service of the managed system: a cursor over the
// IP interface nodes that yields at most one element, and only while the
// store holds an endpoint that passes the filters. Exceptions of the node
// store and std::bad_alloc pass through every operation.
class IPConfigurationService {
public:
    // Only BY_SYSTEM_NAME excludes nodes; entries of other types are kept
    // but pass everything.
    enum FilterType { BY_SYSTEM_NAME = 0 };

    IPConfigurationService();
    ~IPConfigurationService();

    operator bool();
    void operator++();
    // Appends a filter and moves on, from the current node, to the first
    // node that passes all filters.
    void setFilter(FilterType type, const std::string value);
    bool evaluate();

    // "Tavrix_ComputerSystem".
    bool getSystemCreationClassName(std::string& value);
    // Host name; false (value unchanged) when gethostname fails.
    bool getSystemName(std::string& value);
    // "Tavrix_IPConfigurationService".
    bool getCreationClassName(std::string& value);
    // "IPConfigService".
    bool getName(std::string& value);

private:
    struct Filter {
        FilterType type;
        std::string value;
    };

    std::vector<Filter> filters;
    Instrumentation cursor;
    int position;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
