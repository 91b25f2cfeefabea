#ifndef KORVU_IPIF_STATICORDEREDCOMPONENT_H
#define KORVU_IPIF_STATICORDEREDCOMPONENT_H

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Ends of Tavrix_StaticOrderedComponent: the ":static" IP assignment setting
// of an interface and the static IP assignment setting it is made of. The
// static InstanceID is the assignment InstanceID without its last part.
class StaticOrderedComponent {
public:
    StaticOrderedComponent();
    ~StaticOrderedComponent();

    // Assignment setting to static setting. Throws FrameworkException for a
    // missing InstanceID, a setting that is not ":static" and when no
    // static setting has the InstanceID's prefix.
    Moniker getPartComponentMoniker(Moniker& setting);
    // Static setting to its ":static" assignment setting. Throws
    // FrameworkException for a missing InstanceID and when none matches.
    Moniker getGroupComponentMoniker(Moniker& staticSetting);

    // Always 1: an interface has one static setting.
    bool getAssignedSequence(unsigned long long& value);

private:
    Instrumentation cursor;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
