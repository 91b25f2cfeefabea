#ifndef KORVU_IPIF_ASSOCIATIONPATHS_H
#define KORVU_IPIF_ASSOCIATIONPATHS_H

#include <cmpidt.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "MadeKeys.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Far ends another provider serves, taken whole when they are looked for
// in a request that returns them: that provider is then asked once per end,
// and in a CIM server each ask is a round trip to another process.
struct FetchedEnds {
    // As the request asks for them; null for all.
    const char** properties = nullptr;
    std::vector<std::pair<const CMPIObjectPath*, CMPIInstance*>> held;
};

// Told each time an element joins a list of one end: a whole end listed
// for pairing has each element's join key read while its path was just
// made, not in a second pass when a large end's first paths have left the
// caches.
class ListWatcher {
public:
    // `made`, when not null, holds the keys of the list's last element.
    virtual void added(const std::vector<CMPIObjectPath*>& list, const MadeKeys* made) = 0;

protected:
    ~ListWatcher() = default;
};

// The request an association class works for: where its paths go and how
// it reaches the CIM server.
struct EndContext {
    const CMPIBroker* broker;
    const CMPIContext* context;
    const std::string& nameSpace;
    // Null unless the far ends' instances are wanted.
    FetchedEnds* fetched;
    // Null unless a whole end is being listed.
    ListWatcher* listed = nullptr;
};

// The keys of one element: its path, and the texts its class put on it
// when they came along.
class PathKeys {
public:
    PathKeys(const CMPIObjectPath* path, const MadeKeys* made = nullptr)
        : path(path), made(made && made->whole() ? made : nullptr)
    {
    }
    const CMPIObjectPath* path;
    const MadeKeys* made;
};

// Path work shared by the association CIM classes. Holds no state.
class AssociationPaths {
public:
    // Text of one key value: in place for a string, converted for other
    // types, empty for a null value, and for a reference unless asked for.
    // Lives no longer than the value's path.
    class KeyValue {
    public:
        KeyValue() = default;
        explicit KeyValue(const CMPIData& data, bool references = false) { set(data, references); }
        KeyValue(const KeyValue&) = delete;
        KeyValue& operator=(const KeyValue&) = delete;
        void set(const CMPIData& data, bool references = false);

        std::string_view text;

    private:
        std::string spare;
    };

    // A key's text, read in place from the path where the key is a string:
    // join keys are built for every listed element, and copying each key
    // cost more than the rest of the key. It lives no longer than the path.
    class KeyText {
    public:
        KeyText(const CMPIObjectPath* path, const char* name);
        explicit KeyText(std::string_view text) { value.text = text; }
        KeyText(const KeyText&) = delete;
        KeyText& operator=(const KeyText&) = delete;
        operator std::string_view() const { return value.text; }
        operator std::string() const { return std::string(value.text); }
        bool empty() const { return value.text.empty(); }

    private:
        KeyValue value;
    };

    // True when className names one of the classes of the null-terminated
    // list, ASCII case ignored.
    static bool isClass(const char* className, const char* const* classes);

    // True when every key of `given` is a key of `element` with the same
    // value (names compared without regard to case). A path with no key
    // selects nothing.
    static bool selects(const CMPIObjectPath* given, const CMPIObjectPath* element);

    // Paths of one class by their key values: each element once.
    class PathSet {
    public:
        // False when a path with the same key values, in the same order,
        // is in already. `made`, when not null, holds the path's keys.
        bool insert(const CMPIObjectPath* path, const MadeKeys* made = nullptr);

    private:
        // By a hash of the key values: building one text of them per
        // listed element cost more than the rest of the listing. Open
        // addressing: a map node per element was a heap block each.
        struct Slot {
            std::size_t hash = 0;
            const CMPIObjectPath* path = nullptr;  // null when free
        };
        std::vector<Slot> slots;
        std::size_t size = 0;
    };

    // Number of keys; 0 for null.
    static unsigned keyCount(const CMPIObjectPath* path);

    // Text of a key; empty when absent.
    static KeyText key(const PathKeys& keys, const char* name);

    // Every element of one of this module's CIM classes, in store order,
    // each once: a class whose elements come from several nodes of one
    // interface may name an element more than once.
    template <class End>
    static void listOwn(const EndContext& c, std::vector<CMPIObjectPath*>& out)
    {
        listOwnWhere<End>(c, [](End&) {}, [](const CMPIObjectPath*) { return true; }, out);
    }

    // The elements of one of this module's CIM classes that `given`
    // selects, in store order, each once. The class's own key filters
    // narrow the walk; they may let more through, so every key is compared.
    // A path with as many keys as the element it selects names it whole:
    // no other element can follow.
    template <class End>
    static void findOwn(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
    {
        End end(c.broker, c.context, c.nameSpace);
        filterBy(end, given, 0);
        PathSet seen;
        for (; end; ++end) {
            CMPIObjectPath* path = end.getObjectPath();
            if (!path || !selects(given, path) || !seen.insert(path, madeKeys(end, 0)))
                continue;
            out.push_back(path);
            if (keyCount(given) == keyCount(path))
                return;
        }
    }

    // Like listOwn, for the elements `keep` accepts, the walk first narrowed
    // by `narrow(End&)`, which must let every element `keep` accepts through.
    template <class End, class Narrow, class Keep>
    static void listOwnWhere(const EndContext& c, Narrow narrow, Keep keep, std::vector<CMPIObjectPath*>& out)
    {
        PathSet seen;
        End end(c.broker, c.context, c.nameSpace);
        narrow(end);
        while (end) {
            if (CMPIObjectPath* path = end.getObjectPath())
                if (keep(path)) {
                    const MadeKeys* made = madeKeys(end, 0);
                    if (seen.insert(path, made)) {
                        out.push_back(path);
                        if (c.listed)
                            c.listed->added(out, made);
                    }
                }
            ++end;
        }
    }

    // The IP protocol endpoints of one interface, in store order.
    template <class Endpoint>
    static void listInterfaceEndpoints(const EndContext& c, const std::string& interfaceName,
                                       std::vector<CMPIObjectPath*>& out)
    {
        listOwnWhere<Endpoint>(c, [&interfaceName](Endpoint& end) { end.setInterfaceName(interfaceName); },
                               [](const CMPIObjectPath*) { return true; }, out);
    }

    // Like listOwn, narrowed by the class's key filters on the keys of
    // `narrow`; every element is listed when it is null.
    template <class End>
    static void listOwnNarrowed(const EndContext& c, const CMPIObjectPath* narrow, std::vector<CMPIObjectPath*>& out)
    {
        if (!narrow) {
            listOwn<End>(c, out);
            return;
        }
        listOwnWhere<End>(c, [narrow](End& end) { filterBy(end, narrow, 0); },
                          [](const CMPIObjectPath*) { return true; }, out);
    }

    // The instance of one of this module's CIM classes that `path` names.
    template <class End>
    static CMPIInstance* instanceOwn(const EndContext& c, const CMPIObjectPath* path,
                                     const char** properties)
    {
        End end(c.broker, c.context, path);
        // The class's own filters may stop first on another element.
        for (; end; ++end)
            if (selects(path, end.getObjectPath()))
                return end.getCMPIInstance(properties);
        return nullptr;
    }

    // A path of `className` in the request's namespace with string keys,
    // to narrow a walk with; null when the broker cannot make one.
    static CMPIObjectPath* keyPath(const EndContext& c, const char* className,
                                   std::initializer_list<std::pair<const char*, std::string>> keys);

    // The elements of `listed` that `given` selects, in their order.
    static void select(const CMPIObjectPath* given, const std::vector<CMPIObjectPath*>& listed,
                       std::vector<CMPIObjectPath*>& out);

    // Every instance name of a class that another provider serves. A class
    // nobody serves has none; any other failure of the CIM server throws
    // ProviderException.
    static void listServed(const EndContext& c, const char* className,
                           std::vector<CMPIObjectPath*>& out);

    // The element another provider serves under `path` (whose class it must
    // be of), asked for by its keys; none when it has none. A provider that
    // does not answer single instances is listed instead, and its elements
    // that `path` selects kept. Other failures throw ProviderException, with
    // the text a listing throws.
    // With `c.fetched`, the instance found is asked for with its properties
    // and kept there for instanceServed.
    static void findServed(const EndContext& c, const CMPIObjectPath* path, std::vector<CMPIObjectPath*>& out);

    // The instance another provider serves under `path`; null when it
    // cannot be had. One findServed kept is not asked for again.
    static CMPIInstance* instanceServed(const EndContext& c, const CMPIObjectPath* path,
                                        const char** properties);

private:
    // The keys of the path an end class made last, where it keeps them.
    template <class End>
    static auto madeKeys(End& end, int) -> decltype(&end.madeKeys())
    {
        return &end.madeKeys();
    }
    template <class End>
    static const MadeKeys* madeKeys(End&, long)
    {
        return nullptr;
    }

    // The setting classes filter by a whole InstanceID or by its interface
    // part; a walk for a given element wants the whole one.
    template <class End>
    static auto filterBy(End& end, const CMPIObjectPath* path, int) -> decltype(end.setObjectPath(path, false))
    {
        end.setObjectPath(path, false);
    }
    template <class End>
    static void filterBy(End& end, const CMPIObjectPath* path, long)
    {
        end.setObjectPath(path);
    }
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
