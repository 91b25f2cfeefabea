#ifndef CIMHOST_ARENA_H
#define CIMHOST_ARENA_H

#include <cmpidt.h>
#include <cmpift.h>

#include <cstddef>
#include <mutex>
#include <vector>

namespace cimhost {

// Base of every object an arena can own.
class Releasable {
public:
    virtual ~Releasable() = default;
};

// Owns every object created into it and frees them when it ends. Safe to
// adopt into from several threads.
class Arena {
public:
    Arena() = default;
    ~Arena();
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    void adopt(Releasable* object);
    // Frees one object now; false when it does not belong here.
    bool releaseOne(Releasable* object);
    size_t size() const;

    // Arena of the request running on this thread, or null.
    static Arena* current();
    static Arena* exchangeCurrent(Arena* arena);

private:
    mutable std::mutex mutex;
    // In creation order: freeing walks memory the way it was handed out,
    // and adopting costs no node allocation. Released slots hold null.
    std::vector<Releasable*> objects;
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
