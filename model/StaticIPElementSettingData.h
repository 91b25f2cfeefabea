#ifndef KORVU_IPIF_STATICIPELEMENTSETTINGDATA_H
#define KORVU_IPIF_STATICIPELEMENTSETTINGDATA_H

#include <string>

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_StaticIPElementSettingData: an IP protocol endpoint and the
// static setting of its interface. Resolving an endpoint also decides
// whether the static setting is in force (1) or not (2).
class StaticIPElementSettingData {
public:
    StaticIPElementSettingData();
    ~StaticIPElementSettingData();

    // Static setting (InstanceID) to the first endpoint of its interface.
    // Throws FrameworkException for a missing or malformed InstanceID and
    // when no endpoint has that interface.
    Moniker getManagedElementMoniker(Moniker& setting);
    // Endpoint (Name) to the static setting of its interface. Throws
    // FrameworkException for a missing Name and when no setting matches.
    Moniker getStaticIPSettingDataMoniker(Moniker& endpoint);

    // IsCurrent for one given endpoint (Name, whose last "_" token is its
    // address origin): 1 when it is statically configured. Throws nothing.
    void rateEndpoint(const std::string& endpointName);

    bool getDefaultValue(unsigned short& value);

private:
    Instrumentation cursor;
    unsigned short defaultValue;
    unsigned short currentValue;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
