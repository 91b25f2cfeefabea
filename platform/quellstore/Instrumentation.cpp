#include "Instrumentation.h"

#include "NodeTree.h"
#include "StoreState.h"

namespace Korvu {

using StoreDetail::NodeTree;
using StoreDetail::StoreLock;
using StoreDetail::StoreState;

template <typename T> bool Instrumentation::readValue(unsigned int id, T& value)
{
    if (!tree || node == NodeTree::none)
        return false;
    std::shared_lock<StoreLock> guard(StoreState::instance().values());
    // Property values may move only under the lock: here is the place to
    // ask for the one a walk reads next.
    if (ahead != NodeTree::none)
        tree->prefetchProperty(ahead, id);
    const StoreDetail::Property* property = tree->property(node, id);
    if (!property)
        return false;
    const T* stored = std::get_if<T>(&property->value);
    if (!stored)
        return false;
    value = *stored;
    return true;
}

Instrumentation::Instrumentation() : node(NodeTree::none) {}

Instrumentation::~Instrumentation() {}

Instrumentation::Instrumentation(const Instrumentation& other) = default;

Instrumentation& Instrumentation::operator=(const Instrumentation& other) = default;

void Instrumentation::selectNode(NodeLexicon::NodeType type)
{
    tree = StoreState::instance().tree();
    node = tree->first(static_cast<unsigned int>(type), &ahead);
}

void Instrumentation::selectNode(const std::string& path)
{
    tree = StoreState::instance().tree();
    node = tree->find(path);
    ahead = NodeTree::none;
}

void Instrumentation::selectParent()
{
    if (*this)
        node = tree->at(node).parent;
    ahead = NodeTree::none;
}

bool Instrumentation::standsOn(const Instrumentation& other) const
{
    return *this && other && tree == other.tree && node == other.node;
}

Instrumentation::operator bool() const { return tree && node != NodeTree::none; }

Instrumentation& Instrumentation::operator++()
{
    if (*this)
        node = tree->next(node, &ahead);
    return *this;
}

bool Instrumentation::getProperty(NodeLexicon::Properties property, std::string& value)
{
    return readValue(property, value);
}

bool Instrumentation::getProperty(NodeLexicon::Properties property, unsigned int& value)
{
    return readValue(property, value);
}

bool Instrumentation::getProperty(NodeLexicon::Properties property, std::vector<std::string>& value)
{
    return readValue(property, value);
}

bool Instrumentation::setProperty(NodeLexicon::Properties property, std::string& value)
{
    return *this && StoreState::instance().write(tree, node, property, value);
}

bool Instrumentation::setProperty(NodeLexicon::Properties property, unsigned int& value)
{
    return *this && StoreState::instance().write(tree, node, property, value);
}

bool Instrumentation::setProperty(NodeLexicon::Properties property, std::vector<std::string> value)
{
    return *this && StoreState::instance().write(tree, node, property, std::move(value));
}

bool Instrumentation::isPropertyReadOnly(NodeLexicon::Properties property, bool& readOnly)
{
    if (!*this)
        return false;
    std::shared_lock<StoreLock> guard(StoreState::instance().values());
    const StoreDetail::Property* stored = tree->property(node, property);
    if (!stored)
        return false;
    readOnly = stored->readOnly;
    return true;
}

std::string Instrumentation::getPathToParentNode()
{
    if (!*this)
        return std::string();
    std::size_t parent = tree->at(node).parent;
    return parent == NodeTree::none ? std::string("/") : tree->at(parent).path;
}

std::string Instrumentation::getNodeDescription()
{
    return *this ? tree->at(node).description : std::string();
}

std::string Instrumentation::getPath()
{
    return *this ? tree->at(node).path : std::string();
}

std::string Instrumentation::getNodeName()
{
    return *this ? tree->at(node).name : std::string();
}

unsigned int Instrumentation::getNodeType()
{
    return *this ? tree->at(node).type : 0;
}

} // namespace Korvu
