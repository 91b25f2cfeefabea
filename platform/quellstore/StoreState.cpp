#include "StoreState.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "File.h"
#include "FolderLock.h"
#include "LiveSource.h"
#include "NodeLexicon.h"
#include "NodeStore.h"

namespace Korvu {
namespace StoreDetail {

namespace {

// Written to the agent as the system's state, it asks for a restart.
const unsigned int restartState = 9;

// "veth4:1" with address 10.40.0.2 on link veth4, for refusals.
std::string describeLive(const NodeTree& tree, std::size_t node)
{
    auto text = [&](std::size_t at, unsigned int id) {
        const Property* p = at < tree.size() ? tree.property(at, id) : nullptr;
        const std::string* t = p ? std::get_if<std::string>(&p->value) : nullptr;
        return t ? *t : std::string();
    };
    std::string out = "\"" + text(node, NodeLexicon::NAME) + "\"";
    const std::string v4 = text(node, NodeLexicon::IPV4_ADDRESS), v6 = text(node, NodeLexicon::IPV6_ADDRESS);
    out += v4.empty() && v6.empty() ? " without address" : " with address " + (v4.empty() ? v6 : v4);
    const std::string link = text(tree.at(node).parent, NodeLexicon::NAME);
    if (!link.empty())
        out += " on link " + link;
    return out;
}

bool isStorable(const Value& value)
{
    if (const std::string* text = std::get_if<std::string>(&value))
        return NodeTree::isValidUtf8(*text);
    if (const std::vector<std::string>* list = std::get_if<std::vector<std::string>>(&value)) {
        for (const std::string& text : *list)
            if (!NodeTree::isValidUtf8(text))
                return false;
    }
    return true;
}


std::string describe(const std::string& file, int error)
{
    if (error == ENOENT)
        return "quellstore: " + file + ": the file does not exist";
    return "quellstore: " + file + ": cannot read the file: " + std::strerror(error);
}

} // namespace

FileMark FileMark::of(const std::string& path)
{
    FileMark mark;
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        mark.error = errno;
        return mark;
    }
    mark.error = 0;
    mark.device = info.st_dev;
    mark.inode = info.st_ino;
    mark.size = info.st_size;
    mark.modified = info.st_mtim;
    mark.changed = info.st_ctim;
    return mark;
}

bool FileMark::operator==(const FileMark& other) const
{
    return error == other.error && device == other.device && inode == other.inode &&
           size == other.size && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec &&
           changed.tv_nsec == other.changed.tv_nsec;
}

StoreState::StoreState()
    : current(std::make_shared<NodeTree>()), pinned(-1), live(false), allowChanges(false), loaded(false), restarts(0)
{
}

StoreState& StoreState::instance()
{
    // Never destroyed: a detached thread may still use the store while the
    // process exits.
    static StoreState* state = new StoreState;
    return *state;
}

std::shared_ptr<NodeTree> StoreState::readFile(const std::string& file, FileMark& mark, int& pin)
{
    pin = -1;
    // Non-blocking so that a FIFO in place of the file cannot hang us.
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw std::runtime_error(describe(file, errno));
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw std::runtime_error("quellstore: " + file + ": not a regular file");
    }
    mark.error = 0;
    mark.device = info.st_dev;
    mark.inode = info.st_ino;
    mark.size = info.st_size;
    mark.modified = info.st_mtim;
    mark.changed = info.st_ctim;
    std::string text;
    char chunk[16384];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            int error = errno;
            ::close(fd);
            throw std::runtime_error(describe(file, error));
        }
        if (got == 0)
            break;
        text.append(chunk, static_cast<std::size_t>(got));
    }
    try {
        std::shared_ptr<NodeTree> tree = NodeTree::parse(text, file);
        pin = fd;
        return tree;
    } catch (...) {
        ::close(fd);
        throw;
    }
}

void StoreState::ensureLoaded()
{
    if (loaded.load(std::memory_order_acquire))
        return;
    const char* source = std::getenv("QUELLSTORE_SOURCE");
    if (source && std::string(source) == "live") {
        live = true;
        const char* allow = std::getenv("QUELLSTORE_ALLOW_CHANGES");
        allowChanges = allow && std::string(allow) == "1";
        // What the kernel keeps no record of is kept beside the store file.
        const char* configured = std::getenv("QUELLSTORE_FILE");
        const File::Path folder =
            File::Path(configured && *configured ? configured : NodeStore::defaultFile).parent();
        LiveSource::keepOriginsIn((folder.empty() ? std::string(".") : std::string(folder.c_str())) +
                                  "/quellstore-live-origins.json");
        try {
            std::shared_ptr<NodeTree> tree = NodeTree::parse(LiveSource::snapshot(), "live source");
            install(tree, std::string(), FileMark(), -1, std::string());
            LiveSource::watch([this](const std::string& text) {
                std::shared_ptr<NodeTree> fresh = NodeTree::parse(text, "live source");
                std::lock_guard<std::mutex> guard(writer);
                install(fresh, std::string(), FileMark(), -1, std::string());
            });
        } catch (const std::exception& e) {
            install(std::make_shared<NodeTree>(), std::string(), FileMark(), -1, e.what());
        }
        return;
    }
    const char* configured = std::getenv("QUELLSTORE_FILE");
    std::string file = configured && *configured ? configured : NodeStore::defaultFile;
    {
        FolderLock folder(file);
        if (folder.held())
            File::removeStaleTemporaries(File::Path(file));
    }
    FileMark mark;
    int pin = -1;
    try {
        std::shared_ptr<NodeTree> tree = readFile(file, mark, pin);
        install(tree, file, mark, pin, std::string());
    } catch (const std::runtime_error& e) {
        // Cursors cannot report a failure: the store reads as empty, and
        // fault() tells why, until the file can be loaded.
        install(std::make_shared<NodeTree>(), file, FileMark::of(file), -1, e.what());
    }
}

void StoreState::install(std::shared_ptr<NodeTree> tree, const std::string& file, const FileMark& mark,
                         int pin, const std::string& fault)
{
    int unpinned = -1;
    {
        std::unique_lock<StoreLock> guard(lock);
        current = std::move(tree);
        path = file;
        seen = mark;
        unpinned = pinned;
        pinned = pin;
        problem = fault;
        loaded.store(true, std::memory_order_release);
    }
    if (unpinned >= 0)
        ::close(unpinned);
}

void StoreState::refresh()
{
    if (path.empty())
        return;
    FileMark now = FileMark::of(path);
    {
        std::shared_lock<StoreLock> guard(lock);
        if (now == seen)
            return;
    }
    FileMark mark;
    int pin = -1;
    try {
        std::shared_ptr<NodeTree> tree = readFile(path, mark, pin);
        install(tree, path, mark, pin, std::string());
    } catch (const std::runtime_error& e) {
        // The last sound version keeps serving reads; writes are refused
        // until the file loads again.
        std::unique_lock<StoreLock> guard(lock);
        seen = now;
        problem = e.what();
    }
}

namespace {

struct Scope {
    unsigned depth = 0;
    bool looked = false;
};

thread_local Scope scope;

} // namespace

void StoreState::enterScope()
{
    if (scope.depth++ == 0)
        scope.looked = false;
}

void StoreState::leaveScope()
{
    if (scope.depth > 0)
        --scope.depth;
}

std::shared_ptr<NodeTree> StoreState::tree()
{
    if (scope.depth > 0 && scope.looked && loaded.load(std::memory_order_acquire)) {
        std::shared_lock<StoreLock> guard(lock);
        return current;
    }
    std::shared_ptr<NodeTree> looked = lookedAt();
    if (scope.depth > 0)
        scope.looked = true;
    return looked;
}

std::shared_ptr<NodeTree> StoreState::lookedAt()
{
    if (!loaded.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> guard(writer);
        ensureLoaded();
    }
    std::string file;
    FileMark known;
    {
        std::shared_lock<StoreLock> guard(lock);
        if (path.empty())
            return current;
        file = path;
        known = seen;
    }
    if (FileMark::of(file) != known) {
        std::lock_guard<std::mutex> guard(writer);
        refresh();
    }
    std::shared_lock<StoreLock> guard(lock);
    return current;
}

std::string StoreState::fault()
{
    lookedAt();
    std::shared_lock<StoreLock> guard(lock);
    return problem;
}

StoreLock& StoreState::values() { return lock; }

bool StoreState::write(const std::shared_ptr<NodeTree>& from, std::size_t node, unsigned int id, Value value)
{
    if (!from || node >= from->size() || !isStorable(value))
        return false;
    std::unique_lock<std::mutex> guard(writer);
    ensureLoaded();
    refusal().clear();
    if (live)
        return writeLive(from, node, id, value);
    std::unique_ptr<FolderLock> folder;
    if (!path.empty()) {
        folder.reset(new FolderLock(path));
        if (!folder->held())
            return false;
        // Left by a writer that died: no writer is at work now.
        File::removeStaleTemporaries(File::Path(path));
        // Another process may have written since; its change must stay.
        refresh();
        if (!problem.empty())
            return false;
    }
    // Only this thread replaces `current` or `path` while `writer` is held.
    std::shared_ptr<NodeTree> tree = current;
    std::size_t target = from == tree ? node : tree->find(from->at(node).path);
    if (target == NodeTree::none)
        return false;

    Property replacement;
    std::string text;
    {
        std::shared_lock<StoreLock> reading(lock);
        const Property* existing = tree->property(target, id);
        if (existing) {
            if (existing->readOnly || existing->value.index() != value.index())
                return false;
        } else {
            NodeLexicon::ValueKind kind = NodeLexicon::propertyKind(id);
            if (kind != NodeLexicon::ANY && static_cast<std::size_t>(kind) != value.index())
                return false;
        }
        replacement.value = std::move(value);
        if (!path.empty())
            text = tree->serialize(target, id, &replacement);
    }
    if (!path.empty()) {
        if (!File::writeAtomically(File::Path(path), text))
            return false;
        // Our own version: pinned, so that it is not mistaken for a change.
        int pin = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        FileMark mark = FileMark::of(path);
        int unpinned = -1;
        {
            std::unique_lock<StoreLock> writing(lock);
            tree->setProperty(target, id, replacement);
            seen = mark;
            unpinned = pinned;
            pinned = pin;
        }
        if (unpinned >= 0)
            ::close(unpinned);
        folder.reset();
    } else {
        std::unique_lock<StoreLock> writing(lock);
        tree->setProperty(target, id, replacement);
    }
    const unsigned int* number = std::get_if<unsigned int>(&replacement.value);
    if (id == NodeLexicon::STATE && number && *number == restartState &&
        tree->at(target).type == NodeLexicon::COMPUTER_SYSTEM)
        restarts.fetch_add(1);
    std::shared_ptr<const Observer> notify;
    {
        std::lock_guard<std::mutex> guard(observing);
        notify = observer;
    }
    if (notify) {
        // Called with no lock held, so that it may write.
        const std::string nodePath = tree->at(target).path;
        guard.unlock();
        (*notify)(nodePath, id);
    }
    return true;
}

std::string& StoreState::refusal()
{
    thread_local std::string why;
    return why;
}

bool StoreState::writeLive(const std::shared_ptr<NodeTree>& from, std::size_t node, unsigned int id,
                           const Value& value)
{
    if (!allowChanges) {
        refusal() = "the live store is read only; changes to the kernel must be allowed (--allow-changes)";
        return false;
    }
    std::shared_ptr<NodeTree> tree = current;
    std::size_t target = node;
    if (from != tree) {
        std::shared_lock<StoreLock> reading(lock);
        target = LiveSource::counterpart(*from, node, *tree, moves);
        if (target == NodeTree::none && from->at(node).type == NodeLexicon::IP_INTERFACE) {
            refusal() = "the IP interface " + describeLive(*from, node) +
                        " is no longer in the kernel (its addresses changed since it was read)";
            return false;
        }
    }
    // The kernel has the values as soon as they are written: a restart
    // has nothing left to do, and is taken.
    const unsigned int* number = std::get_if<unsigned int>(&value);
    if (target != NodeTree::none && tree->at(target).type == NodeLexicon::COMPUTER_SYSTEM &&
        id == NodeLexicon::STATE && number && *number == restartState) {
        restarts.fetch_add(1);
        return true;
    }
    if (target == NodeTree::none || tree->at(target).type != NodeLexicon::IP_INTERFACE) {
        refusal() = "only IP interfaces can be changed on a live store";
        return false;
    }
    LiveSource::Interface now;
    {
        std::shared_lock<StoreLock> reading(lock);
        // An address of one family written to the node of the other family's
        // address goes to the interface's node that holds one, if any (one
        // beyond the link-local address first): the kernel's interface has
        // both on one link.
        // A prefix length is the IPv6 address's where the interface has one
        // (the IPv4 one follows the mask).
        const unsigned int family =
            id == NodeLexicon::IPV4_ADDRESS || id == NodeLexicon::SUBNET_MASK ? NodeLexicon::IPV4_ADDRESS
            : id == NodeLexicon::IPV6_ADDRESS || id == NodeLexicon::PREFIX_LENGTH ? NodeLexicon::IPV6_ADDRESS
                                                                                : 0;
        const Property* name = tree->property(target, NodeLexicon::NAME);
        if (family != 0 && !tree->property(target, family) && name) {
            for (std::size_t sibling : tree->at(tree->at(target).parent).children) {
                const Property* siblingName = tree->property(sibling, NodeLexicon::NAME);
                const Property* address = tree->property(sibling, family);
                if (tree->at(sibling).type != NodeLexicon::IP_INTERFACE || !siblingName ||
                    siblingName->value != name->value || !address)
                    continue;
                const std::string* text = std::get_if<std::string>(&address->value);
                const bool linkLocal = text && LiveSource::isLinkLocal(*text);
                if (!tree->property(target, family) || !linkLocal)
                    target = sibling;
                if (!linkLocal)
                    break;
            }
        }
        // Writing back what is there changes nothing, read-only values
        // (the resolver's) included.
        const Property* existing = tree->property(target, id);
        if (existing && existing->value == value)
            return true;
        auto text = [&](unsigned int property) {
            const Property* p = tree->property(target, property);
            const std::string* t = p ? std::get_if<std::string>(&p->value) : nullptr;
            return t ? *t : std::string();
        };
        now.name = text(NodeLexicon::NAME);
        // An alias is named by its label; the adapter above names the link.
        const std::size_t adapter = tree->at(target).parent;
        const Property* link = adapter < tree->size() && tree->at(adapter).type == NodeLexicon::NETWORK_ADAPTER
                                   ? tree->property(adapter, NodeLexicon::NAME)
                                   : nullptr;
        const std::string* linkName = link ? std::get_if<std::string>(&link->value) : nullptr;
        now.link = linkName ? *linkName : now.name;
        now.ipv4 = text(NodeLexicon::IPV4_ADDRESS);
        now.ipv6 = text(NodeLexicon::IPV6_ADDRESS);
        now.gateway4 = text(NodeLexicon::IPV4_GATEWAY);
        now.gateway6 = text(NodeLexicon::IPV6_GATEWAY);
        const Property* prefix = tree->property(target, NodeLexicon::PREFIX_LENGTH);
        const unsigned int* number = prefix ? std::get_if<unsigned int>(&prefix->value) : nullptr;
        now.prefix = number ? *number : 0;
    }
    std::string why = LiveSource::apply(now, id, value);
    if (!why.empty()) {
        refusal() = why;
        return false;
    }
    // Cursors of trees from before this change find the node again by its
    // new address.
    if (id == NodeLexicon::IPV4_ADDRESS || id == NodeLexicon::IPV6_ADDRESS) {
        const std::string& old = id == NodeLexicon::IPV4_ADDRESS ? now.ipv4 : now.ipv6;
        const std::string* given = std::get_if<std::string>(&value);
        if (given && (!old.empty() || (now.ipv4.empty() && now.ipv6.empty())))
            moves.record(now.link, now.name, id, old, *given);
    }
    // Seen at once; the notification that follows lays the tree out anew.
    std::unique_lock<StoreLock> writing(lock);
    Property replacement;
    replacement.value = value;
    tree->setProperty(target, id, replacement);
    if (id == NodeLexicon::SUBNET_MASK) {
        replacement.value = static_cast<unsigned int>(LiveSource::prefixOfMask(std::get<std::string>(value)));
        tree->setProperty(target, NodeLexicon::PREFIX_LENGTH, replacement);
    } else if ((id == NodeLexicon::IPV4_ADDRESS && now.ipv4.empty()) ||
               (id == NodeLexicon::PREFIX_LENGTH && now.ipv6.empty() && !now.ipv4.empty())) {
        // A first IPv4 address (on a node of the link's IPv6 address too)
        // carries its mask at once, so that a mask written next applies.
        const unsigned int prefix = id == NodeLexicon::PREFIX_LENGTH ? std::get<unsigned int>(value) : 24u;
        replacement.value = prefix;
        tree->setProperty(target, NodeLexicon::PREFIX_LENGTH, replacement);
        const uint32_t mask = prefix == 0 ? 0 : htonl(~uint32_t(0) << (32 - prefix));
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &mask, text, sizeof text);
        replacement.value = std::string(text);
        tree->setProperty(target, NodeLexicon::SUBNET_MASK, replacement);
    }
    return true;
}

void StoreState::setObserver(Observer replacement)
{
    std::lock_guard<std::mutex> guard(observing);
    if (replacement)
        observer = std::make_shared<const Observer>(std::move(replacement));
    else
        observer.reset();
}

void StoreState::open(const std::string& file)
{
    std::lock_guard<std::mutex> guard(writer);
    {
        FolderLock folder(file);
        if (folder.held())
            File::removeStaleTemporaries(File::Path(file));
    }
    FileMark mark;
    int pin = -1;
    std::shared_ptr<NodeTree> tree = readFile(file, mark, pin);
    live = false;
    install(tree, file, mark, pin, std::string());
}

void StoreState::load(const std::string& text, const std::string& persistPath)
{
    std::shared_ptr<NodeTree> tree = NodeTree::parse(text, persistPath.empty() ? "text" : persistPath);
    std::lock_guard<std::mutex> guard(writer);
    live = false;
    // Whatever is at persistPath now is what the text replaces.
    install(tree, persistPath, persistPath.empty() ? FileMark() : FileMark::of(persistPath), -1,
            std::string());
}

void StoreState::reload()
{
    std::lock_guard<std::mutex> guard(writer);
    ensureLoaded();
    if (path.empty())
        throw std::runtime_error("quellstore: the store was loaded from text and has no file to reload");
    FileMark mark;
    int pin = -1;
    std::shared_ptr<NodeTree> tree;
    try {
        tree = readFile(path, mark, pin);
    } catch (const std::runtime_error& e) {
        std::unique_lock<StoreLock> guard(lock);
        seen = FileMark::of(path);
        problem = e.what();
        throw;
    }
    install(tree, path, mark, pin, std::string());
}

std::string StoreState::file()
{
    std::lock_guard<std::mutex> guard(writer);
    ensureLoaded();
    return path;
}

unsigned long StoreState::restartRequests() const { return restarts.load(); }

std::string StoreState::dump()
{
    std::shared_ptr<NodeTree> tree = this->tree();
    std::shared_lock<StoreLock> guard(lock);
    return tree->serialize();
}

} // namespace StoreDetail
} // namespace Korvu
