#ifndef KORVU_IPIF_CMPICONCRETEJOB_H
#define KORVU_IPIF_CMPICONCRETEJOB_H

#include <string>

#include <cmpidt.h>
#include <cmpift.h>

#include "ConcreteJob.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Serves Tavrix_ConcreteJob: the one job "IPConfigSvcJob:1" that
// ApplySettingToIPProtocolEndpoint hands back, describing the last
// configuration accepted. Paths and instances returned belong to the broker.
// Nothing here throws except std::bad_alloc.
class CMPIConcreteJob {
public:
    CMPIConcreteJob(const CMPIBroker* broker, const CMPIContext* context, const std::string ns);
    // Namespace from the path, then setObjectPath.
    CMPIConcreteJob(const CMPIBroker* broker, const CMPIContext* context, const CMPIObjectPath* op);
    ~CMPIConcreteJob();

    // Filters on the path's InstanceID key when it has keys; a path with
    // keys but no InstanceID selects nothing.
    void setObjectPath(const CMPIObjectPath* op);

    operator bool();
    void operator++();

    // Null when no path or instance can be made.
    CMPIObjectPath* getObjectPath();
    // Applies the property list (null: every property).
    CMPIInstance* getCMPIInstance(const char** properties);

private:
    void setTime(CMPIInstance* inst, const char* name, std::uint64_t microseconds, bool interval);

    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    ConcreteJob job;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
