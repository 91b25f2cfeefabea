#ifndef KORVU_IPIF_CONCRETEJOB_H
#define KORVU_IPIF_CONCRETEJOB_H

#include <cstdint>
#include <string>
#include <vector>

namespace Korvu {
namespace IPInterfaceProvider {

// The job that ApplySettingToIPProtocolEndpoint hands back
// ("IPConfigSvcJob:1"): the state of the last configuration accepted in this
// process. The configuration threads record what happens through the static
// functions; a ConcreteJob object is a cursor over a copy taken when it is
// made, with at most one element, none before the first configuration.
// Nothing here throws except std::bad_alloc.
class ConcreteJob {
public:
    enum FilterType { BY_INSTANCE_ID = 0 };

    // CIM_ConcreteJob.JobState values used.
    enum State : unsigned short {
        STATE_NEW = 2,        // accepted, waiting for the interface's thread
        STATE_RUNNING = 4,
        STATE_COMPLETED = 7,
        STATE_EXCEPTION = 10
    };

    static const char* const instanceId;  // "IPConfigSvcJob:1"

    // A configuration of `target` ("Computer:eth0") was accepted; it becomes
    // the last one. The number identifies it in the calls below.
    static std::uint64_t recordSubmitted(const std::string& target);
    // Only the last configuration's calls change the job.
    static void recordStarted(std::uint64_t number);
    // An empty error means it completed; otherwise it failed for that reason.
    static void recordFinished(std::uint64_t number, const std::string& error);

    ConcreteJob();

    operator bool();
    void operator++();
    void setFilter(FilterType type, const std::string value);
    bool evaluate();

    bool getInstanceID(std::string& value);
    bool getName(std::string& value);         // "IPConfigSvcJob"
    bool getElementName(std::string& value);  // names the interface configured
    bool getJobState(unsigned short& value);
    bool getJobStatus(std::string& value);    // "New", "Running", "Completed", "Exception"
    bool getPercentComplete(unsigned short& value);
    bool getDeleteOnCompletion(bool& value);  // false: the job stays to be read
    // Microseconds since the epoch; false while the time has not come.
    bool getTimeSubmitted(std::uint64_t& value);
    bool getStartTime(std::uint64_t& value);
    bool getTimeOfLastStateChange(std::uint64_t& value);
    // Microseconds from start to end, or to now while running.
    bool getElapsedTime(std::uint64_t& value);
    // 0 when it completed, 1 when it failed; false before it ended.
    bool getErrorCode(unsigned short& value);
    // False unless it failed.
    bool getErrorDescription(std::string& value);

    // What is recorded; public so that the recorder can share it.
    struct Record {
        bool exists = false;
        std::uint64_t number = 0;
        std::string target;
        unsigned short state = STATE_NEW;
        std::uint64_t submitted = 0;
        std::uint64_t started = 0;
        std::uint64_t changed = 0;
        std::uint64_t ended = 0;
        std::string error;
    };

private:
    struct Filter {
        FilterType type;
        std::string value;
    };

    bool filterActive;
    std::vector<Filter> filters;
    Record job;
    int position;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
