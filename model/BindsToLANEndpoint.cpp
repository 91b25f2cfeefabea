#include "BindsToLANEndpoint.h"

#include "EndResolution.h"
#include "FrameworkException.h"
#include "Instrumentation.h"
#include "NodeLexicon.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("BindsToLANEndpoint.cpp");

namespace {

std::string adapterEntry(bool serviceProcessor, const std::string& interfaceName, const std::string& mac)
{
    return std::string(serviceProcessor ? "BMC" : "Computer") + "\n" + interfaceName + "\n" + mac;
}

} // namespace

BindsToLANEndpoint::BindsToLANEndpoint() : adaptersRead(false)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::BindsToLANEndpoint::BindsToLANEndpoint");
}

BindsToLANEndpoint::~BindsToLANEndpoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::BindsToLANEndpoint::~BindsToLANEndpoint");
}

std::string BindsToLANEndpoint::lanKey(const std::string& systemClass, const std::string& systemName,
                                       const std::string& name)
{
    return EndResolution::join({systemClass, systemName, name});
}

std::string BindsToLANEndpoint::endpointKey(const std::string& systemClass,
                                            const std::string& systemName, const std::string& name,
                                            bool given)
{
    std::string interfaceName;
    std::string mac;
    unsigned long origin = 0;
    if (!EndResolution::splitEndpointName(name, interfaceName, mac, origin)) {
        if (given)
            throw FrameworkException("Name Property value is not correct");
        return std::string();
    }
    if (!adaptersRead) {
        adaptersRead = true;
        Instrumentation node;
        for (node.selectNode(NodeLexicon::IP_INTERFACE); node; ++node) {
            std::string nodeName;
            std::string nodeMac;
            if (!node.getProperty(NodeLexicon::NAME, nodeName))
                continue;
            node.getProperty(NodeLexicon::MAC_ADDRESS, nodeMac);
            Instrumentation adapter;
            adapter.selectNode(node.getPathToParentNode());
            std::string adapterName;
            if (!adapter || adapter.getNodeType() != NodeLexicon::NETWORK_ADAPTER ||
                !adapter.getProperty(NodeLexicon::NAME, adapterName))
                continue;
            Instrumentation system;
            system.selectNode(adapter.getPathToParentNode());
            const bool serviceProcessor = system && system.getNodeDescription() == "BMC";
            adapters.emplace(adapterEntry(serviceProcessor, nodeName, nodeMac), adapterName);
        }
    }
    auto found = adapters.find(
        adapterEntry(systemClass == EndResolution::serviceProcessorClass, interfaceName, mac));
    if (found == adapters.end())
        return std::string();
    return EndResolution::join({systemClass, systemName, found->second});
}

} // namespace IPInterfaceProvider
} // namespace Korvu
