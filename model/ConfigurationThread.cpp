#include "ConfigurationThread.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "ConcreteJob.h"
#include "Instrumentation.h"
#include "NodeLexicon.h"
#include "NodeStore.h"
#include "OwningSystem.h"
#include "InstanceId.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIIPConfigurationService.cpp");

namespace {

// Never destroyed: a detached thread may still end while the process
// runs its static destructors.
struct Waiting {
    std::unique_ptr<IP_CONFIG_DATA> record;
    std::uint64_t job;
};

struct Registry {
    std::mutex lock;
    std::condition_variable idle;
    unsigned int running = 0;
    unsigned long started = 0;
    std::atomic<bool> refuse{false};
    // One entry per interface whose thread runs: what waits behind it.
    std::map<std::string, std::deque<Waiting>> lanes;
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

// Counts the writes that the node store refuses and keeps its reasons,
// each once (a live store refuses DNS values on every node alike).
struct Refusals {
    unsigned int count = 0;
    std::vector<std::string> reasons;
};

struct Writer {
    Instrumentation& node;
    Refusals& refused;
    template <class T> void operator()(NodeLexicon::Properties property, T value)
    {
        if (node.setProperty(property, value))
            return;
        ++refused.count;
        const std::string reason = NodeStore::lastWriteRefusal();
        if (!reason.empty() && std::find(refused.reasons.begin(), refused.reasons.end(), reason) ==
                                   refused.reasons.end())
            refused.reasons.push_back(reason);
    }
};

// Applies the record to one interface node. False when the record holds
// nothing to apply, which ends the walk.
bool configureNode(Instrumentation& node, const IP_CONFIG_DATA& data,
                   const std::string& oldIPv4, const std::string& oldIPv6,
                   const log4cxx::LoggerPtr& logger, Refusals& refused, bool& restartRefused)
{
    Writer write{node, refused};
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
        write(NodeLexicon::ADDRESS_ORIGIN, origin);

    bool restartNeeded = false;
    if (!data.dnsServerAddresses.empty())
        write(NodeLexicon::DNS_SERVERS, data.dnsServerAddresses);
    if (!data.dnsSuffixesToAppend.empty())
        write(NodeLexicon::DNS_SUFFIXES, data.dnsSuffixesToAppend);

    std::string value;
    if (node.getProperty(NodeLexicon::HOST_NAME, value) && !data.requestedHostname.empty() &&
        data.requestedHostname != value) {
        logMessage(logger, unitFile, Trace::Level::Debug, "Applying the Hostname");
        std::string text = data.requestedHostname;
        write(NodeLexicon::HOST_NAME, text);
        restartNeeded = true;
    }
    if (node.getProperty(NodeLexicon::DOMAIN_NAME, value) && !data.domainName.empty() &&
        data.domainName != value) {
        logMessage(logger, unitFile, Trace::Level::Debug, "Applying the Domainname");
        std::string text = data.domainName;
        write(NodeLexicon::DOMAIN_NAME, text);
    }

    if (!data.ipv4Address.empty()) {
        std::string text = data.ipv4Address;
        write(NodeLexicon::IPV4_ADDRESS, text);
        if (data.ipv4Address != oldIPv4)
            restartNeeded = true;
    }
    if (node.getProperty(NodeLexicon::SUBNET_MASK, value) && !data.subnetMask.empty()) {
        std::string text = data.subnetMask;
        write(NodeLexicon::SUBNET_MASK, text);
    }
    if (node.getProperty(NodeLexicon::IPV4_GATEWAY, value) && !data.gatewayIPv4Address.empty()) {
        std::string text = data.gatewayIPv4Address;
        write(NodeLexicon::IPV4_GATEWAY, text);
    }

    if (!data.ipv6Address.empty()) {
        std::string text = data.ipv6Address;
        write(NodeLexicon::IPV6_ADDRESS, text);
        if (data.ipv6Address != oldIPv6)
            restartNeeded = true;
    }
    unsigned int prefix = 0;
    if (node.getProperty(NodeLexicon::PREFIX_LENGTH, prefix) && data.ipv6PrefixLength != 0 &&
        data.ipv6PrefixLength != prefix) {
        unsigned int length = data.ipv6PrefixLength;
        write(NodeLexicon::PREFIX_LENGTH, length);
    }
    if (node.getProperty(NodeLexicon::IPV6_GATEWAY, value) && !data.gatewayIPv6Address.empty()) {
        std::string text = data.gatewayIPv6Address;
        write(NodeLexicon::IPV6_GATEWAY, text);
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
            const bool accepted = computer.setProperty(NodeLexicon::STATE, reset);
            logMessage(logger, unitFile, Trace::Level::Debug,
                       accepted ? "Agent Restarted Successfully" : "Failed to Reboot");
            if (!accepted)
                restartRefused = true;
        }
    }
    return true;
}

std::string systemOf(const IP_CONFIG_DATA& data)
{
    return data.serviceProcessor ? "service processor" : "host";
}

std::string interfaceOf(const IP_CONFIG_DATA& data)
{
    return data.interfaceName.empty() ? interfaceOfEndpointName(data.endpointName) : data.interfaceName;
}

// The failure, or empty when the configuration was applied.
std::string configure(const IP_CONFIG_DATA& data, const log4cxx::LoggerPtr& logger)
{
    const std::string interfaceName = interfaceOf(data);
    unsigned int configured = 0;
    Refusals refused;
    bool restartRefused = false;
    Instrumentation node;
    OwningSystem owner;
    node.selectNode(NodeLexicon::IP_INTERFACE);
    for (; node && !interfaceName.empty(); ++node) {
        const std::string name = readText(node, NodeLexicon::NAME);
        const std::string oldIPv4 = readText(node, NodeLexicon::IPV4_ADDRESS);
        const std::string oldIPv6 = readText(node, NodeLexicon::IPV6_ADDRESS);
        // The host and its service processor may both have an eth0.
        if (name != interfaceName || owner.isServiceProcessor(node) != data.serviceProcessor)
            continue;
        if (!configureNode(node, data, oldIPv4, oldIPv6, logger, refused, restartRefused))
            return "No Configuration to Apply for the interface";
        ++configured;
    }
    if (configured == 0)
        return "No IP interface named \"" + interfaceName + "\" on the " + systemOf(data);
    if (refused.count != 0) {
        std::string text = "The node store refused " + std::to_string(refused.count) +
                           " of the writes to interface \"" + interfaceName + "\"";
        for (std::size_t i = 0; i < refused.reasons.size(); ++i)
            text += (i == 0 ? ": " : "; ") + refused.reasons[i];
        return text;
    }
    if (restartRefused)
        return "The agent refused the restart request after configuring interface \"" +
               interfaceName + "\"";
    return std::string();
}

// Lane of one interface: runs its configurations one after the other and
// ends when none waits.
void runLane(std::string lane)
{
    Registry& r = registry();
    for (;;) {
        Waiting next;
        {
            std::lock_guard<std::mutex> guard(r.lock);
            auto entry = r.lanes.find(lane);
            if (entry == r.lanes.end() || entry->second.empty()) {
                if (entry != r.lanes.end())
                    r.lanes.erase(entry);
                if (--r.running == 0)
                    r.idle.notify_all();
                return;
            }
            next = std::move(entry->second.front());
            entry->second.pop_front();
        }
        ConcreteJob::recordStarted(next.job);
        std::string error;
        IPConfigurationThread(next.record.release(), &error);
        ConcreteJob::recordFinished(next.job, error);
    }
}

} // namespace

void IPConfigurationThread(void* argument, std::string* error)
{
    // A copy keeps the logger alive for this thread whatever the unit does.
    const log4cxx::LoggerPtr logger = unitLogger;
    markFunctionEntry(logger, unitFile, "Korvu::IPInterfaceProvider::IPConfigurationThread");
    std::unique_ptr<IP_CONFIG_DATA> record(static_cast<IP_CONFIG_DATA*>(argument));
    if (!record)
        return;
    std::string failure;
    try {
        failure = configure(*record, logger);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (!failure.empty())
        logMessage(logger, unitFile, Trace::Level::Error, failure.c_str());
    if (error)
        *error = failure;
    record.reset();
    logMessage(logger, unitFile, Trace::Level::Debug, "Memory Freed Successfully");
}

ConfigurationThread::Outcome ConfigurationThread::start(IP_CONFIG_DATA* record)
{
    std::unique_ptr<IP_CONFIG_DATA> owned(record);
    if (!owned)
        return NOT_STARTED;
    Registry& r = registry();
    if (r.refuse.load())
        return NOT_STARTED;
    const std::string lane = std::string(owned->serviceProcessor ? "BMC:" : "Computer:") + interfaceOf(*owned);
    try {
        std::lock_guard<std::mutex> guard(r.lock);
        auto entry = r.lanes.find(lane);
        if (entry != r.lanes.end()) {
            if (entry->second.size() >= maxWaiting)
                return QUEUE_FULL;
            entry->second.push_back(Waiting{std::move(owned), ConcreteJob::recordSubmitted(lane)});
            return ACCEPTED;
        }
        std::deque<Waiting>& waiting = r.lanes[lane];
        waiting.push_back(Waiting{std::move(owned), 0});
        try {
            // The lane cannot take the record before the lock is released.
            std::thread(runLane, lane).detach();
        } catch (...) {
            r.lanes.erase(lane);
            throw;
        }
        ++r.running;
        ++r.started;
        waiting.back().job = ConcreteJob::recordSubmitted(lane);
        return ACCEPTED;
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
    return NOT_STARTED;
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
