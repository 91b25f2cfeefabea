#ifndef KORVU_INSTRUMENTATION_H
#define KORVU_INSTRUMENTATION_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "NodeLexicon.h"
#include "QuellstoreApi.h"

namespace Korvu {

namespace StoreDetail {
class NodeTree;
}

// A cursor on the node store, a tree of typed nodes. A node's path is "/"
// followed by the names from its top-level node down, joined by "/", as in
// "/host/eth-adapter-0/eth0"; "/" alone is the root above the top-level
// nodes, which is no node itself.
//
// Copies are independent cursors. Any number of cursors may be used on any
// threads at once, one cursor by one thread at a time. A cursor keeps the
// store it was positioned on alive: after NodeStore::open or reload it goes
// on reading that store until it is positioned again, and its writes go to
// the node of the same path in the current store.
//
// Nothing here throws except std::bad_alloc. The first positioning loads
// the store file (see NodeStore.h).
class QUELLSTORE_API Instrumentation {
public:
    // Stands on no node.
    Instrumentation();
    ~Instrumentation();
    Instrumentation(const Instrumentation& other);
    Instrumentation& operator=(const Instrumentation& other);

    // Stands on the first node of the type in document order, or on no
    // node when there is none.
    void selectNode(NodeLexicon::NodeType type);
    // Stands on the node of that exact path, or on no node.
    void selectNode(const std::string& path);

    // Stands on the current node's parent in the same store, or on no node
    // above a top-level node and on no node.
    void selectParent();
    // True when both cursors stand on one node of one store.
    bool standsOn(const Instrumentation& other) const;

    // True while the cursor stands on a node.
    operator bool() const;
    // Next node of the type of the current node, in document order (also
    // after positioning by path); then no node. No effect on no node.
    Instrumentation& operator++();

    // False when there is no node, the node lacks the property, or the
    // property holds another kind of value.
    bool getProperty(NodeLexicon::Properties property, std::string& value);
    bool getProperty(NodeLexicon::Properties property, unsigned int& value);
    bool getProperty(NodeLexicon::Properties property, std::vector<std::string>& value);

    // Writes and persists the value; a property the node lacks is added.
    // False, with nothing changed, when there is no node, the property is
    // read-only or holds another kind of value (or the property is known
    // with another kind), the text is not UTF-8, or the store file could
    // not be written.
    bool setProperty(NodeLexicon::Properties property, std::string& value);
    bool setProperty(NodeLexicon::Properties property, unsigned int& value);
    bool setProperty(NodeLexicon::Properties property, std::vector<std::string> value);

    // True and the flag when the node has the property; false otherwise.
    bool isPropertyReadOnly(NodeLexicon::Properties property, bool& readOnly);

    // Path of the current node's parent ("/" for a top-level node); empty
    // on no node.
    std::string getPathToParentNode();
    // Empty on no node.
    std::string getNodeDescription();
    std::string getPath();
    std::string getNodeName();
    // 0 on no node.
    unsigned int getNodeType();

private:
    template <typename T> bool readValue(unsigned int id, T& value);

    std::shared_ptr<StoreDetail::NodeTree> tree;
    std::size_t node;
    // During a walk, the node it reaches next: each read asks early for
    // the same property there. A node reached by path or as a parent says
    // nothing of what comes next.
    std::size_t ahead = static_cast<std::size_t>(-1);
};

} // namespace Korvu

#endif
