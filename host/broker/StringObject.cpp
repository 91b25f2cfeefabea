#include "StringObject.h"

#include "Broker.h"

namespace cimhost {

namespace {

CMPIStatus release(CMPIString* s)
{
    StringObject* self = ownerOf<StringObject>(s);
    if (!self)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    self->arena->releaseOne(self);
    return okStatus();
}

CMPIString* clone(const CMPIString* s, CMPIStatus* rc)
{
    StringObject* self = ownerOf<StringObject>(s);
    if (!self) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return newString(self->broker, self->broker->ownArena(), self->text);
}

char* getCharPtr(const CMPIString* s, CMPIStatus* rc)
{
    StringObject* self = ownerOf<StringObject>(s);
    if (!self) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return const_cast<char*>(self->text.c_str());
}

CMPIStringFT stringFT = {CMPICurrentVersion, release, clone, getCharPtr};

} // namespace

const void* StringObject::functionTable() { return &stringFT; }

StringObject* StringObject::create(Broker* broker, Arena& arena, std::string_view text)
{
    StringObject* object = arena.make<StringObject>(arena.memory());
    object->text.assign(text.data(), text.size());
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = const_cast<char*>(object->text.c_str());
    object->cell.cmpi.ft = &stringFT;
    return object;
}

CMPIString* newString(Broker* broker, Arena& arena, std::string_view text)
{
    return &StringObject::create(broker, arena, text)->cell.cmpi;
}

} // namespace cimhost
