#include "ObjectPathObject.h"

#include <new>

#include "Broker.h"
#include "PathText.h"
#include "ResultObject.h"
#include "StringObject.h"

namespace cimhost {

namespace {

ObjectPathObject* self(const CMPIObjectPath* op) { return ownerOf<ObjectPathObject>(op); }

CMPIStatus invalid() { return makeStatus(CMPI_RC_ERR_INVALID_HANDLE); }

void detach(ObjectPathObject* o) { detachAnswer(o, &ResultObject::paths); }

CMPIStatus release(CMPIObjectPath* op)
{
    ObjectPathObject* o = self(op);
    if (!o)
        return invalid();
    if (o->answerOf)
        return okStatus();
    o->arena->releaseOne(o);
    return okStatus();
}

CMPIObjectPath* clone(const CMPIObjectPath* op, CMPIStatus* rc)
{
    ObjectPathObject* o = self(op);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return &ObjectPathObject::copy(o->broker, o->broker->ownArena(), op)->cell.cmpi;
}

CMPIStatus setText(Name PathBody::*field, CMPIObjectPath* op, const char* text)
{
    ObjectPathObject* o = self(op);
    if (!o)
        return invalid();
    detach(o);
    (o->own().*field) = text ? text : "";
    return okStatus();
}

CMPIString* getText(Name PathBody::*field, const CMPIObjectPath* op, CMPIStatus* rc)
{
    ObjectPathObject* o = self(op);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return newString(o->broker, targetArena(o->broker), o->body().*field);
}

CMPIStatus setNameSpace(CMPIObjectPath* op, const char* ns)
{
    return setText(&PathBody::nameSpace, op, ns);
}
CMPIString* getNameSpace(const CMPIObjectPath* op, CMPIStatus* rc)
{
    return getText(&PathBody::nameSpace, op, rc);
}
CMPIStatus setHostname(CMPIObjectPath* op, const char* hn) { return setText(&PathBody::host, op, hn); }
CMPIString* getHostname(const CMPIObjectPath* op, CMPIStatus* rc)
{
    return getText(&PathBody::host, op, rc);
}
CMPIStatus setClassName(CMPIObjectPath* op, const char* cn)
{
    return setText(&PathBody::className, op, cn);
}
CMPIString* getClassName(const CMPIObjectPath* op, CMPIStatus* rc)
{
    return getText(&PathBody::className, op, rc);
}

CMPIStatus addKey(CMPIObjectPath* op, const char* name, const CMPIValue* value, const CMPIType type)
{
    ObjectPathObject* o = self(op);
    if (!o)
        return invalid();
    if (!name || !*name)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    detach(o);
    // The key's old value is not copied only to be replaced.
    PathBody& own = o->own(name);
    CMPIData d = makeData(o->broker, own.parts, value, type, true);
    d.state |= CMPI_keyValue;
    setNamed(own.keys, name, d);
    return okStatus();
}

CMPIData getKey(const CMPIObjectPath* op, const char* name, CMPIStatus* rc)
{
    ObjectPathObject* o = self(op);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return notFoundData();
    }
    if (const CMPIData* d = findNamed(o->keys(), name)) {
        setStatus(rc, CMPI_RC_OK);
        return *d;
    }
    setStatus(rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
    return notFoundData();
}

CMPIData getKeyAt(const CMPIObjectPath* op, CMPICount index, CMPIString** name, CMPIStatus* rc)
{
    ObjectPathObject* o = self(op);
    if (!o || index >= o->keys().size()) {
        setStatus(rc, o ? CMPI_RC_ERR_NO_SUCH_PROPERTY : CMPI_RC_ERR_INVALID_HANDLE);
        if (name)
            *name = nullptr;
        return notFoundData();
    }
    if (name)
        *name = newString(o->broker, targetArena(o->broker), o->keys()[index].first);
    setStatus(rc, CMPI_RC_OK);
    return o->keys()[index].second;
}

CMPICount getKeyCount(const CMPIObjectPath* op, CMPIStatus* rc)
{
    ObjectPathObject* o = self(op);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return 0;
    }
    setStatus(rc, CMPI_RC_OK);
    return static_cast<CMPICount>(o->keys().size());
}

CMPIStatus setNameSpaceFromObjectPath(CMPIObjectPath* op, const CMPIObjectPath* src)
{
    ObjectPathObject* o = self(op);
    ObjectPathObject* s = self(src);
    if (!o || !s)
        return invalid();
    detach(o);
    o->own().nameSpace = s->body().nameSpace;
    return okStatus();
}

CMPIStatus setHostAndNameSpaceFromObjectPath(CMPIObjectPath* op, const CMPIObjectPath* src)
{
    ObjectPathObject* o = self(op);
    ObjectPathObject* s = self(src);
    if (!o || !s)
        return invalid();
    detach(o);
    PathBody& own = o->own();
    own.nameSpace = s->body().nameSpace;
    own.host = s->body().host;
    return okStatus();
}

CMPIData noQualifier(CMPIStatus* rc)
{
    setStatus(rc, CMPI_RC_ERR_NOT_SUPPORTED);
    return notFoundData();
}
CMPIData getClassQualifier(const CMPIObjectPath*, const char*, CMPIStatus* rc) { return noQualifier(rc); }
CMPIData getPropertyQualifier(const CMPIObjectPath*, const char*, const char*, CMPIStatus* rc)
{
    return noQualifier(rc);
}
CMPIData getMethodQualifier(const CMPIObjectPath*, const char*, const char*, CMPIStatus* rc)
{
    return noQualifier(rc);
}
CMPIData getParameterQualifier(const CMPIObjectPath*, const char*, const char*, const char*,
                               CMPIStatus* rc)
{
    return noQualifier(rc);
}

CMPIString* toString(const CMPIObjectPath* op, CMPIStatus* rc)
{
    ObjectPathObject* o = self(op);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return newString(o->broker, targetArena(o->broker), pathToText(op));
}

CMPIObjectPathFT pathFT = {
    CMPICurrentVersion, release, clone, setNameSpace, getNameSpace, setHostname, getHostname,
    setClassName, getClassName, addKey, getKey, getKeyAt, getKeyCount, setNameSpaceFromObjectPath,
    setHostAndNameSpaceFromObjectPath, getClassQualifier, getPropertyQualifier, getMethodQualifier,
    getParameterQualifier, toString,
};

} // namespace

const void* ObjectPathObject::functionTable() { return &pathFT; }

ObjectPathObject::ObjectPathObject(std::pmr::memory_resource* memory) : memory(memory) {}

ObjectPathObject::~ObjectPathObject()
{
    if (!given)
        return;
    given->~Bodies();
    memory->deallocate(given, sizeof(Bodies), alignof(Bodies));
}

std::shared_ptr<PathBody> ObjectPathObject::newBody() const
{
    return std::allocate_shared<PathBody>(std::pmr::polymorphic_allocator<PathBody>(memory), memory);
}

namespace {

// Everything `from` names, its key values copied into `to`'s parts; the
// value of the key `skipped` names is left null. In a request's memory the
// values are shared instead: nothing there goes before the request ends.
void copyBody(Broker* broker, const PathBody& from, PathBody& to, const char* skipped = nullptr)
{
    to.nameSpace = from.nameSpace;
    to.host = from.host;
    to.className = from.className;
    to.keys.reserve(from.keys.size());
    const CMPIData* left = skipped ? findNamed(from.keys, skipped) : nullptr;
    const bool share = to.parts.unlistedParts() && from.parts.memory() == to.parts.memory();
    for (const auto& key : from.keys)
        to.keys.emplace_back(key.first, &key.second == left ? nullData(key.second.type)
                                        : share             ? key.second
                                                            : copyData(broker, to.parts, key.second));
}

} // namespace

PathBody& ObjectPathObject::own(const char* replacing)
{
    if (shared.use_count() > 1) {
        auto own = newBody();
        copyBody(broker, *shared, *own, replacing);
        if (!given)
            given = ::new (memory->allocate(sizeof(Bodies), alignof(Bodies))) Bodies(memory);
        given->push_back(std::move(shared));
        shared = std::move(own);
    }
    return *shared;
}

namespace {

ObjectPathObject* blank(Broker* broker, Arena& arena)
{
    ObjectPathObject* object = arena.make<ObjectPathObject>(arena.memory());
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = object;
    object->cell.cmpi.ft = &pathFT;
    return object;
}

} // namespace

ObjectPathObject* ObjectPathObject::create(Broker* broker, Arena& arena, std::string_view ns,
                                           std::string_view className)
{
    ObjectPathObject* object = blank(broker, arena);
    object->shared = object->newBody();
    object->shared->nameSpace = ns;
    object->shared->className = className;
    return object;
}

ObjectPathObject* ObjectPathObject::copy(Broker* broker, Arena& arena, const CMPIObjectPath* source)
{
    ObjectPathObject* s = self(source);
    ObjectPathObject* object = blank(broker, arena);
    // Shared only within one memory: it outlives every path drawn from it.
    if (s && s->memory == object->memory) {
        object->shared = s->shared;
        return object;
    }
    object->shared = object->newBody();
    if (!s)
        return object;
    copyBody(broker, s->body(), *object->shared);
    return object;
}

} // namespace cimhost
