#include "Arena.h"

namespace cimhost {

namespace {
thread_local Arena* currentArena = nullptr;
}

Arena::~Arena()
{
    for (Releasable* object : objects)
        delete object;
}

void Arena::adopt(Releasable* object)
{
    std::lock_guard<std::mutex> lock(mutex);
    objects.insert(object);
}

bool Arena::releaseOne(Releasable* object)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (objects.erase(object) == 0)
            return false;
    }
    delete object;
    return true;
}

size_t Arena::size() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return objects.size();
}

Arena* Arena::current() { return currentArena; }

Arena* Arena::exchangeCurrent(Arena* arena)
{
    Arena* previous = currentArena;
    currentArena = arena;
    return previous;
}

} // namespace cimhost
