#include "SubnetMask.h"

#include <arpa/inet.h>

#include <cstdint>

namespace Korvu {
namespace IPInterfaceProvider {

bool isSubnetMask(const std::string& text)
{
    struct in_addr address;
    if (text.empty() || text.find('\0') != std::string::npos ||
        inet_pton(AF_INET, text.c_str(), &address) != 1)
        return false;
    const std::uint32_t bits = ntohl(address.s_addr);
    // Contiguous ones from the top: the inverted mask plus one is a power of two.
    const std::uint32_t hostBits = ~bits;
    return (hostBits & (hostBits + 1u)) == 0;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
