#include "ConfigurationThread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "Instrumentation.h"
#include "NodeLexicon.h"
#include "InstanceId.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIIPConfigurationService.cpp");

namespace {

// Never destroyed: a detached thread may still end while the process
// runs its static destructors.
struct Registry {
    std::mutex lock;
    std::condition_variable idle;
    unsigned int running = 0;
    unsigned long started = 0;
    std::atomic<bool> refuse{false};
};

Registry& registry()
{
    static Registry* instance = new Registry();
    return *instance;
}

std::string readText(Instrumentation& node, NodeLexicon::Properties property)
{
    std::string value;
    if (!node.getProperty(property, value))
        value.clear();
    return value;
}

// Applies the record to one interface node. False when the record holds
// nothing to apply, which ends the walk.
bool configureNode(Instrumentation& node, const IP_CONFIG_DATA& data,
                   const std::string& oldIPv4, const std::string& oldIPv6,
                   const log4cxx::LoggerPtr& logger)
{
    unsigned int origin = 0;
    if (data.configKind == 3) {
        origin = 3;
    } else if (data.configKind == 4) {
        origin = 1;
    } else {
        logMessage(logger, unitFile, Trace::Level::Error,
                   "No Configuration to Apply for the interface");
        return false;
    }
    unsigned int current = 0;
    if (!node.getProperty(NodeLexicon::ADDRESS_ORIGIN, current) || current != origin)
        node.setProperty(NodeLexicon::ADDRESS_ORIGIN, origin);

    bool restartNeeded = false;
    if (!data.dnsServerAddresses.empty())
        node.setProperty(NodeLexicon::DNS_SERVERS, data.dnsServerAddresses);
    if (!data.dnsSuffixesToAppend.empty())
        node.setProperty(NodeLexicon::DNS_SUFFIXES, data.dnsSuffixesToAppend);

    std::string value;
    if (node.getProperty(NodeLexicon::HOST_NAME, value) && !data.requestedHostname.empty() &&
        data.requestedHostname != value) {
        logMessage(logger, unitFile, Trace::Level::Debug, "Applying the Hostname");
        std::string text = data.requestedHostname;
        node.setProperty(NodeLexicon::HOST_NAME, text);
        restartNeeded = true;
    }
    if (node.getProperty(NodeLexicon::DOMAIN_NAME, value) && !data.domainName.empty() &&
        data.domainName != value) {
        logMessage(logger, unitFile, Trace::Level::Debug, "Applying the Domainname");
        std::string text = data.domainName;
        node.setProperty(NodeLexicon::DOMAIN_NAME, text);
    }

    if (!data.ipv4Address.empty()) {
        std::string text = data.ipv4Address;
        node.setProperty(NodeLexicon::IPV4_ADDRESS, text);
        if (data.ipv4Address != oldIPv4)
            restartNeeded = true;
    }
    if (node.getProperty(NodeLexicon::SUBNET_MASK, value) && !data.subnetMask.empty()) {
        std::string text = data.subnetMask;
        node.setProperty(NodeLexicon::SUBNET_MASK, text);
    }
    if (node.getProperty(NodeLexicon::IPV4_GATEWAY, value) && !data.gatewayIPv4Address.empty()) {
        std::string text = data.gatewayIPv4Address;
        node.setProperty(NodeLexicon::IPV4_GATEWAY, text);
    }

    if (!data.ipv6Address.empty()) {
        std::string text = data.ipv6Address;
        node.setProperty(NodeLexicon::IPV6_ADDRESS, text);
        if (data.ipv6Address != oldIPv6)
            restartNeeded = true;
    }
    unsigned int prefix = 0;
    if (node.getProperty(NodeLexicon::PREFIX_LENGTH, prefix) && data.ipv6PrefixLength != 0 &&
        data.ipv6PrefixLength != prefix) {
        unsigned int length = data.ipv6PrefixLength;
        node.setProperty(NodeLexicon::PREFIX_LENGTH, length);
    }
    if (node.getProperty(NodeLexicon::IPV6_GATEWAY, value) && !data.gatewayIPv6Address.empty()) {
        std::string text = data.gatewayIPv6Address;
        node.setProperty(NodeLexicon::IPV6_GATEWAY, text);
    }

    // A DHCP lease shows up as new addresses once the origin has switched.
    if (origin == 1 && (readText(node, NodeLexicon::IPV4_ADDRESS) != oldIPv4 ||
                        readText(node, NodeLexicon::IPV6_ADDRESS) != oldIPv6))
        restartNeeded = true;

    if (restartNeeded) {
        Instrumentation computer;
        computer.selectNode(NodeLexicon::COMPUTER_SYSTEM);
        if (computer) {
            unsigned int reset = 9;
            logMessage(logger, unitFile, Trace::Level::Debug,
                       computer.setProperty(NodeLexicon::STATE, reset) ? "Agent Restarted Successfully"
                                                                       : "Failed to Reboot");
        }
    }
    return true;
}

// Whether the system two levels above the interface node is the service
// processor.
bool onServiceProcessor(Instrumentation& node)
{
    Instrumentation adapter;
    adapter.selectNode(node.getPathToParentNode());
    if (!adapter)
        return false;
    Instrumentation system;
    system.selectNode(adapter.getPathToParentNode());
    return system && system.getNodeDescription() == "BMC";
}

void configure(const IP_CONFIG_DATA& data, const log4cxx::LoggerPtr& logger)
{
    const std::string interfaceName =
        data.interfaceName.empty() ? interfaceOfEndpointName(data.endpointName) : data.interfaceName;
    if (interfaceName.empty())
        return;
    Instrumentation node;
    node.selectNode(NodeLexicon::IP_INTERFACE);
    for (; node; ++node) {
        const std::string name = readText(node, NodeLexicon::NAME);
        const std::string oldIPv4 = readText(node, NodeLexicon::IPV4_ADDRESS);
        const std::string oldIPv6 = readText(node, NodeLexicon::IPV6_ADDRESS);
        // The host and its service processor may both have an eth0.
        if (name != interfaceName || onServiceProcessor(node) != data.serviceProcessor)
            continue;
        if (!configureNode(node, data, oldIPv4, oldIPv6, logger))
            break;
    }
}

void runThread(IP_CONFIG_DATA* record)
{
    IPConfigurationThread(record);
    Registry& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    if (--r.running == 0)
        r.idle.notify_all();
}

} // namespace

void IPConfigurationThread(void* argument)
{
    // A copy keeps the logger alive for this thread whatever the unit does.
    const log4cxx::LoggerPtr logger = unitLogger;
    markFunctionEntry(logger, unitFile, "Korvu::IPInterfaceProvider::IPConfigurationThread");
    std::unique_ptr<IP_CONFIG_DATA> record(static_cast<IP_CONFIG_DATA*>(argument));
    if (!record)
        return;
    try {
        configure(*record, logger);
    } catch (const std::exception& e) {
        logMessage(logger, unitFile, Trace::Level::Error, e.what());
    }
    record.reset();
    logMessage(logger, unitFile, Trace::Level::Debug, "Memory Freed Successfully");
}

bool ConfigurationThread::start(IP_CONFIG_DATA* record)
{
    std::unique_ptr<IP_CONFIG_DATA> owned(record);
    if (!owned)
        return false;
    Registry& r = registry();
    if (r.refuse.load())
        return false;
    {
        std::lock_guard<std::mutex> guard(r.lock);
        ++r.running;
        ++r.started;
    }
    try {
        std::thread(runThread, owned.get()).detach();
        owned.release();
        return true;
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
    std::lock_guard<std::mutex> guard(r.lock);
    if (--r.running == 0)
        r.idle.notify_all();
    return false;
}

unsigned int ConfigurationThread::running()
{
    Registry& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    return r.running;
}

unsigned long ConfigurationThread::started()
{
    Registry& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    return r.started;
}

bool ConfigurationThread::waitUntilIdle(unsigned int milliseconds)
{
    Registry& r = registry();
    std::unique_lock<std::mutex> guard(r.lock);
    return r.idle.wait_for(guard, std::chrono::milliseconds(milliseconds),
                           [&r] { return r.running == 0; });
}

void ConfigurationThread::refuseStarts(bool refuse) { registry().refuse.store(refuse); }

} // namespace IPInterfaceProvider
} // namespace Korvu
