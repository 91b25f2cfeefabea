#include "LANEndpoint.h"

#include <cctype>
#include <string>
#include <unordered_set>
#include <utility>

#include "Instrumentation.h"
#include "InterfaceNodes.h"
#include "NodeLexicon.h"
#include "OwningSystem.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

const char* const LANEndpoint::className = "Tavrix_LANEndpoint";

namespace {

// CIM writes a MAC address as twelve hexadecimal digits; empty when the
// stored text is no MAC address.
std::string cimMacAddress(const std::string& stored)
{
    std::string digits;
    for (char c : stored) {
        if (c == ':' || c == '-' || c == '.')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::string();
        digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return digits.size() == 12 ? digits : std::string();
}

} // namespace

void LANEndpoint::collect(std::vector<CompanionElement>& out, const std::string* onlyName, bool keysOnly)
{
    const std::string host = InterfaceNodes::hostName();
    std::unordered_set<std::string> seen;
    // What the caller already holds counts as seen.
    for (const CompanionElement& known : out)
        seen.insert(CompanionElement::nameKey(known.valueOf("Name"), known.valueOf("SystemName")));
    // An adapter stands below its system.
    OwningSystem owner(1);
    Instrumentation node;
    for (node.selectNode(NodeLexicon::NETWORK_ADAPTER); node; ++node) {
        std::string name;
        if (!node.getProperty(NodeLexicon::NAME, name) || name.empty())
            continue;
        // Adapters of other names neither make nor shadow this endpoint.
        if (onlyName && name != *onlyName)
            continue;
        const bool sp = owner.isServiceProcessor(node);
        const std::string systemName = sp ? std::string(InterfaceNodes::serviceProcessorName) : host;
        // Several adapters of one name on a system make one endpoint: the first's.
        if (!seen.insert(CompanionElement::nameKey(name, systemName)).second)
            continue;
        CompanionElement e(className);
        e.addKey("SystemCreationClassName",
                 sp ? InterfaceNodes::serviceProcessorClass : InterfaceNodes::hostClass,
                 CompanionElement::IGNORED);
        e.addKey("SystemName", systemName);
        e.addKey("CreationClassName", className, CompanionElement::CLASS_NAME);
        e.addKey("Name", name);
        if (!keysOnly) {
            e.addText("ElementName", name);
            e.addText("Description", node.getNodeDescription());
            std::string mac;
            if (node.getProperty(NodeLexicon::MAC_ADDRESS, mac)) {
                std::string cim = cimMacAddress(mac);
                if (!cim.empty())
                    e.addText("MACAddress", std::move(cim));
            }
            e.addText("NameFormat", "Other");
            e.addNumber("ProtocolIFType", 6);  // ethernetCsmacd
            e.addNumber("EnabledState", 2);
            e.addNumber("RequestedState", 12);
        }
        out.push_back(std::move(e));
    }
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
