#ifndef KORVU_NODELEXICON_H
#define KORVU_NODELEXICON_H

#include <string>

#include "QuellstoreApi.h"

namespace Korvu {

// The node types and property identifiers of the node store, and their
// names as the store file writes them. The store also holds types and
// properties outside these lists, known only by number. Nothing here
// throws except std::bad_alloc.
class QUELLSTORE_API NodeLexicon {
public:
    enum NodeType {
        NETWORK_ADAPTER = 12,
        IP_INTERFACE = 29,
        COMPUTER_SYSTEM = 40
    };

    enum Properties {
        ADDRESS_ORIGIN = 24,
        IPV4_ADDRESS = 25,
        SUBNET_MASK = 26,
        IPV6_ADDRESS = 27,
        IPV6_ADDRESS_TYPE = 28,
        PROTOCOL_IF_TYPE = 45,
        DNS_SERVERS = 88,
        IP_VERSION = 90,
        HOST_NAME = 91,
        DOMAIN_NAME = 92,
        DNS_SUFFIXES = 93,
        IPV4_GATEWAY = 94,
        IPV6_GATEWAY = 95,
        PREFIX_LENGTH = 96,
        NAME = 102,
        MAC_ADDRESS = 115,
        STATE = 117
    };

    // The kind of value a property holds; ANY for properties not listed.
    enum ValueKind { TEXT, NUMBER, TEXT_LIST, ANY };

    // Name of a listed type or property ("IP_INTERFACE", "STATE"); null
    // for any other number.
    static const char* typeName(unsigned int type);
    static const char* propertyName(unsigned int property);
    // The number of a listed name; false for any other text.
    static bool typeByName(const std::string& name, unsigned int& type);
    static bool propertyByName(const std::string& name, unsigned int& property);

    static ValueKind propertyKind(unsigned int property);
};

} // namespace Korvu

#endif
