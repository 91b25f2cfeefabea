#include "IPConfigurationService.h"

#include <unistd.h>

#include "NodeLexicon.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("IPConfigurationService.cpp");

IPConfigurationService::IPConfigurationService() : position(0)
{
    cursor.selectNode(NodeLexicon::IP_INTERFACE);
}

IPConfigurationService::~IPConfigurationService() {}

IPConfigurationService::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::IPConfigurationService::operator bool");
    // The service exists once, however many endpoints there are.
    return position < 1 && static_cast<bool>(cursor);
}

void IPConfigurationService::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPConfigurationService::operator ++");
    ++position;
    ++cursor;
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPConfigurationService::operator ++");
}

void IPConfigurationService::setFilter(FilterType type, const std::string value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPConfigurationService::setFilter");
    filters.push_back(Filter{type, value});
    // The system name is this host's on every node: when the first node
    // does not match, none does.
    if (cursor && !evaluate())
        position = 1;
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPConfigurationService::setFilter");
}

bool IPConfigurationService::evaluate()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPConfigurationService::evaluate");
    bool result = true;
    for (const Filter& filter : filters) {
        if (filter.type != BY_SYSTEM_NAME)
            continue;
        std::string systemName;
        // Without a host name there is nothing to compare with.
        if (getSystemName(systemName))
            result = filter.value == systemName;
        if (!result)
            break;
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPConfigurationService::evaluate");
    return result;
}

bool IPConfigurationService::getSystemCreationClassName(std::string& value)
{
    value = "Tavrix_ComputerSystem";
    return true;
}

bool IPConfigurationService::getSystemName(std::string& value)
{
    // gethostname need not terminate a name that fills the buffer.
    char host[257] = {};
    if (gethostname(host, 256) == -1) {
        TRACE_ERROR("gethostname Failed");
        return false;
    }
    value = host;
    return true;
}

bool IPConfigurationService::getCreationClassName(std::string& value)
{
    value = "Tavrix_IPConfigurationService";
    return true;
}

bool IPConfigurationService::getName(std::string& value)
{
    value = "IPConfigService";
    return true;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
