#include "IPEnabledLogicalElementCapabilities.h"

#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("IPEnabledLogicalElementCapabilities.cpp");

IPEnabledLogicalElementCapabilities::IPEnabledLogicalElementCapabilities() : filterActive(false)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPEnabledLogicalElementCapabilities::"
                "IPEnabledLogicalElementCapabilities");
    cursor.selectNode(NodeLexicon::NodeType::IP_INTERFACE);
    while (cursor && isAlias())
        ++cursor;
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPEnabledLogicalElementCapabilities::"
               "IPEnabledLogicalElementCapabilities");
}

IPEnabledLogicalElementCapabilities::~IPEnabledLogicalElementCapabilities()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::IPEnabledLogicalElementCapabilities::"
                 "~IPEnabledLogicalElementCapabilities");
}

bool IPEnabledLogicalElementCapabilities::isAlias()
{
    std::string name;
    return !cursor.getProperty(NodeLexicon::Properties::NAME, name) ||
           name.find(':') != std::string::npos;
}

void IPEnabledLogicalElementCapabilities::skipUnusable()
{
    // Passing over an alias must not land on a node the filters exclude.
    while (cursor && (isAlias() || (filterActive && !evaluate())))
        ++cursor;
}

IPEnabledLogicalElementCapabilities::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::IPEnabledLogicalElementCapabilities::operator bool");
    skipUnusable();
    return static_cast<bool>(cursor);
}

void IPEnabledLogicalElementCapabilities::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPEnabledLogicalElementCapabilities::operator ++");
    ++cursor;
    while (filterActive && cursor && !evaluate())
        ++cursor;
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPEnabledLogicalElementCapabilities::operator ++");
}

void IPEnabledLogicalElementCapabilities::setFilter(FilterType type, std::string value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPEnabledLogicalElementCapabilities::setFilter");
    filterActive = true;
    filters.push_back(Filter{type, value});
    while (cursor && !evaluate())
        ++cursor;
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPEnabledLogicalElementCapabilities::setFilter");
}

bool IPEnabledLogicalElementCapabilities::evaluate()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPEnabledLogicalElementCapabilities::evaluate");
    bool match = true;
    for (const Filter& filter : filters) {
        if (!match)
            break;
        if (filter.type == BY_INSTANCE_ID) {
            std::string name;
            cursor.getProperty(NodeLexicon::Properties::NAME, name);
            match = filter.value == name;
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPEnabledLogicalElementCapabilities::evaluate");
    return match;
}

bool IPEnabledLogicalElementCapabilities::getInstanceID(std::string& value)
{
    std::string name;
    if (!cursor.getProperty(NodeLexicon::Properties::NAME, name))
        return false;
    value = name;
    return true;
}

bool IPEnabledLogicalElementCapabilities::getElementNameEditSupported(bool& value)
{
    bool readOnly = false;
    if (!cursor.isPropertyReadOnly(NodeLexicon::Properties::NAME, readOnly))
        return false;
    value = !readOnly;
    return true;
}

bool IPEnabledLogicalElementCapabilities::getMaxElementNameLen(unsigned short&)
{
    return false;
}

bool IPEnabledLogicalElementCapabilities::getRequestedStatesSupported(
    std::vector<unsigned short>& value)
{
    value.push_back(2);
    value.push_back(3);
    value.push_back(11);
    return true;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
