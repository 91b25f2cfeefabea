#include "StringObject.h"

#include <cstddef>
#include <cstring>
#include <cstdint>
#include <new>
#include <utility>

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

// Where a text is looked for among the recent ones, from its length and its
// first and last eight bytes, in a few instructions: texts that differ only
// in between meet, which costs only a string made again.
size_t quickHash(std::string_view text)
{
    uint64_t head = 0;
    uint64_t tail = 0;
    const size_t n = text.size();
    if (n >= 8) {
        std::memcpy(&head, text.data(), 8);
        std::memcpy(&tail, text.data() + n - 8, 8);
    } else if (n > 0) {
        std::memcpy(&head, text.data(), n);
    }
    // Every byte reaches the low bits, which pick the set.
    uint64_t mixed = (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ n;
    mixed ^= mixed >> 32;
    mixed *= 0xD6E8FEB86659FD93ull;
    return static_cast<size_t>(mixed ^ (mixed >> 32));
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

CMPIString* keyString(Broker* broker, Arena& arena, std::string_view text)
{
    // Two are kept per set: a value met again moves to the first place and
    // stays there while values met once (each element's name) come and go
    // in the second.
    const size_t hash = quickHash(text);
    Arena::Recent* recent = arena.recent(hash);
    if (!recent)
        return newString(broker, arena, text);
    for (int way = 0; way < 2; ++way) {
        // A string made long ago may have left the caches: it is read only
        // when it is most likely the one.
        const Arena::Recent entry = recent[way];
        if (!entry.item || entry.hash != hash || entry.size != text.size())
            continue;
        const PartString* seen = static_cast<const PartString*>(entry.item);
        if (seen->broker != broker || (!text.empty() && std::memcmp(seen->cmpi.hdl, text.data(), text.size()) != 0))
            continue;
        if (way == 1)
            std::swap(recent[0], recent[1]);
        return const_cast<CMPIString*>(&seen->cmpi);
    }
    CMPIString* made = newString(broker, arena, text);
    recent[1] = Arena::Recent{partOf(made), text.size(), hash};
    return made;
}

} // namespace cimhost
