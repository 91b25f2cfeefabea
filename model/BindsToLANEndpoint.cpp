#include "BindsToLANEndpoint.h"

#include <string>
#include <vector>

#include "EndResolution.h"
#include "FrameworkException.h"
#include "IPprotocolEndpoint.h"
#include "InstrumentationException.h"
#include "NodeLexicon.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("BindsToLANEndpoint.cpp");

BindsToLANEndpoint::BindsToLANEndpoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::BindsToLANEndpoint::BindsToLANEndpoint");
}

BindsToLANEndpoint::~BindsToLANEndpoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::BindsToLANEndpoint::~BindsToLANEndpoint");
}

Moniker BindsToLANEndpoint::getLANEndpointMoniker(Moniker& endpoint)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::BindsToLANEndpoint::getLANEndpointMoniker");
    std::string name;
    std::string systemName;
    const bool hasName = EndResolution::findLast(endpoint, "Name", name);
    const bool hasSystem = EndResolution::findLast(endpoint, "SystemName", systemName);
    if (!hasName && !hasSystem)
        throw FrameworkException("Could not find 'Name' key in Moniker");
    // Interface name, then MAC address.
    const std::vector<std::string> nameTokens = EndResolution::split(name, "_");

    std::string adapterName;
    bool found = false;
    cursor.selectNode(NodeLexicon::NETWORK_ADAPTER);
    while (!found && cursor) {
        if (cursor.getProperty(NodeLexicon::NAME, adapterName)) {
            std::string mac;
            found = EndResolution::tokenIs(nameTokens, 0, adapterName) ||
                    (cursor.getProperty(NodeLexicon::MAC_ADDRESS, mac) && !mac.empty() &&
                     EndResolution::tokenIs(nameTokens, 1, mac));
        }
        if (!found)
            ++cursor;
    }
    if (!found)
        throw FrameworkException(EndResolution::noMatchInComputer);

    Moniker result;
    result.addKey("Name", adapterName);
    result.addKey("SystemCreationClassName", EndResolution::hostClass);
    result.addKey("CreationClassName", "Tavrix_LANEndpoint");
    result.addKey("SystemName", systemName);
    TRACE_EXIT("Korvu::IPInterfaceProvider::BindsToLANEndpoint::getLANEndpointMoniker");
    return result;
}

Moniker BindsToLANEndpoint::getIPProtocolEndPointMoniker(Moniker& lanEndpoint)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::BindsToLANEndpoint::getIPProtocolEndPointMoniker");
    std::string lanName;
    std::string systemName;
    std::string systemClass;
    if (!EndResolution::findLast(lanEndpoint, "Name", lanName))
        throw FrameworkException("Could not find 'Name' Key in Moniker");
    EndResolution::findLast(lanEndpoint, "SystemName", systemName);
    EndResolution::findLast(lanEndpoint, "SystemCreationClassName", systemClass);

    IPprotocolEndpoint ip;
    std::string name;
    bool found = false;
    while (!found && ip) {
        found = ip.getName(name) &&
                EndResolution::tokenIs(EndResolution::split(name, "_"), 0, lanName);
        if (!found)
            ++ip;
    }
    if (!found)
        throw InstrumentationException("Concerned Computer Could Not Be Found.");

    Moniker result;
    result.addKey("Name", name);
    result.addKey("SystemCreationClassName", systemClass);
    result.addKey("CreationClassName", EndResolution::endpointClass);
    result.addKey("SystemName", systemName);
    TRACE_EXIT("Korvu::IPInterfaceProvider::BindsToLANEndpoint::getIPProtocolEndPointMoniker");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
