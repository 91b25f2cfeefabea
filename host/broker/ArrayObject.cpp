#include "ArrayObject.h"

#include "Broker.h"

namespace cimhost {

namespace {

CMPIStatus release(CMPIArray* a)
{
    ArrayObject* self = ownerOf<ArrayObject>(a);
    if (!self)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    self->arena->releaseOne(self);
    return okStatus();
}

CMPIArray* clone(const CMPIArray* a, CMPIStatus* rc)
{
    ArrayObject* self = ownerOf<ArrayObject>(a);
    if (!self) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    CMPIData d;
    d.type = self->elementType | CMPI_ARRAY;
    d.state = CMPI_goodValue;
    d.value.array = const_cast<CMPIArray*>(a);
    setStatus(rc, CMPI_RC_OK);
    return copyData(self->broker, self->broker->ownArena(), d).value.array;
}

CMPICount getSize(const CMPIArray* a, CMPIStatus* rc)
{
    ArrayObject* self = ownerOf<ArrayObject>(a);
    if (!self) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return 0;
    }
    setStatus(rc, CMPI_RC_OK);
    return static_cast<CMPICount>(self->elements.size());
}

CMPIType getSimpleType(const CMPIArray* a, CMPIStatus* rc)
{
    ArrayObject* self = ownerOf<ArrayObject>(a);
    if (!self) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return CMPI_null;
    }
    setStatus(rc, CMPI_RC_OK);
    return self->elementType;
}

CMPIData getElementAt(const CMPIArray* a, CMPICount index, CMPIStatus* rc)
{
    ArrayObject* self = ownerOf<ArrayObject>(a);
    if (!self || index >= self->elements.size()) {
        setStatus(rc, self ? CMPI_RC_ERR_NO_SUCH_PROPERTY : CMPI_RC_ERR_INVALID_HANDLE);
        CMPIData d = nullData(self ? self->elementType : CMPIType(CMPI_null));
        d.state = CMPI_notFound | CMPI_nullValue;
        return d;
    }
    setStatus(rc, CMPI_RC_OK);
    return self->elements[index];
}

CMPIStatus setElementAt(CMPIArray* a, CMPICount index, const CMPIValue* value, CMPIType type)
{
    ArrayObject* self = ownerOf<ArrayObject>(a);
    if (!self)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    if (index >= self->elements.size())
        return makeStatus(CMPI_RC_ERR_NO_SUCH_PROPERTY);
    CMPIType effective = (type == CMPI_chars || type == CMPI_charsptr) ? CMPIType(CMPI_string) : type;
    if (effective != self->elementType)
        return makeStatus(CMPI_RC_ERR_TYPE_MISMATCH);
    self->elements[index] = makeData(self->broker, self->parts, value, type);
    return okStatus();
}

CMPIArrayFT arrayFT = {CMPICurrentVersion, release, clone, getSize, getSimpleType, getElementAt,
                       setElementAt};

} // namespace

const void* ArrayObject::functionTable() { return &arrayFT; }

ArrayObject* ArrayObject::create(Broker* broker, Arena& arena, CMPIType elementType, CMPICount size)
{
    ArrayObject* object = arena.make<ArrayObject>(arena.memory());
    CMPIType simple = elementType & ~CMPI_ARRAY;
    if (simple == CMPI_chars || simple == CMPI_charsptr)
        simple = CMPI_string;
    object->elementType = simple;
    object->elements.assign(size, nullData(simple));
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = object;
    object->cell.cmpi.ft = &arrayFT;
    return object;
}

} // namespace cimhost
