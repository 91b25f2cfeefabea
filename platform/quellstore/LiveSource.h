#ifndef KORVU_QUELLSTORE_LIVESOURCE_H
#define KORVU_QUELLSTORE_LIVESOURCE_H

// Internal to the library: the node store built from this machine's kernel.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "NodeTree.h"

namespace Korvu {
namespace StoreDetail {

// Reads links, addresses and default routes through rtnetlink (libnl-route)
// and the resolver configuration, and lays them out in the store file
// format: one host system, an adapter per link (loopback left out) and an
// IP interface node per address (one without address for a link that has
// none). Watches the kernel's link, address and route notifications on a
// thread of its own and hands every new layout to the receiver.
class LiveSource {
public:
    using Receiver = std::function<void(const std::string& storeJson)>;

    // The current layout; throws std::runtime_error when the kernel
    // cannot be asked.
    static std::string snapshot();

    // Starts the watching thread (once per process); it calls receiver
    // after each batch of notifications.
    static void watch(Receiver receiver);

    // What a write to an IP interface node acts on: the node's values
    // before the change. An alias is named by its address's label; the
    // others by their link.
    struct Interface {
        std::string link;
        std::string name;
        std::string ipv4;
        std::string ipv6;
        // Of the IPv4 address where there is one, else of the IPv6 one. A
        // first address takes 24 (IPv4) or 64 (IPv6) until a mask or
        // prefix follows.
        unsigned int prefix = 0;
        std::string gateway4;
        std::string gateway6;
    };

    // Applies one property value to the kernel. Empty when the kernel took
    // it, else why not (the kernel's own words where it refused). The
    // origin, of which the kernel keeps no record, is recorded here.
    static std::string apply(const Interface& now, unsigned int property, const Value& value);

    // Where the recorded origins are kept across processes: a file written
    // atomically, read at every layout. Empty keeps them in this process
    // only, and so does a file whose folder does not exist.
    static void keepOriginsIn(const std::string& file);

    // Addresses changed through the store, per link, interface name and
    // family, so that a node of a tree from before a change is found again
    // by its new address.
    class Moves {
    public:
        // `from` empty: the interface had no address at all.
        void record(const std::string& link, const std::string& name, unsigned int family,
                    const std::string& from, const std::string& to);
        std::string follow(const std::string& link, const std::string& name, unsigned int family,
                           const std::string& address) const;

    private:
        std::map<std::string, std::string> moved;
    };

    // The node of `now` that stands for `node` of the older tree `held`,
    // NodeTree::none when there is none. An IP interface node is the one of
    // the same link and name with the same addresses, as moved since.
    static std::size_t counterpart(const NodeTree& held, std::size_t node, const NodeTree& now,
                                   const Moves& moves = Moves());

    // Prefix length of a dotted IPv4 mask; -1 for text that is no
    // contiguous mask.
    static int prefixOfMask(const std::string& mask);

    // Whether the text is an IPv6 link-local address (fe80::/10).
    static bool isLinkLocal(const std::string& text);

    // DNS servers and search domains of resolv.conf text.
    static void parseResolver(const std::string& text, std::vector<std::string>& servers,
                              std::vector<std::string>& search);
};

} // namespace StoreDetail
} // namespace Korvu

#endif
