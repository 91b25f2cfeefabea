#ifndef KORVU_QUELLSTORE_NODETREE_H
#define KORVU_QUELLSTORE_NODETREE_H

// Internal to the library: the loaded store.

#include <atomic>
#include <cstdint>
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace Korvu {
namespace StoreDetail {

// Alternatives in the order of NodeLexicon::TEXT, NUMBER, TEXT_LIST.
typedef std::variant<std::string, unsigned int, std::vector<std::string>> Value;

struct Property {
    Value value;
    bool readOnly = false;
};

// What a walk reads comes first: one cache line finds a property.
struct Node {
    unsigned int type = 0;
    // Bit i of word i / 64 set: property number i (below 128) is in
    // `properties`, and its place there is the count of lower bits set.
    // Kept by NodeTree with every change of `properties`.
    std::uint64_t present[2] = {0, 0};
    // Sorted by property number.
    std::vector<std::pair<unsigned int, Property>> properties;
    std::size_t parent = 0;
    // Position among the nodes of its type, so that stepping is O(1).
    std::size_t rank = 0;
    std::string name;
    std::string description;
    std::string path;
    std::vector<std::size_t> children;
};

// Nodes in document order (depth first). Everything but the property
// values is fixed once parsed; the values are guarded by the store's lock,
// which callers hold around property access.
class NodeTree {
public:
    static const std::size_t none = static_cast<std::size_t>(-1);

    NodeTree();

    // Throws std::runtime_error naming the origin and the fault for any
    // input that is not a valid store; never crashes on any bytes.
    static std::shared_ptr<NodeTree> parse(const std::string& text, const std::string& origin);

    // The store file text, with one property replaced or added when a
    // replacement is given. Throws std::bad_alloc only.
    std::string serialize(std::size_t node = none, unsigned int property = 0,
                          const Property* replacement = nullptr) const;

    std::size_t find(const std::string& path) const;
    // `after`, when given, receives the node after the one returned.
    std::size_t first(unsigned int type, std::size_t* after = nullptr) const;
    std::size_t next(std::size_t node, std::size_t* after = nullptr) const;

    const Node& at(std::size_t node) const { return nodes[node]; }
    std::size_t size() const { return nodes.size(); }

    const Property* property(std::size_t node, unsigned int id) const;
    // A hint only; under the same lock as property().
    void prefetchProperty(std::size_t node, unsigned int id) const;
    void setProperty(std::size_t node, unsigned int id, const Property& value);

    static bool isValidUtf8(const std::string& text);

private:
    static void markPresent(Node& node);

    std::vector<Node> nodes;
    std::vector<std::size_t> roots;
    std::unordered_map<std::string, std::size_t> byPath;
    std::unordered_map<unsigned int, std::vector<std::size_t>> byType;
    mutable std::atomic<std::size_t> lastSize{0};

    void addNode(const nlohmann::json& item, std::size_t parent, const std::string& parentPath,
                 std::size_t depth, const std::string& origin);
    void appendNode(std::string& out, std::size_t node, std::size_t depth, std::size_t target,
                    unsigned int property, const Property* replacement) const;
};

} // namespace StoreDetail
} // namespace Korvu

#endif
