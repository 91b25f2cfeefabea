#include "IPInterfaceProvider.h"

#include <cmpimacs.h>

#include <strings.h>

#include <atomic>
#include <cstring>
#include <exception>
#include <string>
#include <type_traits>
#include <vector>

// Tests may build the frame over a table of their own classes.
#ifdef IPIF_DISPATCH_TABLE
#include IPIF_DISPATCH_TABLE
#else
#include "DispatchTable.h"
#endif
#include "ConfigurationThread.h"
#include "JoinIndex.h"
#include "NodeStore.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("IPInterfaceProvider.cpp");

namespace {

// Written by the factories at load time, read by every request.
std::atomic<const CMPIBroker*> broker{nullptr};

const CMPIBroker* currentBroker() { return broker.load(std::memory_order_acquire); }

// How long the method clean-up waits for configuration threads to end.
const unsigned int configurationDrainMilliseconds = 30000;

CMPIStatus makeStatus(CMPIrc rc, const char* text)
{
    CMPIStatus status = {rc, nullptr};
    const CMPIBroker* b = currentBroker();
    if (text && b)
        status.msg = CMNewString(b, text, nullptr);
    return status;
}

// Requests without the objects every CIM class relies on get an orderly
// status instead of reaching the classes.
bool argumentsUsable(const CMPIContext* ctx, const CMPIResult* rslt, const CMPIObjectPath* op,
                     CMPIStatus& status)
{
    if (!currentBroker()) {
        status = makeStatus(CMPI_RC_ERR_FAILED, nullptr);
        return false;
    }
    if (!ctx || !rslt || !op) {
        status = makeStatus(CMPI_RC_ERR_INVALID_PARAMETER,
                            !ctx ? "Request has no context"
                                 : (!rslt ? "Request has no result" : "Request has no object path"));
        return false;
    }
    // A store that cannot be loaded would pass for an empty system.
    const std::string storeFault = NodeStore::loadError();
    if (!storeFault.empty()) {
        logMessage(unitLogger, unitFile, Trace::Level::Error, storeFault.c_str());
        status = makeStatus(CMPI_RC_ERR_FAILED, storeFault.c_str());
        return false;
    }
    return true;
}

// A failure part-way through a request keeps what was already returned but
// is reported, never passed off as success.
void failed(const std::exception& e, CMPIStatus& status)
{
    status = makeStatus(CMPI_RC_ERR_FAILED, e.what());
}

bool sameInstanceName(const CMPIObjectPath* a, const CMPIObjectPath* b);

// Values of one key: references by the keys they carry, anything else by
// its text, exactly.
bool sameKeyValue(const CMPIData& a, const CMPIData& b)
{
    if ((a.type == CMPI_ref) != (b.type == CMPI_ref))
        return false;
    if (a.type == CMPI_ref)
        return a.value.ref && b.value.ref && sameInstanceName(a.value.ref, b.value.ref);
    std::string left;
    std::string right;
    return ProviderUtilities::dataToString(a, left) && ProviderUtilities::dataToString(b, right) &&
           left == right;
}

// Whether both paths carry the same keys with the same values. Key names are
// compared without regard to case, as CIM does; namespaces and hosts are not
// compared, a client may leave them out.
bool sameInstanceName(const CMPIObjectPath* a, const CMPIObjectPath* b)
{
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    const CMPICount count = CMGetKeyCount(a, &rc);
    if (rc.rc != CMPI_RC_OK || count == 0 || CMGetKeyCount(b, &rc) != count || rc.rc != CMPI_RC_OK)
        return false;
    for (CMPICount i = 0; i < count; ++i) {
        CMPIString* name = nullptr;
        CMPIData own = CMGetKeyAt(a, i, &name, &rc);
        const char* wanted = name ? CMGetCharsPtr(name, nullptr) : nullptr;
        if (rc.rc != CMPI_RC_OK || !wanted)
            return false;
        bool found = false;
        for (CMPICount j = 0; j < count && !found; ++j) {
            CMPIString* otherName = nullptr;
            CMPIData other = CMGetKeyAt(b, j, &otherName, &rc);
            const char* text = otherName ? CMGetCharsPtr(otherName, nullptr) : nullptr;
            if (rc.rc == CMPI_RC_OK && text && strcasecmp(text, wanted) == 0) {
                if (!sameKeyValue(own, other))
                    return false;
                found = true;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

// Moves the object on to the element whose own path the request path names
// key for key. A path short of a key, with a key of another value or with a
// key the class does not have names nothing, so nothing is touched.
template <class C>
bool seekNamedElement(C& object, const CMPIObjectPath* op)
{
    for (; object; ++object) {
        const CMPIObjectPath* own = object.getObjectPath();
        if (own && sameInstanceName(own, op))
            return true;
    }
    return false;
}

CMPIStatus notNamed(const CMPIObjectPath* op)
{
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    const bool keyless = CMGetKeyCount(op, &rc) == 0 || rc.rc != CMPI_RC_OK;
    return makeStatus(CMPI_RC_ERR_NOT_FOUND,
                      keyless ? "The object path carries no keys and so names no instance"
                              : "No instance matches every key of the object path");
}

// Servers that do not apply the request's property list leave it to the
// provider. The filter is set before any property goes in, so that it
// holds however the server reads it; keys always stay.
CMPIInstance* applyPropertyList(CMPIInstance* inst, const char** properties)
{
    if (!inst || !properties)
        return inst;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIObjectPath* path = CMGetObjectPath(inst, &rc);
    if (!path || rc.rc != CMPI_RC_OK)
        return inst;
    std::vector<std::string> keyNames;
    const CMPICount keys = CMGetKeyCount(path, nullptr);
    for (CMPICount i = 0; i < keys; ++i) {
        CMPIString* name = nullptr;
        CMGetKeyAt(path, i, &name, nullptr);
        if (const char* text = name ? CMGetCharsPtr(name, nullptr) : nullptr)
            keyNames.push_back(text);
    }
    std::vector<const char*> keyList;
    for (const std::string& name : keyNames)
        keyList.push_back(name.c_str());
    keyList.push_back(nullptr);

    CMPIInstance* narrowed = CMNewInstance(currentBroker(), path, &rc);
    if (!narrowed || rc.rc != CMPI_RC_OK) {
        // At least ask the server to drop what it can.
        CMSetPropertyFilter(inst, properties, keyList.data());
        return inst;
    }
    CMSetPropertyFilter(narrowed, properties, keyList.data());
    const CMPICount count = CMGetPropertyCount(inst, nullptr);
    for (CMPICount i = 0; i < count; ++i) {
        CMPIString* name = nullptr;
        CMPIData data = CMGetPropertyAt(inst, i, &name, &rc);
        const char* text = name ? CMGetCharsPtr(name, nullptr) : nullptr;
        if (rc.rc != CMPI_RC_OK || !text)
            continue;
        const bool null = (data.state & CMPI_nullValue) != 0;
        CMSetProperty(narrowed, text, null ? nullptr : &data.value, data.type);
    }
    return narrowed;
}

// Settings and capabilities are keyed by InstanceID alone, and the nodes
// of an interface with two nodes (or a host and a service-processor
// interface of one name, for capabilities) give the same one: an
// enumeration lists each element once, as its first node gives it.
class OncePerInstanceId {
public:
    bool first(const CMPIData& id)
    {
        if ((id.state & (CMPI_notFound | CMPI_nullValue)) || id.type != CMPI_string || !id.value.string)
            return true;
        const char* text = CMGetCharsPtr(id.value.string, nullptr);
        if (!text)
            return true;
        if (!*text) {
            const bool firstEmpty = !emptySeen;
            emptySeen = true;
            return firstEmpty;
        }
        const std::size_t before = seen.size();
        seen.add(text, std::string_view());
        return seen.size() > before;
    }

private:
    // Texts in one buffer and an open-addressed table: a set node and a
    // text of its own per element took a large enumeration out of the
    // caches at every lookup.
    FirstOf seen;
    bool emptySeen = false;
};

template <class C>
void returnNames(const CMPIContext* ctx, const CMPIResult* rslt, const CMPIObjectPath* op)
{
    C object(currentBroker(), ctx, op);
    OncePerInstanceId once;
    while (object) {
        if (CMPIObjectPath* path = object.getObjectPath()) {
            if (once.first(CMGetKey(path, "InstanceID", nullptr)))
                CMReturnObjectPath(rslt, path);
            else
                CMRelease(path);
        }
        ++object;
    }
    CMReturnDone(rslt);
}

template <class C>
void returnInstances(const CMPIContext* ctx, const CMPIResult* rslt, const CMPIObjectPath* op,
                     const char** properties)
{
    C object(currentBroker(), ctx, op);
    OncePerInstanceId once;
    while (object) {
        if (CMPIInstance* inst = object.getCMPIInstance(properties)) {
            if (once.first(CMGetProperty(inst, "InstanceID", nullptr)))
                CMReturnInstance(rslt, applyPropertyList(inst, properties));
            else
                CMRelease(inst);
        }
        ++object;
    }
    CMReturnDone(rslt);
}

// GetInstance: the one element that the path names, or none.
template <class C>
CMPIStatus returnNamedInstance(const CMPIContext* ctx, const CMPIResult* rslt,
                               const CMPIObjectPath* op, const char** properties)
{
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    C object(currentBroker(), ctx, op);
    CMPIInstance* inst = seekNamedElement(object, op) ? object.getCMPIInstance(properties) : nullptr;
    if (inst)
        CMReturnInstance(rslt, applyPropertyList(inst, properties));
    else
        status = notNamed(op);
    CMReturnDone(rslt);
    return status;
}

template <class C>
CMPIStatus modify(const CMPIContext* ctx, const CMPIResult* rslt, const CMPIObjectPath* op,
                  const CMPIInstance* inst)
{
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    C object(currentBroker(), ctx, op);
    if (seekNamedElement(object, op))
        status = object.modifyInstance(inst);
    else
        status = notNamed(op);
    CMReturnDone(rslt);
    return status;
}

template <class C>
CMPIUint32 invoke(const CMPIContext* ctx, const CMPIObjectPath* op, const char* method,
                  const char* offered, bool needsElement, const CMPIArgs* in, CMPIArgs* out,
                  CMPIStatus& status)
{
    C object(currentBroker(), ctx, op);
    if (needsElement && !seekNamedElement(object, op)) {
        status = notNamed(op);
        return 4;
    }
    if (method && std::strcmp(method, offered) == 0)
        return static_cast<CMPIUint32>(object.executeMethod(in, out, &status));
    status = makeStatus(CMPI_RC_ERR_METHOD_NOT_FOUND, nullptr);
    return 17;
}

enum class AssocKind { Associators, AssociatorNames, References, ReferenceNames };

// An association element whose far end could not be resolved would refer
// to nothing; such elements are passed over.
bool refersToBothEnds(const CMPIObjectPath* path)
{
    if (!path)
        return false;
    unsigned int references = 0;
    const CMPICount count = CMGetKeyCount(path, nullptr);
    for (CMPICount i = 0; i < count; ++i) {
        CMPIData key = CMGetKeyAt(path, i, nullptr, nullptr);
        if (key.type == CMPI_ref && !(key.state & CMPI_nullValue) && key.value.ref)
            ++references;
    }
    return references >= 2;
}

// Association classes that can serve requests naming no association class,
// or a DMTF superclass, and that honour Role and ResultRole.
template <class C, class = void>
struct FansOut : std::false_type {};
template <class C>
struct FansOut<C, std::void_t<decltype(C::answersTo(nullptr))>> : std::true_type {};

struct AssocQuery {
    AssocKind kind;
    const char* resultClass;
    const char* role;
    const char* resultRole;
    const char** properties;
};

// Returns the elements of one association class; `done` ends the result.
template <class C>
void walkAssociation(const AssocQuery& q, const CMPIContext* ctx, const CMPIResult* rslt,
                     const CMPIObjectPath* op, bool done)
{
    C object(currentBroker(), ctx, op, q.kind == AssocKind::Associators, q.properties);
    if ((q.kind == AssocKind::Associators || q.kind == AssocKind::AssociatorNames) && q.resultClass &&
        object.isNotTargetClass(q.resultClass))
        return;
    bool roles = true;
    if constexpr (FansOut<C>::value)
        roles = object.playsRoles(q.role, q.resultRole);
    while (roles && object) {
        switch (q.kind) {
        case AssocKind::Associators:
            if (CMPIInstance* inst = object.getAssociator(q.properties))
                CMReturnInstance(rslt, applyPropertyList(inst, q.properties));
            break;
        case AssocKind::AssociatorNames:
            if (CMPIObjectPath* path = object.getAssociatorNames())
                CMReturnObjectPath(rslt, path);
            break;
        case AssocKind::References:
            if (CMPIInstance* inst = object.getCMPIInstance(q.properties))
                if (refersToBothEnds(CMGetObjectPath(inst, nullptr)))
                    CMReturnInstance(rslt, applyPropertyList(inst, q.properties));
            break;
        case AssocKind::ReferenceNames:
            if (CMPIObjectPath* path = object.getObjectPath())
                if (refersToBothEnds(path))
                    CMReturnObjectPath(rslt, path);
            break;
        }
        ++object;
    }
    if (done)
        CMReturnDone(rslt);
}

template <class C>
void fanOutTo(const AssocQuery& q, const char* className, unsigned short sourceId,
              const CMPIContext* ctx, const CMPIResult* rslt, const CMPIObjectPath* op, bool& known)
{
    if constexpr (FansOut<C>::value) {
        if (C::answersTo(className)) {
            known = true;
            if (C::hasEnd(sourceId))
                walkAssociation<C>(q, ctx, rslt, op, false);
        }
    }
}

// A request without an association class, or naming a superclass of some:
// every association of this module that answers to that class and has the
// object's class as one of its ends, as a CIM server that fans out expects.
// False when no association answers to the class at all.
bool fanOut(const AssocQuery& q, const char* className, const CMPIContext* ctx,
            const CMPIResult* rslt, const CMPIObjectPath* op)
{
    const unsigned short sourceId = ProviderUtilities::getClassId(op);
    bool known = false;
#define IPIF_FAN_OUT(id, C) fanOutTo<C>(q, className, sourceId, ctx, rslt, op, known);
    IPIF_ASSOCIATION_CLASSES(IPIF_FAN_OUT)
#undef IPIF_FAN_OUT
    if (known)
        CMReturnDone(rslt);
    return known;
}

CMPIStatus association(const AssocQuery& q, const char* function, const CMPIContext* ctx,
                       const CMPIResult* rslt, const CMPIObjectPath* op, const char* className)
{
    Trace::RequestScope traced(unitLogger);
    markProviderEntry(unitLogger, unitFile, function, __LINE__);
    // One look at the store file for the whole request.
    Korvu::NodeStore::ReadScope oneVersion;
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    if (argumentsUsable(ctx, rslt, op, status)) {
        try {
            switch (ProviderUtilities::getClassId(className)) {
#define IPIF_ASSOC_CASE(id, C)                                                    \
    case id:                                                                       \
        walkAssociation<C>(q, ctx, rslt, op, true);                                \
        break;
                IPIF_ASSOCIATION_CLASSES(IPIF_ASSOC_CASE)
#undef IPIF_ASSOC_CASE
            default:
                if (!fanOut(q, className, ctx, rslt, op))
                    status.rc = CMPI_RC_ERR_INVALID_CLASS;
                break;
            }
        } catch (const std::exception& e) {
            logMessage(unitLogger, unitFile, Trace::Level::Error, e.what());
            failed(e, status);
        }
    }
    markProviderExit(unitLogger, unitFile, function, __LINE__);
    return status;
}

enum class InstanceKind { Names, Instances, Single };

CMPIStatus instances(InstanceKind kind, const char* function, const CMPIContext* ctx,
                     const CMPIResult* rslt, const CMPIObjectPath* op, const char** properties)
{
    Trace::RequestScope traced(unitLogger);
    markProviderEntry(unitLogger, unitFile, function, __LINE__);
    // One look at the store file for the whole request.
    Korvu::NodeStore::ReadScope oneVersion;
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    if (argumentsUsable(ctx, rslt, op, status)) {
        try {
            switch (ProviderUtilities::getClassId(op)) {
#define IPIF_INSTANCE_CASE(id, C)                                                \
    case id:                                                                      \
        if (kind == InstanceKind::Names)                                          \
            returnNames<C>(ctx, rslt, op);                                        \
        else if (kind == InstanceKind::Single)                                    \
            status = returnNamedInstance<C>(ctx, rslt, op, properties);           \
        else                                                                      \
            returnInstances<C>(ctx, rslt, op, properties);                        \
        break;
                IPIF_INSTANCE_CLASSES(IPIF_INSTANCE_CASE)
#undef IPIF_INSTANCE_CASE
            default:
                status.rc = CMPI_RC_ERR_INVALID_CLASS;
                break;
            }
        } catch (const std::exception& e) {
            logMessage(unitLogger, unitFile, Trace::Level::Error, e.what());
            failed(e, status);
        }
    }
    markProviderExit(unitLogger, unitFile, function, __LINE__);
    return status;
}

CMPIInstanceMIFT instanceFT = {
    CMPICurrentVersion,
    CMPICurrentVersion,
    "instanceIPInterfaceProvider",
    IPInterface_Cleanup,
    IPInterface_EnumInstanceNames,
    IPInterface_EnumInstances,
    IPInterface_GetInstance,
    IPInterface_CreateInstance,
    IPInterface_ModifyInstance,
    IPInterface_DeleteInstance,
    IPInterface_ExecQuery,
};

CMPIAssociationMIFT associationFT = {
    CMPICurrentVersion,
    CMPICurrentVersion,
    "associationIPInterfaceProvider",
    IPInterface_Cleanup,
    IPInterface_Associators,
    IPInterface_AssociatorNames,
    IPInterface_References,
    IPInterface_ReferenceNames,
};

CMPIMethodMIFT methodFT = {
    CMPICurrentVersion,
    CMPICurrentVersion,
    "methodIPInterfaceProvider",
    IPInterface_MethodCleanup,
    IPInterface_InvokeMethod,
};

CMPIInstanceMI instanceMI = {nullptr, &instanceFT};
CMPIAssociationMI associationMI = {nullptr, &associationFT};
CMPIMethodMI methodMI = {nullptr, &methodFT};

} // namespace

const CMPIBroker* brokerHandle() { return currentBroker(); }

CMPIStatus IPInterface_Cleanup(CMPIInstanceMI*, const CMPIContext*, CMPIBoolean)
{
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    return status;
}

CMPIStatus IPInterface_Cleanup(CMPIAssociationMI*, const CMPIContext*, CMPIBoolean)
{
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    return status;
}

CMPIStatus IPInterface_MethodCleanup(CMPIMethodMI*, const CMPIContext*, CMPIBoolean)
{
    // Configuration threads run the module's code and use its logger: the
    // module may only go, and the process only end, once they have ended.
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    if (!ConfigurationThread::waitUntilIdle(configurationDrainMilliseconds))
        status.rc = CMPI_RC_DO_NOT_UNLOAD;
    return status;
}

CMPIStatus IPInterface_EnumInstanceNames(CMPIInstanceMI*, const CMPIContext* ctx,
                                         const CMPIResult* rslt, const CMPIObjectPath* op)
{
    return instances(InstanceKind::Names,
                     "Korvu::IPInterfaceProvider::IPInterface_EnumInstanceNames", ctx, rslt, op,
                     nullptr);
}

CMPIStatus IPInterface_EnumInstances(CMPIInstanceMI*, const CMPIContext* ctx,
                                     const CMPIResult* rslt, const CMPIObjectPath* op,
                                     const char** properties)
{
    return instances(InstanceKind::Instances,
                     "Korvu::IPInterfaceProvider::IPInterface_EnumInstances", ctx, rslt, op,
                     properties);
}

CMPIStatus IPInterface_GetInstance(CMPIInstanceMI*, const CMPIContext* ctx, const CMPIResult* rslt,
                                   const CMPIObjectPath* op, const char** properties)
{
    return instances(InstanceKind::Single, "Korvu::IPInterfaceProvider::IPInterface_GetInstance",
                     ctx, rslt, op, properties);
}

CMPIStatus IPInterface_CreateInstance(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                      const CMPIObjectPath*, const CMPIInstance*)
{
    const char* function = "Korvu::IPInterfaceProvider::IPInterface_CreateInstance";
    Trace::RequestScope traced(unitLogger);
    markProviderEntry(unitLogger, unitFile, function, __LINE__);
    CMPIStatus status = {CMPI_RC_ERR_NOT_SUPPORTED, nullptr};
    markProviderExit(unitLogger, unitFile, function, __LINE__);
    return status;
}

CMPIStatus IPInterface_ModifyInstance(CMPIInstanceMI*, const CMPIContext* ctx,
                                      const CMPIResult* rslt, const CMPIObjectPath* op,
                                      const CMPIInstance* inst, const char**)
{
    const char* function = "Korvu::IPInterfaceProvider::IPInterface_ModifyInstance";
    Trace::RequestScope traced(unitLogger);
    markProviderEntry(unitLogger, unitFile, function, __LINE__);
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    if (argumentsUsable(ctx, rslt, op, status)) {
        try {
            switch (ProviderUtilities::getClassId(op)) {
#define IPIF_MODIFY_CASE(id, C)                                                  \
    case id:                                                                      \
        status = inst ? modify<C>(ctx, rslt, op, inst)                            \
                      : makeStatus(CMPI_RC_ERR_INVALID_PARAMETER, "Request has no instance"); \
        break;
                IPIF_MODIFY_CLASSES(IPIF_MODIFY_CASE)
#undef IPIF_MODIFY_CASE
            default:
                status.rc = CMPI_RC_ERR_NOT_SUPPORTED;
                break;
            }
        } catch (const std::exception& e) {
            logMessage(unitLogger, unitFile, Trace::Level::Error, e.what());
            failed(e, status);
        }
    }
    markProviderExit(unitLogger, unitFile, function, __LINE__);
    return status;
}

CMPIStatus IPInterface_DeleteInstance(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                      const CMPIObjectPath*)
{
    markMethodCall(unitLogger, unitFile, "Korvu::IPInterfaceProvider::IPInterface_DeleteInstance");
    CMPIStatus status = {CMPI_RC_ERR_NOT_SUPPORTED, nullptr};
    return status;
}

CMPIStatus IPInterface_ExecQuery(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                 const CMPIObjectPath*, const char*, const char*)
{
    markMethodCall(unitLogger, unitFile, "Korvu::IPInterfaceProvider::IPInterface_ExecQuery");
    CMPIStatus status = {CMPI_RC_ERR_NOT_SUPPORTED, nullptr};
    return status;
}

CMPIStatus IPInterface_Associators(CMPIAssociationMI*, const CMPIContext* ctx,
                                   const CMPIResult* rslt, const CMPIObjectPath* op,
                                   const char* assocClass, const char* resultClass, const char* role,
                                   const char* resultRole, const char** properties)
{
    return association({AssocKind::Associators, resultClass, role, resultRole, properties},
                       "Korvu::IPInterfaceProvider::IPInterface_Associators", ctx, rslt, op, assocClass);
}

CMPIStatus IPInterface_AssociatorNames(CMPIAssociationMI*, const CMPIContext* ctx,
                                       const CMPIResult* rslt, const CMPIObjectPath* op,
                                       const char* assocClass, const char* resultClass, const char* role,
                                       const char* resultRole)
{
    return association({AssocKind::AssociatorNames, resultClass, role, resultRole, nullptr},
                       "Korvu::IPInterfaceProvider::IPInterface_AssociatorNames", ctx, rslt, op,
                       assocClass);
}

CMPIStatus IPInterface_References(CMPIAssociationMI*, const CMPIContext* ctx,
                                  const CMPIResult* rslt, const CMPIObjectPath* op,
                                  const char* resultClass, const char* role, const char** properties)
{
    return association({AssocKind::References, nullptr, role, nullptr, properties},
                       "Korvu::IPInterfaceProvider::IPInterface_References", ctx, rslt, op, resultClass);
}

CMPIStatus IPInterface_ReferenceNames(CMPIAssociationMI*, const CMPIContext* ctx,
                                      const CMPIResult* rslt, const CMPIObjectPath* op,
                                      const char* resultClass, const char* role)
{
    return association({AssocKind::ReferenceNames, nullptr, role, nullptr, nullptr},
                       "Korvu::IPInterfaceProvider::IPInterface_ReferenceNames", ctx, rslt, op,
                       resultClass);
}

CMPIStatus IPInterface_InvokeMethod(CMPIMethodMI*, const CMPIContext* ctx, const CMPIResult* rslt,
                                    const CMPIObjectPath* op, const char* method, const CMPIArgs* in,
                                    CMPIArgs* out)
{
    const char* function = "Korvu::IPInterfaceProvider::IPInterface_InvokeMethod";
    Trace::RequestScope traced(unitLogger);
    markProviderEntry(unitLogger, unitFile, function, __LINE__);
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    if (!argumentsUsable(ctx, rslt, op, status)) {
        markProviderExit(unitLogger, unitFile, function, __LINE__);
        return status;
    }
    CMPIUint32 returnValue = 0;
    try {
        switch (ProviderUtilities::getClassId(op)) {
#define IPIF_METHOD_CASE(id, C, name, needsElement)                                         \
    case id:                                                                                 \
        returnValue = invoke<C>(ctx, op, method, name, needsElement, in, out, status);       \
        break;
            IPIF_METHOD_CLASSES(IPIF_METHOD_CASE)
#undef IPIF_METHOD_CASE
        default:
            returnValue = 5;
            status.rc = CMPI_RC_ERR_INVALID_CLASS;
            break;
        }
    } catch (const std::exception& e) {
        status = makeStatus(CMPI_RC_ERR_FAILED, e.what());
    }
    CMReturnData(rslt, reinterpret_cast<CMPIValue*>(&returnValue), CMPI_uint32);
    CMReturnDone(rslt);
    markProviderExit(unitLogger, unitFile, function, __LINE__);
    return status;
}

} // namespace IPInterfaceProvider
} // namespace Korvu

using namespace Korvu::IPInterfaceProvider;

extern "C" {

CMPIInstanceMI* IPInterfaceProvider_Create_InstanceMI(const CMPIBroker* b, const CMPIContext*,
                                                      CMPIStatus*)
{
    broker.store(b, std::memory_order_release);
    return &instanceMI;
}

CMPIAssociationMI* IPInterfaceProvider_Create_AssociationMI(const CMPIBroker* b, const CMPIContext*,
                                                            CMPIStatus*)
{
    broker.store(b, std::memory_order_release);
    return &associationMI;
}

CMPIMethodMI* IPInterfaceProvider_Create_MethodMI(const CMPIBroker* b, const CMPIContext*,
                                                  CMPIStatus*)
{
    broker.store(b, std::memory_order_release);
    return &methodMI;
}
}
