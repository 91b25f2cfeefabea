#include "ProviderUtilities.h"

#include <cmpimacs.h>

#include <strings.h>

#include <cstdio>

namespace Korvu {

namespace {

struct ClassEntry {
    const char* name;
    unsigned short id;
};

const ClassEntry knownClasses[] = {
    {"Tavrix_ComputerSystem", 1},
    {"Tavrix_IPProtocolEndpoint", 9},
    {"Tavrix_LANEndpoint", 16},
    {"Tavrix_IPAssignmentSettingData", 66},
    {"Tavrix_BindsToLanEndPoint", 67},
    {"Tavrix_IPElementSettingData", 68},
    {"Tavrix_StaticIPAssignmentSettingData", 69},
    {"Tavrix_IPRemoteServiceAccessPoint", 70},
    {"Tavrix_StaticOrderedComponent", 71},
    {"Tavrix_IPHostedAccessPoint", 72},
    {"Tavrix_StaticIPElementSettingData", 73},
    {"Tavrix_RemoteHostedAccessPoint", 80},
    {"Tavrix_IPRemoteAccessAvailableToElement", 81},
    {"Tavrix_SPComputerSystem", 119},
    {"Tavrix_SPHostedAccessPoint", 120},
    {"Tavrix_IPElementCapabilities", 121},
    {"Tavrix_IPEnabledLogicalElementCapabilities", 128},
    {"Tavrix_IPConfigurationService", 129},
    {"Tavrix_IPHostedService", 130},
    {"Tavrix_IPServiceAffectsElement", 131},
    {"Tavrix_ConcreteJob", 132},
};

const char* chars(CMPIString* s)
{
    if (!s)
        return nullptr;
    return CMGetCharsPtr(s, nullptr);
}

bool isNull(const CMPIData& d) { return (d.state & CMPI_nullValue) || (d.state & CMPI_notFound); }

std::string pathToText(const CMPIObjectPath* path);

} // namespace

bool ProviderUtilities::dataToString(const CMPIData& d, std::string& text)
{
    if (isNull(d) || (d.type & CMPI_ARRAY))
        return false;
    char buf[64];
    switch (d.type) {
    case CMPI_string:
    case CMPI_chars: {
        const char* s = d.type == CMPI_chars ? d.value.chars : chars(d.value.string);
        if (!s)
            return false;
        text = s;
        return true;
    }
    case CMPI_boolean:
        text = d.value.boolean ? "true" : "false";
        return true;
    case CMPI_uint8: std::snprintf(buf, sizeof buf, "%u", static_cast<unsigned>(d.value.uint8)); break;
    case CMPI_uint16: std::snprintf(buf, sizeof buf, "%u", static_cast<unsigned>(d.value.uint16)); break;
    case CMPI_uint32: std::snprintf(buf, sizeof buf, "%u", d.value.uint32); break;
    case CMPI_uint64: std::snprintf(buf, sizeof buf, "%llu", static_cast<unsigned long long>(d.value.uint64)); break;
    case CMPI_sint8: std::snprintf(buf, sizeof buf, "%d", static_cast<int>(d.value.sint8)); break;
    case CMPI_sint16: std::snprintf(buf, sizeof buf, "%d", static_cast<int>(d.value.sint16)); break;
    case CMPI_sint32: std::snprintf(buf, sizeof buf, "%d", d.value.sint32); break;
    case CMPI_sint64: std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(d.value.sint64)); break;
    case CMPI_char16: std::snprintf(buf, sizeof buf, "%u", static_cast<unsigned>(d.value.char16)); break;
    case CMPI_real32: std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(d.value.real32)); break;
    case CMPI_real64: std::snprintf(buf, sizeof buf, "%.17g", d.value.real64); break;
    case CMPI_ref:
        if (!d.value.ref)
            return false;
        text = pathToText(d.value.ref);
        return true;
    case CMPI_dateTime: {
        if (!d.value.dateTime)
            return false;
        const char* s = chars(CMGetStringFormat(d.value.dateTime, nullptr));
        if (!s)
            return false;
        text = s;
        return true;
    }
    default:
        return false;
    }
    text = buf;
    return true;
}

namespace {

std::string pathToText(const CMPIObjectPath* path)
{
    std::string text;
    const char* ns = chars(CMGetNameSpace(path, nullptr));
    const char* cls = chars(CMGetClassName(path, nullptr));
    if (ns && *ns) {
        text += ns;
        text += ':';
    }
    text += cls ? cls : "";
    CMPICount n = CMGetKeyCount(path, nullptr);
    for (CMPICount i = 0; i < n; ++i) {
        CMPIString* name = nullptr;
        CMPIData d = CMGetKeyAt(path, i, &name, nullptr);
        std::string value;
        ProviderUtilities::dataToString(d, value);
        text += i == 0 ? '.' : ',';
        text += chars(name) ? chars(name) : "";
        text += "=\"";
        for (char c : value) {
            if (c == '"' || c == '\\')
                text += '\\';
            text += c;
        }
        text += '"';
    }
    return text;
}

} // namespace

unsigned short ProviderUtilities::getClassId(const CMPIObjectPath* path)
{
    if (!path)
        return unknownClassId;
    return getClassId(chars(CMGetClassName(path, nullptr)));
}

unsigned short ProviderUtilities::getClassId(const char* className)
{
    if (!className)
        return unknownClassId;
    for (const ClassEntry& entry : knownClasses) {
        // CIM class names compare without regard to case.
        if (strcasecmp(entry.name, className) == 0)
            return entry.id;
    }
    return unknownClassId;
}

std::string ProviderUtilities::getNamespace(const CMPIObjectPath* path)
{
    if (!path)
        return std::string();
    const char* ns = chars(CMGetNameSpace(path, nullptr));
    return ns ? std::string(ns) : std::string();
}

unsigned short ProviderUtilities::getKeyCount(const CMPIObjectPath* path)
{
    if (!path)
        return 0;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPICount n = CMGetKeyCount(path, &rc);
    if (rc.rc != CMPI_RC_OK)
        return 0;
    // Wrapping would make a crowded path look keyless, that is, name all.
    return n > 0xFFFFu ? static_cast<unsigned short>(0xFFFFu) : static_cast<unsigned short>(n);
}

bool ProviderUtilities::getKeyProperty(const CMPIObjectPath* path, const char* name, std::string& value)
{
    if (!path || !name)
        return false;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIData d = CMGetKey(path, name, &rc);
    if (rc.rc != CMPI_RC_OK || d.type == CMPI_ref)
        return false;
    return dataToString(d, value);
}

bool ProviderUtilities::getKeyProperty(const CMPIObjectPath* path, const char* name, CMPIObjectPath** value)
{
    if (!path || !name || !value)
        return false;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIData d = CMGetKey(path, name, &rc);
    if (rc.rc != CMPI_RC_OK || d.type != CMPI_ref || isNull(d) || !d.value.ref)
        return false;
    *value = d.value.ref;
    return true;
}

CMPIObjectPath* ProviderUtilities::createObjectPath(const CMPIBroker* broker, const char* className,
                                                    std::string nameSpace)
{
    if (!broker || !className)
        return nullptr;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIObjectPath* path = CMNewObjectPath(broker, nameSpace.c_str(), className, &rc);
    return rc.rc == CMPI_RC_OK ? path : nullptr;
}

CMPIInstance* ProviderUtilities::createInstance(const CMPIBroker* broker, CMPIObjectPath* path)
{
    if (!broker || !path)
        return nullptr;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIInstance* inst = CMNewInstance(broker, path, &rc);
    return rc.rc == CMPI_RC_OK ? inst : nullptr;
}

CMPIInstance* ProviderUtilities::instanceFrom(const CMPIBroker* broker, CMPIObjectPath* path)
{
    CMPIInstance* inst = createInstance(broker, path);
    if (path)
        CMRelease(path);
    return inst;
}

void ProviderUtilities::setKeyProperty(CMPIObjectPath* path, const char* name, const std::string& value)
{
    if (path && name)
        CMAddKey(path, name, value.c_str(), CMPI_chars);
}

void ProviderUtilities::setKeyProperty(CMPIObjectPath* path, const char* name, CMPIObjectPath* value)
{
    if (path && name && value)
        CMAddKey(path, name, &value, CMPI_ref);
}

void ProviderUtilities::setProperty(CMPIInstance* inst, const char* name, std::string& value)
{
    if (inst && name)
        CMSetProperty(inst, name, value.c_str(), CMPI_chars);
}

void ProviderUtilities::setProperty(CMPIInstance* inst, const char* name, unsigned short value)
{
    if (inst && name)
        CMSetProperty(inst, name, &value, CMPI_uint16);
}

void ProviderUtilities::setProperty(CMPIInstance* inst, const char* name, unsigned int value)
{
    if (inst && name)
        CMSetProperty(inst, name, &value, CMPI_uint32);
}

void ProviderUtilities::setProperty(CMPIInstance* inst, const char* name, unsigned long long value)
{
    CMPIUint64 v = value;
    if (inst && name)
        CMSetProperty(inst, name, &v, CMPI_uint64);
}

void ProviderUtilities::setProperty(CMPIInstance* inst, const char* name, bool value)
{
    CMPIBoolean v = value ? 1 : 0;
    if (inst && name)
        CMSetProperty(inst, name, &v, CMPI_boolean);
}

void ProviderUtilities::setProperty(CMPIInstance* inst, const char* name, CMPIObjectPath* value)
{
    if (inst && name && value)
        CMSetProperty(inst, name, &value, CMPI_ref);
}

void ProviderUtilities::setProperty(const CMPIBroker* broker, CMPIInstance* inst, const char* name,
                                    std::vector<unsigned short>& values)
{
    if (!broker || !inst || !name)
        return;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIArray* array = CMNewArray(broker, static_cast<CMPICount>(values.size()), CMPI_uint16, &rc);
    if (!array || rc.rc != CMPI_RC_OK)
        return;
    for (CMPICount i = 0; i < values.size(); ++i) {
        CMPIUint16 v = values[i];
        CMSetArrayElementAt(array, i, &v, CMPI_uint16);
    }
    CMSetProperty(inst, name, &array, CMPI_uint16A);
}

void ProviderUtilities::setProperty(const CMPIBroker* broker, CMPIInstance* inst, const char* name,
                                    std::vector<std::string>& values)
{
    if (!broker || !inst || !name)
        return;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIArray* array = CMNewArray(broker, static_cast<CMPICount>(values.size()), CMPI_string, &rc);
    if (!array || rc.rc != CMPI_RC_OK)
        return;
    for (CMPICount i = 0; i < values.size(); ++i)
        CMSetArrayElementAt(array, i, values[i].c_str(), CMPI_chars);
    CMSetProperty(inst, name, &array, CMPI_stringA);
}

namespace {

bool fetch(const CMPIInstance* inst, const char* name, CMPIData& d)
{
    if (!inst || !name)
        return false;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    d = CMGetProperty(inst, name, &rc);
    return rc.rc == CMPI_RC_OK && !isNull(d);
}

bool unsignedValue(const CMPIData& d, unsigned long long& v)
{
    switch (d.type) {
    case CMPI_uint8: v = d.value.uint8; return true;
    case CMPI_uint16: v = d.value.uint16; return true;
    case CMPI_uint32: v = d.value.uint32; return true;
    case CMPI_uint64: v = d.value.uint64; return true;
    case CMPI_sint8: if (d.value.sint8 < 0) return false; v = d.value.sint8; return true;
    case CMPI_sint16: if (d.value.sint16 < 0) return false; v = d.value.sint16; return true;
    case CMPI_sint32: if (d.value.sint32 < 0) return false; v = d.value.sint32; return true;
    case CMPI_sint64: if (d.value.sint64 < 0) return false; v = d.value.sint64; return true;
    default: return false;
    }
}

} // namespace

bool ProviderUtilities::holdsProperty(const CMPIInstance* inst, const char* name)
{
    if (!inst || !name)
        return false;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    const CMPIData d = CMGetProperty(inst, name, &rc);
    return rc.rc == CMPI_RC_OK && !isNull(d);
}

bool ProviderUtilities::getProperty(const CMPIInstance* inst, const char* name, std::string& value)
{
    CMPIData d;
    if (!fetch(inst, name, d) || (d.type != CMPI_string && d.type != CMPI_chars))
        return false;
    return dataToString(d, value);
}

bool ProviderUtilities::getProperty(const CMPIInstance* inst, const char* name, unsigned short& value)
{
    CMPIData d;
    unsigned long long v = 0;
    if (!fetch(inst, name, d) || !unsignedValue(d, v) || v > 0xFFFFu)
        return false;
    value = static_cast<unsigned short>(v);
    return true;
}

bool ProviderUtilities::getProperty(const CMPIInstance* inst, const char* name, unsigned int& value)
{
    CMPIData d;
    unsigned long long v = 0;
    if (!fetch(inst, name, d) || !unsignedValue(d, v) || v > 0xFFFFFFFFu)
        return false;
    value = static_cast<unsigned int>(v);
    return true;
}

bool ProviderUtilities::getProperty(const CMPIInstance* inst, const char* name, bool& value)
{
    CMPIData d;
    if (!fetch(inst, name, d) || d.type != CMPI_boolean)
        return false;
    value = d.value.boolean != 0;
    return true;
}

bool ProviderUtilities::getProperty(const CMPIInstance* inst, const char* name,
                                    std::vector<std::string>& values)
{
    CMPIData d;
    if (!fetch(inst, name, d) || d.type != CMPI_stringA || !d.value.array)
        return false;
    CMPICount n = CMGetArrayCount(d.value.array, nullptr);
    std::vector<std::string> out;
    for (CMPICount i = 0; i < n; ++i) {
        CMPIData e = CMGetArrayElementAt(d.value.array, i, nullptr);
        std::string s;
        if (dataToString(e, s))
            out.push_back(s);
    }
    values.swap(out);
    return true;
}

bool ProviderUtilities::getProperty(const CMPIInstance* inst, const char* name,
                                    std::vector<unsigned short>& values)
{
    CMPIData d;
    if (!fetch(inst, name, d) || !(d.type & CMPI_ARRAY) || !d.value.array)
        return false;
    CMPICount n = CMGetArrayCount(d.value.array, nullptr);
    std::vector<unsigned short> out;
    for (CMPICount i = 0; i < n; ++i) {
        CMPIData e = CMGetArrayElementAt(d.value.array, i, nullptr);
        unsigned long long v = 0;
        if (isNull(e) || !unsignedValue(e, v) || v > 0xFFFFu)
            return false;
        out.push_back(static_cast<unsigned short>(v));
    }
    values.swap(out);
    return true;
}

void ProviderUtilities::transformObjectPathToMoniker(const CMPIObjectPath* path, Moniker& moniker)
{
    if (!path)
        return;
    CMPICount n = CMGetKeyCount(path, nullptr);
    for (CMPICount i = 0; i < n; ++i) {
        CMPIString* name = nullptr;
        CMPIData d = CMGetKeyAt(path, i, &name, nullptr);
        const char* keyName = chars(name);
        if (!keyName)
            continue;
        std::string value;
        dataToString(d, value);
        moniker.addKey(keyName, value);
    }
}

void ProviderUtilities::transformMonikerToObjectPath(Moniker& moniker, CMPIObjectPath** path)
{
    if (!path || !*path)
        return;
    for (unsigned int i = 0; i < moniker.getKeyCount(); ++i) {
        std::string name, value;
        if (moniker.selectKey(i) && moniker.getName(name) && moniker.getValue(value))
            setKeyProperty(*path, name.c_str(), value);
    }
}

} // namespace Korvu
