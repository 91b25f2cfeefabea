#ifndef KORVU_QUELLSTORE_STORESTATE_H
#define KORVU_QUELLSTORE_STORESTATE_H

// Internal to the library: the one store of the process.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>

#include <sys/types.h>
#include <time.h>

#include "LiveSource.h"
#include "NodeTree.h"
#include "StoreLock.h"

namespace Korvu {
namespace StoreDetail {

// What identifies one version of the store file.
struct FileMark {
    int error = -1;  // errno of stat, 0 when it exists; -1 before any look
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileMark of(const std::string& path);
    bool operator==(const FileMark& other) const;
    bool operator!=(const FileMark& other) const { return !(*this == other); }
};

// Lock order: writer, then the store folder's file lock, then values.
// Writers serialise on `writer` (threads) and the folder lock (processes)
// and read under a shared `values` lock while they persist, so readers wait
// only for the moment a value is put in place. The file may change under
// us at any time (other processes): every positioning compares the file
// with the version loaded and loads it again when it differs, and every
// write does so under the folder lock before it applies its value, so no
// other writer's change is lost. A tree replaced by a load stays alive for
// the cursors that still hold it; writes through them go to the node of
// the same path in the current tree. On a live store an IP interface node's
// path is its place in the kernel's address order, so there it is the node
// of the same link, name and address instead, or none.
class StoreState {
public:
    static StoreState& instance();

    // The current tree; the first call loads the configured file. Looks
    // whether the file changed, once per read scope of the thread or, out
    // of one, every time.
    std::shared_ptr<NodeTree> tree();
    static void enterScope();
    static void leaveScope();
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
    // Why the file could not be loaded last time it was looked at; empty
    // when the store is sound.
    std::string fault();
    unsigned long restartRequests() const;
    std::string dump();

    // Why the last write on this thread was refused, where it is known.
    static std::string& refusal();

    using Observer = std::function<void(const std::string&, unsigned int)>;
    void setObserver(Observer observer);

private:
    StoreState();
    void ensureLoaded();
    // tree(), looking at the file in any case.
    std::shared_ptr<NodeTree> lookedAt();
    // With `writer` held: applies the value to the kernel first and, when
    // it took it, to the tree.
    bool writeLive(const std::shared_ptr<NodeTree>& from, std::size_t node, unsigned int id,
                   const Value& value);
    // With `writer` held: loads the file again when it is not the version
    // loaded; on failure keeps the tree and records the fault.
    void refresh();
    void install(std::shared_ptr<NodeTree> tree, const std::string& file, const FileMark& mark,
                 int pin, const std::string& problem);
    // Throws std::runtime_error naming the file and the fault. pin is an
    // open descriptor of the version read, mark its identity.
    static std::shared_ptr<NodeTree> readFile(const std::string& path, FileMark& mark, int& pin);

    std::mutex writer;
    StoreLock lock;
    std::shared_ptr<NodeTree> current;
    std::string path;
    // Guarded like `current`. The version loaded stays open so that its
    // inode number cannot be handed to a later file.
    FileMark seen;
    int pinned;
    std::string problem;
    // Built from the kernel (QUELLSTORE_SOURCE=live); set once, under `writer`.
    bool live;
    // Writes reach the kernel (QUELLSTORE_ALLOW_CHANGES=1); set with `live`.
    bool allowChanges;
    // Addresses written to the kernel; guarded by `writer`.
    LiveSource::Moves moves;
    std::atomic<bool> loaded;
    std::atomic<unsigned long> restarts;
    std::mutex observing;
    std::shared_ptr<const Observer> observer;
};

} // namespace StoreDetail
} // namespace Korvu

#endif
