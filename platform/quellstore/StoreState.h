#ifndef KORVU_QUELLSTORE_STORESTATE_H
#define KORVU_QUELLSTORE_STORESTATE_H

// Internal to the library: the one store of the process.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "NodeTree.h"
#include "StoreLock.h"

namespace Korvu {
namespace StoreDetail {

// Lock order: writer, then values. Writers serialise on `writer` and read
// under a shared `values` lock while they persist, so readers wait only
// for the moment a value is put in place. A tree replaced by a load stays
// alive for the cursors that still hold it; writes through them go to the
// node of the same path in the current tree.
class StoreState {
public:
    static StoreState& instance();

    // The current tree; the first call loads the configured file.
    std::shared_ptr<NodeTree> tree();
    // Held shared around reading a property value, of any tree.
    StoreLock& values();

    // False for a node missing from the current tree, a read-only
    // property, a value of the wrong kind or text that is not UTF-8, and
    // when persisting failed (nothing changes then).
    bool write(const std::shared_ptr<NodeTree>& from, std::size_t node, unsigned int id, Value value);

    // Throw std::runtime_error and keep the current tree on bad input.
    void open(const std::string& path);
    void load(const std::string& text, const std::string& persistPath);
    void reload();

    std::string file();
    unsigned long restartRequests() const;
    std::string dump();

    using Observer = std::function<void(const std::string&, unsigned int)>;
    void setObserver(Observer observer);

private:
    StoreState();
    void ensureLoaded();
    void install(std::shared_ptr<NodeTree> tree, const std::string& file);
    static std::shared_ptr<NodeTree> readFile(const std::string& path);

    std::mutex writer;
    StoreLock lock;
    std::shared_ptr<NodeTree> current;
    std::string path;
    std::atomic<bool> loaded;
    std::atomic<unsigned long> restarts;
    std::mutex observing;
    std::shared_ptr<const Observer> observer;
};

} // namespace StoreDetail
} // namespace Korvu

#endif
