#ifndef KORVU_NODESTORE_H
#define KORVU_NODESTORE_H

#include <functional>
#include <string>

#include "QuellstoreApi.h"

namespace Korvu {

// Control of the process's one node store, for the agent's host tool and
// for tests. The store is a JSON file (format: README.md beside this
// header). Unless open() or loadFromString() came first, the first use
// loads the file named by the environment variable QUELLSTORE_FILE, or
// defaultFile when that is unset or empty; a missing or malformed file
// then reads as an empty store and loadError() says why. Other processes
// may write the file too: a changed file is loaded again before every
// read (once per ReadScope inside one) and every write, and writes of all processes are serialised by a
// lock on the file's folder, so none loses another's change. Every
// successful write rewrites the file atomically. All functions are safe on
// any thread.
class QUELLSTORE_API NodeStore {
public:
    static const char* const defaultFile;

    // Loads the file now and makes it the one that writes go to. Throws
    // std::runtime_error, naming the file and the fault, when it cannot be
    // read or is no valid store; the current store then stays.
    static void open(const std::string& path);

    // Loads a store from JSON text; writes go to persistPath (which need not
    // exist yet), or stay in memory when it is empty. Throws
    // std::runtime_error on text that is no valid store; the current store
    // then stays.
    static void loadFromString(const std::string& text, const std::string& persistPath = std::string());

    // Loads the current file again. Throws std::runtime_error when it
    // cannot be read or is no valid store (the current store then stays),
    // or when the store has no file.
    static void reload();

    // Brings the store up to date with its file, as every positioning of a
    // cursor does, and tells why the file cannot be loaded (missing,
    // unreadable, not a regular file, no valid store): the text names the
    // file and the fault. Empty when the store is sound. While it is not,
    // cursors read the last version that loaded (an empty store when none
    // did) and every write is refused.
    static std::string loadError();

    // Why the last write on the calling thread was refused, when the store
    // knows more than "refused" (a live store: the kernel's answer, DNS
    // being read only, changes not allowed); empty otherwise.
    static std::string lastWriteRefusal();

    // The file that writes go to; empty for a store kept in memory.
    static std::string currentFile();

    // How often the agent was asked to restart: writes of state 9 to the
    // STATE property of a COMPUTER_SYSTEM node, since the process started.
    static unsigned long agentRestartRequests();

    // The current store in the file format.
    static std::string toJson();

    // Called on the writing thread after every write has landed, with the
    // node's path and the property id; it stands for the agent reacting to
    // a change (a DHCP client answering an origin switch, for example) and
    // may itself write. Empty clears it.
    using WriteObserver = std::function<void(const std::string& nodePath, unsigned int property)>;
    static void setWriteObserver(WriteObserver observer);

    // While one lives on a thread, that thread's cursors compare the store
    // with its file at their first positioning only, so a request pays one
    // look at the file instead of one per node it visits. Writes of this
    // process stay visible at once, and every write still takes in other
    // processes' changes first. Scopes nest; they are not shared between
    // threads.
    class QUELLSTORE_API ReadScope {
    public:
        ReadScope();
        ~ReadScope();
        ReadScope(const ReadScope&) = delete;
        ReadScope& operator=(const ReadScope&) = delete;
    };
};

} // namespace Korvu

#endif
