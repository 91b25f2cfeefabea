#ifndef KORVU_IPIF_CMPIIPCOMPUTERSYSTEM_H
#define KORVU_IPIF_CMPIIPCOMPUTERSYSTEM_H

#include <string>

#include <cmpidt.h>
#include <cmpift.h>

namespace Korvu {
namespace IPInterfaceProvider {

// Computer systems (host or service processor) that another provider
// serves, fetched through the broker and presented as an iterator over the
// whole enumeration. The instances and the enumeration belong to the broker.
class CMPIIPComputerSystem {
public:
    CMPIIPComputerSystem(const CMPIBroker* broker, const CMPIContext* context,
                         const std::string ns);
    ~CMPIIPComputerSystem();

    // Enumerates the instances of the path and stands on the first.
    // Throws ProviderException when the broker cannot enumerate.
    void setObjectPath(const CMPIObjectPath* path);

    // True while an instance is current, the last one included.
    operator bool();
    // Makes the next enumerated instance current (null at the end).
    void operator++();

    // Null without a current instance.
    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    CMPIInstance* current;
    CMPIEnumeration* enumeration;
    bool pending;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
