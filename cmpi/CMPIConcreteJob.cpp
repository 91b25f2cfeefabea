#include "CMPIConcreteJob.h"

#include <cmpimacs.h>

#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIConcreteJob.cpp");

namespace {

const char* const jobClass = "Tavrix_ConcreteJob";

} // namespace

CMPIConcreteJob::CMPIConcreteJob(const CMPIBroker* broker, const CMPIContext* context,
                                 const std::string ns)
    : broker(broker), context(context), nameSpace(ns)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIConcreteJob::CMPIConcreteJob");
}

CMPIConcreteJob::CMPIConcreteJob(const CMPIBroker* broker, const CMPIContext* context,
                                 const CMPIObjectPath* op)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(op))
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIConcreteJob::CMPIConcreteJob");
    setObjectPath(op);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIConcreteJob::CMPIConcreteJob");
}

CMPIConcreteJob::~CMPIConcreteJob()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIConcreteJob::~CMPIConcreteJob");
}

void CMPIConcreteJob::setObjectPath(const CMPIObjectPath* op)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIConcreteJob::setObjectPath");
    if (ProviderUtilities::getKeyCount(op) > 0) {
        std::string value;
        // Keys that leave out the only key name no instance.
        if (!ProviderUtilities::getKeyProperty(op, "InstanceID", value))
            value.clear();
        job.setFilter(ConcreteJob::BY_INSTANCE_ID, value);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIConcreteJob::setObjectPath");
}

CMPIConcreteJob::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIConcreteJob::operator bool");
    return static_cast<bool>(job);
}

void CMPIConcreteJob::operator++()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIConcreteJob::operator ++");
    ++job;
}

CMPIObjectPath* CMPIConcreteJob::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIConcreteJob::getObjectPath");
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, jobClass, nameSpace);
    std::string id;
    if (path && job.getInstanceID(id))
        ProviderUtilities::setKeyProperty(path, "InstanceID", id);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIConcreteJob::getObjectPath");
    return path;
}

void CMPIConcreteJob::setTime(CMPIInstance* inst, const char* name, std::uint64_t microseconds,
                              bool interval)
{
    CMPIDateTime* time = CMNewDateTimeFromBinary(broker, microseconds, interval ? 1 : 0, nullptr);
    if (time)
        CMSetProperty(inst, name, &time, CMPI_dateTime);
}

CMPIInstance* CMPIConcreteJob::getCMPIInstance(const char** properties)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIConcreteJob::getCMPIInstance");
    CMPIInstance* inst = nullptr;
    if (CMPIObjectPath* path = getObjectPath())
        inst = ProviderUtilities::createInstance(broker, path);
    if (inst) {
        if (properties) {
            static const char* keys[] = {"InstanceID", nullptr};
            CMSetPropertyFilter(inst, properties, keys);
        }
        std::string text;
        unsigned short number = 0;
        bool flag = false;
        std::uint64_t time = 0;
        if (job.getInstanceID(text))
            ProviderUtilities::setProperty(inst, "InstanceID", text);
        if (job.getName(text))
            ProviderUtilities::setProperty(inst, "Name", text);
        if (job.getElementName(text))
            ProviderUtilities::setProperty(inst, "ElementName", text);
        if (job.getJobState(number))
            ProviderUtilities::setProperty(inst, "JobState", number);
        if (job.getJobStatus(text))
            ProviderUtilities::setProperty(inst, "JobStatus", text);
        if (job.getPercentComplete(number))
            ProviderUtilities::setProperty(inst, "PercentComplete", number);
        if (job.getDeleteOnCompletion(flag))
            ProviderUtilities::setProperty(inst, "DeleteOnCompletion", flag);
        if (job.getTimeSubmitted(time))
            setTime(inst, "TimeSubmitted", time, false);
        if (job.getStartTime(time))
            setTime(inst, "StartTime", time, false);
        if (job.getTimeOfLastStateChange(time))
            setTime(inst, "TimeOfLastStateChange", time, false);
        if (job.getElapsedTime(time))
            setTime(inst, "ElapsedTime", time, true);
        if (job.getErrorCode(number))
            ProviderUtilities::setProperty(inst, "ErrorCode", number);
        if (job.getErrorDescription(text))
            ProviderUtilities::setProperty(inst, "ErrorDescription", text);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIConcreteJob::getCMPIInstance");
    return inst;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
