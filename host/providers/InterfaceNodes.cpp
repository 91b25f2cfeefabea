#include "InterfaceNodes.h"

#include <unistd.h>

#include <cstddef>
#include <unordered_map>
#include <utility>

#include "Instrumentation.h"
#include "NodeLexicon.h"
#include "OwningSystem.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

const char* const InterfaceNodes::hostClass = "Tavrix_ComputerSystem";
const char* const InterfaceNodes::serviceProcessorClass = "Tavrix_SPComputerSystem";
const char* const InterfaceNodes::serviceProcessorName = "BMC:-1";

namespace {

const char* const hostIdPrefix = "Computer:";
const char* const serviceProcessorIdPrefix = "BMC:";

// A later node of the same interface fills in what the first one lacks.
void fillFrom(Instrumentation& node, InterfaceNodes::Interface& entry)
{
    std::string text;
    if (entry.hostName.empty() && node.getProperty(NodeLexicon::HOST_NAME, text))
        entry.hostName = text;
    text.clear();
    if (entry.domainName.empty() && node.getProperty(NodeLexicon::DOMAIN_NAME, text))
        entry.domainName = text;
    std::vector<std::string> list;
    if (!entry.hasDnsServers && node.getProperty(NodeLexicon::DNS_SERVERS, list)) {
        entry.hasDnsServers = true;
        entry.dnsServers = list;
    }
    list.clear();
    if (entry.dnsSuffixes.empty() && node.getProperty(NodeLexicon::DNS_SUFFIXES, list))
        entry.dnsSuffixes = list;
}

} // namespace

std::string InterfaceNodes::hostName()
{
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0)
        return std::string();
    return buffer;
}

bool InterfaceNodes::nameOfInstanceID(const std::string& instanceID, std::string& name)
{
    for (const std::string prefix : {hostIdPrefix, serviceProcessorIdPrefix}) {
        if (instanceID.compare(0, prefix.size(), prefix) == 0) {
            name = instanceID.substr(prefix.size());
            return true;
        }
    }
    return false;
}

std::vector<InterfaceNodes::Interface> InterfaceNodes::collect(const std::string* onlyName)
{
    std::vector<Interface> out;
    // Keyed by prefix and name joined: the two prefixes differ in their
    // first letter, so no two pairs join to the same text.
    std::unordered_map<std::string, std::size_t> positions;
    const std::string host = hostName();
    // An interface node stands below its adapter, below its system.
    OwningSystem owner(2);
    Instrumentation node;
    for (node.selectNode(NodeLexicon::IP_INTERFACE); node; ++node) {
        std::string name;
        if (!node.getProperty(NodeLexicon::NAME, name) || name.empty())
            continue;
        // Nodes of one interface share its NAME, so the others add nothing.
        if (onlyName && name != *onlyName)
            continue;
        const bool sp = owner.isServiceProcessor(node);
        const std::string prefix = sp ? serviceProcessorIdPrefix : hostIdPrefix;

        // Positions, not pointers: `out` grows.
        const auto placed = positions.emplace(prefix + name, out.size());
        if (placed.second) {
            Interface fresh;
            fresh.name = name;
            fresh.serviceProcessor = sp;
            fresh.systemClass = sp ? serviceProcessorClass : hostClass;
            fresh.systemName = sp ? std::string(serviceProcessorName) : host;
            fresh.idPrefix = prefix;
            out.push_back(std::move(fresh));
        }
        Interface* entry = &out[placed.first->second];
        fillFrom(node, *entry);
        Instrumentation& system = owner.system();
        if ((entry->hostName.empty() || entry->domainName.empty()) && system) {
            std::string text;
            if (entry->hostName.empty() && system.getProperty(NodeLexicon::HOST_NAME, text))
                entry->hostName = text;
            text.clear();
            if (entry->domainName.empty() && system.getProperty(NodeLexicon::DOMAIN_NAME, text))
                entry->domainName = text;
        }
    }
    return out;
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
