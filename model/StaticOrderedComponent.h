#ifndef KORVU_IPIF_STATICORDEREDCOMPONENT_H
#define KORVU_IPIF_STATICORDEREDCOMPONENT_H

#include <string>
#include <string_view>

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_StaticOrderedComponent: the ":static" IP assignment setting
// of an interface and the static IP assignment setting it is made of. The
// static InstanceID is the assignment InstanceID without its kind.
class StaticOrderedComponent {
public:
    StaticOrderedComponent();
    ~StaticOrderedComponent();

    // "<system>:<interface>" of a ":static" assignment setting; empty for a
    // DHCP one. A given InstanceID without system and interface throws
    // FrameworkException.
    std::string groupKey(std::string_view instanceId, bool given);
    // "<system>:<interface>" of a static setting; a given InstanceID without
    // system and interface, or one naming a kind, throws FrameworkException.
    std::string partKey(std::string_view instanceId, bool given);

    // Always 1: an interface has one static setting.
    bool getAssignedSequence(unsigned long long& value);
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
