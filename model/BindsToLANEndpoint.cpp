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

// Walks the IP interface nodes in store order, stopping at each one below a
// network adapter.
struct BindsToLANEndpoint::Reader {
    // With a probe ("<interface>\n<MAC>"), nodes of another name or MAC are
    // passed over before any lookup.
    explicit Reader(std::string_view probe = std::string_view()) : probe(probe) {}

    // The next node's entry and adapter NAME; false past the last node.
    bool read()
    {
        if (!started) {
            node.selectNode(NodeLexicon::IP_INTERFACE);
            started = true;
        } else if (node) {
            ++node;
        }
        for (; node; ++node) {
            if (!node.getProperty(NodeLexicon::NAME, nodeName))
                continue;
            nodeMac.clear();
            node.getProperty(NodeLexicon::MAC_ADDRESS, nodeMac);
            if (!probe.empty()) {
                probed.assign(nodeName);
                probed += '\n';
                probed += nodeMac;
                if (probed != probe)
                    continue;
            }
            // Interfaces of one adapter, and adapters of one system, come together.
            Instrumentation adapter = node;
            adapter.selectParent();
            if (!adapter.standsOn(lastAdapter)) {
                if (!adapter || adapter.getNodeType() != NodeLexicon::NETWORK_ADAPTER ||
                    !adapter.getProperty(NodeLexicon::NAME, adapterName))
                    adapterName.clear();
                lastAdapter = std::move(adapter);
            }
            if (adapterName.empty())
                continue;
            adapterEntry(nodeEntry, owner.isServiceProcessor(node), nodeName, nodeMac);
            return true;
        }
        return false;
    }

    const std::string probe;
    Instrumentation node;
    bool started = false;
    OwningSystem owner;
    Instrumentation lastAdapter;
    std::string adapterName;  // of lastAdapter
    // Read anew for every node into the same room.
    std::string nodeName;
    std::string nodeMac;
    std::string nodeEntry;
    std::string probed;
};

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
    std::string_view adapterName;
    if (!reader && (firstEntry.empty() || firstEntry == entry)) {
        // One endpoint asked from: its node alone, up to the first match.
        if (firstEntry.empty()) {
            firstEntry = entry;
            firstAdapter = findAdapter(entry);
        }
        adapterName = firstAdapter;
    } else {
        adapterName = adapterAhead(entry);
    }
    if (adapterName.empty())
        return std::string();
    return EndResolution::join({systemClass, systemName, adapterName});
}

std::string BindsToLANEndpoint::findAdapter(const std::string& entry)
{
    Reader alone(std::string_view(entry).substr(entry.find('\n') + 1));
    while (alone.read())
        if (alone.nodeEntry == entry)
            return alone.adapterName;
    return std::string();
}

std::string_view BindsToLANEndpoint::adapterAhead(const std::string& entry)
{
    if (!reader)
        reader = std::make_unique<Reader>();
    std::string_view found;
    if (adapters.find(entry, found))
        return found;
    while (reader->read()) {
        // The first adapter of the entry, which may stand on an earlier node.
        const std::string_view kept = adapters.add(reader->nodeEntry, reader->adapterName);
        if (reader->nodeEntry == entry)
            return kept;
    }
    return std::string_view();
}

} // namespace IPInterfaceProvider
} // namespace Korvu
