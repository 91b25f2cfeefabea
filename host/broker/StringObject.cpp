#include "StringObject.h"

#include <cstddef>
#include <cstring>
#include <new>

#include "Broker.h"

namespace cimhost {

namespace {

const PartString* partOf(const CMPIString* s)
{
    if (!s || static_cast<const void*>(s->ft) != PartString::functionTable())
        return nullptr;
    return reinterpret_cast<const PartString*>(reinterpret_cast<const char*>(s) - offsetof(PartString, cmpi));
}

// The broker of a string of either kind; null for any other struct.
Broker* stringBroker(const CMPIString* s)
{
    if (const StringObject* self = ownerOf<StringObject>(s))
        return self->broker;
    if (const PartString* part = partOf(s))
        return part->broker;
    return nullptr;
}

CMPIStatus release(CMPIString* s)
{
    StringObject* self = ownerOf<StringObject>(s);
    if (!self)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    self->arena->releaseOne(self);
    return okStatus();
}

// A part goes with its request.
CMPIStatus releasePart(CMPIString* s)
{
    return partOf(s) ? okStatus() : makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
}

CMPIString* clone(const CMPIString* s, CMPIStatus* rc)
{
    Broker* broker = stringBroker(s);
    if (!broker) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return newString(broker, broker->ownArena(), static_cast<const char*>(s->hdl));
}

char* getCharPtr(const CMPIString* s, CMPIStatus* rc)
{
    if (!stringBroker(s)) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    setStatus(rc, CMPI_RC_OK);
    return static_cast<char*>(s->hdl);
}

CMPIStringFT stringFT = {CMPICurrentVersion, release, clone, getCharPtr};
CMPIStringFT partFT = {CMPICurrentVersion, releasePart, clone, getCharPtr};

// Writes the text and its closing zero to `tail`, which has room for both.
char* placeText(void* tail, std::string_view text)
{
    char* chars = static_cast<char*>(tail);
    if (!text.empty())
        std::memcpy(chars, text.data(), text.size());
    chars[text.size()] = '\0';
    return chars;
}

} // namespace

const void* PartString::functionTable() { return &partFT; }

const void* StringObject::functionTable() { return &stringFT; }

StringObject* StringObject::create(Broker* broker, Arena& arena, std::string_view text)
{
    StringObject* object = arena.makeWithTail<StringObject>(text.size() + 1);
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = placeText(object + 1, text);
    object->cell.cmpi.ft = &stringFT;
    return object;
}

CMPIString* newString(Broker* broker, Arena& arena, std::string_view text)
{
    if (!arena.unlistedParts())
        return &StringObject::create(broker, arena, text)->cell.cmpi;
    void* raw = arena.memory()->allocate(sizeof(PartString) + text.size() + 1, alignof(PartString));
    PartString* part = ::new (raw) PartString{broker, {nullptr, &partFT}};
    part->cmpi.hdl = placeText(part + 1, text);
    return &part->cmpi;
}

} // namespace cimhost
