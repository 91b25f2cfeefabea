#include "DHCPSettingData.h"

#include <utility>

#include "InterfaceNodes.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

const char* const DHCPSettingData::className = "Tavrix_DHCPSettingData";

void DHCPSettingData::collect(std::vector<CompanionElement>& out, const std::string* onlyInterface, bool keysOnly)
{
    // Every interface can be switched to DHCP, whatever it uses now.
    for (const InterfaceNodes::Interface& i : InterfaceNodes::collect(onlyInterface)) {
        CompanionElement e(className);
        e.addKey("InstanceID", i.idPrefix + i.name);
        if (!keysOnly) {
            e.addText("ElementName", i.name + " DHCP");
            e.addNumber("AddressOrigin", 4);     // DHCP
            e.addNumber("ProtocolIFType", 4096); // IPv4
        }
        out.push_back(std::move(e));
    }
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
