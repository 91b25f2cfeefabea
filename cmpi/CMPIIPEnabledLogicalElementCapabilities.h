#ifndef KORVU_IPIF_CMPIIPENABLEDLOGICALELEMENTCAPABILITIES_H
#define KORVU_IPIF_CMPIIPENABLEDLOGICALELEMENTCAPABILITIES_H

#include <string>

#include <cmpidt.h>
#include <cmpift.h>

#include "IPEnabledLogicalElementCapabilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Serves Tavrix_IPEnabledLogicalElementCapabilities: one instance per IP
// interface node that is not an alias, narrowed by the InstanceID key.
// Paths and instances returned belong to the broker. No operation throws
// on its own; exceptions of the node store and std::bad_alloc pass through.
class CMPIIPEnabledLogicalElementCapabilities {
public:
    CMPIIPEnabledLogicalElementCapabilities(const CMPIBroker* broker, const CMPIContext* context,
                                            const std::string ns);
    CMPIIPEnabledLogicalElementCapabilities(const CMPIBroker* broker, const CMPIContext* context,
                                            const CMPIObjectPath* path);
    ~CMPIIPEnabledLogicalElementCapabilities();

    // Adds the path's InstanceID key as a filter.
    void setObjectPath(const CMPIObjectPath* path);

    operator bool();
    void operator++();

    // Null when the broker cannot make the path or instance.
    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    IPEnabledLogicalElementCapabilities capabilities;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
