#ifndef IPIFHOST_LIVEIMPORT_H
#define IPIFHOST_LIVEIMPORT_H

#include <string>
#include <vector>

namespace ipifhost {

// A node store of this machine's own interfaces, read only: addresses,
// masks, prefixes and MAC addresses (getifaddrs, /sys/class/net), default
// routes (/proc/net/route, /proc/net/ipv6_route) and the resolver
// (/etc/resolv.conf). Nothing here throws except std::bad_alloc.
class LiveImport {
public:
    struct Resolver {
        std::vector<std::string> servers;
        std::vector<std::string> search;
    };
    // Interface name → default gateway, from the text of /proc/net/route.
    static std::vector<std::pair<std::string, std::string>> ipv4Gateways(const std::string& routes);
    // The same from /proc/net/ipv6_route.
    static std::vector<std::pair<std::string, std::string>> ipv6Gateways(const std::string& routes);
    static Resolver resolver(const std::string& resolvConf);

    // The store as JSON text.
    static std::string build();
    // Writes the store to `out` (standard output when empty); exit code.
    static int run(const std::string& out);
};

} // namespace ipifhost

#endif
