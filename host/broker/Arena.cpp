#include "Arena.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <map>
#include <mutex>
#include <new>
#include <thread>
#include <typeinfo>

namespace cimhost {

namespace {

thread_local Arena* currentArena = nullptr;

// Where request buffers get their blocks. Blocks of ended requests are
// kept, up to a bound, for the next requests: fresh pages cost a fault
// each, which took a large request a quarter of its time (a request over
// 4096 endpoints draws about 100 MiB). A request's
// buffer asks for the same sizes in the same order each time, so a block
// is reused only at its exact size.
class Blocks : public std::pmr::memory_resource {
public:
    ~Blocks() override
    {
        for (const auto& block : kept)
            std::pmr::new_delete_resource()->deallocate(block.second, block.first, alignment);
    }

private:
    static constexpr size_t alignment = alignof(std::max_align_t);
    static constexpr size_t bound = 128u << 20;

    void* do_allocate(size_t bytes, size_t align) override
    {
        if (align <= alignment) {
            std::lock_guard<std::mutex> lock(mutex);
            auto it = kept.find(bytes);
            if (it != kept.end()) {
                void* p = it->second;
                kept.erase(it);
                keptBytes -= bytes;
                return p;
            }
        }
        return std::pmr::new_delete_resource()->allocate(bytes, std::max(align, alignment));
    }
    void do_deallocate(void* p, size_t bytes, size_t align) override
    {
        if (align <= alignment) {
            std::lock_guard<std::mutex> lock(mutex);
            if (keptBytes + bytes <= bound) {
                kept.emplace(bytes, p);
                keptBytes += bytes;
                return;
            }
        }
        std::pmr::new_delete_resource()->deallocate(p, bytes, std::max(align, alignment));
    }
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override
    {
        return this == &other;
    }

    std::mutex mutex;
    std::multimap<size_t, void*> kept;
    size_t keptBytes = 0;
};

std::pmr::memory_resource* blocks()
{
    static Blocks instance;
    return &instance;
}

} // namespace

// A monotonic buffer that several threads may draw from: providers may
// return results of one request from threads of their own. Small pieces
// freed during the request (a vector that grew, a released object) go to
// a free list of their size for reuse, so a request holds about what it
// keeps, not all it ever asked for; everything goes back to the system
// when the buffer ends. A request makes tens of pieces per returned
// element, nearly all on the thread that opened it: that thread draws from
// a pool of its own without a lock, since a locked instruction waits for
// every write before it, and a large request's writes go to memory the
// caches no longer hold. Other threads share a second pool under a lock.
class Arena::Buffer : public std::pmr::memory_resource {
public:
    // From now on nothing is handed back piece by piece: the whole buffer
    // is about to go.
    void end() { ending = true; }
    Recent* recent(size_t hash) { return opener() ? seen[hash % recentSets] : nullptr; }

private:
    static constexpr size_t grain = alignof(std::max_align_t);
    static constexpr size_t classes = 256;  // pieces up to 4 KiB are listed
    struct Free {
        Free* next;
    };
    struct Pool {
        void* take(size_t bytes, size_t align)
        {
            const size_t c = classOf(bytes, align);
            if (c == classes)
                return buffer.allocate(bytes, align);
            if (Free* piece = free[c]) {
                free[c] = piece->next;
                return piece;
            }
            return buffer.allocate((c + 1) * grain, grain);
        }
        // Large pieces stay until the buffer ends, as monotonic memory does.
        void give(void* p, size_t bytes, size_t align)
        {
            const size_t c = classOf(bytes, align);
            if (c != classes)
                free[c] = ::new (p) Free{free[c]};
        }
        std::pmr::monotonic_buffer_resource buffer{16384, blocks()};
        Free* free[classes] = {};
    };

    static size_t classOf(size_t bytes, size_t align)
    {
        if (align > grain || bytes > classes * grain)
            return classes;
        return bytes == 0 ? 0 : (bytes - 1) / grain;
    }

    bool opener() const { return std::this_thread::get_id() == openedBy; }

    void* do_allocate(size_t bytes, size_t align) override
    {
        if (opener())
            return opening.take(bytes, align);
        std::lock_guard<SpinLock> lock(mutex);
        return others.take(bytes, align);
    }
    void do_deallocate(void* p, size_t bytes, size_t align) override
    {
        if (ending || !p)
            return;
        // A piece goes to the pool of the thread that frees it.
        if (opener()) {
            opening.give(p, bytes, align);
            return;
        }
        std::lock_guard<SpinLock> lock(mutex);
        others.give(p, bytes, align);
    }
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override
    {
        return this == &other;
    }

    const std::thread::id openedBy = std::this_thread::get_id();
    std::atomic<bool> ending{false};
    Pool opening;  // the opening thread's
    static constexpr size_t recentSets = 32;
    Recent seen[recentSets][2];  // the opening thread's
    SpinLock mutex;
    Pool others;
};

Arena::Arena() : resource(std::pmr::new_delete_resource()) {}

Arena::Arena(std::pmr::memory_resource* memory) : Arena(memory, false) {}

Arena::Arena(std::pmr::memory_resource* memory, bool shared)
    : resource(memory ? memory : std::pmr::new_delete_resource()), shared(shared),
      unlisted(!shared && requestMemory(memory))
{
}

bool Arena::requestMemory(const std::pmr::memory_resource* memory)
{
    return memory && typeid(*memory) == typeid(Buffer);
}

Arena::Recent* Arena::recent(size_t hash) const
{
    return unlisted ? static_cast<Buffer*>(resource)->recent(hash) : nullptr;
}

std::unique_ptr<Arena> Arena::scope()
{
    std::unique_ptr<Buffer> buffer(new Buffer);
    std::unique_ptr<Arena> arena(new Arena(buffer.get(), true));
    arena->own = std::move(buffer);
    return arena;
}

template <class F> void Arena::eachFromNewest(F&& f) const
{
    for (Chunk* chunk = newest; chunk; chunk = chunk->older)
        for (unsigned i = chunk->used; i-- > 0;)
            f(chunk->entries()[i]);
}

Arena::~Arena()
{
    if (own)
        own->end();
    // With the buffer about to go, objects of memory alone need nothing
    // more: touching each once more cost a tenth of a large request.
    eachFromNewest([this](const Entry& entry) {
        if (entry.object && !(own && entry.memoryOnly))
            dispose(entry);
    });
    // Only now: a destructor may still look through the list.
    for (Chunk* chunk = newest; chunk;) {
        Chunk* older = chunk->older;
        resource->deallocate(chunk, sizeof(Chunk) + chunk->capacity * sizeof(Entry), alignof(Chunk));
        chunk = older;
    }
}

void Arena::dispose(const Entry& entry)
{
    if (!entry.raw) {
        delete entry.object;
        return;
    }
    entry.object->~Releasable();
    resource->deallocate(entry.raw, entry.bytes, entry.align);
}

void Arena::adopt(Releasable* object) { hold(Entry{object, nullptr, 0, 0, false}); }

void Arena::hold(const Entry& entry)
{
    if (unlisted && entry.memoryOnly)
        return;
    Guard lock(*this);
    if (!filling || filling->used == filling->capacity) {
        if (filling && filling->newer) {
            filling = filling->newer;
        } else {
            // Most arenas are an object's parts: a few values each.
            const unsigned capacity = filling ? std::min(filling->capacity * 2, 1024u) : 4;
            void* raw = resource->allocate(sizeof(Chunk) + capacity * sizeof(Entry), alignof(Chunk));
            Chunk* chunk = ::new (raw) Chunk{filling, nullptr, 0, capacity};
            if (filling)
                filling->newer = chunk;
            newest = filling = chunk;
        }
    }
    filling->entries()[filling->used++] = entry;
    ++live;
}

bool Arena::releaseOne(Releasable* object)
{
    if (!object)
        return false;
    Entry found{};
    {
        Guard lock(*this);
        // Objects released early are mostly the latest ones.
        Entry* at = nullptr;
        for (Chunk* chunk = filling; chunk && !at; chunk = chunk->older) {
            for (unsigned i = chunk->used; i-- > 0;) {
                if (chunk->entries()[i].object == object) {
                    at = &chunk->entries()[i];
                    break;
                }
            }
        }
        if (!at)
            return false;
        found = *at;
        at->object = nullptr;
        --live;
        // Released slots at the end are filled again.
        for (;;) {
            while (filling->used > 0 && !filling->entries()[filling->used - 1].object)
                --filling->used;
            if (filling->used > 0 || !filling->older)
                break;
            filling = filling->older;
        }
    }
    dispose(found);
    return true;
}

size_t Arena::size() const
{
    Guard lock(*this);
    return live;
}

Arena* Arena::current() { return currentArena; }

Arena* Arena::exchangeCurrent(Arena* arena)
{
    Arena* previous = currentArena;
    currentArena = arena;
    return previous;
}

} // namespace cimhost
