#include "NodeTree.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "NodeLexicon.h"

namespace Korvu {
namespace StoreDetail {

namespace {

typedef nlohmann::json Json;

// Brackets, counted before parsing; a store is a few levels deep, and the
// limit keeps the recursive walks below far from the stack's end.
const std::size_t maxNesting = 128;
const std::size_t maxNodeDepth = 48;

[[noreturn]] void fail(const std::string& origin, const std::string& where, const std::string& what)
{
    std::string message = "quellstore: " + origin + ": ";
    if (!where.empty())
        message += where + ": ";
    throw std::runtime_error(message + what);
}

void checkNesting(const std::string& text, const std::string& origin)
{
    std::size_t depth = 0;
    bool inString = false, escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxNesting)
                fail(origin, "", "nested deeper than " + std::to_string(maxNesting) + " levels");
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
}

bool unsignedNumber(const Json& value, unsigned int& number)
{
    if (value.is_number_unsigned()) {
        std::uint64_t n = value.get<std::uint64_t>();
        if (n > UINT_MAX)
            return false;
        number = static_cast<unsigned int>(n);
        return true;
    }
    if (value.is_number_integer()) {
        std::int64_t n = value.get<std::int64_t>();
        if (n < 0 || static_cast<std::uint64_t>(n) > UINT_MAX)
            return false;
        number = static_cast<unsigned int>(n);
        return true;
    }
    return false;
}

bool decimalId(const std::string& text, unsigned int& id)
{
    if (text.empty() || text.size() > 10)
        return false;
    std::uint64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (n > UINT_MAX)
        return false;
    id = static_cast<unsigned int>(n);
    return true;
}

const char* kindName(NodeLexicon::ValueKind kind)
{
    switch (kind) {
    case NodeLexicon::TEXT: return "a string";
    case NodeLexicon::NUMBER: return "an unsigned number up to 4294967295";
    case NodeLexicon::TEXT_LIST: return "a list of strings";
    default: return "a string, an unsigned number or a list of strings";
    }
}

Property parseProperty(const Json& item, unsigned int id, const std::string& where,
                       const std::string& origin)
{
    Property property;
    const Json* value = &item;
    if (item.is_object()) {
        for (auto it = item.begin(); it != item.end(); ++it) {
            if (it.key() != "value" && it.key() != "readOnly")
                fail(origin, where, "unknown key \"" + it.key() + "\"");
        }
        auto found = item.find("value");
        if (found == item.end())
            fail(origin, where, "\"value\" is missing");
        value = &*found;
        auto flag = item.find("readOnly");
        if (flag != item.end()) {
            if (!flag->is_boolean())
                fail(origin, where, "\"readOnly\" must be true or false");
            property.readOnly = flag->get<bool>();
        }
    }
    NodeLexicon::ValueKind expected = NodeLexicon::propertyKind(id);
    NodeLexicon::ValueKind found = NodeLexicon::ANY;
    unsigned int number = 0;
    if (value->is_string()) {
        property.value = value->get<std::string>();
        found = NodeLexicon::TEXT;
    } else if (unsignedNumber(*value, number)) {
        property.value = number;
        found = NodeLexicon::NUMBER;
    } else if (value->is_array()) {
        std::vector<std::string> list;
        for (const Json& element : *value) {
            if (!element.is_string())
                fail(origin, where, "list elements must be strings");
            list.push_back(element.get<std::string>());
        }
        property.value = std::move(list);
        found = NodeLexicon::TEXT_LIST;
    }
    if (found == NodeLexicon::ANY || (expected != NodeLexicon::ANY && expected != found))
        fail(origin, where, std::string("must be ") + kindName(expected));
    return property;
}

// Text is valid UTF-8 (checked on the way in), so only the characters
// JSON requires are escaped.
void appendString(std::string& out, const std::string& text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendValue(std::string& out, const Value& value)
{
    if (const std::string* text = std::get_if<std::string>(&value)) {
        appendString(out, *text);
    } else if (const unsigned int* number = std::get_if<unsigned int>(&value)) {
        out += std::to_string(*number);
    } else {
        const std::vector<std::string>& list = std::get<std::vector<std::string>>(value);
        out += '[';
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (i)
                out += ", ";
            appendString(out, list[i]);
        }
        out += ']';
    }
}

// Entries are sorted by property number.
template <class List> auto entryAt(List& list, unsigned int id)
{
    return std::lower_bound(list.begin(), list.end(), id,
                            [](const auto& entry, unsigned int key) { return entry.first < key; });
}

// Sets or adds the entry of `id`; true when it was added.
bool putEntry(std::vector<std::pair<unsigned int, Property>>& list, unsigned int id, const Property& value)
{
    auto at = entryAt(list, id);
    if (at != list.end() && at->first == id) {
        at->second = value;
        return false;
    }
    list.emplace(at, id, value);
    return true;
}

} // namespace

NodeTree::NodeTree() {}

std::shared_ptr<NodeTree> NodeTree::parse(const std::string& text, const std::string& origin)
{
    checkNesting(text, origin);
    Json document;
    try {
        document = Json::parse(text);
    } catch (const Json::exception& e) {
        fail(origin, "", std::string("not valid JSON: ") + e.what());
    }
    if (!document.is_object())
        fail(origin, "", "the top level must be an object");
    for (auto it = document.begin(); it != document.end(); ++it) {
        if (it.key() != "version" && it.key() != "nodes")
            fail(origin, "", "unknown top-level key \"" + it.key() + "\"");
    }
    auto version = document.find("version");
    unsigned int number = 0;
    if (version != document.end() && !(unsignedNumber(*version, number) && number == 1))
        fail(origin, "", "unsupported \"version\" (only 1 is known)");
    auto list = document.find("nodes");
    if (list == document.end() || !list->is_array())
        fail(origin, "", "\"nodes\" must be a list of nodes");

    std::shared_ptr<NodeTree> tree = std::make_shared<NodeTree>();
    for (const Json& item : *list)
        tree->addNode(item, none, std::string(), 1, origin);
    return tree;
}

void NodeTree::addNode(const Json& item, std::size_t parent, const std::string& parentPath,
                       std::size_t depth, const std::string& origin)
{
    std::string where = "node under " + (parentPath.empty() ? std::string("/") : parentPath);
    if (depth > maxNodeDepth)
        fail(origin, where, "nodes nested deeper than " + std::to_string(maxNodeDepth) + " levels");
    if (!item.is_object())
        fail(origin, where, "a node must be an object");
    for (auto it = item.begin(); it != item.end(); ++it) {
        const std::string& key = it.key();
        if (key != "name" && key != "type" && key != "description" && key != "properties" &&
            key != "children")
            fail(origin, where, "unknown key \"" + key + "\"");
    }

    Node node;
    auto name = item.find("name");
    if (name == item.end() || !name->is_string())
        fail(origin, where, "\"name\" must be a string");
    node.name = name->get<std::string>();
    if (node.name.empty() || node.name.find_first_of(std::string("/\0", 2)) != std::string::npos)
        fail(origin, where, "\"name\" must be non-empty and hold no '/' or NUL");
    node.path = parentPath + "/" + node.name;
    where = "node " + node.path;
    if (byPath.count(node.path))
        fail(origin, where, "a sibling has the same name");

    auto type = item.find("type");
    if (type == item.end() ||
        !(type->is_string() ? NodeLexicon::typeByName(type->get<std::string>(), node.type)
                            : unsignedNumber(*type, node.type)))
        fail(origin, where, "\"type\" must be a known type name or an unsigned number");

    auto description = item.find("description");
    if (description != item.end()) {
        if (!description->is_string())
            fail(origin, where, "\"description\" must be a string");
        node.description = description->get<std::string>();
    }

    auto properties = item.find("properties");
    if (properties != item.end()) {
        if (!properties->is_object())
            fail(origin, where, "\"properties\" must be an object");
        for (auto it = properties->begin(); it != properties->end(); ++it) {
            unsigned int id = 0;
            if (!NodeLexicon::propertyByName(it.key(), id) && !decimalId(it.key(), id))
                fail(origin, where, "unknown property \"" + it.key() + "\"");
            std::string propertyWhere = where + ": property " + it.key();
            node.properties.emplace_back(id, parseProperty(it.value(), id, propertyWhere, origin));
        }
        std::sort(node.properties.begin(), node.properties.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 1; i < node.properties.size(); ++i) {
            if (node.properties[i].first == node.properties[i - 1].first)
                fail(origin, where, "property " + std::to_string(node.properties[i].first) +
                                        " is given twice");
        }
    }
    markPresent(node);

    auto children = item.find("children");
    if (children != item.end() && !children->is_array())
        fail(origin, where, "\"children\" must be a list of nodes");

    std::size_t index = nodes.size();
    node.parent = parent;
    std::vector<std::size_t>& sameType = byType[node.type];
    node.rank = sameType.size();
    sameType.push_back(index);
    byPath.emplace(node.path, index);
    std::string path = node.path;
    nodes.push_back(std::move(node));
    if (parent == none)
        roots.push_back(index);
    else
        nodes[parent].children.push_back(index);

    if (children != item.end()) {
        for (const Json& child : *children)
            addNode(child, index, path, depth + 1, origin);
    }
}

void NodeTree::appendNode(std::string& out, std::size_t index, std::size_t depth, std::size_t target,
                          unsigned int id, const Property* replacement) const
{
    const Node& node = nodes[index];
    out.append(2 * depth, ' ');
    out += "{\n";
    out.append(2 * depth, ' ');
    out += "  \"name\": ";
    appendString(out, node.name);
    out += ",\n";
    out.append(2 * depth, ' ');
    out += "  \"type\": ";
    const char* typeName = NodeLexicon::typeName(node.type);
    if (typeName) {
        out += '"';
        out += typeName;
        out += '"';
    } else {
        out += std::to_string(node.type);
    }
    out += ",\n";
    out.append(2 * depth, ' ');
    out += "  \"description\": ";
    appendString(out, node.description);

    // Only the written node pays for a copy of its properties.
    std::vector<std::pair<unsigned int, Property>> changed;
    const std::vector<std::pair<unsigned int, Property>>* properties = &node.properties;
    if (index == target && replacement) {
        changed = node.properties;
        putEntry(changed, id, *replacement);
        properties = &changed;
    }
    out += ",\n";
    out.append(2 * depth, ' ');
    out += "  \"properties\": {";
    const char* separator = "\n";
    for (const auto& entry : *properties) {
        out += separator;
        out.append(2 * depth + 4, ' ');
        out += '"';
        const char* name = NodeLexicon::propertyName(entry.first);
        if (name)
            out += name;
        else
            out += std::to_string(entry.first);
        out += "\": ";
        if (entry.second.readOnly)
            out += "{ \"value\": ";
        appendValue(out, entry.second.value);
        if (entry.second.readOnly)
            out += ", \"readOnly\": true }";
        separator = ",\n";
    }
    if (properties->empty()) {
        out += '}';
    } else {
        out += '\n';
        out.append(2 * depth + 2, ' ');
        out += '}';
    }
    if (!node.children.empty()) {
        out += ",\n";
        out.append(2 * depth, ' ');
        out += "  \"children\": [\n";
        for (std::size_t i = 0; i < node.children.size(); ++i) {
            appendNode(out, node.children[i], depth + 2, target, id, replacement);
            out += i + 1 < node.children.size() ? ",\n" : "\n";
        }
        out.append(2 * depth + 2, ' ');
        out += ']';
    }
    out += '\n';
    out.append(2 * depth, ' ');
    out += '}';
}

std::string NodeTree::serialize(std::size_t node, unsigned int property, const Property* replacement) const
{
    std::string out;
    // The file size hardly changes between writes.
    out.reserve(lastSize.load(std::memory_order_relaxed) + 4096);
    out += "{\n  \"version\": 1,\n  \"nodes\": [\n";
    for (std::size_t i = 0; i < roots.size(); ++i) {
        appendNode(out, roots[i], 2, node, property, replacement);
        out += i + 1 < roots.size() ? ",\n" : "\n";
    }
    out += "  ]\n}\n";
    lastSize.store(out.size(), std::memory_order_relaxed);
    return out;
}

std::size_t NodeTree::find(const std::string& path) const
{
    auto it = byPath.find(path);
    return it == byPath.end() ? none : it->second;
}

std::size_t NodeTree::first(unsigned int type, std::size_t* after) const
{
    auto it = byType.find(type);
    if (after)
        *after = it == byType.end() || it->second.size() < 2 ? none : it->second[1];
    return it == byType.end() || it->second.empty() ? none : it->second.front();
}

std::size_t NodeTree::next(std::size_t node, std::size_t* after) const
{
    const Node& current = nodes[node];
    const std::vector<std::size_t>& sameType = byType.find(current.type)->second;
    const std::size_t rank = current.rank;
    const std::size_t afterNext = rank + 2 < sameType.size() ? sameType[rank + 2] : none;
    if (after)
        *after = afterNext;
    if (rank + 1 >= sameType.size())
        return none;
    // A walk does microseconds of work per node; on a large store a node it
    // has not touched is a wait on memory. Ask early for the node after the
    // next, and for the parent of the next, asked for one step ago (a
    // parent never changes once parsed).
    if (afterNext != none)
        __builtin_prefetch(&nodes[afterNext]);
    const std::size_t parent = nodes[sameType[rank + 1]].parent;
    if (parent != none)
        __builtin_prefetch(&nodes[parent]);
    return sameType[rank + 1];
}

namespace {

// Counted in place: the builtin is a call into the runtime library on
// the baseline x86-64 the packages are built for, and every property read
// counts bits once or twice.
unsigned int bitsBelow(std::uint64_t word, unsigned int bit)
{
    std::uint64_t x = bit ? word & (~std::uint64_t(0) >> (64 - bit)) : 0;
    x -= (x >> 1) & 0x5555555555555555u;
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fu;
    return static_cast<unsigned int>((x * 0x0101010101010101u) >> 56);
}

constexpr unsigned int beyondBits = 128;
constexpr unsigned int absent = static_cast<unsigned int>(-1);

// Place of property `id` (below beyondBits) among the node's properties,
// or absent.
unsigned int placeOf(const Node& node, unsigned int id)
{
    const unsigned int word = id / 64, bit = id % 64;
    if (!(node.present[word] >> bit & 1))
        return absent;
    return (word ? bitsBelow(node.present[0], 64) : 0) + bitsBelow(node.present[word], bit);
}

} // namespace

void NodeTree::markPresent(Node& node)
{
    node.present[0] = node.present[1] = 0;
    for (const auto& entry : node.properties)
        if (entry.first < beyondBits)
            node.present[entry.first / 64] |= std::uint64_t(1) << (entry.first % 64);
}

// A request reads a few properties of thousands of nodes: counting bits
// finds the entry without a search that touches several cache lines.
const Property* NodeTree::property(std::size_t node, unsigned int id) const
{
    const Node& at = nodes[node];
    if (id < beyondBits) {
        const unsigned int place = placeOf(at, id);
        return place == absent ? nullptr : &at.properties[place].second;
    }
    auto found = entryAt(at.properties, id);
    return found != at.properties.end() && found->first == id ? &found->second : nullptr;
}

void NodeTree::prefetchProperty(std::size_t node, unsigned int id) const
{
    const Node& at = nodes[node];
    const unsigned int place = id < beyondBits ? placeOf(at, id) : absent;
    if (place != absent)
        __builtin_prefetch(&at.properties[place]);
}

void NodeTree::setProperty(std::size_t node, unsigned int id, const Property& value)
{
    if (putEntry(nodes[node].properties, id, value))
        markPresent(nodes[node]);
}

bool NodeTree::isValidUtf8(const std::string& text)
{
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > size)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if (next < low || next > high)
                return false;
            low = 0x80;
            high = 0xBF;
        }
        i += length;
    }
    return true;
}

} // namespace StoreDetail
} // namespace Korvu
