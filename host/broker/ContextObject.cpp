#include "ContextObject.h"

#include "Broker.h"
#include "StringObject.h"

namespace cimhost {

namespace {

ContextObject* self(const CMPIContext* c) { return ownerOf<ContextObject>(c); }

CMPIStatus release(CMPIContext* c)
{
    ContextObject* o = self(c);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    o->arena->releaseOne(o);
    return okStatus();
}

CMPIContext* clone(const CMPIContext* c, CMPIStatus* rc)
{
    ContextObject* o = self(c);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    ContextObject* copy = ContextObject::create(o->broker, o->broker->ownArena());
    std::lock_guard<std::mutex> lock(o->mutex);
    for (const auto& e : o->entries)
        copy->entries.emplace_back(e.first, copyData(o->broker, copy->parts, e.second));
    setStatus(rc, CMPI_RC_OK);
    return &copy->cell.cmpi;
}

CMPIData getEntry(const CMPIContext* c, const char* name, CMPIStatus* rc)
{
    ContextObject* o = self(c);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return notFoundData();
    }
    std::lock_guard<std::mutex> lock(o->mutex);
    if (const CMPIData* d = findNamed(o->entries, name)) {
        setStatus(rc, CMPI_RC_OK);
        return *d;
    }
    setStatus(rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
    return notFoundData();
}

CMPIData getEntryAt(const CMPIContext* c, CMPICount index, CMPIString** name, CMPIStatus* rc)
{
    ContextObject* o = self(c);
    if (name)
        *name = nullptr;
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return notFoundData();
    }
    std::lock_guard<std::mutex> lock(o->mutex);
    if (index >= o->entries.size()) {
        setStatus(rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
        return notFoundData();
    }
    if (name)
        *name = newString(o->broker, targetArena(o->broker), o->entries[index].first);
    setStatus(rc, CMPI_RC_OK);
    return o->entries[index].second;
}

CMPICount getEntryCount(const CMPIContext* c, CMPIStatus* rc)
{
    ContextObject* o = self(c);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return 0;
    }
    std::lock_guard<std::mutex> lock(o->mutex);
    setStatus(rc, CMPI_RC_OK);
    return static_cast<CMPICount>(o->entries.size());
}

CMPIStatus addEntry(const CMPIContext* c, const char* name, const CMPIValue* value, const CMPIType type)
{
    ContextObject* o = self(c);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    if (!name || !*name)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    CMPIData d = makeData(o->broker, o->parts, value, type);
    std::lock_guard<std::mutex> lock(o->mutex);
    setNamed(o->entries, name, d);
    return okStatus();
}

CMPIContextFT contextFT = {CMPICurrentVersion, release, clone, getEntry, getEntryAt, getEntryCount,
                           addEntry};

} // namespace

const void* ContextObject::functionTable() { return &contextFT; }

ContextObject* ContextObject::create(Broker* broker, Arena& arena)
{
    ContextObject* object = arena.make<ContextObject>(arena.memory());
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = object;
    object->cell.cmpi.ft = &contextFT;
    return object;
}

} // namespace cimhost
