#ifndef KORVU_IPIF_REMOTESERVICEACCESSPOINT_H
#define KORVU_IPIF_REMOTESERVICEACCESSPOINT_H

#include <string>
#include <vector>

#include "Instrumentation.h"
#include "NodeLexicon.h"
#include "OwningSystem.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Cursor over the default gateways of the IP interface nodes: a node with
// an IPv4 gateway gives one element, with an IPv6 gateway one, with both
// two (IPv6 first, then IPv4). Nodes without any gateway never give an
// element. Every getter reads the store again, but for the Name key and
// the owning system, which are kept while the cursor stands on one node.
// Exceptions of the node store and std::bad_alloc pass through.
class RemoteServiceAccessPoint {
public:
    enum FilterType { BY_SYSTEM_NAME = 0, BY_NAME = 1 };

    // Gateway that the current element presents.
    enum GatewayKind { NONE = 0, IPV4 = 1, IPV6 = 2, BOTH = 3 };

    // Stands on the first element, or is exhausted.
    RemoteServiceAccessPoint();
    ~RemoteServiceAccessPoint();

    operator bool();
    void operator++();
    // Appends a filter and moves on, from the current element, to the first
    // element that passes all filters.
    void setFilter(const FilterType type, const std::string value);
    // A Name filter with an "_IPv4" or "_IPv6" suffix also picks which
    // gateway of the node the element presents.
    bool evaluate();

    // Sets the gateway kind from the node's two gateway properties.
    void refreshGatewayKind();

    bool getSystemCreationClassName(std::string& value);
    // False when gethostname fails.
    bool getSystemName(std::string& value);
    bool getCreationClassName(std::string& value);
    // Interface name plus "_IPv6" or "_IPv4"; false without an interface name.
    bool getName(std::string& value);
    bool getElementName(std::string& value);
    bool getAccessInfo(std::string& value);
    bool getInfoFormat(unsigned short& value);
    bool getAccessContext(unsigned short& value);
    // Never has a value.
    bool getOtherAccessContext(std::string& value);

    // Address family of the gateway the current element presents: AF_INET
    // or AF_INET6; -1 when the cursor stands on no gateway.
    int writableFamily();

    // Writes the gateway the current element presents (Name suffix "_IPv4":
    // the IPv4 gateway, "_IPv6": the IPv6 one). False, with nothing written,
    // for a value that is not an address of that family, on no element, or
    // when the store refuses the value.
    bool setAccessInfo(std::string value);

private:
    struct Filter {
        FilterType type;
        std::string value;
        // A name filter's '_' tokens, cut once rather than at every node.
        std::vector<std::string> wanted;
    };

    bool isServiceProcessor();
    bool readString(NodeLexicon::Properties property, std::string& value);
    // Steps to the next element, without looking at the filters.
    void step();
    // To the next node.
    void moveOn();
    bool presentsIPv6() const { return gatewayKind == IPV6 || gatewayKind == BOTH; }

    bool filterActive;
    int gatewayKind;
    std::vector<Filter> filters;
    Instrumentation cursor;
    // Asked of the system once per object (one request), not once per node.
    std::string hostName;
    bool hostNameKnown = false;
    OwningSystem owner;
    // Known of the node the cursor stands on, forgotten when it moves:
    // whether a service processor owns it (-1 until asked) and the Name
    // key, asked for the path and again for the instance.
    int serviceProcessor = -1;
    std::string name;
    bool nameKnown = false;
    bool nameOfIPv6 = false;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
