#include "Broker.h"

#include <cmpimacs.h>

#include <dlfcn.h>
#include <pthread.h>
#include <strings.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "BrokerObjects.h"
#include "PathText.h"
#include "Value.h"

namespace cimhost {

Arena& targetArena(Broker* broker)
{
    Arena* current = Arena::current();
    return current ? *current : broker->ownArena();
}

namespace {

Broker* brokerOf(const CMPIBroker* mb) { return Broker::fromCmpi(mb); }

std::string classOf(const CMPIObjectPath* op)
{
    ObjectPathObject* o = ownerOf<ObjectPathObject>(op);
    return o ? std::string(o->body().className) : std::string();
}

// Makes sure providers always see a context.
const CMPIContext* contextOr(Broker* b, const CMPIContext* ctx)
{
    return ctx ? ctx : &ContextObject::create(b, targetArena(b))->cell.cmpi;
}

void putStatus(CMPIStatus* rc, const CMPIStatus& status)
{
    if (rc)
        *rc = status;
}

CMPIData refData(const CMPIObjectPath* op)
{
    CMPIData d;
    d.type = CMPI_ref;
    d.state = CMPI_goodValue;
    d.value.ref = const_cast<CMPIObjectPath*>(op);
    return d;
}

CMPIData instData(const CMPIInstance* inst)
{
    CMPIData d;
    d.type = CMPI_instance;
    d.state = CMPI_goodValue;
    d.value.inst = const_cast<CMPIInstance*>(inst);
    return d;
}

template <class Call>
CMPIEnumeration* collect(Broker* b, CMPIStatus* rc, bool paths, size_t providers, Call call)
{
    if (providers == 0) {
        putStatus(rc, makeStatus(CMPI_RC_ERR_INVALID_CLASS, b, "No provider serves the class"));
        return nullptr;
    }
    std::vector<CMPIData> items;
    std::vector<CMPIStatus> answers;
    for (size_t i = 0; i < providers; ++i) {
        ResultObject* result = ResultObject::create(b, targetArena(b));
        answers.push_back(call(i, &result->cell.cmpi));
        if (paths)
            for (const CMPIObjectPath* p : result->paths)
                items.push_back(refData(p));
        else
            for (const CMPIInstance* inst : result->instances)
                items.push_back(instData(inst));
    }
    std::vector<CMPIrc> codes;
    for (const CMPIStatus& st : answers)
        codes.push_back(st.rc);
    CMPIStatus status = answers[fanOutChoice(codes)];
    putStatus(rc, status);
    if (status.rc != CMPI_RC_OK)
        return nullptr;
    return &EnumerationObject::create(b, targetArena(b), std::move(items))->cell.cmpi;
}

// --- Up-calls -------------------------------------------------------------

CMPIContext* prepareAttachThread(const CMPIBroker* mb, const CMPIContext* ctx)
{
    Broker* b = brokerOf(mb);
    if (!b || !ctx)
        return nullptr;
    CMPIContext* copy = ctx->ft->clone(ctx, nullptr);
    if (ContextObject* o = ownerOf<ContextObject>(copy))
        o->prepared = true;
    return copy;
}

CMPIStatus attachThread(const CMPIBroker* mb, const CMPIContext* ctx)
{
    return brokerOf(mb) && ctx ? okStatus() : makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
}

// Frees a context prepareAttachThread made; any other stays with its owner.
CMPIStatus detachThread(const CMPIBroker* mb, const CMPIContext* ctx)
{
    if (!brokerOf(mb) || !ctx)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    ContextObject* o = ownerOf<ContextObject>(ctx);
    if (o && o->prepared)
        o->arena->releaseOne(o);
    return okStatus();
}

CMPIStatus deliverIndication(const CMPIBroker*, const CMPIContext*, const char*, const CMPIInstance*)
{
    return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED);
}

CMPIEnumeration* enumerateInstanceNames(const CMPIBroker* mb, const CMPIContext* ctx,
                                        const CMPIObjectPath* op, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b || !op) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    auto providers = b->instanceProviders(classOf(op));
    ctx = contextOr(b, ctx);
    return collect(b, rc, true, providers.size(), [&](size_t i, const CMPIResult* r) {
        return providers[i]->ft->enumerateInstanceNames(providers[i], ctx, r, op);
    });
}

CMPIEnumeration* enumerateInstances(const CMPIBroker* mb, const CMPIContext* ctx,
                                    const CMPIObjectPath* op, const char** properties, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b || !op) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    auto providers = b->instanceProviders(classOf(op));
    ctx = contextOr(b, ctx);
    return collect(b, rc, false, providers.size(), [&](size_t i, const CMPIResult* r) {
        return providers[i]->ft->enumerateInstances(providers[i], ctx, r, op, properties);
    });
}

CMPIInstance* getInstance(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op,
                          const char** properties, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b || !op) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    CMPIInstanceMI* mi = b->instanceProvider(classOf(op));
    if (!mi) {
        putStatus(rc, makeStatus(CMPI_RC_ERR_INVALID_CLASS, b, "No provider serves the class"));
        return nullptr;
    }
    ResultObject* result = ResultObject::create(b, targetArena(b));
    CMPIStatus st = mi->ft->getInstance(mi, contextOr(b, ctx), &result->cell.cmpi, op, properties);
    if (st.rc == CMPI_RC_OK && result->instances.empty())
        st = makeStatus(CMPI_RC_ERR_NOT_FOUND, b, "No instance matches the object path");
    putStatus(rc, st);
    if (st.rc != CMPI_RC_OK)
        return nullptr;
    return const_cast<CMPIInstance*>(result->instances.front());
}

CMPIObjectPath* createInstance(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op,
                               const CMPIInstance* inst, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    CMPIInstanceMI* mi = b && op ? b->instanceProvider(classOf(op)) : nullptr;
    if (!mi) {
        setStatus(rc, b && op ? CMPI_RC_ERR_INVALID_CLASS : CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    ResultObject* result = ResultObject::create(b, targetArena(b));
    CMPIStatus st = mi->ft->createInstance(mi, contextOr(b, ctx), &result->cell.cmpi, op, inst);
    putStatus(rc, st);
    if (st.rc != CMPI_RC_OK || result->paths.empty())
        return nullptr;
    return const_cast<CMPIObjectPath*>(result->paths.front());
}

CMPIStatus modifyInstance(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op,
                          const CMPIInstance* inst, const char** properties)
{
    Broker* b = brokerOf(mb);
    CMPIInstanceMI* mi = b && op ? b->instanceProvider(classOf(op)) : nullptr;
    if (!mi)
        return makeStatus(b && op ? CMPI_RC_ERR_INVALID_CLASS : CMPI_RC_ERR_INVALID_PARAMETER);
    ResultObject* result = ResultObject::create(b, targetArena(b));
    return mi->ft->modifyInstance(mi, contextOr(b, ctx), &result->cell.cmpi, op, inst, properties);
}

CMPIStatus deleteInstance(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op)
{
    Broker* b = brokerOf(mb);
    CMPIInstanceMI* mi = b && op ? b->instanceProvider(classOf(op)) : nullptr;
    if (!mi)
        return makeStatus(b && op ? CMPI_RC_ERR_INVALID_CLASS : CMPI_RC_ERR_INVALID_PARAMETER);
    ResultObject* result = ResultObject::create(b, targetArena(b));
    return mi->ft->deleteInstance(mi, contextOr(b, ctx), &result->cell.cmpi, op);
}

CMPIEnumeration* execQuery(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op,
                           const char* query, const char* lang, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b || !op) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    auto providers = b->instanceProviders(classOf(op));
    ctx = contextOr(b, ctx);
    return collect(b, rc, false, providers.size(), [&](size_t i, const CMPIResult* r) {
        return providers[i]->ft->execQuery(providers[i], ctx, r, op, query, lang);
    });
}

CMPIEnumeration* associators(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op,
                             const char* assocClass, const char* resultClass, const char* role,
                             const char* resultRole, const char** properties, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b || !op) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    auto providers = b->associationProviders(assocClass);
    ctx = contextOr(b, ctx);
    return collect(b, rc, false, providers.size(), [&](size_t i, const CMPIResult* r) {
        return providers[i]->ft->associators(providers[i], ctx, r, op, assocClass, resultClass, role,
                                             resultRole, properties);
    });
}

CMPIEnumeration* associatorNames(const CMPIBroker* mb, const CMPIContext* ctx,
                                 const CMPIObjectPath* op, const char* assocClass,
                                 const char* resultClass, const char* role, const char* resultRole,
                                 CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b || !op) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    auto providers = b->associationProviders(assocClass);
    ctx = contextOr(b, ctx);
    return collect(b, rc, true, providers.size(), [&](size_t i, const CMPIResult* r) {
        return providers[i]->ft->associatorNames(providers[i], ctx, r, op, assocClass, resultClass,
                                                 role, resultRole);
    });
}

CMPIEnumeration* references(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op,
                            const char* resultClass, const char* role, const char** properties,
                            CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b || !op) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    auto providers = b->associationProviders(resultClass);
    ctx = contextOr(b, ctx);
    return collect(b, rc, false, providers.size(), [&](size_t i, const CMPIResult* r) {
        return providers[i]->ft->references(providers[i], ctx, r, op, resultClass, role, properties);
    });
}

CMPIEnumeration* referenceNames(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op,
                                const char* resultClass, const char* role, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b || !op) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    auto providers = b->associationProviders(resultClass);
    ctx = contextOr(b, ctx);
    return collect(b, rc, true, providers.size(), [&](size_t i, const CMPIResult* r) {
        return providers[i]->ft->referenceNames(providers[i], ctx, r, op, resultClass, role);
    });
}

CMPIData invokeMethod(const CMPIBroker* mb, const CMPIContext* ctx, const CMPIObjectPath* op,
                      const char* method, const CMPIArgs* in, CMPIArgs* out, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    CMPIData none = nullData(CMPI_null);
    CMPIMethodMI* mi = b && op ? b->methodProvider(classOf(op)) : nullptr;
    if (!mi) {
        setStatus(rc, b && op ? CMPI_RC_ERR_NOT_SUPPORTED : CMPI_RC_ERR_INVALID_PARAMETER);
        return none;
    }
    Arena& arena = targetArena(b);
    ResultObject* result = ResultObject::create(b, arena);
    if (!in)
        in = &ArgsObject::create(b, arena)->cell.cmpi;
    if (!out)
        out = &ArgsObject::create(b, arena)->cell.cmpi;
    CMPIStatus st = mi->ft->invokeMethod(mi, contextOr(b, ctx), &result->cell.cmpi, op, method, in, out);
    putStatus(rc, st);
    return result->data.empty() ? none : result->data.front();
}

CMPIStatus setPropertyUp(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const char*,
                         const CMPIValue*, CMPIType)
{
    return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED);
}

CMPIData getPropertyUp(const CMPIBroker*, const CMPIContext*, const CMPIObjectPath*, const char*,
                       CMPIStatus* rc)
{
    setStatus(rc, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullData(CMPI_null);
}

CMPIBrokerFT brokerFT = {
    CMPI_MB_Class_0 | CMPI_MB_InstanceManipulation | CMPI_MB_AssociationTraversal,
    CMPICurrentVersion,
    "ipifhost",
    prepareAttachThread,
    attachThread,
    detachThread,
    deliverIndication,
    enumerateInstanceNames,
    getInstance,
    createInstance,
    modifyInstance,
    deleteInstance,
    execQuery,
    enumerateInstances,
    associators,
    associatorNames,
    references,
    referenceNames,
    invokeMethod,
    setPropertyUp,
    getPropertyUp,
};

// --- Factory services -------------------------------------------------------

CMPIInstance* newInstance(const CMPIBroker* mb, const CMPIObjectPath* op, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b || !op) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return &InstanceObject::create(b, targetArena(b), op)->cell.cmpi;
}

CMPIObjectPath* newObjectPath(const CMPIBroker* mb, const char* ns, const char* cn, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return &ObjectPathObject::create(b, targetArena(b), ns ? ns : "", cn ? cn : "")->cell.cmpi;
}

CMPIArgs* newArgs(const CMPIBroker* mb, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return &ArgsObject::create(b, targetArena(b))->cell.cmpi;
}

CMPIString* newStringEnc(const CMPIBroker* mb, const char* data, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return newString(b, targetArena(b), data ? data : "");
}

CMPIArray* newArray(const CMPIBroker* mb, CMPICount max, CMPIType type, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    // A bound keeps a wild count from exhausting memory.
    if (!b || max > (1u << 24)) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return &ArrayObject::create(b, targetArena(b), type, max)->cell.cmpi;
}

CMPIDateTime* newDateTime(const CMPIBroker* mb, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    auto now = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    setStatus(rc, CMPI_RC_OK);
    return &DateTimeObject::create(b, targetArena(b), static_cast<CMPIUint64>(now.count()), false)
                ->cell.cmpi;
}

CMPIDateTime* newDateTimeFromBinary(const CMPIBroker* mb, CMPIUint64 binTime, CMPIBoolean interval,
                                    CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return &DateTimeObject::create(b, targetArena(b), binTime, interval != 0)->cell.cmpi;
}

CMPIDateTime* newDateTimeFromChars(const CMPIBroker* mb, const char* utcTime, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    DateTimeObject* dt = b ? DateTimeObject::parse(b, targetArena(b), utcTime) : nullptr;
    setStatus(rc, dt ? CMPI_RC_OK : CMPI_RC_ERR_INVALID_PARAMETER);
    return dt ? &dt->cell.cmpi : nullptr;
}

CMPISelectExp* newSelectExp(const CMPIBroker*, const char*, const char*, CMPIArray**, CMPIStatus* rc)
{
    setStatus(rc, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}

CMPIBoolean classPathIsA(const CMPIBroker* mb, const CMPIObjectPath* op, const char* type, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    if (!b || !op || !type) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return 0;
    }
    setStatus(rc, CMPI_RC_OK);
    return b->isA(classOf(op), type) ? 1 : 0;
}

// Every encapsulated struct is {hdl, ft}; its table tells what it is.
const char* typeName(const void* object)
{
    if (!object)
        return nullptr;
    const void* ft = static_cast<const CMPIString*>(object)->ft;
    static const std::pair<const void*, const char*> kinds[] = {
        {StringObject::functionTable(), "CMPIString"},
        {PartString::functionTable(), "CMPIString"},
        {ArrayObject::functionTable(), "CMPIArray"},
        {ObjectPathObject::functionTable(), "CMPIObjectPath"},
        {InstanceObject::functionTable(), "CMPIInstance"},
        {ArgsObject::functionTable(), "CMPIArgs"},
        {EnumerationObject::functionTable(), "CMPIEnumeration"},
        {DateTimeObject::functionTable(), "CMPIDateTime"},
        {ContextObject::functionTable(), "CMPIContext"},
        {ResultObject::functionTable(), "CMPIResult"},
    };
    for (const auto& kind : kinds)
        if (kind.first == ft)
            return kind.second;
    return nullptr;
}

std::string namedText(const NamedData& list)
{
    std::string out;
    for (const auto& entry : list)
        out += (out.empty() ? "" : ",") + std::string(entry.first) + "=" + toValue(entry.second).toText();
    return out;
}

CMPIString* toString(const CMPIBroker* mb, const void* object, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    const char* type = typeName(object);
    if (!b || !type) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string text;
    std::string kind = type;
    if (kind == "CMPIString") {
        const char* chars = CMGetCharsPtr(static_cast<const CMPIString*>(object), nullptr);
        text = chars ? chars : "";
    } else if (kind == "CMPIObjectPath") {
        text = pathToText(static_cast<const CMPIObjectPath*>(object));
    } else if (kind == "CMPIInstance") {
        const CMPIInstance* inst = static_cast<const CMPIInstance*>(object);
        CMPIObjectPath* path = CMGetObjectPath(inst, nullptr);
        text = "instance of " + pathToText(path) + " {" +
               namedText(ownerOf<InstanceObject>(inst)->properties) + "}";
        CMRelease(path);
    } else if (kind == "CMPIArray") {
        const CMPIArray* array = static_cast<const CMPIArray*>(object);
        CMPIData d;
        d.type = static_cast<CMPIType>(ownerOf<ArrayObject>(array)->elementType | CMPI_ARRAY);
        d.state = CMPI_goodValue;
        d.value.array = const_cast<CMPIArray*>(array);
        text = toValue(d).toText();
    } else if (kind == "CMPIArgs") {
        text = namedText(ownerOf<ArgsObject>(static_cast<const CMPIArgs*>(object))->args);
    } else if (kind == "CMPIContext") {
        ContextObject* o = ownerOf<ContextObject>(static_cast<const CMPIContext*>(object));
        std::lock_guard<std::mutex> lock(o->mutex);
        text = namedText(o->entries);
    } else if (kind == "CMPIDateTime") {
        text = ownerOf<DateTimeObject>(static_cast<const CMPIDateTime*>(object))->text();
    } else if (kind == "CMPIEnumeration") {
        text = "enumeration of " +
               std::to_string(ownerOf<EnumerationObject>(static_cast<const CMPIEnumeration*>(object))
                                  ->items.size());
    } else {
        text = type;
    }
    setStatus(rc, CMPI_RC_OK);
    return newString(b, targetArena(b), text);
}

CMPIBoolean isOfType(const CMPIBroker* mb, const void* object, const char* type, CMPIStatus* rc)
{
    const char* actual = typeName(object);
    if (!brokerOf(mb) || !actual || !type) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return 0;
    }
    setStatus(rc, CMPI_RC_OK);
    return std::strcmp(actual, type) == 0 ? 1 : 0;
}

CMPIString* getType(const CMPIBroker* mb, const void* object, CMPIStatus* rc)
{
    Broker* b = brokerOf(mb);
    const char* actual = typeName(object);
    if (!b || !actual) {
        setStatus(rc, CMPI_RC_ERR_INVALID_PARAMETER);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return newString(b, targetArena(b), actual);
}

CMPIString* getMessage(const CMPIBroker* mb, const char*, const char* defMsg, CMPIStatus* rc, CMPICount, ...)
{
    return newStringEnc(mb, defMsg, rc);
}

// Text is the string when given, else the chars.
CMPIStatus record(const CMPIBroker* mb, bool isTrace, int level, const char* component,
                  const char* text, const CMPIString* string)
{
    Broker* b = brokerOf(mb);
    if (!b)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    Broker::LogEntry entry;
    entry.trace = isTrace;
    entry.level = level;
    entry.component = component ? component : "";
    const char* chars = string ? CMGetCharsPtr(string, nullptr) : nullptr;
    entry.text = chars ? chars : text ? text : "";
    b->log(entry);
    return okStatus();
}

CMPIStatus logMessage(const CMPIBroker* mb, int severity, const char* id, const char* text,
                      const CMPIString* string)
{
    return record(mb, false, severity, id, text, string);
}

CMPIStatus trace(const CMPIBroker* mb, int level, const char* component, const char* text,
                 const CMPIString* string)
{
    return record(mb, true, level, component, text, string);
}

CMPIError* newCMPIError(const CMPIBroker*, const char*, const char*, const char*, const CMPIErrorSeverity,
                        const CMPIErrorProbableCause, const CMPIrc, CMPIStatus* rc)
{
    setStatus(rc, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}

CMPIStatus openMessageFile(const CMPIBroker*, const char*, CMPIMsgFileHandle* handle)
{
    if (handle)
        *handle = nullptr;
    return okStatus();
}

CMPIStatus closeMessageFile(const CMPIBroker*, const CMPIMsgFileHandle) { return okStatus(); }

CMPIString* getMessage2(const CMPIBroker* mb, const char*, const CMPIMsgFileHandle, const char* defMsg,
                        CMPIStatus* rc, CMPICount, ...)
{
    return newStringEnc(mb, defMsg, rc);
}

CMPIBrokerEncFT encFT = {
    CMPICurrentVersion, newInstance, newObjectPath, newArgs, newStringEnc, newArray, newDateTime,
    newDateTimeFromBinary, newDateTimeFromChars, newSelectExp, classPathIsA, toString, isOfType,
    getType, getMessage, logMessage, trace, newCMPIError, openMessageFile, closeMessageFile,
    getMessage2,
};

// --- Operating-system services ------------------------------------------------

char* resolveFileName(const char* filename)
{
    if (!filename)
        return nullptr;
    std::string name = std::string("lib") + filename + ".so";
    return strdup(name.c_str());
}

CMPI_THREAD_TYPE newThread(CMPI_THREAD_RETURN(CMPI_THREAD_CDECL* start)(void*), void* parm, int detached)
{
    pthread_t thread;
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    if (detached)
        pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    int rc = pthread_create(&thread, &attr, start, parm);
    pthread_attr_destroy(&attr);
    if (rc != 0)
        return nullptr;
    return reinterpret_cast<CMPI_THREAD_TYPE>(thread);
}

int joinThread(CMPI_THREAD_TYPE thread, CMPI_THREAD_RETURN* retval)
{
    return pthread_join(reinterpret_cast<pthread_t>(thread), retval);
}

int exitThread(CMPI_THREAD_RETURN code) { pthread_exit(code); }

int cancelThread(CMPI_THREAD_TYPE) { return -1; }

int threadSleep(CMPIUint32 msec) { return usleep(static_cast<useconds_t>(msec) * 1000u); }

int threadOnce(int* once, void (*init)(void))
{
    static std::mutex onceMutex;
    if (!once || !init)
        return -1;
    std::lock_guard<std::mutex> lock(onceMutex);
    if (*once == 0) {
        init();
        *once = 1;
    }
    return 0;
}

int createThreadKey(CMPI_THREAD_KEY_TYPE* key, void (*cleanup)(void*))
{
    return pthread_key_create(key, cleanup);
}
int destroyThreadKey(CMPI_THREAD_KEY_TYPE key) { return pthread_key_delete(key); }
void* getThreadSpecific(CMPI_THREAD_KEY_TYPE key) { return pthread_getspecific(key); }
int setThreadSpecific(CMPI_THREAD_KEY_TYPE key, void* value) { return pthread_setspecific(key, value); }

CMPI_MUTEX_TYPE newMutex(int)
{
    pthread_mutex_t* m = new pthread_mutex_t;
    pthread_mutex_init(m, nullptr);
    return m;
}
void destroyMutex(CMPI_MUTEX_TYPE m)
{
    if (!m)
        return;
    pthread_mutex_destroy(static_cast<pthread_mutex_t*>(m));
    delete static_cast<pthread_mutex_t*>(m);
}
void lockMutex(CMPI_MUTEX_TYPE m) { pthread_mutex_lock(static_cast<pthread_mutex_t*>(m)); }
void unlockMutex(CMPI_MUTEX_TYPE m) { pthread_mutex_unlock(static_cast<pthread_mutex_t*>(m)); }
CMPI_COND_TYPE newCondition(int)
{
    pthread_cond_t* c = new pthread_cond_t;
    pthread_cond_init(c, nullptr);
    return c;
}
void destroyCondition(CMPI_COND_TYPE c)
{
    if (!c)
        return;
    pthread_cond_destroy(static_cast<pthread_cond_t*>(c));
    delete static_cast<pthread_cond_t*>(c);
}
int condWait(CMPI_COND_TYPE c, CMPI_MUTEX_TYPE m)
{
    return pthread_cond_wait(static_cast<pthread_cond_t*>(c), static_cast<pthread_mutex_t*>(m));
}
int timedCondWait(CMPI_COND_TYPE c, CMPI_MUTEX_TYPE m, struct timespec* wait)
{
    return pthread_cond_timedwait(static_cast<pthread_cond_t*>(c), static_cast<pthread_mutex_t*>(m), wait);
}
int signalCondition(CMPI_COND_TYPE c) { return pthread_cond_signal(static_cast<pthread_cond_t*>(c)); }

CMPIBrokerExtFT extFT = {
    CMPICurrentVersion, resolveFileName, newThread, joinThread, exitThread, cancelThread,
    threadSleep, threadOnce, createThreadKey, destroyThreadKey, getThreadSpecific,
    setThreadSpecific, newMutex, destroyMutex, lockMutex, unlockMutex, newCondition,
    destroyCondition, condWait, timedCondWait, signalCondition,
};

// --- Memory services ----------------------------------------------------------

CMPIGcStat* mark(const CMPIBroker*, CMPIStatus* rc)
{
    setStatus(rc, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}
CMPIStatus releaseMark(const CMPIBroker*, const CMPIGcStat*) { return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED); }
void* cmpiMalloc(const CMPIBroker*, size_t size) { return std::malloc(size); }
void* cmpiCalloc(const CMPIBroker*, size_t n, size_t size) { return std::calloc(n, size); }
void* cmpiRealloc(const CMPIBroker*, void* p, size_t size) { return std::realloc(p, size); }
char* cmpiStrDup(const CMPIBroker*, const char* s) { return s ? strdup(s) : nullptr; }
void cmpiFree(const CMPIBroker*, void* p) { std::free(p); }
void freeInstance(const CMPIBroker*, CMPIInstance* o) { if (o) CMRelease(o); }
void freeObjectPath(const CMPIBroker*, CMPIObjectPath* o) { if (o) CMRelease(o); }
void freeArgs(const CMPIBroker*, CMPIArgs* o) { if (o) CMRelease(o); }
void freeString(const CMPIBroker*, CMPIString* o) { if (o) CMRelease(o); }
void freeArray(const CMPIBroker*, CMPIArray* o) { if (o) CMRelease(o); }
void freeDateTime(const CMPIBroker*, CMPIDateTime* o) { if (o) CMRelease(o); }
void freeSelectExp(const CMPIBroker*, CMPISelectExp*) {}

CMPIBrokerMemFT memFT = {
    CMPICurrentVersion, mark, releaseMark, cmpiMalloc, cmpiCalloc, cmpiRealloc, cmpiStrDup,
    cmpiFree, freeInstance, freeObjectPath, freeArgs, freeString, freeArray, freeDateTime,
    freeSelectExp,
};

bool sameName(const std::string& a, const std::string& b) { return equalsIgnoreCase(a, b); }

} // namespace

Broker::Broker() : own(new Arena)
{
    record.hdl = this;
    record.bft = &brokerFT;
    record.eft = &encFT;
    record.xft = &extFT;
    record.mft = &memFT;
}

namespace {

bool staysLoaded(const CMPIStatus& st)
{
    return st.rc == CMPI_RC_DO_NOT_UNLOAD || st.rc == CMPI_RC_NEVER_UNLOAD;
}

} // namespace

Broker::~Broker()
{
    // Cleanups run outside any request: what they create lands in `own`.
    Arena* previous = Arena::exchangeCurrent(nullptr);
    for (auto& module : modules) {
        const CMPIContext* ctx = &ContextObject::create(this, *own)->cell.cmpi;
        bool stay = false;
        if (module->instance)
            stay = staysLoaded(module->instance->ft->cleanup(module->instance, ctx, 1)) || stay;
        if (module->association)
            stay = staysLoaded(module->association->ft->cleanup(module->association, ctx, 1)) || stay;
        if (module->method)
            stay = staysLoaded(module->method->ft->cleanup(module->method, ctx, 1)) || stay;
        if (!stay)
            dlclose(module->handle);
    }
    Arena::exchangeCurrent(previous);
}

Broker* Broker::fromCmpi(const CMPIBroker* broker)
{
    return broker && broker->bft == &brokerFT ? static_cast<Broker*>(broker->hdl) : nullptr;
}

void Broker::setLogSink(std::function<void(const LogEntry&)> sink)
{
    std::unique_lock<std::shared_mutex> lock(mutex);
    logSink = std::move(sink);
}

void Broker::log(const LogEntry& entry) const
{
    std::function<void(const LogEntry&)> sink;
    {
        std::shared_lock<std::shared_mutex> lock(mutex);
        sink = logSink;
    }
    if (sink)
        sink(entry);
}

template <class MI>
static void putEntry(std::vector<std::pair<std::string, MI*>>& table, const std::string& name, MI* mi)
{
    for (auto& entry : table)
        if (sameName(entry.first, name)) {
            entry.second = mi;
            return;
        }
    table.emplace_back(name, mi);
}

void Broker::registerInstanceProvider(const std::string& className, CMPIInstanceMI* mi)
{
    std::unique_lock<std::shared_mutex> lock(mutex);
    putEntry(instanceTable, className, mi);
}

void Broker::registerAssociationProvider(const std::string& assocClass, CMPIAssociationMI* mi)
{
    std::unique_lock<std::shared_mutex> lock(mutex);
    putEntry(associationTable, assocClass, mi);
}

void Broker::registerMethodProvider(const std::string& className, CMPIMethodMI* mi)
{
    std::unique_lock<std::shared_mutex> lock(mutex);
    putEntry(methodTable, className, mi);
}

void Broker::registerClass(const std::string& className, const std::string& superClass)
{
    std::unique_lock<std::shared_mutex> lock(mutex);
    for (auto& entry : superClasses)
        if (sameName(entry.first, className)) {
            entry.second = superClass;
            return;
        }
    superClasses.emplace_back(className, superClass);
}

void Broker::registerKeys(const std::string& className, const std::vector<std::string>& names)
{
    std::unique_lock<std::shared_mutex> lock(mutex);
    for (auto& entry : keys)
        if (sameName(entry.first, className)) {
            entry.second = names;
            return;
        }
    keys.emplace_back(className, names);
}

std::vector<std::string> Broker::lineage(const std::string& className) const
{
    std::vector<std::string> chain{className};
    for (size_t guard = 0; guard < 64; ++guard) {
        const std::string* parent = nullptr;
        for (const auto& entry : superClasses)
            if (sameName(entry.first, chain.back()))
                parent = &entry.second;
        if (!parent || parent->empty())
            break;
        chain.push_back(*parent);
    }
    return chain;
}

std::vector<std::string> Broker::descendants(const std::string& className) const
{
    std::vector<std::string> found{className};
    for (size_t i = 0; i < found.size() && found.size() < 4096; ++i)
        for (const auto& entry : superClasses)
            if (sameName(entry.second, found[i])) {
                bool seen = false;
                for (const auto& f : found)
                    seen = seen || sameName(f, entry.first);
                if (!seen)
                    found.push_back(entry.first);
            }
    return found;
}

std::vector<std::string> Broker::keyNames(const std::string& className) const
{
    std::shared_lock<std::shared_mutex> lock(mutex);
    for (const std::string& cls : lineage(className))
        for (const auto& entry : keys)
            if (sameName(entry.first, cls))
                return entry.second;
    return {};
}

bool Broker::isA(const std::string& className, const std::string& ancestor) const
{
    std::shared_lock<std::shared_mutex> lock(mutex);
    for (const std::string& cls : lineage(className))
        if (sameName(cls, ancestor))
            return true;
    return false;
}

std::vector<CMPIInstanceMI*> Broker::instanceProviders(const std::string& className) const
{
    std::shared_lock<std::shared_mutex> lock(mutex);
    std::vector<CMPIInstanceMI*> out;
    for (const std::string& cls : descendants(className))
        for (const auto& entry : instanceTable)
            if (sameName(entry.first, cls)) {
                bool seen = false;
                for (CMPIInstanceMI* mi : out)
                    seen = seen || mi == entry.second;
                if (!seen)
                    out.push_back(entry.second);
            }
    return out;
}

CMPIInstanceMI* Broker::instanceProvider(const std::string& className) const
{
    std::shared_lock<std::shared_mutex> lock(mutex);
    for (const std::string& cls : lineage(className))
        for (const auto& entry : instanceTable)
            if (sameName(entry.first, cls))
                return entry.second;
    return nullptr;
}

CMPIMethodMI* Broker::methodProvider(const std::string& className) const
{
    std::shared_lock<std::shared_mutex> lock(mutex);
    for (const std::string& cls : lineage(className))
        for (const auto& entry : methodTable)
            if (sameName(entry.first, cls))
                return entry.second;
    return nullptr;
}

std::vector<CMPIAssociationMI*> Broker::associationProviders(const char* assocClass) const
{
    std::shared_lock<std::shared_mutex> lock(mutex);
    std::vector<CMPIAssociationMI*> out;
    auto add = [&out](CMPIAssociationMI* mi) {
        for (CMPIAssociationMI* m : out)
            if (m == mi)
                return;
        out.push_back(mi);
    };
    if (!assocClass) {
        for (const auto& entry : associationTable)
            add(entry.second);
        return out;
    }
    for (const std::string& cls : descendants(assocClass))
        for (const auto& entry : associationTable)
            if (sameName(entry.first, cls))
                add(entry.second);
    return out;
}

const Broker::Module* Broker::loadModule(const std::string& path, const std::string& providerName,
                                         std::string* error)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error)
            *error = dlerror();
        return nullptr;
    }
    std::unique_ptr<Module> module(new Module);
    module->path = path;
    module->providerName = providerName;
    module->handle = handle;
    // Providers may keep what their factories create: it must outlive requests.
    Arena* previous = Arena::exchangeCurrent(nullptr);
    const CMPIContext* ctx = &ContextObject::create(this, *own)->cell.cmpi;
    std::string failures;
    module->instance = create<CMPIInstanceMI>(handle, providerName, "InstanceMI", ctx, failures);
    module->association = create<CMPIAssociationMI>(handle, providerName, "AssociationMI", ctx, failures);
    module->method = create<CMPIMethodMI>(handle, providerName, "MethodMI", ctx, failures);
    Arena::exchangeCurrent(previous);
    if (!module->instance && !module->association && !module->method) {
        if (error)
            *error = path + ": " +
                     (failures.empty() ? "no factory for " + providerName + " yields an MI" : failures);
        dlclose(handle);
        return nullptr;
    }
    std::unique_lock<std::shared_mutex> lock(mutex);
    modules.push_back(std::move(module));
    return modules.back().get();
}

template <class MI>
MI* Broker::create(void* handle, const std::string& providerName, const char* kind,
                   const CMPIContext* ctx, std::string& failures)
{
    using Named = MI* (*)(const CMPIBroker*, const CMPIContext*, CMPIStatus*);
    using Generic = MI* (*)(const CMPIBroker*, const CMPIContext*, const char*, CMPIStatus*);
    CMPIStatus status = okStatus();
    MI* mi = nullptr;
    std::string named = providerName + "_Create_" + kind;
    if (void* f = dlsym(handle, named.c_str()))
        mi = reinterpret_cast<Named>(f)(&record, ctx, &status);
    else if (void* g = dlsym(handle, (std::string("_Generic_Create_") + kind).c_str()))
        mi = reinterpret_cast<Generic>(g)(&record, ctx, providerName.c_str(), &status);
    else
        return nullptr;
    if (!mi || status.rc != CMPI_RC_OK) {
        const char* text = status.msg ? CMGetCharsPtr(status.msg, nullptr) : nullptr;
        failures += (failures.empty() ? "" : "; ") + named + " failed with status " +
                    std::to_string(status.rc) + (text ? std::string(": ") + text : std::string());
        return nullptr;
    }
    return mi;
}

void Broker::registerModuleClasses(const Module& module, const std::vector<std::string>& instanceClasses,
                                   const std::vector<std::string>& associationClasses,
                                   const std::vector<std::string>& methodClasses)
{
    if (module.instance)
        for (const std::string& cls : instanceClasses)
            registerInstanceProvider(cls, module.instance);
    if (module.association)
        for (const std::string& cls : associationClasses)
            registerAssociationProvider(cls, module.association);
    if (module.method)
        for (const std::string& cls : methodClasses)
            registerMethodProvider(cls, module.method);
}

} // namespace cimhost
