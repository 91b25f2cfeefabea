#include "LiveSource.h"

#include <arpa/inet.h>
#include <linux/if.h>
#include <linux/rtnetlink.h>
#include <netlink/addr.h>
#include <netlink/cache.h>
#include <netlink/netlink.h>
#include <netlink/route/addr.h>
#include <netlink/route/link.h>
#include <netlink/route/route.h>
#include <netlink/socket.h>
#include <poll.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

namespace Korvu {
namespace StoreDetail {

namespace {

struct SocketFree {
    void operator()(nl_sock* s) const { nl_socket_free(s); }
};
struct CacheFree {
    void operator()(nl_cache* c) const { nl_cache_free(c); }
};
using Socket = std::unique_ptr<nl_sock, SocketFree>;
using Cache = std::unique_ptr<nl_cache, CacheFree>;

std::string addressText(nl_addr* address)
{
    if (!address)
        return std::string();
    char text[INET6_ADDRSTRLEN] = {};
    const int family = nl_addr_get_family(address);
    if ((family != AF_INET && family != AF_INET6) ||
        !inet_ntop(family, nl_addr_get_binary_addr(address), text, sizeof text))
        return std::string();
    return text;
}

std::string maskText(unsigned int prefix)
{
    const uint32_t mask = prefix == 0 ? 0 : htonl(~uint32_t(0) << (32 - prefix));
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &mask, text, sizeof text);
    return text;
}

std::string macText(nl_addr* address)
{
    if (!address || nl_addr_get_len(address) == 0)
        return std::string();
    char text[64] = {};
    nl_addr2str(address, text, sizeof text);
    return text;
}

struct Gateways {
    std::map<int, std::string> v4, v6;
};

Gateways defaultGateways(nl_cache* routes)
{
    Gateways found;
    for (nl_object* o = nl_cache_get_first(routes); o; o = nl_cache_get_next(o)) {
        rtnl_route* route = reinterpret_cast<rtnl_route*>(o);
        if (rtnl_route_get_table(route) != RT_TABLE_MAIN)
            continue;
        nl_addr* destination = rtnl_route_get_dst(route);
        if (destination && nl_addr_get_prefixlen(destination) != 0)
            continue;
        if (rtnl_route_get_nnexthops(route) < 1)
            continue;
        rtnl_nexthop* hop = rtnl_route_nexthop_n(route, 0);
        const std::string gateway = addressText(rtnl_route_nh_get_gateway(hop));
        if (gateway.empty())
            continue;
        auto& table = rtnl_route_get_family(route) == AF_INET6 ? found.v6 : found.v4;
        table.emplace(rtnl_route_nh_get_ifindex(hop), gateway);
    }
    return found;
}

std::string readText(const char* path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

void LiveSource::parseResolver(const std::string& text, std::vector<std::string>& servers,
                               std::vector<std::string>& search)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto hash = line.find_first_of("#;");
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string keyword, word;
        words >> keyword;
        if (keyword == "nameserver" && words >> word)
            servers.push_back(word);
        else if (keyword == "search" || keyword == "domain") {
            // The last such line counts, as for the resolver.
            search.clear();
            while (words >> word)
                search.push_back(word);
        }
    }
}

std::string LiveSource::snapshot()
{
    Socket socket(nl_socket_alloc());
    if (!socket || nl_connect(socket.get(), NETLINK_ROUTE) < 0)
        throw std::runtime_error("quellstore: live source: cannot open a netlink socket");
    nl_cache* raw = nullptr;
    if (rtnl_link_alloc_cache(socket.get(), AF_UNSPEC, &raw) < 0)
        throw std::runtime_error("quellstore: live source: cannot read the links");
    Cache links(raw);
    if (rtnl_addr_alloc_cache(socket.get(), &raw) < 0)
        throw std::runtime_error("quellstore: live source: cannot read the addresses");
    Cache addresses(raw);
    if (rtnl_route_alloc_cache(socket.get(), AF_UNSPEC, 0, &raw) < 0)
        throw std::runtime_error("quellstore: live source: cannot read the routes");
    Cache routes(raw);
    const Gateways gateways = defaultGateways(routes.get());

    std::vector<std::string> servers, search;
    parseResolver(readText("/etc/resolv.conf"), servers, search);
    char host[256] = {};
    gethostname(host, sizeof host - 1);

    nlohmann::json adapters = nlohmann::json::array();
    for (nl_object* o = nl_cache_get_first(links.get()); o; o = nl_cache_get_next(o)) {
        rtnl_link* link = reinterpret_cast<rtnl_link*>(o);
        const unsigned int flags = rtnl_link_get_flags(link);
        if (flags & IFF_LOOPBACK)
            continue;
        const int index = rtnl_link_get_ifindex(link);
        const std::string name = rtnl_link_get_name(link) ? rtnl_link_get_name(link) : "";
        const std::string mac = macText(rtnl_link_get_addr(link));
        nlohmann::json adapter = {{"name", "adapter-" + name}, {"type", "NETWORK_ADAPTER"},
                                  {"description", "Network adapter"}};
        adapter["properties"]["NAME"] = name;
        if (!mac.empty())
            adapter["properties"]["MAC_ADDRESS"] = {{"value", mac}, {"readOnly", true}};

        auto base = [&](unsigned int version) {
            nlohmann::json p;
            p["NAME"] = name;
            if (!mac.empty())
                p["MAC_ADDRESS"] = {{"value", mac}, {"readOnly", true}};
            // The agent's codes: 1 enabled, 12 disabled.
            p["STATE"] = (flags & IFF_UP) ? 1u : 12u;
            p["IP_VERSION"] = version;
            p["PROTOCOL_IF_TYPE"] = version == 6 ? 4097u : 4096u;
            p["ADDRESS_ORIGIN"] = 3u;
            if (!servers.empty())
                p["DNS_SERVERS"] = servers;
            if (!search.empty())
                p["DNS_SUFFIXES"] = search;
            auto v4 = gateways.v4.find(index);
            if (v4 != gateways.v4.end())
                p["IPV4_GATEWAY"] = v4->second;
            auto v6 = gateways.v6.find(index);
            if (v6 != gateways.v6.end())
                p["IPV6_GATEWAY"] = v6->second;
            return p;
        };

        nlohmann::json interfaces = nlohmann::json::array();
        for (nl_object* a = nl_cache_get_first(addresses.get()); a; a = nl_cache_get_next(a)) {
            rtnl_addr* address = reinterpret_cast<rtnl_addr*>(a);
            if (rtnl_addr_get_ifindex(address) != index)
                continue;
            const int family = rtnl_addr_get_family(address);
            const std::string text = addressText(rtnl_addr_get_local(address));
            if (text.empty())
                continue;
            const unsigned int prefix = static_cast<unsigned int>(rtnl_addr_get_prefixlen(address));
            nlohmann::json p = base(family == AF_INET6 ? 6 : 4);
            if (family == AF_INET) {
                p["IPV4_ADDRESS"] = text;
                p["SUBNET_MASK"] = maskText(prefix);
            } else {
                p["IPV6_ADDRESS"] = text;
                // Link-local 1... global 2, as the agent numbers them.
                p["IPV6_ADDRESS_TYPE"] = text.compare(0, 4, "fe80") == 0 ? 1u : 2u;
            }
            p["PREFIX_LENGTH"] = prefix;
            // Addresses without IFA_F_PERMANENT came from DHCP or autoconfiguration
            // (the agent's code 1), the others were configured (code 3).
            if (!(rtnl_addr_get_flags(address) & IFA_F_PERMANENT))
                p["ADDRESS_ORIGIN"] = 1u;
            const std::string node = interfaces.empty() ? name : name + "-" + std::to_string(interfaces.size());
            interfaces.push_back({{"name", node}, {"type", "IP_INTERFACE"}, {"description", "IP interface"},
                                  {"properties", p}});
        }
        if (interfaces.empty())
            interfaces.push_back({{"name", name}, {"type", "IP_INTERFACE"}, {"description", "IP interface"},
                                  {"properties", base(4)}});
        adapter["children"] = interfaces;
        adapters.push_back(adapter);
    }
    nlohmann::json system = {{"name", "host"}, {"type", "COMPUTER_SYSTEM"}, {"description", "Host"}};
    system["properties"]["HOST_NAME"] = std::string(host);
    system["properties"]["STATE"] = 2u;
    if (!search.empty())
        system["properties"]["DOMAIN_NAME"] = search.front();
    system["children"] = adapters;
    return nlohmann::json({{"version", 1}, {"nodes", {system}}}).dump();
}

void LiveSource::watch(Receiver receiver)
{
    static std::once_flag started;
    std::call_once(started, [&receiver] {
        Socket socket(nl_socket_alloc());
        if (!socket)
            throw std::runtime_error("quellstore: live source: cannot open a netlink socket");
        nl_socket_disable_seq_check(socket.get());
        // Only that something changed matters; the layout is read anew.
        nl_socket_modify_cb(socket.get(), NL_CB_VALID, NL_CB_CUSTOM,
                            [](nl_msg*, void*) -> int { return NL_OK; }, nullptr);
        if (nl_connect(socket.get(), NETLINK_ROUTE) < 0 ||
            nl_socket_add_memberships(socket.get(), RTNLGRP_LINK, RTNLGRP_IPV4_IFADDR, RTNLGRP_IPV6_IFADDR,
                                      RTNLGRP_IPV4_ROUTE, RTNLGRP_IPV6_ROUTE, 0) < 0)
            throw std::runtime_error("quellstore: live source: cannot watch the kernel's notifications");
        nl_socket_set_nonblocking(socket.get());
        std::thread([s = socket.release(), receiver]() {
            Socket owned(s);
            pollfd watched = {nl_socket_get_fd(owned.get()), POLLIN, 0};
            for (;;) {
                if (::poll(&watched, 1, -1) < 0)
                    continue;
                // Drain the batch, then lay out once.
                while (nl_recvmsgs_default(owned.get()) >= 0) {
                }
                try {
                    receiver(snapshot());
                } catch (const std::exception&) {
                    // The next notification tries again.
                }
            }
        }).detach();
    });
}

} // namespace StoreDetail
} // namespace Korvu
