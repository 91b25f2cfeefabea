#include "StringObject.h"

#include <cstring>

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
    return const_cast<char*>(self->text.data());
}

CMPIStringFT stringFT = {CMPICurrentVersion, release, clone, getCharPtr};

} // namespace

const void* StringObject::functionTable() { return &stringFT; }

StringObject* StringObject::create(Broker* broker, Arena& arena, std::string_view text)
{
    StringObject* object = arena.makeWithTail<StringObject>(text.size() + 1);
    char* tail = reinterpret_cast<char*>(object + 1);
    if (!text.empty())
        std::memcpy(tail, text.data(), text.size());
    tail[text.size()] = '\0';
    object->text = std::string_view(tail, text.size());
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = tail;
    object->cell.cmpi.ft = &stringFT;
    return object;
}

CMPIString* newString(Broker* broker, Arena& arena, std::string_view text)
{
    return &StringObject::create(broker, arena, text)->cell.cmpi;
}

} // namespace cimhost
