#include "JoinIndex.h"

#include <functional>
#include <utility>

namespace Korvu {
namespace IPInterfaceProvider {

JoinIndex::Keys::Keys(std::size_t count)
{
    ends.reserve(count);
    // Keys name a system and an element: some forty characters each.
    text.reserve(count * 48);
}

void JoinIndex::Keys::add(std::string_view key)
{
    text.append(key);
    ends.push_back(text.size());
}

JoinIndex::JoinIndex(Keys given)
    : keys(std::move(given)), hashes(keys.size()), nextOf(keys.size(), none)
{
    // At most half full, so a probe stops within a few slots.
    std::size_t capacity = 16;
    while (capacity < 2 * keys.size())
        capacity *= 2;
    slots.assign(capacity, 0);
    std::vector<std::size_t> lastOf(keys.size(), none);
    const std::size_t mask = capacity - 1;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string_view key = keys.at(i);
        if (key.empty())
            continue;
        const std::size_t hash = std::hash<std::string_view>()(key);
        hashes[i] = hash;
        for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
            if (slots[s] == 0) {
                slots[s] = i + 1;
                lastOf[i] = i;
                break;
            }
            const std::size_t head = slots[s] - 1;
            if (hashes[head] == hash && keys.at(head) == key) {
                nextOf[lastOf[head]] = i;
                lastOf[head] = i;
                break;
            }
        }
    }
}

std::size_t JoinIndex::first(std::string_view key) const
{
    if (key.empty())
        return none;
    const std::size_t hash = std::hash<std::string_view>()(key);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t s = hash & mask; slots[s] != 0; s = (s + 1) & mask) {
        const std::size_t head = slots[s] - 1;
        if (hashes[head] == hash && keys.at(head) == key)
            return head;
    }
    return none;
}

std::string_view FirstOf::add(std::string_view key, std::string_view value)
{
    if (key.empty())
        return std::string_view();
    const std::size_t hash = std::hash<std::string_view>()(key);
    std::size_t s = 0;
    const std::size_t known = probe(key, hash, s);
    if (known != JoinIndex::none)
        return values.at(known);
    // At most half full, as JoinIndex.
    if (2 * (keys.size() + 1) > slots.size()) {
        grow();
        probe(key, hash, s);
    }
    slots[s] = keys.size() + 1;
    keys.add(key);
    values.add(value);
    hashes.push_back(hash);
    return values.at(keys.size() - 1);
}

bool FirstOf::find(std::string_view key, std::string_view& value) const
{
    if (key.empty())
        return false;
    std::size_t s = 0;
    const std::size_t i = probe(key, std::hash<std::string_view>()(key), s);
    if (i == JoinIndex::none)
        return false;
    value = values.at(i);
    return true;
}

std::size_t FirstOf::probe(std::string_view key, std::size_t hash, std::size_t& slot) const
{
    if (slots.empty())
        return JoinIndex::none;
    const std::size_t mask = slots.size() - 1;
    for (slot = hash & mask; slots[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t i = slots[slot] - 1;
        if (hashes[i] == hash && keys.at(i) == key)
            return i;
    }
    return JoinIndex::none;
}

void FirstOf::grow()
{
    slots.assign(slots.empty() ? 64 : 2 * slots.size(), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        std::size_t s = hashes[i] & mask;
        while (slots[s] != 0)
            s = (s + 1) & mask;
        slots[s] = i + 1;
    }
}

} // namespace IPInterfaceProvider
} // namespace Korvu
