#include "Name.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <unordered_set>

namespace cimhost {

namespace {

// Up to 64 Ki names and 4 MiB of text: every schema this host serves
// names a few thousand at most.
constexpr std::size_t keptNames = 1u << 16;
constexpr std::size_t keptBytes = 4u << 20;

struct Kept {
    std::mutex mutex;
    std::unordered_set<std::string_view> texts;
    std::pmr::monotonic_buffer_resource memory{64 * 1024, std::pmr::new_delete_resource()};
    std::size_t bytes = 0;
};

// Never destroyed: objects that static destructors end may still name.
Kept& kept()
{
    static Kept* const instance = new Kept;
    return *instance;
}

// Each thread looks up the names it used last without the lock: a large
// request names a key four times per path it makes.
constexpr std::size_t recentSlots = 256;
thread_local const char* recent[recentSlots];
// Providers mostly name with the same literals: by where a C string is,
// its text is only compared, not hashed.
struct Seen {
    const char* at;
    const char* kept;
};
thread_local Seen seenAt[recentSlots];

} // namespace

const char* Name::keep(std::string_view text)
{
    // An empty view may have no text at all to compare or copy.
    if (text.empty())
        return blank();
    // A path's namespace and class name come as views of the same few
    // texts again and again: compared where they are, not hashed.
    Seen& seen = seenAt[(reinterpret_cast<std::uintptr_t>(text.data()) >> 3) % recentSlots];
    if (seen.at == text.data() && header(seen.kept)->length == text.size() &&
        std::memcmp(seen.kept, text.data(), text.size()) == 0)
        return seen.kept;
    const std::size_t hash = std::hash<std::string_view>()(text);
    const char*& slot = recent[hash % recentSlots];
    if (!slot || header(slot)->length != text.size() || std::memcmp(slot, text.data(), text.size()) != 0) {
        Kept& k = kept();
        std::lock_guard<std::mutex> lock(k.mutex);
        auto found = k.texts.find(text);
        if (found != k.texts.end()) {
            slot = found->data();
        } else {
            if (k.texts.size() >= keptNames || k.bytes + text.size() > keptBytes)
                return nullptr;
            slot = write(k.memory, text, true);
            k.bytes += text.size();
            k.texts.insert(std::string_view(slot, text.size()));
        }
    }
    seen = Seen{text.data(), slot};
    return slot;
}

const char* Name::keep(const char* given)
{
    Seen& seen = seenAt[(reinterpret_cast<std::uintptr_t>(given) >> 3) % recentSlots];
    // Up to the kept text's end: a shorter given text differs at its own.
    if (seen.at == given && std::strncmp(seen.kept, given, header(seen.kept)->length + 1) == 0)
        return seen.kept;
    const char* kept = keep(std::string_view(given));
    if (kept)
        seen = Seen{given, kept};
    return kept;
}

const char* Name::place(std::string_view given, std::pmr::memory_resource* memory)
{
    if (const char* shared = keep(given))
        return shared;
    return write(*memory, given, false);
}

const char* Name::write(std::pmr::memory_resource& memory, std::string_view text, bool kept)
{
    void* raw = memory.allocate(sizeof(Header) + text.size() + 1, alignof(Header));
    Header* h = ::new (raw) Header{text.size(), kept};
    char* chars = reinterpret_cast<char*>(h + 1);
    if (!text.empty())
        std::memcpy(chars, text.data(), text.size());
    chars[text.size()] = '\0';
    return chars;
}

const char* Name::blank() noexcept
{
    // Not among the kept texts: a name must be possible once they are full.
    struct Blank {
        Header header;
        char text[1];
    };
    static const Blank none = {{0, true}, {'\0'}};
    return none.text;
}

Name::Name(const allocator_type& alloc) noexcept : text(blank()), memory(alloc.resource()) {}

Name::Name(const char* given, const allocator_type& alloc)
    : text(given ? keep(given) : blank()), memory(alloc.resource())
{
    if (!text)
        text = place(given, memory);
}

Name::Name(std::string_view given, const allocator_type& alloc)
    : text(place(given, alloc.resource())), memory(alloc.resource())
{
}

Name::Name(const Name& other, const allocator_type& alloc)
    : text(other.shared() ? other.text : place(other, alloc.resource())), memory(alloc.resource())
{
}

Name::Name(Name&& other) noexcept : text(other.text), memory(other.memory) { other.text = blank(); }

Name::Name(Name&& other, const allocator_type& alloc)
    : text(other.shared() || *other.memory == *alloc.resource() ? other.text : place(other, alloc.resource())),
      memory(alloc.resource())
{
    if (text == other.text)
        other.text = blank();
}

Name::~Name() { assign(blank()); }

void Name::assign(const char* placed) noexcept
{
    if (!shared()) {
        const Header* h = header(text);
        memory->deallocate(const_cast<Header*>(h), sizeof(Header) + h->length + 1, alignof(Header));
    }
    text = placed;
}

Name& Name::operator=(const Name& other)
{
    // Placed first: a failed allocation leaves this name as it was.
    if (this != &other)
        assign(other.shared() ? other.text : place(other, memory));
    return *this;
}

Name& Name::operator=(std::string_view given)
{
    assign(place(given, memory));
    return *this;
}

Name& Name::operator=(Name&& other)
{
    if (this == &other)
        return *this;
    if (other.shared() || *other.memory == *memory) {
        assign(other.text);
        other.text = blank();
    } else {
        assign(place(other, memory));
    }
    return *this;
}

} // namespace cimhost
