#ifndef KORVU_IPIF_ASSOCIATIONPATHS_H
#define KORVU_IPIF_ASSOCIATIONPATHS_H

#include <cmpidt.h>

#include <string>

#include "Moniker.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Path work shared by the association CIM classes. Holds no state.
class AssociationPaths {
public:
    // A path of `target` in `nameSpace`, carrying the keys that `resolve`
    // computes from the keys of `given`; key-less when `given` has none.
    // Null when the broker cannot create the path. Exceptions of `resolve`
    // pass through.
    template <typename Resolve>
    static CMPIObjectPath* locate(const CMPIBroker* broker, const std::string& nameSpace,
                                  const char* target, const CMPIObjectPath* given,
                                  Resolve resolve)
    {
        CMPIObjectPath* result = ProviderUtilities::createObjectPath(broker, target, nameSpace);
        // Without a result path the resolver's keys have nowhere to go, and a
        // key-less path would widen the far end to every element.
        if (result && given && ProviderUtilities::getKeyCount(given) > 0) {
            Moniker from;
            ProviderUtilities::transformObjectPathToMoniker(given, from);
            Moniker to = resolve(from);
            ProviderUtilities::transformMonikerToObjectPath(to, &result);
        }
        return result;
    }

    // True when className names one of the two classes, ASCII case ignored.
    static bool isClass(const char* className, const char* first, const char* second);

    // The association path with two reference keys, in the order given; a
    // null reference is left out. Null when the path cannot be created.
    static CMPIObjectPath* pair(const CMPIBroker* broker, const std::string& nameSpace,
                                const char* association, const char* firstName,
                                CMPIObjectPath* first, const char* secondName,
                                CMPIObjectPath* second);

    // Instance of `path` with its two references copied as properties, in
    // the order given. Null when path or instance cannot be created.
    static CMPIInstance* instance(const CMPIBroker* broker, CMPIObjectPath* path,
                                  const char* firstName, const char* secondName);
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
