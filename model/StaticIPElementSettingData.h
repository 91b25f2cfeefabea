#ifndef KORVU_IPIF_STATICIPELEMENTSETTINGDATA_H
#define KORVU_IPIF_STATICIPELEMENTSETTINGDATA_H

#include <string>
#include <string_view>

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_StaticIPElementSettingData: an IP protocol endpoint and the
// static setting ("<system>:<interface>") of its interface on its own
// system. Every endpoint of the interface shares it.
class StaticIPElementSettingData {
public:
    StaticIPElementSettingData();
    ~StaticIPElementSettingData();

    // "<system>:<interface>" of a static setting; a given InstanceID without
    // system and interface part, or one naming an assignment setting kind,
    // throws FrameworkException.
    std::string staticKey(std::string_view instanceId, bool given);

    // IsCurrent of one pair: 1 when the endpoint (Name, whose last "_" part
    // is its address origin) is statically configured, else 2.
    void rateEndpoint(std::string_view endpointName);

    bool getDefaultValue(unsigned short& value);

private:
    unsigned short defaultValue;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
