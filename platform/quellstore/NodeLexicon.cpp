#include "NodeLexicon.h"

namespace Korvu {

namespace {

struct TypeEntry {
    unsigned int id;
    const char* name;
};

struct PropertyEntry {
    unsigned int id;
    const char* name;
    NodeLexicon::ValueKind kind;
};

const TypeEntry types[] = {
    {NodeLexicon::NETWORK_ADAPTER, "NETWORK_ADAPTER"},
    {NodeLexicon::IP_INTERFACE, "IP_INTERFACE"},
    {NodeLexicon::COMPUTER_SYSTEM, "COMPUTER_SYSTEM"},
};

const PropertyEntry properties[] = {
    {NodeLexicon::ADDRESS_ORIGIN, "ADDRESS_ORIGIN", NodeLexicon::NUMBER},
    {NodeLexicon::IPV4_ADDRESS, "IPV4_ADDRESS", NodeLexicon::TEXT},
    {NodeLexicon::SUBNET_MASK, "SUBNET_MASK", NodeLexicon::TEXT},
    {NodeLexicon::IPV6_ADDRESS, "IPV6_ADDRESS", NodeLexicon::TEXT},
    {NodeLexicon::IPV6_ADDRESS_TYPE, "IPV6_ADDRESS_TYPE", NodeLexicon::NUMBER},
    {NodeLexicon::PROTOCOL_IF_TYPE, "PROTOCOL_IF_TYPE", NodeLexicon::NUMBER},
    {NodeLexicon::DNS_SERVERS, "DNS_SERVERS", NodeLexicon::TEXT_LIST},
    {NodeLexicon::IP_VERSION, "IP_VERSION", NodeLexicon::NUMBER},
    {NodeLexicon::HOST_NAME, "HOST_NAME", NodeLexicon::TEXT},
    {NodeLexicon::DOMAIN_NAME, "DOMAIN_NAME", NodeLexicon::TEXT},
    {NodeLexicon::DNS_SUFFIXES, "DNS_SUFFIXES", NodeLexicon::TEXT_LIST},
    {NodeLexicon::IPV4_GATEWAY, "IPV4_GATEWAY", NodeLexicon::TEXT},
    {NodeLexicon::IPV6_GATEWAY, "IPV6_GATEWAY", NodeLexicon::TEXT},
    {NodeLexicon::PREFIX_LENGTH, "PREFIX_LENGTH", NodeLexicon::NUMBER},
    {NodeLexicon::NAME, "NAME", NodeLexicon::TEXT},
    {NodeLexicon::MAC_ADDRESS, "MAC_ADDRESS", NodeLexicon::TEXT},
    {NodeLexicon::STATE, "STATE", NodeLexicon::NUMBER},
};

const PropertyEntry* findProperty(unsigned int id)
{
    for (const PropertyEntry& entry : properties)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

} // namespace

const char* NodeLexicon::typeName(unsigned int type)
{
    for (const TypeEntry& entry : types)
        if (entry.id == type)
            return entry.name;
    return nullptr;
}

const char* NodeLexicon::propertyName(unsigned int property)
{
    const PropertyEntry* entry = findProperty(property);
    return entry ? entry->name : nullptr;
}

bool NodeLexicon::typeByName(const std::string& name, unsigned int& type)
{
    for (const TypeEntry& entry : types) {
        if (name == entry.name) {
            type = entry.id;
            return true;
        }
    }
    return false;
}

bool NodeLexicon::propertyByName(const std::string& name, unsigned int& property)
{
    for (const PropertyEntry& entry : properties) {
        if (name == entry.name) {
            property = entry.id;
            return true;
        }
    }
    return false;
}

NodeLexicon::ValueKind NodeLexicon::propertyKind(unsigned int property)
{
    const PropertyEntry* entry = findProperty(property);
    return entry ? entry->kind : ANY;
}

} // namespace Korvu
