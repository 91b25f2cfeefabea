#include "CompanionProvider.h"

#include <cmpimacs.h>

#include <strings.h>

#include <atomic>
#include <exception>
#include <string>
#include <vector>

#include "CompanionElement.h"
#include "ComputerSystem.h"
#include "DHCPSettingData.h"
#include "DNSGeneralSettingData.h"
#include "DNSProtocolEndpoint.h"
#include "DNSSAPSAPDependency.h"
#include "DNSSettingData.h"
#include "InterfaceNodes.h"
#include "LANEndpoint.h"
#include "NodeStore.h"
#include "ProviderUtilities.h"
#include "SPComputerSystem.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

namespace {

// Written by the factories, read by every request.
std::atomic<const CMPIBroker*> broker{nullptr};

const CMPIBroker* currentBroker() { return broker.load(std::memory_order_acquire); }

// The node NAME that the only element `path` can name would come from;
// false when the path's key says nothing of it.
bool adapterName(const CMPIObjectPath* path, std::string& name)
{
    return ProviderUtilities::getKeyProperty(path, "Name", name);
}

bool dnsEndpointInterface(const CMPIObjectPath* path, std::string& name)
{
    std::string key;
    return ProviderUtilities::getKeyProperty(path, "Name", key) && DNSProtocolEndpoint::interfaceOf(key, name);
}

bool settingInterface(const CMPIObjectPath* path, std::string& name)
{
    std::string key;
    return ProviderUtilities::getKeyProperty(path, "InstanceID", key) &&
           InterfaceNodes::nameOfInstanceID(key, name);
}

struct ServedClass {
    const char* name;
    // With a node name, only the elements of nodes of that NAME; with the
    // flag, their keys alone.
    void (*collect)(std::vector<CompanionElement>&, const std::string*, bool);
    // Null where the class has one instance at most.
    bool (*nodeName)(const CMPIObjectPath*, std::string&);
};

const ServedClass servedClasses[] = {
    {ComputerSystem::className,
     [](std::vector<CompanionElement>& out, const std::string*, bool) { ComputerSystem::collect(out); }, nullptr},
    {SPComputerSystem::className,
     [](std::vector<CompanionElement>& out, const std::string*, bool) { SPComputerSystem::collect(out); },
     nullptr},
    {LANEndpoint::className, LANEndpoint::collect, adapterName},
    {DHCPSettingData::className, DHCPSettingData::collect, settingInterface},
    {DNSSettingData::className, DNSSettingData::collect, settingInterface},
    {DNSGeneralSettingData::className, DNSGeneralSettingData::collect, settingInterface},
    {DNSProtocolEndpoint::className, DNSProtocolEndpoint::collect, dnsEndpointInterface},
};

CMPIStatus makeStatus(CMPIrc rc, const char* text)
{
    CMPIStatus status = {rc, nullptr};
    const CMPIBroker* b = currentBroker();
    if (text && b)
        status.msg = CMNewString(b, text, nullptr);
    return status;
}

std::string classOf(const CMPIObjectPath* path)
{
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIString* name = CMGetClassName(path, &rc);
    if (rc.rc != CMPI_RC_OK || !name || !name->hdl)
        return std::string();
    const char* text = CMGetCharsPtr(name, nullptr);
    return text ? text : "";
}

// Whether instances of `served` answer a request for `asked`: the same
// class or one of its superclasses, as the broker knows them.
bool answers(const char* served, const std::string& asked, const std::string& nameSpace)
{
    if (strcasecmp(served, asked.c_str()) == 0)
        return true;
    const CMPIBroker* b = currentBroker();
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIObjectPath* path = CMNewObjectPath(b, nameSpace.c_str(), served, &rc);
    if (!path || rc.rc != CMPI_RC_OK)
        return false;
    return CMClassPathIsA(b, path, asked.c_str(), &rc) && rc.rc == CMPI_RC_OK;
}

// Requests without the objects every answer needs get an orderly status.
bool usable(const CMPIContext* ctx, const CMPIResult* rslt, const CMPIObjectPath* op, CMPIStatus& status)
{
    if (!currentBroker()) {
        status = CMPIStatus{CMPI_RC_ERR_FAILED, nullptr};
        return false;
    }
    if (!ctx || !rslt || !op) {
        status = makeStatus(CMPI_RC_ERR_INVALID_PARAMETER, "Request lacks context, result or path");
        return false;
    }
    return true;
}

enum InstanceAnswer { NAMES, INSTANCES, ONE };

CMPIStatus instanceRequest(const CMPIContext* ctx, const CMPIResult* rslt, const CMPIObjectPath* op,
                           const char** properties, InstanceAnswer kind)
{
    // One look at the store file for the whole request, and one version of
    // the store in its answer.
    Korvu::NodeStore::ReadScope oneVersion;
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    if (!usable(ctx, rslt, op, status))
        return status;
    const CMPIBroker* b = currentBroker();
    try {
        const std::string asked = classOf(op);
        const std::string nameSpace = ProviderUtilities::getNamespace(op);
        bool known = false;
        bool found = false;
        for (const ServedClass& served : servedClasses) {
            if (!answers(served.name, asked, nameSpace))
                continue;
            known = true;
            // One instance asked for: only the nodes it can come from. A
            // path whose key names no node is answered the long way, to
            // the same end.
            std::string nodeName;
            const bool narrowed = kind == ONE && served.nodeName && served.nodeName(op, nodeName);
            std::vector<CompanionElement> elements;
            served.collect(elements, narrowed ? &nodeName : nullptr, kind == NAMES);
            for (const CompanionElement& e : elements) {
                if (kind == ONE && !e.matches(op))
                    continue;
                if (kind == NAMES) {
                    if (CMPIObjectPath* path = e.toObjectPath(b, nameSpace))
                        CMReturnObjectPath(rslt, path);
                } else if (CMPIInstance* inst = e.toInstance(b, nameSpace, properties)) {
                    CMReturnInstance(rslt, inst);
                    found = true;
                }
                if (kind == ONE)
                    break;
            }
            if (kind == ONE && found)
                break;
        }
        if (!(kind == ONE && found) && answers(DNSSAPSAPDependency::className, asked, nameSpace)) {
            known = true;
            status = DNSSAPSAPDependency::enumerate(b, ctx, rslt, op, kind == NAMES, properties,
                                                    kind == ONE);
            found = status.rc == CMPI_RC_OK;
            if (status.rc != CMPI_RC_OK && kind != ONE)
                return status;
        }
        if (!known)
            return makeStatus(CMPI_RC_ERR_INVALID_CLASS, "Class not served by the companion provider");
        if (kind == ONE && !found)
            return makeStatus(CMPI_RC_ERR_NOT_FOUND, "No such instance");
    } catch (const std::exception& e) {
        return makeStatus(CMPI_RC_ERR_FAILED, e.what());
    }
    CMReturnDone(rslt);
    return status;
}

CMPIStatus cleanup(CMPIInstanceMI*, const CMPIContext*, CMPIBoolean)
{
    return CMPIStatus{CMPI_RC_OK, nullptr};
}

CMPIStatus enumInstanceNames(CMPIInstanceMI*, const CMPIContext* ctx, const CMPIResult* rslt,
                             const CMPIObjectPath* op)
{
    return instanceRequest(ctx, rslt, op, nullptr, NAMES);
}

CMPIStatus enumInstances(CMPIInstanceMI*, const CMPIContext* ctx, const CMPIResult* rslt,
                         const CMPIObjectPath* op, const char** properties)
{
    return instanceRequest(ctx, rslt, op, properties, INSTANCES);
}

CMPIStatus getInstance(CMPIInstanceMI*, const CMPIContext* ctx, const CMPIResult* rslt,
                       const CMPIObjectPath* op, const char** properties)
{
    return instanceRequest(ctx, rslt, op, properties, ONE);
}

// The companion classes are read-only views of the node store.
CMPIStatus createInstance(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                          const CMPIObjectPath*, const CMPIInstance*)
{
    return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED, nullptr);
}

CMPIStatus modifyInstance(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                          const CMPIObjectPath*, const CMPIInstance*, const char**)
{
    return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED, nullptr);
}

CMPIStatus deleteInstance(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                          const CMPIObjectPath*)
{
    return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED, nullptr);
}

CMPIStatus execQuery(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                     const CMPIObjectPath*, const char*, const char*)
{
    return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED, nullptr);
}

CMPIStatus associationCleanup(CMPIAssociationMI*, const CMPIContext*, CMPIBoolean)
{
    return CMPIStatus{CMPI_RC_OK, nullptr};
}

CMPIStatus associationRequest(const CMPIContext* ctx, const CMPIResult* rslt, const CMPIObjectPath* op,
                              const char* assocClass, DNSSAPSAPDependency::Answer kind,
                              const char* resultClass, const char* role, const char* resultRole,
                              const char** properties)
{
    Korvu::NodeStore::ReadScope oneVersion;
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    if (!usable(ctx, rslt, op, status))
        return status;
    try {
        // The broker also asks every association provider when no class is
        // named; then only this one association is meant.
        if (assocClass &&
            !answers(DNSSAPSAPDependency::className, assocClass, ProviderUtilities::getNamespace(op))) {
            CMReturnDone(rslt);
            return status;
        }
        status = DNSSAPSAPDependency::answer(currentBroker(), ctx, rslt, op, kind, resultClass, role,
                                             resultRole, properties);
        if (status.rc != CMPI_RC_OK)
            return status;
    } catch (const std::exception& e) {
        return makeStatus(CMPI_RC_ERR_FAILED, e.what());
    }
    CMReturnDone(rslt);
    return status;
}

CMPIStatus associators(CMPIAssociationMI*, const CMPIContext* ctx, const CMPIResult* rslt,
                       const CMPIObjectPath* op, const char* assocClass, const char* resultClass,
                       const char* role, const char* resultRole, const char** properties)
{
    return associationRequest(ctx, rslt, op, assocClass, DNSSAPSAPDependency::ASSOCIATORS,
                              resultClass, role, resultRole, properties);
}

CMPIStatus associatorNames(CMPIAssociationMI*, const CMPIContext* ctx, const CMPIResult* rslt,
                           const CMPIObjectPath* op, const char* assocClass, const char* resultClass,
                           const char* role, const char* resultRole)
{
    return associationRequest(ctx, rslt, op, assocClass, DNSSAPSAPDependency::ASSOCIATOR_NAMES,
                              resultClass, role, resultRole, nullptr);
}

CMPIStatus references(CMPIAssociationMI*, const CMPIContext* ctx, const CMPIResult* rslt,
                      const CMPIObjectPath* op, const char* resultClass, const char* role,
                      const char** properties)
{
    return associationRequest(ctx, rslt, op, resultClass, DNSSAPSAPDependency::REFERENCES,
                              resultClass, role, nullptr, properties);
}

CMPIStatus referenceNames(CMPIAssociationMI*, const CMPIContext* ctx, const CMPIResult* rslt,
                          const CMPIObjectPath* op, const char* resultClass, const char* role)
{
    return associationRequest(ctx, rslt, op, resultClass, DNSSAPSAPDependency::REFERENCE_NAMES,
                              resultClass, role, nullptr, nullptr);
}

CMPIInstanceMIFT instanceFT = {
    CMPICurrentVersion,
    CMPICurrentVersion,
    "instanceIPInterfaceCompanion",
    cleanup,
    enumInstanceNames,
    enumInstances,
    getInstance,
    createInstance,
    modifyInstance,
    deleteInstance,
    execQuery,
};

CMPIAssociationMIFT associationFT = {
    CMPICurrentVersion,
    CMPICurrentVersion,
    "associationIPInterfaceCompanion",
    associationCleanup,
    associators,
    associatorNames,
    references,
    referenceNames,
};

CMPIInstanceMI instanceMI = {nullptr, &instanceFT};
CMPIAssociationMI associationMI = {nullptr, &associationFT};

} // namespace

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

using namespace Korvu::IPInterfaceProvider::Companion;

extern "C" {

CMPIInstanceMI* IPInterfaceCompanion_Create_InstanceMI(const CMPIBroker* b, const CMPIContext*, CMPIStatus*)
{
    broker.store(b, std::memory_order_release);
    return &instanceMI;
}

CMPIAssociationMI* IPInterfaceCompanion_Create_AssociationMI(const CMPIBroker* b, const CMPIContext*,
                                                             CMPIStatus*)
{
    broker.store(b, std::memory_order_release);
    return &associationMI;
}
}
