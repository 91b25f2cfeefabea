#include "EnumerationObject.h"

#include "ArrayObject.h"
#include "Broker.h"

namespace cimhost {

namespace {

EnumerationObject* self(const CMPIEnumeration* e) { return ownerOf<EnumerationObject>(e); }

CMPIStatus release(CMPIEnumeration* e)
{
    EnumerationObject* o = self(e);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    o->arena->releaseOne(o);
    return okStatus();
}

CMPIEnumeration* clone(const CMPIEnumeration* e, CMPIStatus* rc)
{
    EnumerationObject* o = self(e);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    EnumerationObject* copy = EnumerationObject::create(o->broker, o->broker->ownArena(), {});
    for (const CMPIData& d : o->items)
        copy->items.push_back(copyData(o->broker, copy->parts, d));
    copy->position = o->position;
    setStatus(rc, CMPI_RC_OK);
    return &copy->cell.cmpi;
}

CMPIData getNext(const CMPIEnumeration* e, CMPIStatus* rc)
{
    EnumerationObject* o = self(e);
    if (!o || o->position >= o->items.size()) {
        setStatus(rc, o ? CMPI_RC_ERR_NOT_FOUND : CMPI_RC_ERR_INVALID_HANDLE);
        return notFoundData();
    }
    setStatus(rc, CMPI_RC_OK);
    return o->items[o->position++];
}

CMPIBoolean hasNext(const CMPIEnumeration* e, CMPIStatus* rc)
{
    EnumerationObject* o = self(e);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return 0;
    }
    setStatus(rc, CMPI_RC_OK);
    return o->position < o->items.size() ? 1 : 0;
}

CMPIArray* toArray(const CMPIEnumeration* e, CMPIStatus* rc)
{
    EnumerationObject* o = self(e);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    CMPIType type = o->items.empty() ? CMPIType(CMPI_instance) : o->items.front().type;
    ArrayObject* array = ArrayObject::create(o->broker, targetArena(o->broker), type,
                                             static_cast<CMPICount>(o->items.size()));
    for (size_t i = 0; i < o->items.size(); ++i)
        array->elements[i] = o->items[i];
    setStatus(rc, CMPI_RC_OK);
    return &array->cell.cmpi;
}

CMPIEnumerationFT enumerationFT = {CMPICurrentVersion, release, clone, getNext, hasNext, toArray};

} // namespace

const void* EnumerationObject::functionTable() { return &enumerationFT; }

EnumerationObject* EnumerationObject::create(Broker* broker, Arena& arena, std::vector<CMPIData> items)
{
    EnumerationObject* object = arena.make<EnumerationObject>(arena.memory());
    object->items = std::move(items);
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = object;
    object->cell.cmpi.ft = &enumerationFT;
    return object;
}

} // namespace cimhost
