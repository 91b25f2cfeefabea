#ifndef KORVU_IPIF_SUBNETMASK_H
#define KORVU_IPIF_SUBNETMASK_H

#include <string>

namespace Korvu {
namespace IPInterfaceProvider {

// True for a dotted IPv4 mask whose one bits are contiguous from the top
// (255.255.255.0, 0.0.0.0, 255.255.255.255); false for 255.0.255.0, for any
// text that is not an IPv4 address, and for an empty text.
bool isSubnetMask(const std::string& text);

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
