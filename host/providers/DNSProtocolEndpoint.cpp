#include "DNSProtocolEndpoint.h"

#include <utility>

#include "InterfaceNodes.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

const char* const DNSProtocolEndpoint::className = "Tavrix_DNSProtocolEndpoint";

namespace {

const std::string nameSuffix = "_DNS";

} // namespace

std::string DNSProtocolEndpoint::nameOf(const std::string& interfaceName)
{
    return interfaceName + nameSuffix;
}

bool DNSProtocolEndpoint::interfaceOf(const std::string& name, std::string& interfaceName)
{
    if (name.size() < nameSuffix.size() ||
        name.compare(name.size() - nameSuffix.size(), nameSuffix.size(), nameSuffix) != 0)
        return false;
    interfaceName = name.substr(0, name.size() - nameSuffix.size());
    return true;
}

void DNSProtocolEndpoint::collect(std::vector<CompanionElement>& out, const std::string* onlyInterface, bool keysOnly)
{
    for (const InterfaceNodes::Interface& i : InterfaceNodes::collect(onlyInterface)) {
        // An interface that never had DNS servers has no resolver.
        if (!i.hasDnsServers)
            continue;
        CompanionElement e(className);
        e.addKey("SystemCreationClassName", i.systemClass, CompanionElement::CLASS_NAME);
        e.addKey("SystemName", i.systemName);
        e.addKey("CreationClassName", className, CompanionElement::CLASS_NAME);
        e.addKey("Name", nameOf(i.name));
        if (!keysOnly) {
            e.addText("ElementName", i.name + " DNS client");
            if (!i.hostName.empty())
                e.addText("Hostname", i.hostName);
            e.addText("NameFormat", "Interface_DNS");
            e.addNumber("ProtocolIFType", 1);  // Other
            e.addText("OtherTypeDescription", "DNS");
            e.addNumber("EnabledState", 2);
            e.addNumber("RequestedState", 12);
        }
        out.push_back(std::move(e));
    }
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
