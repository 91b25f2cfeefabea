#ifndef KORVU_IPIF_JOININDEX_H
#define KORVU_IPIF_JOININDEX_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace Korvu {
namespace IPInterfaceProvider {

// The elements of a list by key, those of one key in the order they were
// added: what the elements of another list are looked up in.
class JoinIndex {
public:
    static constexpr std::size_t none = static_cast<std::size_t>(-1);

    // Keys of a whole list of elements, each element's in turn, in one buffer:
    // a key per element as a string of its own, and a hash map node per key,
    // took the pairing of a large request out of the caches.
    class Keys {
    public:
        explicit Keys(std::size_t count = 0);
        // The key of the next element; empty when it has none.
        void add(std::string_view key);
        std::size_t size() const { return ends.size(); }
        std::string_view at(std::size_t i) const
        {
            const std::size_t start = i == 0 ? 0 : ends[i - 1];
            return std::string_view(text).substr(start, ends[i] - start);
        }

    private:
        std::string text;
        std::vector<std::size_t> ends;
    };

    explicit JoinIndex(Keys keys);
    // The first element with `key`; none for an empty key or one no
    // element has.
    std::size_t first(std::string_view key) const;
    // The next element with the same key as element i, or none.
    std::size_t next(std::size_t i) const { return nextOf[i]; }

private:
    Keys keys;
    std::vector<std::size_t> hashes;
    std::vector<std::size_t> nextOf;
    std::vector<std::size_t> slots;  // element + 1 of each key's first, 0 when free
};

// A value by key, the first one added for each key, looked up while keys
// are still being added: what a walk found so far, before it is over.
class FirstOf {
public:
    // Keeps `value` for `key` unless the key is empty or in already, and
    // gives the value kept for it (empty for an empty key). Like those of
    // find, the view holds until the next add.
    std::string_view add(std::string_view key, std::string_view value);
    // The value kept for `key`; false when there is none.
    bool find(std::string_view key, std::string_view& value) const;
    // Number of keys kept.
    std::size_t size() const { return keys.size(); }

private:
    // Index of `key`, or JoinIndex::none with `slot` the free slot it
    // would take (meaningless while there are no slots).
    std::size_t probe(std::string_view key, std::size_t hash, std::size_t& slot) const;
    void grow();

    JoinIndex::Keys keys;
    JoinIndex::Keys values;
    std::vector<std::size_t> hashes;
    std::vector<std::size_t> slots;  // element + 1, 0 when free
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
