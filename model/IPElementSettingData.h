#ifndef KORVU_IPIF_IPELEMENTSETTINGDATA_H
#define KORVU_IPIF_IPELEMENTSETTINGDATA_H

#include <string>
#include <string_view>

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_IPElementSettingData: an IP protocol endpoint and the IP
// assignment settings ("<system>:<interface>:static" and ":dhcp") of its
// interface on its own system. Every endpoint of the interface shares them.
class IPElementSettingData {
public:
    IPElementSettingData();
    ~IPElementSettingData();

    // "<system>:<interface>" of a setting; a given InstanceID without system
    // and interface part throws FrameworkException.
    std::string settingKey(std::string_view instanceId, bool given);

    // IsDefault and IsCurrent of one pair: 1 when the setting is of the kind
    // in force on the endpoint (static for origin 3, DHCP for origin 4).
    void ratePair(std::string_view endpointName, std::string_view instanceId);

    bool getDefaultValue(unsigned short& value);
    bool getCurrentValue(unsigned short& value);
    bool getNextValue(unsigned short& value);

private:
    unsigned short defaultValue;
    unsigned short currentValue;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
