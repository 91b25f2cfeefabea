#ifndef CIMHOST_ARENA_H
#define CIMHOST_ARENA_H

#include <cmpidt.h>
#include <cmpift.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <memory_resource>
#include <mutex>
#include <new>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace cimhost {

// A lock for a few instructions' work, taken several times per returned
// element: threads of one request rarely meet here, and an uncontended
// mutex costs several times as much.
class SpinLock {
public:
    void lock() noexcept
    {
        while (flag.test_and_set(std::memory_order_acquire))
            std::this_thread::yield();
    }
    void unlock() noexcept { flag.clear(std::memory_order_release); }

private:
    std::atomic_flag flag = ATOMIC_FLAG_INIT;
};

// Base of every object an arena can own.
class Releasable {
public:
    virtual ~Releasable() = default;
};

// A type whose objects hold nothing but memory of their arena, directly or
// through objects of such types, says so with
//     static constexpr bool memoryOnly = true;
// When a request's arena ends, its memory goes at once and such objects
// are not destroyed one by one.
template <class T, class = void> struct MemoryOnly : std::false_type {};
template <class T> struct MemoryOnly<T, std::void_t<decltype(T::memoryOnly)>> : std::bool_constant<T::memoryOnly> {};

// Owns every object created into it and frees them when it ends. Safe to
// adopt into from several threads.
//
// A scope arena (Arena::scope()) hands out memory from one monotonic
// buffer: its objects, and whatever they hold through memory(), are given
// back at once when the arena ends, instead of one by one. Releasing an
// object early still destroys it; its bytes return with the scope.
class Arena {
public:
    // Objects are freed one by one; for long-lived owners.
    Arena();
    // The parts of one object: they and their contents come from `memory`,
    // which must outlive the arena (the memory of the object's arena). Used
    // as the object is, by one thread at a time, so it takes no lock: an
    // object of a large request holds a dozen parts, and each locked
    // instruction waits for the request's writes before it.
    explicit Arena(std::pmr::memory_resource* memory);
    // An arena with a monotonic buffer of its own, for one request.
    static std::unique_ptr<Arena> scope();
    ~Arena();
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    // Takes an object made with new.
    void adopt(Releasable* object);
    // Builds an object in this arena's memory and owns it.
    template <class T, class... Args> T* make(Args&&... args)
    {
        void* raw = memory()->allocate(sizeof(T), alignof(T));
        T* object;
        try {
            object = ::new (raw) T(std::forward<Args>(args)...);
        } catch (...) {
            memory()->deallocate(raw, sizeof(T), alignof(T));
            throw;
        }
        hold(Entry{object, raw, sizeof(T), alignof(T), MemoryOnly<T>::value});
        return object;
    }
    // Like make, with `extra` bytes right after the object for it to use.
    template <class T, class... Args> T* makeWithTail(size_t extra, Args&&... args)
    {
        const size_t bytes = sizeof(T) + extra;
        void* raw = memory()->allocate(bytes, alignof(T));
        T* object;
        try {
            object = ::new (raw) T(std::forward<Args>(args)...);
        } catch (...) {
            memory()->deallocate(raw, bytes, alignof(T));
            throw;
        }
        hold(Entry{object, raw, bytes, alignof(T), MemoryOnly<T>::value});
        return object;
    }
    // Frees one object now; false when it does not belong here, and for an
    // unlisted part, which stays until its request ends.
    bool releaseOne(Releasable* object);
    size_t size() const;
    // True for an arena of Arena::scope(): all it holds goes when it ends.
    bool scoped() const { return own != nullptr; }
    // Where objects of this arena keep what they hold.
    std::pmr::memory_resource* memory() const { return resource; }
    // True for the parts of an object in a request's memory: what holds
    // memory alone may go there without an entry.
    bool unlistedParts() const { return unlisted; }

    // For key strings of a request's memory: the set of two recently made
    // ones that `hash` picks, kept by the request for the thread that opened
    // it; null for other memory and other threads. Gone with the request.
    struct Recent {
        const void* item = nullptr;
        size_t size = 0;
        size_t hash = 0;  // tells most other texts apart without reading the item
    };
    Recent* recent(size_t hash) const;

    // Arena of the request running on this thread, or null.
    static Arena* current();
    static Arena* exchangeCurrent(Arena* arena);

private:
    struct Entry {
        Releasable* object;
        void* raw;  // null for adopted objects, deleted as they came
        size_t bytes;
        unsigned align;
        bool memoryOnly;
    };
    class Buffer;
    // Entries live in chunks that are never moved: a request holds some
    // hundred thousand objects, and a growing array copied them all over
    // again at every doubling. Chunks double in size up to a bound, so an
    // object's few parts cost one small chunk; the entries follow the
    // header in the same piece.
    struct Chunk {
        Chunk* older;
        Chunk* newer;
        unsigned used;
        unsigned capacity;
        Entry* entries() { return reinterpret_cast<Entry*>(this + 1); }
    };

    // Takes the lock below unless `shared` is false.
    Arena(std::pmr::memory_resource* memory, bool shared);
    static bool requestMemory(const std::pmr::memory_resource* memory);
    void hold(const Entry& entry);
    void dispose(const Entry& entry);
    template <class F> void eachFromNewest(F&& f) const;

    std::unique_ptr<Buffer> own;  // declared first: outlives the objects
    std::pmr::memory_resource* resource;
    mutable SpinLock mutex;
    const bool shared = true;
    // The parts of an object in a request's memory: objects of memory alone
    // are not listed at all. Nothing would be done with their entries but
    // skipping them when the request ends, and an element's parts lists
    // were a tenth of what a large request wrote.
    const bool unlisted = false;
    // Held while the list changes, unless the arena holds one object's parts.
    class Guard {
    public:
        explicit Guard(const Arena& arena) : mutex(arena.shared ? &arena.mutex : nullptr)
        {
            if (mutex)
                mutex->lock();
        }
        ~Guard()
        {
            if (mutex)
                mutex->unlock();
        }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        SpinLock* mutex;
    };

    // In creation order: freeing walks memory the way it was handed out.
    // Released slots hold null; `filling` is the chunk being filled, those
    // newer than it are empty.
    Chunk* newest = nullptr;
    Chunk* filling = nullptr;
    size_t live = 0;
};

// Every broker object sits in a Cell: the owner pointer right before the
// CMPI struct lets a function-table call find the object whatever the
// struct's handle holds (a string's handle must be its text).
template <class C> struct Cell {
    Releasable* owner;
    C cmpi;
};

template <class Obj, class C> Obj* ownerOf(const C* cmpi)
{
    // A foreign struct, or one of another type, has another table.
    if (!cmpi || static_cast<const void*>(cmpi->ft) != Obj::functionTable())
        return nullptr;
    const char* raw = reinterpret_cast<const char*>(cmpi) - offsetof(Cell<C>, cmpi);
    return static_cast<Obj*>(reinterpret_cast<const Cell<C>*>(raw)->owner);
}

} // namespace cimhost

#endif
