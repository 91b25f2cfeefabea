#include "DNSSAPSAPDependency.h"

#include <cmpimacs.h>

#include <strings.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "CompanionElement.h"
#include "DNSProtocolEndpoint.h"
#include "InstanceId.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

const char* const DNSSAPSAPDependency::className = "Tavrix_DNSSAPSAPDependency";

namespace {

const char* const ipEndpointClass = "Tavrix_IPProtocolEndpoint";
const char* const antecedent = "Antecedent";
const char* const dependent = "Dependent";

CMPIStatus okStatus() { return CMPIStatus{CMPI_RC_OK, nullptr}; }

std::string classOf(const CMPIObjectPath* path)
{
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIString* name = path ? CMGetClassName(path, &rc) : nullptr;
    if (rc.rc != CMPI_RC_OK || !name || !name->hdl)
        return std::string();
    const char* text = CMGetCharsPtr(name, nullptr);
    return text ? text : "";
}

// Whether `className` is `ancestor` or one of its subclasses.
bool isA(const CMPIBroker* broker, const std::string& nameSpace, const std::string& className,
         const char* ancestor)
{
    if (!ancestor || strcasecmp(className.c_str(), ancestor) == 0)
        return true;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIObjectPath* path = CMNewObjectPath(broker, nameSpace.c_str(), className.c_str(), &rc);
    if (!path || rc.rc != CMPI_RC_OK)
        return false;
    return CMClassPathIsA(broker, path, ancestor, &rc) && rc.rc == CMPI_RC_OK;
}

bool roleIs(const char* asked, const char* role)
{
    return !asked || strcasecmp(asked, role) == 0;
}

std::string keyOf(const CMPIObjectPath* path, const char* name)
{
    std::string value;
    if (path)
        ProviderUtilities::getKeyProperty(path, name, value);
    return value;
}

// DNS endpoints by Name and SystemName, built once per request: every IP
// endpoint of an enumeration looks its DNS endpoint up.
using DnsIndex = std::unordered_map<std::string, const CompanionElement*>;

DnsIndex indexOf(const std::vector<CompanionElement>& dns)
{
    DnsIndex index;
    index.reserve(dns.size());
    // emplace keeps the first of equal keys, as a scan would find it.
    for (const CompanionElement& e : dns)
        index.emplace(CompanionElement::nameKey(e.valueOf("Name"), e.valueOf("SystemName")), &e);
    return index;
}

// The DNS endpoint of the IP endpoint at `ip`; false when it has none.
bool dnsEndpointOf(const CMPIObjectPath* ip, const DnsIndex& dns, const CompanionElement*& found)
{
    const std::string iface = interfaceOfEndpointName(keyOf(ip, "Name"));
    if (iface.empty())
        return false;
    const auto hit =
        dns.find(CompanionElement::nameKey(DNSProtocolEndpoint::nameOf(iface), keyOf(ip, "SystemName")));
    if (hit == dns.end())
        return false;
    found = hit->second;
    return true;
}

struct Pair {
    const CMPIObjectPath* ip;
    const CMPIInstance* ipInstance;  // only when fetched as instances
    const CompanionElement* dns;
};

// IP endpoints fetched through the broker, paired with their DNS endpoints.
// `onlyDns` keeps the pairs of that DNS endpoint only.
CMPIStatus pairsFromBroker(const CMPIBroker* broker, const CMPIContext* context,
                           const std::string& nameSpace, bool instances, const char** properties,
                           const DnsIndex& dns, const CompanionElement* onlyDns,
                           std::vector<Pair>& pairs)
{
    CMPIStatus rc = okStatus();
    CMPIObjectPath* cls = CMNewObjectPath(broker, nameSpace.c_str(), ipEndpointClass, &rc);
    if (!cls || rc.rc != CMPI_RC_OK)
        return rc;
    CMPIEnumeration* found = instances ? CBEnumInstances(broker, context, cls, properties, &rc)
                                       : CBEnumInstanceNames(broker, context, cls, &rc);
    if (rc.rc != CMPI_RC_OK || !found)
        return rc;
    while (CMHasNext(found, nullptr)) {
        CMPIStatus read = okStatus();
        CMPIData d = CMGetNext(found, &read);
        if (read.rc != CMPI_RC_OK || (d.state & CMPI_nullValue))
            break;
        Pair p = {nullptr, nullptr, nullptr};
        if (instances && d.type == CMPI_instance && d.value.inst) {
            p.ipInstance = d.value.inst;
            p.ip = CMGetObjectPath(d.value.inst, nullptr);
        } else if (!instances && d.type == CMPI_ref) {
            p.ip = d.value.ref;
        }
        if (!p.ip || !dnsEndpointOf(p.ip, dns, p.dns))
            continue;
        if (onlyDns && p.dns != onlyDns)
            continue;
        pairs.push_back(p);
    }
    return okStatus();
}

CMPIObjectPath* associationPath(const CMPIBroker* broker, const std::string& nameSpace,
                                const CMPIObjectPath* ip, CMPIObjectPath* dns)
{
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(
        broker, DNSSAPSAPDependency::className, nameSpace);
    if (!path || !ip || !dns)
        return nullptr;
    ProviderUtilities::setKeyProperty(path, antecedent, const_cast<CMPIObjectPath*>(ip));
    ProviderUtilities::setKeyProperty(path, dependent, dns);
    return path;
}

void returnAssociation(const CMPIBroker* broker, const CMPIResult* result,
                       const std::string& nameSpace, const CMPIObjectPath* ip,
                       CMPIObjectPath* dns, bool names)
{
    CMPIObjectPath* path = associationPath(broker, nameSpace, ip, dns);
    if (!path)
        return;
    if (names) {
        CMReturnObjectPath(result, path);
        return;
    }
    CMPIInstance* inst = ProviderUtilities::createInstance(broker, path);
    if (!inst)
        return;
    ProviderUtilities::setProperty(inst, antecedent, const_cast<CMPIObjectPath*>(ip));
    ProviderUtilities::setProperty(inst, dependent, dns);
    CMReturnInstance(result, inst);
}

// Same instance: equal SystemName and Name keys.
bool sameEndpoint(const CMPIObjectPath* a, const CMPIObjectPath* b)
{
    return a && b && keyOf(a, "SystemName") == keyOf(b, "SystemName") &&
           keyOf(a, "Name") == keyOf(b, "Name");
}

} // namespace

CMPIStatus DNSSAPSAPDependency::answer(const CMPIBroker* broker, const CMPIContext* context,
                                       const CMPIResult* result, const CMPIObjectPath* path,
                                       Answer kind, const char* resultClass, const char* role,
                                       const char* resultRole, const char** properties)
{
    const std::string nameSpace = ProviderUtilities::getNamespace(path);
    const std::string given = classOf(path);
    const bool fromIp = isA(broker, nameSpace, given, ipEndpointClass);
    const bool fromDns = !fromIp && isA(broker, nameSpace, given, DNSProtocolEndpoint::className);
    if (!fromIp && !fromDns)
        return okStatus();  // not an end of this association
    const bool references = kind == REFERENCES || kind == REFERENCE_NAMES;
    // The given end plays `role`, the far end `resultRole`.
    if (!roleIs(role, fromIp ? antecedent : dependent))
        return okStatus();
    if (!references && !roleIs(resultRole, fromIp ? dependent : antecedent))
        return okStatus();
    if (references ? !isA(broker, nameSpace, className, resultClass)
                   : !isA(broker, nameSpace, fromIp ? DNSProtocolEndpoint::className : ipEndpointClass,
                          resultClass))
        return okStatus();

    // One end given: only the DNS endpoints of its interface can take part.
    std::string iface;
    bool narrowed = true;
    if (fromIp)
        iface = interfaceOfEndpointName(keyOf(path, "Name"));
    else
        narrowed = DNSProtocolEndpoint::interfaceOf(keyOf(path, "Name"), iface);
    // The DNS endpoint's properties only for an instance of it returned.
    std::vector<CompanionElement> dns;
    DNSProtocolEndpoint::collect(dns, narrowed ? &iface : nullptr, !(fromIp && kind == ASSOCIATORS));

    if (fromIp) {
        const CompanionElement* far = nullptr;
        if (!dnsEndpointOf(path, indexOf(dns), far))
            return okStatus();
        CMPIObjectPath* farPath = far->toObjectPath(broker, nameSpace);
        if (!farPath)
            return okStatus();
        if (kind == ASSOCIATORS) {
            CMPIInstance* inst = far->toInstance(broker, nameSpace, properties);
            if (inst)
                CMReturnInstance(result, inst);
        } else if (kind == ASSOCIATOR_NAMES) {
            CMReturnObjectPath(result, farPath);
        } else {
            returnAssociation(broker, result, nameSpace, path, farPath, kind == REFERENCE_NAMES);
        }
        return okStatus();
    }

    const CompanionElement* self = nullptr;
    for (const CompanionElement& e : dns)
        if (!self && e.matches(path))
            self = &e;
    if (!self)
        return okStatus();
    std::vector<Pair> pairs;
    CMPIStatus rc = pairsFromBroker(broker, context, nameSpace, kind == ASSOCIATORS, properties,
                                    indexOf(dns), self, pairs);
    if (rc.rc != CMPI_RC_OK)
        return rc;
    CMPIObjectPath* selfPath = self->toObjectPath(broker, nameSpace);
    for (const Pair& p : pairs) {
        if (kind == ASSOCIATORS && p.ipInstance)
            CMReturnInstance(result, p.ipInstance);
        else if (kind == ASSOCIATOR_NAMES)
            CMReturnObjectPath(result, p.ip);
        else if (references)
            returnAssociation(broker, result, nameSpace, p.ip, selfPath, kind == REFERENCE_NAMES);
    }
    return okStatus();
}

CMPIStatus DNSSAPSAPDependency::enumerate(const CMPIBroker* broker, const CMPIContext* context,
                                          const CMPIResult* result, const CMPIObjectPath* path,
                                          bool names, const char**, bool single)
{
    const std::string nameSpace = ProviderUtilities::getNamespace(path);
    CMPIObjectPath* wantIp = nullptr;
    CMPIObjectPath* wantDns = nullptr;
    const bool named = single && ProviderUtilities::getKeyProperty(path, antecedent, &wantIp) &&
                       ProviderUtilities::getKeyProperty(path, dependent, &wantDns);
    // The one pair asked for can only hold the DNS endpoint of its IP
    // endpoint's interface.
    const std::string iface = named ? interfaceOfEndpointName(keyOf(wantIp, "Name")) : std::string();
    // An association instance names its ends by their keys alone.
    std::vector<CompanionElement> dns;
    DNSProtocolEndpoint::collect(dns, named ? &iface : nullptr, true);
    std::vector<Pair> pairs;
    CMPIStatus rc = pairsFromBroker(broker, context, nameSpace, false, nullptr, indexOf(dns), nullptr,
                                    pairs);
    if (rc.rc != CMPI_RC_OK)
        return rc;
    if (single && !named)
        return CMPIStatus{CMPI_RC_ERR_NOT_FOUND, nullptr};
    bool any = false;
    for (const Pair& p : pairs) {
        CMPIObjectPath* dnsPath = p.dns->toObjectPath(broker, nameSpace);
        if (single && !(sameEndpoint(wantIp, p.ip) && sameEndpoint(wantDns, dnsPath)))
            continue;
        returnAssociation(broker, result, nameSpace, p.ip, dnsPath, names);
        any = true;
        if (single)
            break;
    }
    if (single && !any)
        return CMPIStatus{CMPI_RC_ERR_NOT_FOUND, nullptr};
    return okStatus();
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
