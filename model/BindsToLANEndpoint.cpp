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

// "<kind>\n<interface>\n<MAC>" into `entry`, whose room is kept: it is built
// for every endpoint and every interface node.
void adapterEntry(std::string& entry, bool serviceProcessor, std::string_view interfaceName, std::string_view mac)
{
    entry.assign(serviceProcessor ? "BMC" : "Computer");
    entry += '\n';
    entry += interfaceName;
    entry += '\n';
    entry += mac;
}

} // namespace

BindsToLANEndpoint::BindsToLANEndpoint()
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
    adapterEntry(entry, systemClass == EndResolution::serviceProcessorClass, interfaceName, mac);
    // A second endpoint asked for: every node is read once.
    if (!adapters && !firstEntry.empty() && firstEntry != entry)
        readAdapters();
    std::string_view adapterName;
    if (adapters) {
        const std::size_t found = adapters->first(entry);
        if (found != JoinIndex::none)
            adapterName = adapterNames.at(found);
    } else {
        // One endpoint asked from: its node alone, up to the first match.
        if (firstEntry.empty()) {
            firstEntry = entry;
            firstAdapter = findAdapter(entry, false);
        }
        adapterName = firstAdapter;
    }
    if (adapterName.empty())
        return std::string();
    return EndResolution::join({systemClass, systemName, adapterName});
}

void BindsToLANEndpoint::readAdapters()
{
    if (!adapters)
        findAdapter(std::string(), true);
}

std::string BindsToLANEndpoint::findAdapter(const std::string& entry, bool all)
{
    Instrumentation node;
    // Interfaces of one adapter, and adapters of one system, come together.
    OwningSystem owner;
    Instrumentation lastAdapter;
    std::string lastAdapterName;
    // Read anew for every node into the same room.
    std::string nodeName;
    std::string nodeMac;
    std::string nodeEntry;
    std::string probe;
    const std::string_view wanted = std::string_view(entry).substr(entry.find('\n') + 1);
    JoinIndex::Keys entries;
    JoinIndex::Keys names;
    for (node.selectNode(NodeLexicon::IP_INTERFACE); node; ++node) {
        if (!node.getProperty(NodeLexicon::NAME, nodeName))
            continue;
        nodeMac.clear();
        node.getProperty(NodeLexicon::MAC_ADDRESS, nodeMac);
        // The name and MAC address rule out most nodes before any lookup.
        if (!all) {
            probe.assign(nodeName);
            probe += '\n';
            probe += nodeMac;
            if (probe != wanted)
                continue;
        }
        Instrumentation adapter = node;
        adapter.selectParent();
        if (!adapter.standsOn(lastAdapter)) {
            lastAdapterName.clear();
            if (!adapter || adapter.getNodeType() != NodeLexicon::NETWORK_ADAPTER ||
                !adapter.getProperty(NodeLexicon::NAME, lastAdapterName))
                lastAdapterName.clear();
            lastAdapter = std::move(adapter);
        }
        if (lastAdapterName.empty())
            continue;
        adapterEntry(nodeEntry, owner.isServiceProcessor(node), nodeName, nodeMac);
        if (all) {
            entries.add(nodeEntry);
            names.add(lastAdapterName);
        } else if (nodeEntry == entry) {
            return lastAdapterName;
        }
    }
    if (all) {
        adapters.emplace(std::move(entries));
        adapterNames = std::move(names);
    }
    return std::string();
}

} // namespace IPInterfaceProvider
} // namespace Korvu
