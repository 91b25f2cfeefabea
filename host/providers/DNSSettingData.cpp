#include "DNSSettingData.h"

#include <utility>

#include "InterfaceNodes.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

const char* const DNSSettingData::className = "Tavrix_DNSSettingData";

void DNSSettingData::collect(std::vector<CompanionElement>& out, const std::string* onlyInterface, bool keysOnly)
{
    for (const InterfaceNodes::Interface& i : InterfaceNodes::collect(onlyInterface)) {
        CompanionElement e(className);
        e.addKey("InstanceID", i.idPrefix + i.name);
        if (!keysOnly) {
            e.addText("ElementName", i.name + " DNS");
            if (!i.hostName.empty())
                e.addText("RequestedHostname", i.hostName);
            if (!i.domainName.empty())
                e.addText("DomainName", i.domainName);
            if (i.hasDnsServers)
                e.addTexts("DNSServerAddresses", i.dnsServers);
        }
        out.push_back(std::move(e));
    }
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
