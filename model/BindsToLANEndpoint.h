#ifndef KORVU_IPIF_BINDSTOLANENDPOINT_H
#define KORVU_IPIF_BINDSTOLANENDPOINT_H

#include <optional>
#include <string>
#include <string_view>

#include "JoinIndex.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_BindsToLanEndPoint: the LAN endpoint of a network adapter
// (Name = the adapter's NAME) and the IP protocol endpoints of the IP
// interfaces below that adapter in the node store.
class BindsToLANEndpoint {
public:
    BindsToLANEndpoint();
    ~BindsToLANEndpoint();

    // System and adapter of a LAN endpoint.
    std::string lanKey(std::string_view systemClass, std::string_view systemName, std::string_view name);
    // System and adapter of an endpoint, found as the parent of its IP
    // interface node (same interface name and MAC address, on a system of
    // the endpoint's kind). A given Name not of the form
    // "<interface>_<MAC>_<origin>" throws FrameworkException.
    std::string endpointKey(std::string_view systemClass, std::string_view systemName, std::string_view name,
                            bool given);

    // Reads every node's adapter now, as a second endpoint asked for would.
    void readAdapters();

private:
    // Adapter NAME of the first IP interface node with that entry; empty
    // when there is none. With `all`, reads every node into `adapters`
    // instead and gives nothing.
    std::string findAdapter(const std::string& entry, bool all);

    // Adapter NAME by system kind, interface name and MAC address (the
    // first node's of each), read from the store once per object when more
    // than one endpoint is asked for; the first asked is looked up alone.
    // Looked up in store order when a whole store is paired: entries and
    // names lie in that order in one buffer each. Set once every node is read.
    std::optional<JoinIndex> adapters;
    JoinIndex::Keys adapterNames;
    std::string firstEntry;
    std::string firstAdapter;
    std::string entry; // the last endpoint's entry, its room kept
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
