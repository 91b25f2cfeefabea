#include "SPComputerSystem.h"

#include <utility>

#include "Instrumentation.h"
#include "InterfaceNodes.h"
#include "NodeLexicon.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

const char* const SPComputerSystem::className = "Tavrix_SPComputerSystem";

void SPComputerSystem::collect(std::vector<CompanionElement>& out)
{
    Instrumentation node;
    for (node.selectNode(NodeLexicon::COMPUTER_SYSTEM); node; ++node) {
        if (node.getNodeDescription() != "BMC")
            continue;
        std::string stored;
        node.getProperty(NodeLexicon::HOST_NAME, stored);
        CompanionElement e(className);
        e.addKey("CreationClassName", className, CompanionElement::CLASS_NAME);
        e.addKey("Name", InterfaceNodes::serviceProcessorName);
        e.addText("ElementName", stored.empty() ? std::string("Service Processor") : stored);
        e.addText("Caption", "Service processor");
        e.addText("Description", node.getNodeDescription());
        e.addText("NameFormat", "Other");
        e.addNumbers("Dedicated", {14});
        e.addNumber("EnabledState", 2);
        e.addNumber("RequestedState", 12);
        e.addNumber("HealthState", 5);
        e.addNumbers("OperationalStatus", {2});
        out.push_back(std::move(e));
        // The main module names every service processor "BMC:-1".
        return;
    }
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
