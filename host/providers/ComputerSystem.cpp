#include "ComputerSystem.h"

#include <utility>

#include "Instrumentation.h"
#include "InterfaceNodes.h"
#include "NodeLexicon.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

const char* const ComputerSystem::className = "Tavrix_ComputerSystem";

void ComputerSystem::collect(std::vector<CompanionElement>& out)
{
    Instrumentation node;
    for (node.selectNode(NodeLexicon::COMPUTER_SYSTEM); node; ++node) {
        if (node.getNodeDescription() == "BMC")
            continue;
        // Host endpoints are named after this machine, not after the node.
        std::string name = InterfaceNodes::hostName();
        std::string stored;
        node.getProperty(NodeLexicon::HOST_NAME, stored);
        if (name.empty())
            name = stored;
        CompanionElement e(className);
        e.addKey("CreationClassName", className, CompanionElement::CLASS_NAME);
        e.addKey("Name", name);
        e.addText("ElementName", stored.empty() ? name : stored);
        e.addText("Caption", "Host computer system");
        e.addText("Description", node.getNodeDescription());
        e.addText("NameFormat", "IP");
        e.addNumbers("Dedicated", {0});
        e.addNumber("EnabledState", 2);
        e.addNumber("RequestedState", 12);
        e.addNumber("HealthState", 5);
        e.addNumbers("OperationalStatus", {2});
        out.push_back(std::move(e));
        // One host: every host endpoint carries the same system name.
        return;
    }
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
