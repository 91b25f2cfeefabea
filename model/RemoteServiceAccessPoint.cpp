#include "RemoteServiceAccessPoint.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string_view>
#include <utility>

#include "OwningSystem.h"
#include "Tokenize.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("RemoteServiceAccessPoint.cpp");

namespace {

const char* const serviceProcessorDescription = "BMC";

// Only a whole address of the family is stored as a gateway.
bool isAddressOf(int family, const std::string& text)
{
    if (text.empty() || text.find('\0') != std::string::npos ||
        text.find_first_of("\r\n") != std::string::npos)
        return false;
    unsigned char buffer[sizeof(struct in6_addr)];
    return inet_pton(family, text.c_str(), buffer) == 1;
}

} // namespace

RemoteServiceAccessPoint::RemoteServiceAccessPoint() : filterActive(false), gatewayKind(NONE)
{
    cursor.selectNode(NodeLexicon::NodeType::IP_INTERFACE);
    while (cursor) {
        refreshGatewayKind();
        if (gatewayKind != NONE)
            break;
        moveOn();
    }
}

void RemoteServiceAccessPoint::moveOn()
{
    ++cursor;
    serviceProcessor = -1;
    nameKnown = false;
}

RemoteServiceAccessPoint::~RemoteServiceAccessPoint() {}

RemoteServiceAccessPoint::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::RemoteServiceAccessPoint::operator bool");
    return static_cast<bool>(cursor);
}

void RemoteServiceAccessPoint::refreshGatewayKind()
{
    std::string v4;
    std::string v6;
    bool hasV4 = readString(NodeLexicon::Properties::IPV4_GATEWAY, v4) && !v4.empty();
    bool hasV6 = readString(NodeLexicon::Properties::IPV6_GATEWAY, v6) && !v6.empty();
    gatewayKind = hasV4 ? (hasV6 ? BOTH : IPV4) : (hasV6 ? IPV6 : NONE);
}

void RemoteServiceAccessPoint::step()
{
    if (gatewayKind == BOTH) {
        gatewayKind = IPV4;
        return;
    }
    // Nodes without a gateway give no element, here as in the constructor.
    gatewayKind = NONE;
    moveOn();
    while (cursor) {
        refreshGatewayKind();
        if (gatewayKind != NONE)
            break;
        moveOn();
    }
}

void RemoteServiceAccessPoint::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::RemoteServiceAccessPoint::operator ++");
    step();
    while (filterActive && cursor && !evaluate())
        step();
    TRACE_EXIT("Korvu::IPInterfaceProvider::RemoteServiceAccessPoint::operator ++");
}

void RemoteServiceAccessPoint::setFilter(const FilterType type, const std::string value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::RemoteServiceAccessPoint::setFilter");
    filterActive = true;
    Filter filter{type, value, {}};
    if (type == BY_NAME)
        tokenize(value, filter.wanted, "_");
    filters.push_back(std::move(filter));
    while (cursor && !evaluate())
        step();
    TRACE_EXIT("Korvu::IPInterfaceProvider::RemoteServiceAccessPoint::setFilter");
}

bool RemoteServiceAccessPoint::evaluate()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::RemoteServiceAccessPoint::evaluate");
    bool match = true;
    for (const Filter& filter : filters) {
        if (!match)
            break;
        std::string key;
        if (filter.type == BY_SYSTEM_NAME) {
            if (getSystemName(key))
                match = filter.value == key;
        } else if (filter.type == BY_NAME) {
            if (!getName(key))
                continue;
            const std::vector<std::string>& wanted = filter.wanted;
            const std::string::size_type start = key.find_first_not_of('_');
            match = start != std::string::npos && !wanted.empty() &&
                    std::string_view(key).substr(start, key.find('_', start) - start) == wanted[0];
            if (wanted.size() > 1) {
                // The suffix picks one gateway of the node; a gateway the node
                // does not have is no element, not an empty one.
                std::string v4;
                std::string v6;
                if (wanted[1] == "IPv4") {
                    if (readString(NodeLexicon::Properties::IPV4_GATEWAY, v4) && !v4.empty())
                        gatewayKind = IPV4;
                    else
                        match = false;
                } else if (wanted[1] == "IPv6") {
                    if (readString(NodeLexicon::Properties::IPV6_GATEWAY, v6) && !v6.empty())
                        gatewayKind = IPV6;
                    else
                        match = false;
                }
            }
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::RemoteServiceAccessPoint::evaluate");
    return match;
}

bool RemoteServiceAccessPoint::readString(NodeLexicon::Properties property, std::string& value)
{
    // The cursor leaves the value alone when it has none.
    return cursor.getProperty(property, value);
}

bool RemoteServiceAccessPoint::isServiceProcessor()
{
    if (serviceProcessor < 0)
        serviceProcessor = owner.description(cursor) == serviceProcessorDescription ? 1 : 0;
    return serviceProcessor == 1;
}

bool RemoteServiceAccessPoint::getSystemCreationClassName(std::string& value)
{
    value = isServiceProcessor() ? "Tavrix_SPComputerSystem" : "Tavrix_ComputerSystem";
    return true;
}

bool RemoteServiceAccessPoint::getSystemName(std::string& value)
{
    if (isServiceProcessor()) {
        value = "BMC:-1";
        return true;
    }
    if (!hostNameKnown) {
        // gethostname need not terminate a name that fills the buffer.
        char host[257] = {};
        if (gethostname(host, 256) == -1) {
            TRACE_ERROR("gethostname Failed");
            return false;
        }
        hostName = host;
        hostNameKnown = true;
    }
    value = hostName;
    return true;
}

bool RemoteServiceAccessPoint::getCreationClassName(std::string& value)
{
    value = "Tavrix_IPRemoteServiceAccessPoint";
    return true;
}

bool RemoteServiceAccessPoint::getName(std::string& value)
{
    // The suffix follows the gateway presented, which changes on the node.
    if (!nameKnown || nameOfIPv6 != presentsIPv6()) {
        std::string interfaceName;
        if (!readString(NodeLexicon::Properties::NAME, interfaceName))
            return false;
        nameOfIPv6 = presentsIPv6();
        name = interfaceName + (nameOfIPv6 ? "_IPv6" : "_IPv4");
        nameKnown = true;
    }
    value = name;
    return true;
}

bool RemoteServiceAccessPoint::getElementName(std::string& value)
{
    return readString(NodeLexicon::Properties::NAME, value);
}

bool RemoteServiceAccessPoint::getAccessInfo(std::string& value)
{
    readString(presentsIPv6() ? NodeLexicon::Properties::IPV6_GATEWAY
                              : NodeLexicon::Properties::IPV4_GATEWAY,
               value);
    return true;
}

bool RemoteServiceAccessPoint::getInfoFormat(unsigned short& value)
{
    value = presentsIPv6() ? 4 : 3;
    return true;
}

bool RemoteServiceAccessPoint::getAccessContext(unsigned short& value)
{
    value = 2;
    return true;
}

bool RemoteServiceAccessPoint::getOtherAccessContext(std::string&)
{
    return false;
}

int RemoteServiceAccessPoint::writableFamily()
{
    // The element's own gateway: on a dual-stack node the protocol type
    // would leave the IPv4 gateway unreachable.
    if (gatewayKind == NONE)
        return -1;
    return presentsIPv6() ? AF_INET6 : AF_INET;
}

bool RemoteServiceAccessPoint::setAccessInfo(std::string value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::RemoteServiceAccessPoint::setAccessInfo");
    int family = writableFamily();
    if (family == -1) {
        TRACE_ERROR("IP Protocol value does not exist ");
        return false;
    }
    if (!isAddressOf(family, value))
        return false;
    return cursor.setProperty(family == AF_INET ? NodeLexicon::Properties::IPV4_GATEWAY
                                                : NodeLexicon::Properties::IPV6_GATEWAY,
                              value);
}

} // namespace IPInterfaceProvider
} // namespace Korvu
