#include "IPAssignmentSettingData.h"

#include <string_view>

#include "InstanceId.h"
#include "OwningSystem.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("IPAssignmentSettingData.cpp");

namespace {

const unsigned int staticKind = 1;
const unsigned int dhcpKind = 2;

// The InstanceID without a trailing kind, so that either kind names the
// interface.
std::string withoutKind(const std::string& instanceId)
{
    for (const char* kind : {":static", ":dhcp"}) {
        std::string suffix(kind);
        if (instanceId.size() >= suffix.size() &&
            instanceId.compare(instanceId.size() - suffix.size(), suffix.size(), suffix) == 0)
            return instanceId.substr(0, instanceId.size() - suffix.size());
    }
    return instanceId;
}

} // namespace

IPAssignmentSettingData::IPAssignmentSettingData()
    : filterActive(false), settingKind(staticKind), prefixMatch(false)
{
    cursor.selectNode(NodeLexicon::NodeType::IP_INTERFACE);
}

IPAssignmentSettingData::operator bool() { return static_cast<bool>(cursor); }

void IPAssignmentSettingData::step()
{
    instanceIdKnown = false;
    if (settingKind == dhcpKind) {
        ++cursor;
        settingKind = staticKind;
    } else {
        ++settingKind;
    }
}

void IPAssignmentSettingData::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPAssignmentSettingData::operator ++");
    step();
    while (filterActive && cursor && !evaluate())
        step();
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPAssignmentSettingData::operator ++");
}

void IPAssignmentSettingData::setFilter(FilterType type, const std::string value, bool prefix)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPAssignmentSettingData::setFilter");
    prefixMatch = prefix;
    filterActive = true;
    filters.push_back(Filter{type, value, withoutKind(value)});
    while (cursor && !evaluate())
        step();
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPAssignmentSettingData::setFilter");
}

bool IPAssignmentSettingData::evaluate()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPAssignmentSettingData::evaluate");
    bool match = true;
    for (const Filter& filter : filters) {
        if (!match)
            break;
        if (filter.type != BY_INSTANCE_ID)
            continue;
        // An InstanceID ends with the node's name (and the kind): a value
        // that does not is passed over without looking up the system.
        std::string name;
        if (!cursor.getProperty(NodeLexicon::Properties::NAME, name))
            name.clear();
        const std::string_view kind = prefixMatch ? "" : settingKind == dhcpKind ? ":dhcp" : ":static";
        if (!InstanceId::endsWithInterface(prefixMatch ? filter.interfaceId : filter.value, name, kind)) {
            match = false;
            continue;
        }
        std::string instanceId;
        getInstanceID(instanceId);
        if (!prefixMatch) {
            match = filter.value == instanceId;
        } else {
            // Whole interface names are compared: a value naming eth10 must
            // not select eth1 because one name contains the other.
            std::string interfaceId = instanceId.substr(0, instanceId.rfind(':'));
            match = filter.interfaceId == interfaceId;
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPAssignmentSettingData::evaluate");
    return match;
}

bool IPAssignmentSettingData::getInstanceID(std::string& value)
{
    // Asked for the path and again for the instance: built once per element.
    if (!instanceIdKnown) {
        const std::string& description = owner.description(cursor);
        std::string interfaceName;
        if (!cursor.getProperty(NodeLexicon::Properties::NAME, interfaceName))
            interfaceName.clear();
        instanceId.assign(description == "BMC" ? "BMC:" : "Computer:");
        instanceId += interfaceName;
        instanceId += settingKind == dhcpKind ? ":dhcp" : ":static";
        instanceIdKnown = true;
    }
    value = instanceId;
    return true;
}

bool IPAssignmentSettingData::getElementName(std::string& value)
{
    std::string name;
    if (!cursor.getProperty(NodeLexicon::Properties::NAME, name))
        name.clear();
    value = name;
    return true;
}

bool IPAssignmentSettingData::getAddressOrigin(unsigned short& value)
{
    value = 2;
    return true;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
