#include "InterfaceTable.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstdint>

namespace ipifhost {

namespace {

std::string text(const cimhost::InstanceSpec& inst, const char* name)
{
    const cimhost::Value* v = inst.property(name);
    return v && !v->isNull() ? v->toText() : std::string();
}

std::string keyText(const cimhost::InstanceSpec& inst, const char* name)
{
    const cimhost::Value* v = inst.path.key(name);
    if (v && !v->isNull())
        return v->toText();
    return text(inst, name);
}

// "Computer:eth0" and "BMC:bmc0" name the interface after the first colon.
std::string settingInterface(const std::string& instanceId)
{
    const auto colon = instanceId.find(':');
    return colon == std::string::npos ? std::string() : instanceId.substr(colon + 1);
}

// Bits of a contiguous dotted mask; -1 for anything else.
int maskBits(const std::string& mask)
{
    in_addr a;
    if (mask.empty() || inet_pton(AF_INET, mask.c_str(), &a) != 1)
        return -1;
    const uint32_t m = ntohl(a.s_addr);
    const uint32_t inverted = ~m;
    if ((inverted & (inverted + 1)) != 0)
        return -1;
    return __builtin_popcount(m);
}

std::string joined(const std::vector<std::string>& items, const char* separator)
{
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "" : separator) + item;
    return out.empty() ? "-" : out;
}

} // namespace

std::string InterfaceTable::originName(unsigned long long origin)
{
    static const char* const names[] = {"unknown", "other", "n/a", "static", "DHCP", "BOOTP",
                                        "IPv4 link-local", "DHCPv6", "IPv6 autoconf", "stateless",
                                        "link-local"};
    if (origin < sizeof names / sizeof names[0])
        return names[origin];
    return std::to_string(origin);
}

std::string InterfaceTable::stateName(unsigned long long state)
{
    static const char* const names[] = {"unknown", "other",   "enabled",  "disabled",
                                        "shutting down", "n/a", "offline", "in test",
                                        "deferred", "quiesce", "starting"};
    if (state < sizeof names / sizeof names[0])
        return names[state];
    return std::to_string(state);
}

std::vector<InterfaceTable::Row> InterfaceTable::rows(const std::vector<cimhost::InstanceSpec>& endpoints,
                                                      const std::vector<cimhost::InstanceSpec>& gateways,
                                                      const std::vector<cimhost::InstanceSpec>& dnsSettings)
{
    std::vector<Row> out;
    for (const cimhost::InstanceSpec& ep : endpoints) {
        Row row;
        row.system = keyText(ep, "SystemName");
        row.interface = text(ep, "ElementName");
        const cimhost::Value* origin = ep.property("AddressOrigin");
        row.origin = origin && !origin->isNull() ? originName(origin->asUnsigned()) : "-";
        const cimhost::Value* state = ep.property("EnabledState");
        row.state = state && !state->isNull() ? stateName(state->asUnsigned()) : "-";

        const std::string v4 = text(ep, "IPv4Address");
        if (!v4.empty()) {
            // An endpoint with both families carries the IPv6 prefix in
            // PrefixLength; its mask is the IPv4 one.
            int bits = maskBits(text(ep, "SubnetMask"));
            const std::string prefix = bits >= 0 ? std::to_string(bits) : text(ep, "PrefixLength");
            row.addresses.push_back(prefix.empty() ? v4 : v4 + "/" + prefix);
        }
        const std::string v6 = text(ep, "IPv6Address");
        if (!v6.empty()) {
            const std::string prefix = text(ep, "IPv6SubnetPrefixLength");
            row.addresses.push_back(prefix.empty() ? v6 : v6 + "/" + prefix);
        }

        for (const cimhost::InstanceSpec& gw : gateways) {
            if (keyText(gw, "SystemName") != row.system || text(gw, "ElementName") != row.interface)
                continue;
            const std::string address = text(gw, "AccessInfo");
            if (!address.empty())
                row.gateways.push_back(address);
        }
        // The DNS setting names no system; its prefix tells the service
        // processor's ("BMC:") from the host's.
        const bool serviceProcessor = keyText(ep, "SystemCreationClassName") == "Tavrix_SPComputerSystem";
        for (const cimhost::InstanceSpec& setting : dnsSettings) {
            const std::string id = keyText(setting, "InstanceID");
            if (settingInterface(id) != row.interface || (id.rfind("BMC:", 0) == 0) != serviceProcessor)
                continue;
            const cimhost::Value* servers = setting.property("DNSServerAddresses");
            if (servers && servers->isArray())
                for (const cimhost::Value& s : servers->elements())
                    row.dns.push_back(s.toText());
        }
        out.push_back(row);
    }
    return out;
}

std::string InterfaceTable::table(const std::vector<Row>& rows)
{
    std::vector<std::vector<std::string>> cells = {
        {"SYSTEM", "INTERFACE", "ORIGIN", "STATE", "ADDRESSES", "GATEWAYS", "DNS"}};
    for (const Row& r : rows)
        cells.push_back({r.system.empty() ? "-" : r.system, r.interface.empty() ? "-" : r.interface,
                         r.origin, r.state, joined(r.addresses, ","), joined(r.gateways, ","),
                         joined(r.dns, ",")});
    std::vector<std::size_t> width(cells[0].size(), 0);
    for (const auto& line : cells)
        for (std::size_t i = 0; i < line.size(); ++i)
            width[i] = std::max(width[i], line[i].size());
    std::string out;
    for (const auto& line : cells) {
        std::string printed;
        for (std::size_t i = 0; i < line.size(); ++i) {
            printed += line[i];
            if (i + 1 < line.size())
                printed += std::string(width[i] - line[i].size() + 2, ' ');
        }
        out += printed + "\n";
    }
    return out;
}

nlohmann::ordered_json InterfaceTable::json(const std::vector<Row>& rows)
{
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const Row& r : rows)
        out.push_back({{"system", r.system},
                       {"interface", r.interface},
                       {"origin", r.origin},
                       {"state", r.state},
                       {"addresses", r.addresses},
                       {"gateways", r.gateways},
                       {"dns", r.dns}});
    return out;
}

} // namespace ipifhost
