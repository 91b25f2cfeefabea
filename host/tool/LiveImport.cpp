#include "LiveImport.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

namespace ipifhost {

namespace {

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

unsigned int prefixOf(const struct sockaddr* mask)
{
    unsigned int bits = 0;
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    if (mask && mask->sa_family == AF_INET6) {
        bytes = reinterpret_cast<const struct sockaddr_in6*>(mask)->sin6_addr.s6_addr;
        size = 16;
    } else if (mask && mask->sa_family == AF_INET) {
        bytes = reinterpret_cast<const unsigned char*>(
            &reinterpret_cast<const struct sockaddr_in*>(mask)->sin_addr.s_addr);
        size = 4;
    }
    for (std::size_t i = 0; i < size; ++i)
        for (int b = 7; b >= 0; --b)
            bits += (bytes[i] >> b) & 1u;
    return bits;
}

std::string addressText(const struct sockaddr* address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (!address)
        return std::string();
    if (address->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const struct sockaddr_in*>(address)->sin_addr, text, sizeof text);
    else if (address->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const struct sockaddr_in6*>(address)->sin6_addr, text,
                  sizeof text);
    return text;
}

struct Interface {
    std::string ipv4, mask, ipv6;
    unsigned int prefix = 0;
    bool up = false;
};

} // namespace

std::vector<std::pair<std::string, std::string>> LiveImport::ipv4Gateways(const std::string& routes)
{
    // Iface Destination Gateway Flags ...; hexadecimal in host byte order.
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream lines(routes);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name, destination, gateway;
        if (!(fields >> name >> destination >> gateway) || destination != "00000000")
            continue;
        char* end = nullptr;
        const unsigned long value = std::strtoul(gateway.c_str(), &end, 16);
        if (gateway.size() != 8 || !end || *end || value == 0)
            continue;
        struct in_addr address;
        address.s_addr = static_cast<in_addr_t>(value);
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &address, text, sizeof text);
        out.emplace_back(name, text);
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> LiveImport::ipv6Gateways(const std::string& routes)
{
    // dest dest_len src src_len next_hop metric refcnt use flags iface
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream lines(routes);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string destination, length, source, sourceLength, hop, metric, refs, use, flags, name;
        if (!(fields >> destination >> length >> source >> sourceLength >> hop >> metric >> refs >> use >>
              flags >> name))
            continue;
        if (destination != std::string(32, '0') || length != "00" || hop.size() != 32 ||
            hop == std::string(32, '0') || name == "lo")
            continue;
        struct in6_addr address;
        bool valid = true;
        for (int i = 0; i < 16 && valid; ++i) {
            char* end = nullptr;
            const std::string pair = hop.substr(static_cast<std::size_t>(i) * 2, 2);
            address.s6_addr[i] = static_cast<unsigned char>(std::strtoul(pair.c_str(), &end, 16));
            valid = end && !*end;
        }
        char text[INET6_ADDRSTRLEN] = {};
        if (valid && inet_ntop(AF_INET6, &address, text, sizeof text))
            out.emplace_back(name, text);
    }
    return out;
}

LiveImport::Resolver LiveImport::resolver(const std::string& resolvConf)
{
    Resolver r;
    std::istringstream lines(resolvConf);
    std::string line;
    while (std::getline(lines, line)) {
        const auto hash = line.find_first_of("#;");
        std::istringstream words(line.substr(0, hash));
        std::string keyword, word;
        if (!(words >> keyword))
            continue;
        if (keyword == "nameserver" && words >> word)
            r.servers.push_back(word);
        else if (keyword == "search" || keyword == "domain") {
            if (keyword == "search")
                r.search.clear();
            while (words >> word)
                r.search.push_back(word);
        }
    }
    return r;
}

std::string LiveImport::build()
{
    char host[257] = {};
    gethostname(host, 256);
    std::string hostName = host;
    std::string domain;
    const auto dot = hostName.find('.');
    if (dot != std::string::npos) {
        domain = hostName.substr(dot + 1);
        hostName = hostName.substr(0, dot);
    }

    std::map<std::string, Interface> interfaces;
    struct ifaddrs* all = nullptr;
    if (getifaddrs(&all) == 0) {
        for (struct ifaddrs* a = all; a; a = a->ifa_next) {
            if (!a->ifa_name || (a->ifa_flags & IFF_LOOPBACK))
                continue;
            Interface& i = interfaces[a->ifa_name];
            i.up = i.up || (a->ifa_flags & IFF_UP);
            if (!a->ifa_addr)
                continue;
            if (a->ifa_addr->sa_family == AF_INET && i.ipv4.empty()) {
                i.ipv4 = addressText(a->ifa_addr);
                i.mask = addressText(a->ifa_netmask);
            } else if (a->ifa_addr->sa_family == AF_INET6 && i.ipv6.empty()) {
                i.ipv6 = addressText(a->ifa_addr);
                i.prefix = prefixOf(a->ifa_netmask);
            }
        }
        freeifaddrs(all);
    }
    std::map<std::string, std::string> gateway4, gateway6;
    for (const auto& g : ipv4Gateways(readText("/proc/net/route")))
        gateway4.emplace(g.first, g.second);
    for (const auto& g : ipv6Gateways(readText("/proc/net/ipv6_route")))
        gateway6.emplace(g.first, g.second);
    const Resolver dns = resolver(readText("/etc/resolv.conf"));
    if (domain.empty() && !dns.search.empty())
        domain = dns.search.front();

    nlohmann::json adapters = nlohmann::json::array();
    int index = 0;
    for (const auto& entry : interfaces) {
        const std::string& name = entry.first;
        const Interface& i = entry.second;
        const std::string mac = trim(readText("/sys/class/net/" + name + "/address"));
        nlohmann::json props = {{"NAME", name}, {"ADDRESS_ORIGIN", 3}, {"STATE", i.up ? 1 : 2}};
        if (!mac.empty())
            props["MAC_ADDRESS"] = {{"value", mac}, {"readOnly", true}};
        unsigned int version = 0;
        if (!i.ipv4.empty()) {
            props["IPV4_ADDRESS"] = i.ipv4;
            props["SUBNET_MASK"] = i.mask;
            version |= 1;
        }
        if (!i.ipv6.empty()) {
            props["IPV6_ADDRESS"] = i.ipv6;
            props["PREFIX_LENGTH"] = i.prefix;
            version |= 2;
        }
        if (version)
            props["IP_VERSION"] = version;
        props["PROTOCOL_IF_TYPE"] = version == 2 ? 4097 : version == 3 ? 4098 : 4096;
        if (gateway4.count(name))
            props["IPV4_GATEWAY"] = gateway4[name];
        if (gateway6.count(name))
            props["IPV6_GATEWAY"] = gateway6[name];
        props["HOST_NAME"] = hostName;
        if (!domain.empty())
            props["DOMAIN_NAME"] = domain;
        if (!dns.servers.empty())
            props["DNS_SERVERS"] = dns.servers;
        if (!dns.search.empty())
            props["DNS_SUFFIXES"] = dns.search;
        nlohmann::json adapterProps = {{"NAME", name}};
        if (!mac.empty())
            adapterProps["MAC_ADDRESS"] = {{"value", mac}, {"readOnly", true}};
        adapters.push_back({{"name", "adapter-" + std::to_string(index++)},
                            {"type", "NETWORK_ADAPTER"},
                            {"description", "Network adapter " + name},
                            {"properties", adapterProps},
                            {"children", nlohmann::json::array({{{"name", name},
                                                                 {"type", "IP_INTERFACE"},
                                                                 {"description", "IP interface"},
                                                                 {"properties", props}}})}});
    }
    nlohmann::json computer = {{"name", "host"},
                               {"type", "COMPUTER_SYSTEM"},
                               {"description", "Host"},
                               {"properties", {{"NAME", host}, {"HOST_NAME", hostName}, {"STATE", 2}}},
                               {"children", adapters}};
    if (!domain.empty())
        computer["properties"]["DOMAIN_NAME"] = domain;
    nlohmann::json store = {{"version", 1}, {"nodes", nlohmann::json::array({computer})}};
    return store.dump(2) + "\n";
}

int LiveImport::run(const std::string& out)
{
    const std::string text = build();
    if (out.empty()) {
        std::cout << text;
        return 0;
    }
    const std::string temporary = out + ".part";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << text;
        if (!file.flush()) {
            std::cerr << "ipifhost: " << out << ": cannot be written\n";
            std::remove(temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), out.c_str()) != 0) {
        std::cerr << "ipifhost: " << out << ": cannot be written\n";
        std::remove(temporary.c_str());
        return 1;
    }
    std::cout << "node store written to " << out << "\n";
    return 0;
}

} // namespace ipifhost
