#include "StoreState.h"

#include <cstdlib>
#include <stdexcept>

#include "File.h"
#include "NodeLexicon.h"
#include "NodeStore.h"

namespace Korvu {
namespace StoreDetail {

namespace {

// Written to the agent as the system's state, it asks for a restart.
const unsigned int restartState = 9;

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

} // namespace

StoreState::StoreState() : current(std::make_shared<NodeTree>()), loaded(false), restarts(0) {}

StoreState& StoreState::instance()
{
    // Never destroyed: a detached thread may still use the store while the
    // process exits.
    static StoreState* state = new StoreState;
    return *state;
}

std::shared_ptr<NodeTree> StoreState::readFile(const std::string& file)
{
    std::string text;
    if (!File::read(File::Path(file), text))
        throw std::runtime_error("quellstore: " + file + ": cannot read the file");
    return NodeTree::parse(text, file);
}

void StoreState::ensureLoaded()
{
    if (loaded.load(std::memory_order_acquire))
        return;
    const char* configured = std::getenv("QUELLSTORE_FILE");
    std::string file = configured && *configured ? configured : NodeStore::defaultFile;
    std::shared_ptr<NodeTree> tree;
    try {
        tree = readFile(file);
    } catch (const std::runtime_error&) {
        // Cursors cannot report a failure; a missing or broken file reads as
        // an empty store until reload() or open() succeeds.
        tree = std::make_shared<NodeTree>();
    }
    install(tree, file);
}

void StoreState::install(std::shared_ptr<NodeTree> tree, const std::string& file)
{
    std::unique_lock<StoreLock> guard(lock);
    current = std::move(tree);
    path = file;
    loaded.store(true, std::memory_order_release);
}

std::shared_ptr<NodeTree> StoreState::tree()
{
    if (!loaded.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> guard(writer);
        ensureLoaded();
    }
    std::shared_lock<StoreLock> guard(lock);
    return current;
}

StoreLock& StoreState::values() { return lock; }

bool StoreState::write(const std::shared_ptr<NodeTree>& from, std::size_t node, unsigned int id, Value value)
{
    if (!from || node >= from->size() || !isStorable(value))
        return false;
    std::unique_lock<std::mutex> guard(writer);
    ensureLoaded();
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
    if (!path.empty() && !File::writeAtomically(File::Path(path), text))
        return false;
    {
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
    install(readFile(file), file);
}

void StoreState::load(const std::string& text, const std::string& persistPath)
{
    std::shared_ptr<NodeTree> tree = NodeTree::parse(text, persistPath.empty() ? "text" : persistPath);
    std::lock_guard<std::mutex> guard(writer);
    install(tree, persistPath);
}

void StoreState::reload()
{
    std::lock_guard<std::mutex> guard(writer);
    ensureLoaded();
    if (path.empty())
        throw std::runtime_error("quellstore: the store was loaded from text and has no file to reload");
    install(readFile(path), path);
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
