#include "AssociationPaths.h"

#include <cmpift.h>
#include <cmpimacs.h>
#include <strings.h>

#include "ProviderException.h"

namespace Korvu {
namespace IPInterfaceProvider {

namespace {

bool sameValue(const CMPIData& given, const CMPIData& element)
{
    if (given.type == CMPI_ref) {
        if (element.type != CMPI_ref || (given.state & CMPI_nullValue) ||
            (element.state & CMPI_nullValue))
            return false;
        return AssociationPaths::selects(given.value.ref, element.value.ref) &&
               AssociationPaths::selects(element.value.ref, given.value.ref);
    }
    std::string a;
    std::string b;
    return ProviderUtilities::dataToString(given, a) && ProviderUtilities::dataToString(element, b) &&
           a == b;
}

} // namespace

bool AssociationPaths::isClass(const char* className, const char* const* classes)
{
    if (!className)
        return false;
    for (; *classes; ++classes)
        if (strcasecmp(className, *classes) == 0)
            return true;
    return false;
}

bool AssociationPaths::selects(const CMPIObjectPath* given, const CMPIObjectPath* element)
{
    if (!given || !element)
        return false;
    const CMPICount count = CMGetKeyCount(given, nullptr);
    if (count == 0)
        return false;
    for (CMPICount i = 0; i < count; ++i) {
        CMPIString* name = nullptr;
        CMPIData wanted = CMGetKeyAt(given, i, &name, nullptr);
        const char* text = name ? CMGetCharPtr(name) : nullptr;
        if (!text)
            return false;
        CMPIStatus rc = {CMPI_RC_OK, nullptr};
        CMPIData found = CMGetKey(element, text, &rc);
        if (rc.rc != CMPI_RC_OK || !sameValue(wanted, found))
            return false;
    }
    return true;
}

std::string AssociationPaths::identity(const CMPIObjectPath* path)
{
    std::string text;
    CMPIString* cls = CMGetClassName(path, nullptr);
    if (cls && CMGetCharPtr(cls))
        text = CMGetCharPtr(cls);
    const CMPICount count = CMGetKeyCount(path, nullptr);
    for (CMPICount i = 0; i < count; ++i) {
        CMPIString* name = nullptr;
        CMPIData d = CMGetKeyAt(path, i, &name, nullptr);
        std::string value;
        ProviderUtilities::dataToString(d, value);
        text += '\n';
        text += name && CMGetCharPtr(name) ? CMGetCharPtr(name) : "";
        text += '=';
        text += value;
    }
    return text;
}

std::string AssociationPaths::key(const CMPIObjectPath* path, const char* name)
{
    std::string value;
    if (path)
        ProviderUtilities::getKeyProperty(path, name, value);
    return value;
}

void AssociationPaths::listServed(const EndContext& c, const char* className,
                                  std::vector<CMPIObjectPath*>& out)
{
    CMPIObjectPath* classPath = ProviderUtilities::createObjectPath(c.broker, className, c.nameSpace);
    if (!classPath)
        throw ProviderException("Could not obtain an instance of Computer System");
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIEnumeration* names = CBEnumInstanceNames(c.broker, c.context, classPath, &rc);
    if (rc.rc == CMPI_RC_ERR_INVALID_CLASS || rc.rc == CMPI_RC_ERR_NOT_SUPPORTED ||
        rc.rc == CMPI_RC_ERR_NOT_FOUND)
        return;
    if (rc.rc != CMPI_RC_OK || !names)
        throw ProviderException("Could not obtain an instance of Computer System");
    while (CMHasNext(names, nullptr)) {
        CMPIStatus next = {CMPI_RC_OK, nullptr};
        CMPIData d = CMGetNext(names, &next);
        if (next.rc != CMPI_RC_OK)
            break;
        // Subclasses come along with an enumeration; each end takes its own.
        if (d.type == CMPI_ref && d.value.ref) {
            CMPIString* cls = CMGetClassName(d.value.ref, nullptr);
            if (cls && CMGetCharPtr(cls) && strcasecmp(CMGetCharPtr(cls), className) == 0)
                out.push_back(d.value.ref);
        }
    }
}

CMPIInstance* AssociationPaths::instanceServed(const EndContext& c, const CMPIObjectPath* path,
                                               const char** properties)
{
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIInstance* instance = CBGetInstance(c.broker, c.context, path, properties, &rc);
    return rc.rc == CMPI_RC_OK ? instance : nullptr;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
