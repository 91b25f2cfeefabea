#ifndef KORVU_IPIF_IPPROTOCOLENDPOINT_H
#define KORVU_IPIF_IPPROTOCOLENDPOINT_H

#include <string>
#include <vector>

#include "Instrumentation.h"
#include "NodeLexicon.h"
#include "OwningSystem.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Cursor over the IP interface nodes of the node store, narrowed by key
// filters, with the getters that compute the Tavrix_IPProtocolEndpoint
// properties of the current node and the setters of the few that change.
// Every getter reads the store again, but for the Name key and the owning
// system, which are kept while the cursor stands on one node. Exceptions of the
// node store and std::bad_alloc pass through every operation.
class IPprotocolEndpoint {
public:
    enum FilterType { BY_SYSTEM_NAME = 0, BY_NAME = 1, BY_INTERFACE = 2 };

    IPprotocolEndpoint();

    operator bool();
    void operator++();
    // Appends a filter and moves on, from the current node, to the first
    // node that passes all filters.
    void setFilter(FilterType type, const std::string value);
    bool evaluate();

    // Keys.
    bool getCreationClassName(std::string& value);
    bool getSystemCreationClassName(std::string& value);
    // False when gethostname fails.
    bool getSystemName(std::string& value);
    // Interface name, MAC address and CIM address origin, "%s_%s_%d".
    bool getName(std::string& value);
    bool getNameFormat(std::string& value);

    // Properties; false where the store has no value.
    bool getElementName(std::string& value);
    bool getIPv4Address(std::string& value);
    bool getIPv6Address(std::string& value);
    bool getSubnetMask(std::string& value);
    bool getPrefixLength(unsigned int& value);
    bool getIPv6SubnetPrefixLength(unsigned short& value);
    bool getAddressType(unsigned short& value);
    bool getIPv6AddressType(unsigned short& value);
    bool getIPVersionSupport(unsigned short& value);
    bool getProtocolIFType(unsigned short& value);
    bool getEnabledState(unsigned short& value);
    bool getAddressOrigin(unsigned short& value);

    // True when the current node stands under the service processor.
    bool isServiceProcessor();

    // Each returns whether the node store accepted the value.
    bool setIPv4Address(std::string value);
    bool setSubnetMask(std::string value);
    // CIM AddressOrigin: 3 writes code 3, 4 writes 1, anything else 0.
    bool setAddressOrigin(unsigned short value);
    // CIM state: 2 writes code 1, 3 writes 12, 11 writes 9; any other value
    // writes nothing and gives false.
    bool setEnabledState(unsigned short value);

    // Whether the store reports the property as read-only for the current
    // node; false when it cannot tell.
    bool isReadOnly(NodeLexicon::Properties property);

    // CIM value of a node-store code and back (0 for an unknown origin,
    // -1 when a CIM state has no node code).
    static unsigned short enabledStateFromCode(unsigned int code);
    static int enabledStateToCode(unsigned short state);
    static unsigned short addressOriginFromCode(unsigned int code);
    static unsigned int addressOriginToCode(unsigned short origin);

private:
    struct Filter {
        FilterType type;
        std::string value;
    };

    // To the next node; what was known of the last one is forgotten.
    void step();
    bool readString(NodeLexicon::Properties property, std::string& value);
    // False when `wanted` cannot be this node's name: it does not begin
    // with the node's NAME and '_'.
    bool beginsName(const std::string& wanted);
    bool readUnsigned(NodeLexicon::Properties property, unsigned int& value);

    bool filterActive;
    std::vector<Filter> filters;
    Instrumentation cursor;
    // Asked of the system once per object (one request), not once per
    // node: a system call costs more than a walk step.
    std::string hostName;
    bool hostNameKnown = false;
    // Whether the node the cursor stands on belongs to a service processor:
    // -1 until asked there. Each key getter asks, and asking walks two
    // nodes up the tree.
    int serviceProcessor = -1;
    OwningSystem owner;
    // The Name key of the node the cursor stands on, built once there: a
    // request asks for it for the path and again for the instance.
    std::string name;
    bool nameKnown = false;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
