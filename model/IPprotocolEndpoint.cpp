#include "IPprotocolEndpoint.h"

#include <unistd.h>

#include "InstanceId.h"
#include "OwningSystem.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("IPprotocolEndpoint.cpp");

namespace {

const char* const serviceProcessorDescription = "BMC";

} // namespace

IPprotocolEndpoint::IPprotocolEndpoint() : filterActive(false)
{
    cursor.selectNode(NodeLexicon::NodeType::IP_INTERFACE);
}

void IPprotocolEndpoint::step()
{
    ++cursor;
    serviceProcessor = -1;
    nameKnown = false;
}

IPprotocolEndpoint::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::IPprotocolEndpoint::operator bool");
    return static_cast<bool>(cursor);
}

void IPprotocolEndpoint::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPprotocolEndpoint::operator ++");
    step();
    while (filterActive && cursor && !evaluate())
        step();
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPprotocolEndpoint::operator ++");
}

void IPprotocolEndpoint::setFilter(FilterType type, const std::string value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPprotocolEndpoint::setFilter");
    filterActive = true;
    filters.push_back(Filter{type, value});
    while (cursor && !evaluate())
        step();
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPprotocolEndpoint::setFilter");
}

bool IPprotocolEndpoint::evaluate()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPprotocolEndpoint::evaluate");
    bool match = true;
    for (const Filter& filter : filters) {
        if (!match)
            break;
        std::string key;
        bool known = false;
        if (filter.type == BY_SYSTEM_NAME) {
            known = getSystemName(key);
        } else if (filter.type == BY_NAME) {
            if (!nameKnown && !beginsName(filter.value)) {
                match = false;
                continue;
            }
            known = getName(key);
        } else if (filter.type == BY_INTERFACE) {
            known = getName(key) && !(key = interfaceOfEndpointName(key)).empty();
        }
        // A key that cannot be computed does not exclude the node.
        if (known)
            match = filter.value == key;
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPprotocolEndpoint::evaluate");
    return match;
}

bool IPprotocolEndpoint::beginsName(const std::string& wanted)
{
    // A name starts with its node's NAME and '_': a walk for one name reads
    // the NAME of each other node alone, not its whole name.
    std::string interfaceName;
    readString(NodeLexicon::Properties::NAME, interfaceName);
    return wanted.size() > interfaceName.size() && wanted[interfaceName.size()] == '_' &&
           wanted.compare(0, interfaceName.size(), interfaceName) == 0;
}

bool IPprotocolEndpoint::readString(NodeLexicon::Properties property, std::string& value)
{
    // The cursor leaves the value alone when it has none.
    return cursor.getProperty(property, value);
}

bool IPprotocolEndpoint::readUnsigned(NodeLexicon::Properties property, unsigned int& value)
{
    unsigned int number = 0;
    if (!cursor.getProperty(property, number))
        return false;
    value = number;
    return true;
}

bool IPprotocolEndpoint::isServiceProcessor()
{
    if (serviceProcessor < 0)
        serviceProcessor = owner.description(cursor) == serviceProcessorDescription ? 1 : 0;
    return serviceProcessor == 1;
}

bool IPprotocolEndpoint::getCreationClassName(std::string& value)
{
    value = "Tavrix_IPProtocolEndpoint";
    return true;
}

bool IPprotocolEndpoint::getSystemCreationClassName(std::string& value)
{
    value = isServiceProcessor() ? "Tavrix_SPComputerSystem" : "Tavrix_ComputerSystem";
    return true;
}

bool IPprotocolEndpoint::getSystemName(std::string& value)
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

bool IPprotocolEndpoint::getName(std::string& value)
{
    if (!nameKnown) {
        std::string interfaceName;
        std::string mac;
        readString(NodeLexicon::Properties::NAME, interfaceName);
        readString(NodeLexicon::Properties::MAC_ADDRESS, mac);
        unsigned short origin = 0;
        getAddressOrigin(origin);
        // Built whole: a cut key could name another endpoint.
        name = interfaceName;
        name += '_';
        name += mac;
        name += '_';
        name += std::to_string(origin);
        nameKnown = true;
    }
    value = name;
    return true;
}

bool IPprotocolEndpoint::getNameFormat(std::string& value)
{
    value = "NICName_MAC_AddressOrigin";
    return true;
}

bool IPprotocolEndpoint::getElementName(std::string& value)
{
    std::string name;
    readString(NodeLexicon::Properties::NAME, name);
    value = name;
    return true;
}

bool IPprotocolEndpoint::getIPv4Address(std::string& value)
{
    return readString(NodeLexicon::Properties::IPV4_ADDRESS, value);
}

bool IPprotocolEndpoint::getIPv6Address(std::string& value)
{
    return readString(NodeLexicon::Properties::IPV6_ADDRESS, value);
}

bool IPprotocolEndpoint::getSubnetMask(std::string& value)
{
    return readString(NodeLexicon::Properties::SUBNET_MASK, value);
}

bool IPprotocolEndpoint::getPrefixLength(unsigned int& value)
{
    return readUnsigned(NodeLexicon::Properties::PREFIX_LENGTH, value);
}

bool IPprotocolEndpoint::getIPv6SubnetPrefixLength(unsigned short& value)
{
    unsigned int number = 0;
    if (!readUnsigned(NodeLexicon::Properties::PREFIX_LENGTH, number))
        return false;
    value = static_cast<unsigned short>(number & 0xFFFFu);
    return true;
}

bool IPprotocolEndpoint::getAddressType(unsigned short& value)
{
    unsigned int code = 0;
    readUnsigned(NodeLexicon::Properties::IP_VERSION, code);
    value = (code == 1 || code == 2) ? static_cast<unsigned short>(code) : 0;
    return true;
}

bool IPprotocolEndpoint::getIPv6AddressType(unsigned short& value)
{
    unsigned int number = 0;
    if (!readUnsigned(NodeLexicon::Properties::IPV6_ADDRESS_TYPE, number))
        return false;
    value = static_cast<unsigned short>(number & 0xFFFFu);
    return true;
}

bool IPprotocolEndpoint::getIPVersionSupport(unsigned short& value)
{
    unsigned int code = 0;
    readUnsigned(NodeLexicon::Properties::IP_VERSION, code);
    value = (code >= 1 && code <= 3) ? static_cast<unsigned short>(code) : 0;
    return true;
}

bool IPprotocolEndpoint::getProtocolIFType(unsigned short& value)
{
    unsigned int number = 0;
    if (!readUnsigned(NodeLexicon::Properties::PROTOCOL_IF_TYPE, number))
        return false;
    value = static_cast<unsigned short>(number & 0xFFFFu);
    return true;
}

bool IPprotocolEndpoint::getEnabledState(unsigned short& value)
{
    unsigned int code = 0;
    if (!readUnsigned(NodeLexicon::Properties::STATE, code))
        return false;
    value = enabledStateFromCode(code);
    return true;
}

bool IPprotocolEndpoint::getAddressOrigin(unsigned short& value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPprotocolEndpoint::getAddressOrigin");
    unsigned int code = 0;
    if (!readUnsigned(NodeLexicon::Properties::ADDRESS_ORIGIN, code))
        code = 0;
    value = addressOriginFromCode(code);
    return true;
}

bool IPprotocolEndpoint::setIPv4Address(std::string value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPprotocolEndpoint::setIPv4Address");
    return cursor.setProperty(NodeLexicon::Properties::IPV4_ADDRESS, value);
}

bool IPprotocolEndpoint::setSubnetMask(std::string value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPprotocolEndpoint::setSubnetMask");
    return cursor.setProperty(NodeLexicon::Properties::SUBNET_MASK, value);
}

bool IPprotocolEndpoint::setAddressOrigin(unsigned short value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPprotocolEndpoint::setAddressOrigin");
    unsigned int code = addressOriginToCode(value);
    // The origin is part of the Name key.
    nameKnown = false;
    // The caller learns of a refused write instead of reporting success.
    return cursor.setProperty(NodeLexicon::Properties::ADDRESS_ORIGIN, code);
}

bool IPprotocolEndpoint::setEnabledState(unsigned short value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::IPprotocolEndpoint::setEnabledState");
    bool written = false;
    int code = enabledStateToCode(value);
    if (code >= 0) {
        unsigned int stored = static_cast<unsigned int>(code);
        written = cursor.setProperty(NodeLexicon::Properties::STATE, stored);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::IPprotocolEndpoint::setEnabledState");
    return written;
}

bool IPprotocolEndpoint::isReadOnly(NodeLexicon::Properties property)
{
    bool readOnly = false;
    return cursor.isPropertyReadOnly(property, readOnly) && readOnly;
}

unsigned short IPprotocolEndpoint::enabledStateFromCode(unsigned int code)
{
    switch (code) {
    case 1: return 2;
    case 12:
    case 16: return 3;
    default: return 5;
    }
}

int IPprotocolEndpoint::enabledStateToCode(unsigned short state)
{
    switch (state) {
    case 2: return 1;
    case 3: return 12;
    case 11: return 9;
    default: return -1;
    }
}

unsigned short IPprotocolEndpoint::addressOriginFromCode(unsigned int code)
{
    switch (code) {
    case 1: return 4;
    case 2: return 5;
    case 3: return 3;
    case 4: return 6;
    case 5:
    case 6: return 1;
    default: return 0;
    }
}

unsigned int IPprotocolEndpoint::addressOriginToCode(unsigned short origin)
{
    switch (origin) {
    case 3: return 3;
    case 4: return 1;
    default: return 0;
    }
}

} // namespace IPInterfaceProvider
} // namespace Korvu
