#ifndef KORVU_IPIF_IPELEMENTSETTINGDATA_H
#define KORVU_IPIF_IPELEMENTSETTINGDATA_H

#include <string>

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_IPElementSettingData: an IP protocol endpoint and the IP
// assignment settings of its interface. Resolving also decides whether the
// setting is the endpoint's default and current one (1) or not (2).
class IPElementSettingData {
public:
    IPElementSettingData();
    ~IPElementSettingData();

    // Setting (InstanceID) to the first endpoint of its interface. Throws
    // FrameworkException for a missing or malformed InstanceID and when no
    // endpoint has that interface; node-store exceptions pass through.
    Moniker getManagedElementMoniker(Moniker& setting);
    // Endpoint (Name) to the static setting of its interface. Throws
    // FrameworkException for a missing or malformed Name and when no setting
    // has that interface.
    Moniker getIPSettingDataMoniker(Moniker& endpoint);

    // IsDefault/IsCurrent of a setting (InstanceID) for one given endpoint
    // (Name, whose last "_" token is its address origin), as the resolvers
    // rate the endpoint they match. Throws nothing.
    void rateSetting(const std::string& endpointName, const std::string& instanceId);

    bool getDefaultValue(unsigned short& value);
    bool getCurrentValue(unsigned short& value);
    bool getNextValue(unsigned short& value);

private:
    Instrumentation cursor;
    unsigned short defaultValue;
    unsigned short currentValue;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
