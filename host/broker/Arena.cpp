#include "Arena.h"

#include <algorithm>

namespace cimhost {

namespace {
thread_local Arena* currentArena = nullptr;
}

Arena::~Arena()
{
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
        delete *it;
}

void Arena::adopt(Releasable* object)
{
    std::lock_guard<std::mutex> lock(mutex);
    objects.push_back(object);
    ++live;
}

bool Arena::releaseOne(Releasable* object)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        // Objects released early are mostly the latest ones.
        auto it = std::find(objects.rbegin(), objects.rend(), object);
        if (!object || it == objects.rend())
            return false;
        *it = nullptr;
        --live;
        while (!objects.empty() && !objects.back())
            objects.pop_back();
    }
    delete object;
    return true;
}

size_t Arena::size() const
{
    std::lock_guard<std::mutex> lock(mutex);
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
