#include "InstanceObject.h"

#include <strings.h>

#include <algorithm>
#include <cstdint>

#include "Broker.h"
#include "ObjectPathObject.h"
#include "ResultObject.h"
#include "StringObject.h"

namespace cimhost {

namespace {

InstanceObject* self(const CMPIInstance* inst) { return ownerOf<InstanceObject>(inst); }

// How many properties the last two instances of a class answered on this
// thread had: the next of the class takes the larger room at once instead
// of growing to it and moving its names at each step. Two, as instances of
// one class often come in two shapes in turn (an interface with addresses,
// one without). Classes by their kept name.
struct Shape {
    const char* className;
    std::uint32_t last;
    std::uint32_t before;
};
constexpr std::size_t shapeSlots = 16;
constexpr std::size_t maxShape = 256;
thread_local Shape shapes[shapeSlots];

Shape& shapeOf(const Name& className)
{
    return shapes[(reinterpret_cast<std::uintptr_t>(className.c_str()) >> 4) % shapeSlots];
}

bool passesFilter(const InstanceObject* o, const char* name)
{
    if (!o->hasFilter)
        return true;
    for (const Name& key : o->keyNames)
        if (strcasecmp(key.c_str(), name) == 0)
            return true;
    for (const std::string& key : o->broker->keyNames(std::string(o->className)))
        if (strcasecmp(key.c_str(), name) == 0)
            return true;
    for (const Name& allowed : o->filter)
        if (strcasecmp(allowed.c_str(), name) == 0)
            return true;
    return false;
}

void detach(InstanceObject* o) { detachAnswer(o, &ResultObject::instances); }

CMPIStatus release(CMPIInstance* inst)
{
    InstanceObject* o = self(inst);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    // The answer is the result's now; the arena frees it.
    if (o->answerOf)
        return okStatus();
    o->arena->releaseOne(o);
    return okStatus();
}

CMPIInstance* clone(const CMPIInstance* inst, CMPIStatus* rc)
{
    InstanceObject* o = self(inst);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return &InstanceObject::copy(o->broker, o->broker->ownArena(), inst)->cell.cmpi;
}

CMPIData getProperty(const CMPIInstance* inst, const char* name, CMPIStatus* rc)
{
    InstanceObject* o = self(inst);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return notFoundData();
    }
    if (const CMPIData* d = findNamed(o->properties, name)) {
        setStatus(rc, CMPI_RC_OK);
        return *d;
    }
    setStatus(rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
    return notFoundData();
}

CMPIData getPropertyAt(const CMPIInstance* inst, CMPICount index, CMPIString** name, CMPIStatus* rc)
{
    InstanceObject* o = self(inst);
    if (!o || index >= o->properties.size()) {
        setStatus(rc, o ? CMPI_RC_ERR_NO_SUCH_PROPERTY : CMPI_RC_ERR_INVALID_HANDLE);
        if (name)
            *name = nullptr;
        return notFoundData();
    }
    if (name)
        *name = newString(o->broker, targetArena(o->broker), o->properties[index].first);
    setStatus(rc, CMPI_RC_OK);
    return o->properties[index].second;
}

CMPICount getPropertyCount(const CMPIInstance* inst, CMPIStatus* rc)
{
    InstanceObject* o = self(inst);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return 0;
    }
    setStatus(rc, CMPI_RC_OK);
    return static_cast<CMPICount>(o->properties.size());
}

CMPIStatus setProperty(const CMPIInstance* inst, const char* name, const CMPIValue* value, CMPIType type)
{
    InstanceObject* o = self(inst);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    if (!name || !*name)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    if (!passesFilter(o, name))
        return okStatus();
    detach(o);
    setNamed(o->properties, name, makeData(o->broker, o->parts, value, type));
    return okStatus();
}

CMPIObjectPath* getObjectPath(const CMPIInstance* inst, CMPIStatus* rc)
{
    InstanceObject* o = self(inst);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    Arena& arena = targetArena(o->broker);
    ObjectPathObject* path = ObjectPathObject::create(o->broker, arena, o->nameSpace, o->className);
    PathBody& keys = path->own();
    keys.host = o->host;
    std::pmr::vector<Name> names(o->keyNames, arena.memory());
    for (const std::string& key : o->broker->keyNames(std::string(o->className))) {
        bool known = false;
        for (const Name& n : names)
            known = known || strcasecmp(n.c_str(), key.c_str()) == 0;
        if (!known)
            names.emplace_back(key);
    }
    for (const Name& key : names) {
        if (const CMPIData* d = findNamed(o->properties, key.c_str())) {
            CMPIData copy = copyData(o->broker, keys.parts, *d);
            copy.state |= CMPI_keyValue;
            keys.keys.emplace_back(key, copy);
        }
    }
    setStatus(rc, CMPI_RC_OK);
    return &path->cell.cmpi;
}

CMPIStatus setPropertyFilter(CMPIInstance* inst, const char** properties, const char**)
{
    InstanceObject* o = self(inst);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    detach(o);
    o->hasFilter = properties != nullptr;
    o->filter.clear();
    for (const char** p = properties; p && *p; ++p)
        o->filter.push_back(*p);
    return okStatus();
}

CMPIStatus setObjectPath(CMPIInstance* inst, const CMPIObjectPath* op)
{
    InstanceObject* o = self(inst);
    ObjectPathObject* p = ownerOf<ObjectPathObject>(op);
    if (!o || !p)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    detach(o);
    o->nameSpace = p->body().nameSpace;
    o->host = p->body().host;
    o->className = p->body().className;
    o->keyNames.clear();
    o->keyNames.reserve(p->keys().size());
    // In one request's memory the key values are shared with the path.
    std::shared_ptr<const PathBody> shared = p->shareInto(o->parts.memory());
    if (shared)
        o->held.push_back(shared);
    for (const auto& key : p->keys()) {
        o->keyNames.push_back(key.first);
        setNamed(o->properties, key.first.c_str(), shared ? key.second : copyData(o->broker, o->parts, key.second));
    }
    return okStatus();
}

CMPIStatus setPropertyWithOrigin(const CMPIInstance* inst, const char* name, const CMPIValue* value,
                                 const CMPIType type, const char*)
{
    return setProperty(inst, name, value, type);
}

CMPIInstanceFT instanceFT = {
    CMPICurrentVersion, release, clone, getProperty, getPropertyAt, getPropertyCount, setProperty,
    getObjectPath, setPropertyFilter, setObjectPath, setPropertyWithOrigin,
};

InstanceObject* blank(Broker* broker, Arena& arena)
{
    InstanceObject* object = arena.make<InstanceObject>(arena.memory());
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = object;
    object->cell.cmpi.ft = &instanceFT;
    return object;
}

} // namespace

const void* InstanceObject::functionTable() { return &instanceFT; }

InstanceObject* InstanceObject::create(Broker* broker, Arena& arena, const CMPIObjectPath* path)
{
    InstanceObject* object = blank(broker, arena);
    if (const ObjectPathObject* p = ownerOf<ObjectPathObject>(path)) {
        const Shape& shape = shapeOf(p->body().className);
        if (shape.className == p->body().className.c_str())
            object->properties.reserve(std::max(shape.last, shape.before));
    }
    if (path)
        setObjectPath(&object->cell.cmpi, path);
    return object;
}

void InstanceObject::answered(const InstanceObject* object)
{
    if (!object || !object->className.shared())
        return;
    Shape& shape = shapeOf(object->className);
    const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(object->properties.size(), maxShape));
    if (shape.className == object->className.c_str()) {
        shape.before = shape.last;
    } else {
        shape.className = object->className.c_str();
        shape.before = 0;
    }
    shape.last = count;
}

InstanceObject* InstanceObject::copy(Broker* broker, Arena& arena, const CMPIInstance* source)
{
    InstanceObject* s = self(source);
    InstanceObject* object = blank(broker, arena);
    if (s) {
        object->nameSpace = s->nameSpace;
        object->host = s->host;
        object->className = s->className;
        object->keyNames = s->keyNames;
        object->hasFilter = s->hasFilter;
        object->filter = s->filter;
        object->properties.reserve(s->properties.size());
        for (const auto& p : s->properties)
            object->properties.emplace_back(p.first, copyData(broker, object->parts, p.second));
    }
    return object;
}

} // namespace cimhost
