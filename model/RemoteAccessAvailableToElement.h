#ifndef KORVU_IPIF_REMOTEACCESSAVAILABLETOELEMENT_H
#define KORVU_IPIF_REMOTEACCESSAVAILABLETOELEMENT_H

#include <string>
#include <string_view>

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_IPRemoteAccessAvailableToElement: the remote access points
// (default gateways) of an interface and every IP protocol endpoint of that
// interface on the same system.
class RemoteAccessAvailableToElement {
public:
    RemoteAccessAvailableToElement();
    ~RemoteAccessAvailableToElement();

    // System and interface of an access point ("<interface>_IPv4" or
    // "_IPv6"); a given Name of another form throws FrameworkException.
    std::string accessKey(std::string_view systemClass, std::string_view systemName, std::string_view name,
                          bool given);
    // System and interface of an endpoint ("<interface>_<MAC>_<origin>"); a
    // given Name of another form throws FrameworkException.
    std::string endpointKey(std::string_view systemClass, std::string_view systemName, std::string_view name,
                            bool given);

    // The association carries no order: always false.
    bool getOrderOfAccess(unsigned short& value);
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
