#ifndef KORVU_IPIF_BINDSTOLANENDPOINT_H
#define KORVU_IPIF_BINDSTOLANENDPOINT_H

#include <memory>
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

private:
    struct Reader;

    // Adapter NAME of the first IP interface node with that entry; empty
    // when there is none.
    std::string findAdapter(const std::string& entry);
    // Like findAdapter, from what the reader has read, reading on only as
    // far as the entry needs: endpoints asked for in store order (a whole
    // end listed) find their nodes just read by the walk that lists them.
    std::string_view adapterAhead(const std::string& entry);

    // The first endpoint asked for is looked up alone; from the second on,
    // the reader reads every node's adapter once, in store order.
    std::unique_ptr<Reader> reader;
    FirstOf adapters;  // by "<kind>\n<interface>\n<MAC>", the first node's of each
    std::string firstEntry;
    std::string firstAdapter;
    std::string entry; // the last endpoint's entry, its room kept
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
