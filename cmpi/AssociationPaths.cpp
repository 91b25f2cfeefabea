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

void AssociationPaths::KeyValue::set(const CMPIData& d, bool references)
{
    text = std::string_view();
    const char* chars = d.type == CMPI_string && !(d.state & CMPI_nullValue) && d.value.string
                            ? CMGetCharsPtr(d.value.string, nullptr)
                            : nullptr;
    if (chars)
        text = chars;
    else if ((references || d.type != CMPI_ref) && ProviderUtilities::dataToString(d, spare))
        text = spare;
}

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

bool AssociationPaths::PathSet::insert(const CMPIObjectPath* path, const MadeKeys* made)
{
    const CMPICount count = CMGetKeyCount(path, nullptr);
    // The same hash from the texts the path was made with as from its keys.
    if (made && (!made->whole() || made->size() != count))
        made = nullptr;
    std::size_t hash = count;
    for (CMPICount i = 0; i < count; ++i) {
        const std::size_t text =
            made ? std::hash<std::string_view>()(made->text(i))
                 : std::hash<std::string_view>()(KeyValue(CMGetKeyAt(path, i, nullptr, nullptr), true).text);
        hash = hash * 1000003u ^ text;
    }
    // At most half full, so a probe stops within a few slots.
    if (2 * (size + 1) > slots.size()) {
        std::vector<Slot> old(slots.empty() ? 64 : 2 * slots.size());
        old.swap(slots);
        const std::size_t mask = slots.size() - 1;
        for (const Slot& kept : old) {
            if (!kept.path)
                continue;
            std::size_t s = kept.hash & mask;
            while (slots[s].path)
                s = (s + 1) & mask;
            slots[s] = kept;
        }
    }
    const std::size_t mask = slots.size() - 1;
    std::size_t s = hash & mask;
    for (; slots[s].path; s = (s + 1) & mask) {
        const CMPIObjectPath* other = slots[s].path;
        if (slots[s].hash != hash || CMGetKeyCount(other, nullptr) != count)
            continue;
        bool same = true;
        for (CMPICount i = 0; same && i < count; ++i)
            same = KeyValue(CMGetKeyAt(path, i, nullptr, nullptr), true).text ==
                   KeyValue(CMGetKeyAt(other, i, nullptr, nullptr), true).text;
        if (same)
            return false;
    }
    slots[s] = Slot{hash, path};
    ++size;
    return true;
}

unsigned AssociationPaths::keyCount(const CMPIObjectPath* path)
{
    return path ? CMGetKeyCount(path, nullptr) : 0;
}

AssociationPaths::KeyText::KeyText(const CMPIObjectPath* path, const char* name)
{
    if (!path || !name)
        return;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    const CMPIData d = CMGetKey(path, name, &rc);
    if (rc.rc != CMPI_RC_OK)
        return;
    value.set(d);
}

AssociationPaths::KeyText AssociationPaths::key(const PathKeys& keys, const char* name)
{
    if (keys.made && name)
        if (const std::string* text = keys.made->find(name))
            return KeyText(std::string_view(*text));
    return KeyText(keys.path, name);
}

CMPIObjectPath* AssociationPaths::keyPath(const EndContext& c, const char* className,
                                          std::initializer_list<std::pair<const char*, std::string>> keys)
{
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(c.broker, className, c.nameSpace);
    if (path)
        for (const auto& key : keys)
            ProviderUtilities::setKeyProperty(path, key.first, key.second);
    return path;
}

void AssociationPaths::select(const CMPIObjectPath* given, const std::vector<CMPIObjectPath*>& listed,
                              std::vector<CMPIObjectPath*>& out)
{
    for (CMPIObjectPath* element : listed)
        if (selects(given, element))
            out.push_back(element);
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
            if (cls && CMGetCharPtr(cls) && strcasecmp(CMGetCharPtr(cls), className) == 0) {
                out.push_back(d.value.ref);
                if (c.listed)
                    c.listed->added(out, nullptr);
            }
        }
    }
}

void AssociationPaths::findServed(const EndContext& c, const CMPIObjectPath* path,
                                  std::vector<CMPIObjectPath*>& out)
{
    CMPIString* cls = CMGetClassName(path, nullptr);
    const char* className = cls ? CMGetCharPtr(cls) : nullptr;
    if (!className)
        return;
    // Keys alone, unless the instance is to be returned.
    const char* noProperties[] = {nullptr};
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIInstance* instance =
        CBGetInstance(c.broker, c.context, path, c.fetched ? c.fetched->properties : noProperties, &rc);
    if (rc.rc == CMPI_RC_ERR_NOT_SUPPORTED) {
        std::vector<CMPIObjectPath*> listed;
        listServed(c, className, listed);
        select(path, listed, out);
        return;
    }
    if (rc.rc == CMPI_RC_ERR_NOT_FOUND || rc.rc == CMPI_RC_ERR_INVALID_CLASS)
        return;
    if (rc.rc != CMPI_RC_OK || !instance)
        throw ProviderException("Could not obtain an instance of Computer System");
    CMPIObjectPath* found = CMGetObjectPath(instance, nullptr);
    CMPIString* foundClass = found ? CMGetClassName(found, nullptr) : nullptr;
    if (foundClass && CMGetCharPtr(foundClass) && strcasecmp(CMGetCharPtr(foundClass), className) == 0 &&
        selects(path, found)) {
        out.push_back(found);
        if (c.fetched)
            c.fetched->held.emplace_back(found, instance);
    }
}

CMPIInstance* AssociationPaths::instanceServed(const EndContext& c, const CMPIObjectPath* path,
                                               const char** properties)
{
    if (c.fetched)
        for (const auto& held : c.fetched->held)
            if (held.first == path)
                return held.second;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIInstance* instance = CBGetInstance(c.broker, c.context, path, properties, &rc);
    return rc.rc == CMPI_RC_OK ? instance : nullptr;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
