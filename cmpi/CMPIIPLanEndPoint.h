#ifndef KORVU_IPIF_CMPIIPLANENDPOINT_H
#define KORVU_IPIF_CMPIIPLANENDPOINT_H

#include <string>

#include <cmpidt.h>
#include <cmpift.h>

namespace Korvu {
namespace IPInterfaceProvider {

// A LAN endpoint that another provider serves, fetched through the broker
// and presented as an iterator of at most one element. The instances and
// the enumeration belong to the broker.
class CMPIIPLanEndPoint {
public:
    CMPIIPLanEndPoint(const CMPIBroker* broker, const CMPIContext* context, const std::string ns);
    ~CMPIIPLanEndPoint();

    // Enumerates the instances of the path and stands on the first.
    // Throws ProviderException when the broker cannot enumerate.
    void setObjectPath(const CMPIObjectPath* path);
    // Fetches the one instance of the path. Throws ProviderException when
    // the broker cannot get it.
    void setSingleObjectPath(const CMPIObjectPath* path);

    // True once after a fetch that found an element.
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
