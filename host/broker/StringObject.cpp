#include "StringObject.h"

#include <cstddef>
#include <cstring>
#include <new>

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
    return newString(self->broker, self->broker->ownArena(), self->text());
}

char* getCharPtr(const CMPIString* s, CMPIStatus* rc)
{
    StringObject* self = ownerOf<StringObject>(s);
    if (!self) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return static_cast<char*>(self->cell.cmpi.hdl);
}

CMPIStringFT stringFT = {CMPICurrentVersion, release, clone, getCharPtr};

// The text follows the part right after its struct.
char* tailOf(void* raw, size_t head) { return static_cast<char*>(raw) + head; }

const PartString* partOf(const CMPIString* s)
{
    if (!s || static_cast<const void*>(s->ft) != PartString::functionTable())
        return nullptr;
    return reinterpret_cast<const PartString*>(reinterpret_cast<const char*>(s) - offsetof(PartString, cmpi));
}

CMPIStatus releasePart(CMPIString* s)
{
    return partOf(s) ? okStatus() : makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
}

CMPIString* clonePart(const CMPIString* s, CMPIStatus* rc)
{
    const PartString* part = partOf(s);
    if (!part) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return newString(part->broker, part->broker->ownArena(), static_cast<const char*>(s->hdl));
}

char* partChars(const CMPIString* s, CMPIStatus* rc)
{
    if (!partOf(s)) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return static_cast<char*>(s->hdl);
}

CMPIStringFT partFT = {CMPICurrentVersion, releasePart, clonePart, partChars};

} // namespace

const void* PartString::functionTable() { return &partFT; }

const void* StringObject::functionTable() { return &stringFT; }

StringObject* StringObject::create(Broker* broker, Arena& arena, std::string_view text)
{
    StringObject* object = arena.makeWithTail<StringObject>(text.size() + 1);
    char* tail = reinterpret_cast<char*>(object + 1);
    if (!text.empty())
        std::memcpy(tail, text.data(), text.size());
    tail[text.size()] = '\0';
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = tail;
    object->cell.cmpi.ft = &stringFT;
    return object;
}

CMPIString* newString(Broker* broker, Arena& arena, std::string_view text)
{
    if (!arena.unlistedParts())
        return &StringObject::create(broker, arena, text)->cell.cmpi;
    void* raw = arena.memory()->allocate(sizeof(PartString) + text.size() + 1, alignof(PartString));
    PartString* part = ::new (raw) PartString{broker, {nullptr, &partFT}};
    char* tail = tailOf(raw, sizeof(PartString));
    if (!text.empty())
        std::memcpy(tail, text.data(), text.size());
    tail[text.size()] = '\0';
    part->cmpi.hdl = tail;
    return &part->cmpi;
}

} // namespace cimhost
