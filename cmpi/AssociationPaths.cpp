#include "AssociationPaths.h"

#include <strings.h>

namespace Korvu {
namespace IPInterfaceProvider {

bool AssociationPaths::isClass(const char* className, const char* first, const char* second)
{
    if (!className)
        return false;
    return strcasecmp(className, first) == 0 || strcasecmp(className, second) == 0;
}

CMPIObjectPath* AssociationPaths::pair(const CMPIBroker* broker, const std::string& nameSpace,
                                       const char* association, const char* firstName,
                                       CMPIObjectPath* first, const char* secondName,
                                       CMPIObjectPath* second)
{
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, association, nameSpace);
    if (!path)
        return nullptr;
    ProviderUtilities::setKeyProperty(path, firstName, first);
    ProviderUtilities::setKeyProperty(path, secondName, second);
    return path;
}

CMPIInstance* AssociationPaths::instance(const CMPIBroker* broker, CMPIObjectPath* path,
                                         const char* firstName, const char* secondName)
{
    if (!path)
        return nullptr;
    CMPIInstance* result = ProviderUtilities::createInstance(broker, path);
    if (!result)
        return nullptr;
    for (const char* name : {firstName, secondName}) {
        CMPIObjectPath* reference = nullptr;
        if (ProviderUtilities::getKeyProperty(path, name, &reference))
            ProviderUtilities::setProperty(result, name, reference);
    }
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
