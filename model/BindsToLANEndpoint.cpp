#include "BindsToLANEndpoint.h"

#include "EndResolution.h"
#include "FrameworkException.h"
#include "Instrumentation.h"
#include "NodeLexicon.h"
#include "OwningSystem.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("BindsToLANEndpoint.cpp");

namespace {

std::string adapterEntry(bool serviceProcessor, std::string_view interfaceName, std::string_view mac)
{
    std::string entry(serviceProcessor ? "BMC" : "Computer");
    entry.reserve(entry.size() + interfaceName.size() + mac.size() + 2);
    entry += '\n';
    entry += interfaceName;
    entry += '\n';
    entry += mac;
    return entry;
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

std::string BindsToLANEndpoint::lanKey(std::string_view systemClass, std::string_view systemName,
                                       std::string_view name)
{
    return EndResolution::join({systemClass, systemName, name});
}

std::string BindsToLANEndpoint::endpointKey(std::string_view systemClass, std::string_view systemName,
                                            std::string_view name, bool given)
{
    std::string_view interfaceName;
    std::string_view mac;
    unsigned long origin = 0;
    if (!EndResolution::splitEndpointName(name, interfaceName, mac, origin)) {
        if (given)
            throw FrameworkException("Name Property value is not correct");
        return std::string();
    }
    const std::string entry =
        adapterEntry(systemClass == EndResolution::serviceProcessorClass, interfaceName, mac);
    std::string adapterName;
    if (adaptersRead) {
        auto found = adapters.find(entry);
        if (found != adapters.end())
            adapterName = found->second;
    } else if (firstEntry.empty() || firstEntry == entry) {
        // One endpoint asked from: its node alone, up to the first match.
        if (firstEntry.empty()) {
            firstEntry = entry;
            firstAdapter = findAdapter(entry, false);
        }
        adapterName = firstAdapter;
    } else {
        adaptersRead = true;
        adapterName = findAdapter(entry, true);
    }
    if (adapterName.empty())
        return std::string();
    return EndResolution::join({systemClass, systemName, adapterName});
}

std::string BindsToLANEndpoint::findAdapter(const std::string& entry, bool all)
{
    Instrumentation node;
    // Interfaces of one adapter, and adapters of one system, come together.
    OwningSystem owner;
    std::string lastAdapterPath;
    std::string lastAdapterName;
    for (node.selectNode(NodeLexicon::IP_INTERFACE); node; ++node) {
        std::string nodeName;
        std::string nodeMac;
        if (!node.getProperty(NodeLexicon::NAME, nodeName))
            continue;
        node.getProperty(NodeLexicon::MAC_ADDRESS, nodeMac);
        // The name and MAC address rule out most nodes before any lookup.
        if (!all && entry.compare(entry.find('\n') + 1, std::string::npos, nodeName + "\n" + nodeMac) != 0)
            continue;
        std::string adapterPath = node.getPathToParentNode();
        if (adapterPath != lastAdapterPath) {
            Instrumentation adapter;
            adapter.selectNode(adapterPath);
            lastAdapterName.clear();
            if (!adapter || adapter.getNodeType() != NodeLexicon::NETWORK_ADAPTER ||
                !adapter.getProperty(NodeLexicon::NAME, lastAdapterName))
                lastAdapterName.clear();
            lastAdapterPath = std::move(adapterPath);
        }
        if (lastAdapterName.empty())
            continue;
        const std::string& adapterName = lastAdapterName;
        const std::string nodeEntry = adapterEntry(owner.isServiceProcessor(node), nodeName, nodeMac);
        if (all)
            adapters.emplace(nodeEntry, adapterName);
        else if (nodeEntry == entry)
            return adapterName;
    }
    if (!all)
        return std::string();
    auto found = adapters.find(entry);
    return found == adapters.end() ? std::string() : found->second;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
