#include "ConcreteJob.h"

#include <chrono>
#include <mutex>

#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("ConcreteJob.cpp");

const char* const ConcreteJob::instanceId = "IPConfigSvcJob:1";

namespace {

// Never destroyed: a configuration thread may record its end while the
// process runs its static destructors.
struct Recorder {
    std::mutex lock;
    std::uint64_t lastNumber = 0;
    ConcreteJob::Record job;
};

Recorder& recorder()
{
    static Recorder* instance = new Recorder();
    return *instance;
}

std::uint64_t now()
{
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::system_clock::now().time_since_epoch())
                                          .count());
}

} // namespace

std::uint64_t ConcreteJob::recordSubmitted(const std::string& target)
{
    Recorder& r = recorder();
    std::lock_guard<std::mutex> guard(r.lock);
    Record fresh;
    fresh.exists = true;
    fresh.number = ++r.lastNumber;
    fresh.target = target;
    fresh.state = STATE_NEW;
    fresh.submitted = now();
    fresh.changed = fresh.submitted;
    r.job = fresh;
    return fresh.number;
}

void ConcreteJob::recordStarted(std::uint64_t number)
{
    Recorder& r = recorder();
    std::lock_guard<std::mutex> guard(r.lock);
    if (r.job.number != number)
        return;
    r.job.state = STATE_RUNNING;
    r.job.started = now();
    r.job.changed = r.job.started;
}

void ConcreteJob::recordFinished(std::uint64_t number, const std::string& error)
{
    Recorder& r = recorder();
    std::lock_guard<std::mutex> guard(r.lock);
    if (r.job.number != number)
        return;
    r.job.state = error.empty() ? STATE_COMPLETED : STATE_EXCEPTION;
    r.job.error = error;
    r.job.ended = now();
    r.job.changed = r.job.ended;
}

ConcreteJob::ConcreteJob() : filterActive(false), position(0)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::ConcreteJob::ConcreteJob");
    Recorder& r = recorder();
    std::lock_guard<std::mutex> guard(r.lock);
    job = r.job;
}

ConcreteJob::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::ConcreteJob::operator bool");
    return position < 1 && job.exists;
}

void ConcreteJob::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::ConcreteJob::operator ++");
    ++position;
    TRACE_EXIT("Korvu::IPInterfaceProvider::ConcreteJob::operator ++");
}

void ConcreteJob::setFilter(FilterType type, const std::string value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::ConcreteJob::setFilter");
    filterActive = true;
    filters.push_back(Filter{type, value});
    // One element: it passes or there is none.
    if (position < 1 && !evaluate())
        position = 1;
    TRACE_EXIT("Korvu::IPInterfaceProvider::ConcreteJob::setFilter");
}

bool ConcreteJob::evaluate()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::ConcreteJob::evaluate");
    bool match = true;
    for (const Filter& filter : filters)
        if (filter.type == BY_INSTANCE_ID && filter.value != instanceId)
            match = false;
    TRACE_EXIT("Korvu::IPInterfaceProvider::ConcreteJob::evaluate");
    return match;
}

bool ConcreteJob::getInstanceID(std::string& value)
{
    value = instanceId;
    return true;
}

bool ConcreteJob::getName(std::string& value)
{
    value = "IPConfigSvcJob";
    return true;
}

bool ConcreteJob::getElementName(std::string& value)
{
    if (job.target.empty())
        return false;
    value = "IP configuration of " + job.target;
    return true;
}

bool ConcreteJob::getJobState(unsigned short& value)
{
    value = job.state;
    return true;
}

bool ConcreteJob::getJobStatus(std::string& value)
{
    switch (job.state) {
    case STATE_NEW: value = "New"; break;
    case STATE_RUNNING: value = "Running"; break;
    case STATE_COMPLETED: value = "Completed"; break;
    default: value = "Exception"; break;
    }
    return true;
}

bool ConcreteJob::getPercentComplete(unsigned short& value)
{
    value = job.ended ? 100 : 0;
    return true;
}

bool ConcreteJob::getDeleteOnCompletion(bool& value)
{
    value = false;
    return true;
}

bool ConcreteJob::getTimeSubmitted(std::uint64_t& value)
{
    value = job.submitted;
    return job.submitted != 0;
}

bool ConcreteJob::getStartTime(std::uint64_t& value)
{
    value = job.started;
    return job.started != 0;
}

bool ConcreteJob::getTimeOfLastStateChange(std::uint64_t& value)
{
    value = job.changed;
    return job.changed != 0;
}

bool ConcreteJob::getElapsedTime(std::uint64_t& value)
{
    if (!job.started)
        return false;
    const std::uint64_t end = job.ended ? job.ended : now();
    value = end > job.started ? end - job.started : 0;
    return true;
}

bool ConcreteJob::getErrorCode(unsigned short& value)
{
    if (!job.ended)
        return false;
    value = job.error.empty() ? 0 : 1;
    return true;
}

bool ConcreteJob::getErrorDescription(std::string& value)
{
    if (job.error.empty())
        return false;
    value = job.error;
    return true;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
