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
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "File.h"
#include "FolderLock.h"
#include "NodeLexicon.h"

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

struct AddrFree {
    void operator()(nl_addr* a) const { nl_addr_put(a); }
};
struct RouteAddrFree {
    void operator()(rtnl_addr* a) const { rtnl_addr_put(a); }
};
struct LinkFree {
    void operator()(rtnl_link* l) const { rtnl_link_put(l); }
};
struct RouteFree {
    void operator()(rtnl_route* r) const { rtnl_route_put(r); }
};
using Address = std::unique_ptr<nl_addr, AddrFree>;
using LinkAddress = std::unique_ptr<rtnl_addr, RouteAddrFree>;
using Link = std::unique_ptr<rtnl_link, LinkFree>;
using Route = std::unique_ptr<rtnl_route, RouteFree>;

// Only literal addresses of the one family: nl_addr_parse would take
// names like "default" or "any" too.
Address literal(const std::string& text, int family)
{
    unsigned char binary[16] = {};
    if (inet_pton(family, text.c_str(), binary) != 1)
        return Address();
    return Address(nl_addr_build(family, binary, family == AF_INET ? 4 : 16));
}

bool isUnicast(const std::string& text, int family)
{
    unsigned char b[16] = {};
    if (inet_pton(family, text.c_str(), b) != 1)
        return false;
    if (family == AF_INET)
        return !(b[0] == 0 || b[0] >= 224 || b[0] == 127);
    static const unsigned char unspecified[16] = {}, loopback[16] = {0, 0, 0, 0, 0, 0, 0, 0,
                                                                      0, 0, 0, 0, 0, 0, 0, 1};
    return b[0] != 0xff && std::memcmp(b, unspecified, 16) != 0 && std::memcmp(b, loopback, 16) != 0;
}

std::string refusal(const std::string& what, int error)
{
    return "the kernel refused " + what + ": " + nl_geterror(error);
}

LinkAddress interfaceAddress(int index, const std::string& text, int family, unsigned int prefix,
                             const std::string& label = std::string())
{
    Address local = literal(text, family);
    if (!local)
        return LinkAddress();
    LinkAddress address(rtnl_addr_alloc());
    if (!address)
        return address;
    rtnl_addr_set_ifindex(address.get(), index);
    rtnl_addr_set_family(address.get(), family);
    rtnl_addr_set_local(address.get(), local.get());
    rtnl_addr_set_prefixlen(address.get(), static_cast<int>(prefix));
    if (!label.empty() && family == AF_INET && rtnl_addr_set_label(address.get(), label.c_str()) < 0)
        return LinkAddress();
    return address;
}

// Replaces from (empty: none) by to/prefix (empty: none) on the link; an
// alias's new address keeps its label. The new one goes in first, so that
// a refusal leaves the link as it was.
std::string replaceAddress(nl_sock* socket, int index, int family, const std::string& from,
                           unsigned int fromPrefix, const std::string& to, unsigned int prefix,
                           const std::string& label)
{
    const unsigned int width = family == AF_INET ? 32 : 128;
    if (prefix > width)
        return "prefix length " + std::to_string(prefix) + " is out of range";
    if (from == to && fromPrefix == prefix)
        return std::string();
    // Removing an IPv4 primary address takes its secondaries with it
    // (unless the link promotes them): the others are put back afterwards.
    std::vector<LinkAddress> others;
    if (family == AF_INET) {
        nl_cache* raw = nullptr;
        if (rtnl_addr_alloc_cache(socket, &raw) < 0)
            return "cannot read the addresses";
        Cache all(raw);
        for (nl_object* o = nl_cache_get_first(all.get()); o; o = nl_cache_get_next(o)) {
            rtnl_addr* a = reinterpret_cast<rtnl_addr*>(o);
            if (rtnl_addr_get_ifindex(a) != index || rtnl_addr_get_family(a) != AF_INET)
                continue;
            if (addressText(rtnl_addr_get_local(a)) == from &&
                static_cast<unsigned int>(rtnl_addr_get_prefixlen(a)) == fromPrefix)
                continue;
            nl_object_get(o);
            others.emplace_back(a);
        }
    }
    // So are the routes through the address's subnet, the default one
    // among them.
    std::vector<Route> defaults;
    if (family == AF_INET) {
        nl_cache* raw = nullptr;
        if (rtnl_route_alloc_cache(socket, AF_INET, 0, &raw) < 0)
            return "cannot read the routes";
        Cache routes(raw);
        for (nl_object* o = nl_cache_get_first(routes.get()); o; o = nl_cache_get_next(o)) {
            rtnl_route* route = reinterpret_cast<rtnl_route*>(o);
            nl_addr* destination = rtnl_route_get_dst(route);
            if (rtnl_route_get_table(route) != RT_TABLE_MAIN || rtnl_route_get_nnexthops(route) != 1 ||
                (destination && nl_addr_get_prefixlen(destination) != 0) ||
                rtnl_route_nh_get_ifindex(rtnl_route_nexthop_n(route, 0)) != index)
                continue;
            nl_object_get(o);
            defaults.emplace_back(route);
        }
    }
    struct Restore {
        nl_sock* socket;
        std::vector<LinkAddress>& others;
        std::vector<Route>& defaults;
        ~Restore()
        {
            for (auto& a : others)
                rtnl_addr_add(socket, a.get(), NLM_F_EXCL);
            for (auto& r : defaults)
                rtnl_route_add(socket, r.get(), NLM_F_EXCL);
        }
    } restore{socket, others, defaults};
    if (!to.empty()) {
        LinkAddress added = interfaceAddress(index, to, family, prefix, label);
        if (!added)
            return "\"" + to + "\" is not an " + (family == AF_INET ? "IPv4" : "IPv6") + " address";
        if (!isUnicast(to, family))
            return "\"" + to + "\" is no unicast address an interface can have";
        // The same IPv6 address with another prefix is changed in place.
        const bool inPlace = family == AF_INET6 && from == to;
        const int error = rtnl_addr_add(socket, added.get(), inPlace ? NLM_F_REPLACE : NLM_F_EXCL);
        if (error < 0)
            return refusal("address " + to + "/" + std::to_string(prefix), error);
        if (inPlace)
            return std::string();
        if (family == AF_INET)
            others.push_back(interfaceAddress(index, to, family, prefix, label));
    }
    if (!from.empty()) {
        LinkAddress removed = interfaceAddress(index, from, family, fromPrefix);
        const int error = removed ? rtnl_addr_delete(socket, removed.get(), 0) : -NLE_INVAL;
        if (error < 0 && error != -NLE_NOADDR && error != -NLE_OBJ_NOTFOUND) {
            if (!to.empty()) {
                if (family == AF_INET)
                    others.pop_back();
                LinkAddress added = interfaceAddress(index, to, family, prefix);
                rtnl_addr_delete(socket, added.get(), 0);
            }
            return refusal("the removal of address " + from, error);
        }
    }
    return std::string();
}

Route defaultRoute(int index, int family, const std::string& gateway)
{
    Address via = literal(gateway, family);
    if (!via)
        return Route();
    unsigned char zero[16] = {};
    Address any(nl_addr_build(family, zero, family == AF_INET ? 4 : 16));
    Route route(rtnl_route_alloc());
    rtnl_nexthop* hop = rtnl_route_nh_alloc();
    if (!any || !route || !hop) {
        if (hop)
            rtnl_route_nh_free(hop);
        return Route();
    }
    nl_addr_set_prefixlen(any.get(), 0);
    rtnl_route_set_family(route.get(), static_cast<uint8_t>(family));
    rtnl_route_set_dst(route.get(), any.get());
    rtnl_route_set_table(route.get(), RT_TABLE_MAIN);
    rtnl_route_set_protocol(route.get(), RTPROT_STATIC);
    rtnl_route_set_scope(route.get(), RT_SCOPE_UNIVERSE);
    rtnl_route_set_type(route.get(), RTN_UNICAST);
    rtnl_route_nh_set_gateway(hop, via.get());
    rtnl_route_nh_set_ifindex(hop, index);
    rtnl_route_add_nexthop(route.get(), hop);
    return route;
}

std::string replaceGateway(nl_sock* socket, int index, int family, const std::string& from,
                           const std::string& to)
{
    if (from == to)
        return std::string();
    if (!to.empty()) {
        Route route = defaultRoute(index, family, to);
        if (!route)
            return "\"" + to + "\" is not an " + (family == AF_INET ? "IPv4" : "IPv6") + " address";
        // Replaces the link's default route in one step where there is one.
        const int error = rtnl_route_add(socket, route.get(), from.empty() ? NLM_F_EXCL : NLM_F_REPLACE);
        if (error < 0)
            return refusal("default gateway " + to, error);
        if (!from.empty() && family == AF_INET)
            return std::string();
    }
    if (!from.empty()) {
        Route route = defaultRoute(index, family, from);
        const int error = route ? rtnl_route_delete(socket, route.get(), 0) : -NLE_INVAL;
        if (error < 0 && error != -NLE_OBJ_NOTFOUND)
            return refusal("the removal of default gateway " + from, error);
    }
    return std::string();
}

// Origins written through the store, by IP interface name and address
// ("" for an interface without one): the kernel keeps no such record.
using OriginKey = std::pair<std::string, std::string>;

struct Origins {
    std::mutex lock;
    std::string file;
    std::map<OriginKey, unsigned int> byAddress;
};

Origins& origins()
{
    // Never destroyed: the watching thread may still lay out at exit.
    static Origins* kept = new Origins;
    return *kept;
}


std::string folderOf(const std::string& file)
{
    const auto slash = file.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
}

bool folderExists(const std::string& file)
{
    struct stat info;
    return ::stat(folderOf(file).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// With the lock held: the file's records replace the ones known, when the
// file can be read; a damaged file leaves them as they are.
void readOrigins(Origins& kept)
{
    std::string text;
    if (kept.file.empty() || !File::read(File::Path(kept.file), text))
        return;
    try {
        std::map<OriginKey, unsigned int> read;
        const nlohmann::json records = nlohmann::json::parse(text).at("origins");
        for (const nlohmann::json& r : records)
            read[{r.at("interface").get<std::string>(), r.at("address").get<std::string>()}] =
                r.at("origin").get<unsigned int>();
        kept.byAddress.swap(read);
    } catch (const std::exception&) {
    }
}

// With the lock held: empty when written (or kept in this process only),
// else why not.
std::string writeOrigins(const Origins& kept)
{
    nlohmann::json records = nlohmann::json::array();
    for (const auto& r : kept.byAddress)
        records.push_back({{"interface", r.first.first}, {"address", r.first.second}, {"origin", r.second}});
    if (!File::writeAtomically(File::Path(kept.file), nlohmann::json({{"origins", records}}).dump(1) + "\n"))
        return "the origin cannot be kept: " + kept.file + " cannot be written";
    return std::string();
}

// Changes the records of one interface under the lock of the file's folder,
// from the file's latest version; on failure nothing changes.
template <class Change> std::string changeOrigins(Change change)
{
    Origins& kept = origins();
    std::lock_guard<std::mutex> guard(kept.lock);
    if (kept.file.empty() || !folderExists(kept.file)) {
        change(kept.byAddress);
        return std::string();
    }
    // Keeps writers of other processes out while the record is read and written.
    FolderLock folder(kept.file);
    if (!folder.held())
        return "the origin cannot be kept: the folder of " + kept.file + " cannot be locked";
    readOrigins(kept);
    const std::map<OriginKey, unsigned int> before = kept.byAddress;
    change(kept.byAddress);
    const std::string why = writeOrigins(kept);
    if (!why.empty())
        kept.byAddress = before;
    return why;
}

std::map<OriginKey, unsigned int> recordedOrigins()
{
    Origins& kept = origins();
    std::lock_guard<std::mutex> guard(kept.lock);
    readOrigins(kept);
    return kept.byAddress;
}

} // namespace

void LiveSource::keepOriginsIn(const std::string& file)
{
    Origins& kept = origins();
    std::lock_guard<std::mutex> guard(kept.lock);
    kept.file = file;
    kept.byAddress.clear();
    readOrigins(kept);
}

bool LiveSource::isLinkLocal(const std::string& text)
{
    unsigned char b[16] = {};
    return inet_pton(AF_INET6, text.c_str(), b) == 1 && b[0] == 0xfe && (b[1] & 0xc0) == 0x80;
}

int LiveSource::prefixOfMask(const std::string& mask)
{
    in_addr binary{};
    if (inet_pton(AF_INET, mask.c_str(), &binary) != 1)
        return -1;
    const uint32_t bits = ntohl(binary.s_addr);
    const uint32_t inverted = ~bits;
    // Contiguous: the inverse is 2^n - 1.
    if ((inverted & (inverted + 1)) != 0)
        return -1;
    int prefix = 0;
    for (uint32_t b = bits; b; b <<= 1)
        ++prefix;
    return prefix;
}

std::string LiveSource::apply(const Interface& now, unsigned int property, const Value& value)
{
    const std::string* text = std::get_if<std::string>(&value);
    const unsigned int* number = std::get_if<unsigned int>(&value);
    switch (property) {
    case NodeLexicon::IPV4_ADDRESS:
    case NodeLexicon::SUBNET_MASK:
    case NodeLexicon::IPV6_ADDRESS:
    case NodeLexicon::PREFIX_LENGTH:
    case NodeLexicon::IPV4_GATEWAY:
    case NodeLexicon::IPV6_GATEWAY:
    case NodeLexicon::STATE:
        break;
    case NodeLexicon::ADDRESS_ORIGIN: {
        // Recorded only: no DHCP client is started here.
        if (!number)
            return "a value of the wrong kind";
        const OriginKey key{now.name.empty() ? now.link : now.name, now.ipv4.empty() ? now.ipv6 : now.ipv4};
        const unsigned int origin = *number;
        return changeOrigins([&](std::map<OriginKey, unsigned int>& byAddress) { byAddress[key] = origin; });
    }
    case NodeLexicon::DNS_SERVERS:
    case NodeLexicon::DNS_SUFFIXES:
    case NodeLexicon::DOMAIN_NAME:
        return "DNS settings are read only on a live store: they come from /etc/resolv.conf";
    default: {
        const char* name = NodeLexicon::propertyName(property);
        return std::string("property ") + (name ? name : std::to_string(property)) +
               " cannot be changed on a live store";
    }
    }
    Socket socket(nl_socket_alloc());
    if (!socket || nl_connect(socket.get(), NETLINK_ROUTE) < 0)
        return "cannot open a netlink socket";
    rtnl_link* raw = nullptr;
    int error = rtnl_link_get_kernel(socket.get(), 0, now.link.c_str(), &raw);
    if (error < 0)
        return "link " + now.link + " not found: " + nl_geterror(error);
    Link link(raw);
    const int index = rtnl_link_get_ifindex(link.get());
    const std::string label = now.name != now.link ? now.name : std::string();
    // The origin recorded for an address follows the interface to its new one.
    auto moveOrigin = [&now](const std::string& from, const std::string& to, std::string why) {
        if (!why.empty() || from == to)
            return why;
        const std::string name = now.name.empty() ? now.link : now.name;
        changeOrigins([&](std::map<OriginKey, unsigned int>& byAddress) {
            auto found = byAddress.find({name, from});
            if (found == byAddress.end())
                return;
            byAddress[{name, to}] = found->second;
            byAddress.erase(found);
        });
        return why;
    };
    switch (property) {
    case NodeLexicon::IPV4_ADDRESS:
        if (!text)
            break;
        return moveOrigin(now.ipv4, *text,
                          replaceAddress(socket.get(), index, AF_INET, now.ipv4, now.prefix, *text,
                                         now.ipv4.empty() ? 24 : now.prefix, label));
    case NodeLexicon::SUBNET_MASK: {
        if (!text)
            break;
        const int prefix = prefixOfMask(*text);
        if (prefix < 0)
            return "\"" + *text + "\" is not a subnet mask";
        if (now.ipv4.empty())
            return "the interface has no IPv4 address to apply a mask to";
        return replaceAddress(socket.get(), index, AF_INET, now.ipv4, now.prefix, now.ipv4,
                              static_cast<unsigned int>(prefix), label);
    }
    case NodeLexicon::IPV6_ADDRESS: {
        if (!text)
            break;
        // The link needs its link-local address for neighbour discovery: an
        // address of wider scope goes beside it.
        if (isLinkLocal(now.ipv6) && !text->empty() && !isLinkLocal(*text))
            return replaceAddress(socket.get(), index, AF_INET6, std::string(), 0, *text, 64, label);
        return moveOrigin(now.ipv6, *text,
                          replaceAddress(socket.get(), index, AF_INET6, now.ipv6, now.prefix, *text,
                                         now.ipv6.empty() ? 64 : now.prefix, label));
    }
    case NodeLexicon::PREFIX_LENGTH:
        if (!number)
            break;
        if (!now.ipv6.empty())
            return replaceAddress(socket.get(), index, AF_INET6, now.ipv6, now.prefix, now.ipv6, *number, label);
        if (!now.ipv4.empty())
            return replaceAddress(socket.get(), index, AF_INET, now.ipv4, now.prefix, now.ipv4, *number, label);
        return "the interface has no address to apply a prefix length to";
    case NodeLexicon::IPV4_GATEWAY:
        if (!text)
            break;
        return replaceGateway(socket.get(), index, AF_INET, now.gateway4, *text);
    case NodeLexicon::IPV6_GATEWAY:
        if (!text)
            break;
        return replaceGateway(socket.get(), index, AF_INET6, now.gateway6, *text);
    case NodeLexicon::STATE: {
        if (!number || (*number != 1 && *number != 12))
            return "only the states enabled (1) and disabled (12) can be applied to a link";
        Link change(rtnl_link_alloc());
        if (!change)
            return "out of memory";
        if (*number == 1)
            rtnl_link_set_flags(change.get(), IFF_UP);
        else
            rtnl_link_unset_flags(change.get(), IFF_UP);
        error = rtnl_link_change(socket.get(), link.get(), change.get(), 0);
        if (error < 0)
            return refusal("the state change of link " + now.link, error);
        return std::string();
    }
    default:
        break;
    }
    return "a value of the wrong kind";
}

namespace {

std::string moveKey(const std::string& link, const std::string& name, unsigned int family,
                    const std::string& address)
{
    return link + '\n' + name + '\n' + std::to_string(family) + '\n' + address;
}

// Enough for any number of requests in flight; past it the oldest trees'
// nodes may no longer be found (their writes are refused, not misplaced).
const std::size_t movesKept = 4096;

} // namespace

void LiveSource::Moves::record(const std::string& link, const std::string& name, unsigned int family,
                               const std::string& from, const std::string& to)
{
    // As the kernel will list it ("2001:DB8::1" as "2001:db8::1").
    std::string listed = to;
    unsigned char bytes[sizeof(in6_addr)];
    char text[INET6_ADDRSTRLEN] = {};
    const int af = family == NodeLexicon::IPV6_ADDRESS ? AF_INET6 : AF_INET;
    if (inet_pton(af, to.c_str(), bytes) == 1 && inet_ntop(af, bytes, text, sizeof text))
        listed = text;
    if (from == listed)
        return;
    if (moved.size() >= movesKept)
        moved.clear();
    // An address given back is its own again.
    moved.erase(moveKey(link, name, family, listed));
    moved[moveKey(link, name, family, from)] = listed;
}

std::string LiveSource::Moves::follow(const std::string& link, const std::string& name, unsigned int family,
                                      const std::string& address) const
{
    std::string at = address;
    for (std::size_t steps = 0; steps <= moved.size(); ++steps) {
        auto next = moved.find(moveKey(link, name, family, at));
        if (next == moved.end())
            break;
        at = next->second;
    }
    return at;
}

std::size_t LiveSource::counterpart(const NodeTree& held, std::size_t node, const NodeTree& now,
                                    const Moves& moves)
{
    if (node >= held.size())
        return NodeTree::none;
    const Node& was = held.at(node);
    // The host and the adapters are named by what does not move; an IP
    // interface node's place follows the kernel's address order, which
    // changes when an address goes and comes back.
    if (was.type != NodeLexicon::IP_INTERFACE || was.parent >= held.size() ||
        held.at(was.parent).type != NodeLexicon::NETWORK_ADAPTER)
        return now.find(was.path);
    const std::size_t adapter = now.find(held.at(was.parent).path);
    if (adapter == NodeTree::none)
        return NodeTree::none;
    auto text = [](const NodeTree& tree, std::size_t at, unsigned int id) {
        const Property* p = tree.property(at, id);
        const std::string* t = p ? std::get_if<std::string>(&p->value) : nullptr;
        return t ? *t : std::string();
    };
    const std::string link = text(held, was.parent, NodeLexicon::NAME);
    const std::string name = text(held, node, NodeLexicon::NAME);
    std::string v4 = text(held, node, NodeLexicon::IPV4_ADDRESS);
    std::string v6 = text(held, node, NodeLexicon::IPV6_ADDRESS);
    if (v4.empty() && v6.empty()) {
        // An interface without address takes whichever address comes first.
        v4 = moves.follow(link, name, NodeLexicon::IPV4_ADDRESS, "");
        if (v4.empty())
            v6 = moves.follow(link, name, NodeLexicon::IPV6_ADDRESS, "");
    }
    if (!v4.empty())
        v4 = moves.follow(link, name, NodeLexicon::IPV4_ADDRESS, v4);
    if (!v6.empty())
        v6 = moves.follow(link, name, NodeLexicon::IPV6_ADDRESS, v6);
    // A node given an address of the other family holds both until the
    // kernel lists them as two: either of them stands for it then (a write
    // of one family's value goes on to the node that has that address).
    std::size_t either = NodeTree::none;
    for (std::size_t candidate : now.at(adapter).children) {
        if (now.at(candidate).type != NodeLexicon::IP_INTERFACE || text(now, candidate, NodeLexicon::NAME) != name)
            continue;
        const std::string c4 = text(now, candidate, NodeLexicon::IPV4_ADDRESS);
        const std::string c6 = text(now, candidate, NodeLexicon::IPV6_ADDRESS);
        if (c4 == v4 && c6 == v6)
            return candidate;
        if (either == NodeTree::none && !v4.empty() && !v6.empty() &&
            ((c4 == v4 && c6.empty()) || (c6 == v6 && c4.empty())))
            either = candidate;
    }
    return either;
}

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
    const std::map<OriginKey, unsigned int> recorded = recordedOrigins();

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
        std::set<std::string> taken;
        auto add = [&](const std::string& interfaceName, const std::string& address, nlohmann::json p) {
            auto origin = recorded.find({interfaceName, address});
            if (origin != recorded.end())
                p["ADDRESS_ORIGIN"] = origin->second;
            std::string node = interfaceName;
            for (std::size_t n = interfaces.size(); !taken.insert(node).second; ++n)
                node = interfaceName + "-" + std::to_string(n);
            interfaces.push_back({{"name", node}, {"type", "IP_INTERFACE"}, {"description", "IP interface"},
                                  {"properties", p}});
        };
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
            // An IPv4 address labelled otherwise than its link is an alias,
            // an IP interface of its own named by the label ("eth0:1").
            // Unlabelled secondary addresses stay with the link's name.
            const char* labelled = family == AF_INET ? rtnl_addr_get_label(address) : nullptr;
            const std::string label = labelled ? labelled : "";
            const bool alias = !label.empty() && label != name && label.find('/') == std::string::npos &&
                               NodeTree::isValidUtf8(label);
            if (alias)
                p["NAME"] = label;
            add(alias ? label : name, text, p);
        }
        if (interfaces.empty())
            add(name, std::string(), base(4));
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
