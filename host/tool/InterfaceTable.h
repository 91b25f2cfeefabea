#ifndef IPIFHOST_INTERFACETABLE_H
#define IPIFHOST_INTERFACETABLE_H

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Value.h"

namespace ipifhost {

// One line per IP interface for people: the endpoints the module serves,
// joined with their gateways (remote access points of the same system and
// interface) and the DNS servers of the interface's DNS setting.
class InterfaceTable {
public:
    struct Row {
        std::string system;
        std::string interface;
        std::string origin;
        std::string state;
        std::vector<std::string> addresses; // address/prefix
        std::vector<std::string> gateways;
        std::vector<std::string> dns;
    };

    // From instances of Tavrix_IPProtocolEndpoint,
    // Tavrix_IPRemoteServiceAccessPoint and Tavrix_DNSSettingData; rows in
    // the order of the endpoints.
    static std::vector<Row> rows(const std::vector<cimhost::InstanceSpec>& endpoints,
                                 const std::vector<cimhost::InstanceSpec>& gateways,
                                 const std::vector<cimhost::InstanceSpec>& dnsSettings);

    // Aligned columns under a header; "-" for an empty cell.
    static std::string table(const std::vector<Row>& rows);
    static nlohmann::ordered_json json(const std::vector<Row>& rows);

    // DMTF value maps of AddressOrigin and EnabledState.
    static std::string originName(unsigned long long origin);
    static std::string stateName(unsigned long long state);
};

} // namespace ipifhost

#endif
