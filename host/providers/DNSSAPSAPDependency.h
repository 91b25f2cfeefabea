#ifndef KORVU_IPIF_COMPANION_DNSSAPSAPDEPENDENCY_H
#define KORVU_IPIF_COMPANION_DNSSAPSAPDEPENDENCY_H

#include <string>

#include <cmpidt.h>
#include <cmpift.h>

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

// Tavrix_DNSSAPSAPDependency: Antecedent a Tavrix_IPProtocolEndpoint,
// Dependent the Tavrix_DNSProtocolEndpoint of the same system and interface
// (the first "_" token of the IP endpoint's Name). The IP endpoints are the
// main module's; they are fetched through the broker only when a DNS
// endpoint or the association itself is asked for.
class DNSSAPSAPDependency {
public:
    static const char* const className;  // "Tavrix_DNSSAPSAPDependency"

    enum Answer { ASSOCIATORS, ASSOCIATOR_NAMES, REFERENCES, REFERENCE_NAMES };

    // Answers an association request for `path` (an IP endpoint, a DNS
    // endpoint, or the association class itself for references), filtered
    // by result class and roles as CIM defines them. Throws what the node
    // store throws (std::exception) and std::bad_alloc.
    static CMPIStatus answer(const CMPIBroker* broker, const CMPIContext* context,
                             const CMPIResult* result, const CMPIObjectPath* path,
                             Answer kind, const char* resultClass, const char* role,
                             const char* resultRole, const char** properties);

    // The association instances (`names`: their paths) for enumerations of
    // the class itself; `single` for GetInstance: only the pair that the
    // path's Antecedent and Dependent name, CMPI_RC_ERR_NOT_FOUND without.
    static CMPIStatus enumerate(const CMPIBroker* broker, const CMPIContext* context,
                                const CMPIResult* result, const CMPIObjectPath* path,
                                bool names, const char** properties, bool single);
};

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
