#ifndef KORVU_IPIF_ASSOCIATIONCLASS_H
#define KORVU_IPIF_ASSOCIATIONCLASS_H

#include <cmpidt.h>
#include <cmpimacs.h>
#include <strings.h>

#include <cstddef>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "AssociationPaths.h"
#include "FrameworkException.h"
#include "JoinIndex.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

namespace AssociationHooks {
template <class T, class = void>
struct HasFindA : std::false_type {};
template <class T>
struct HasFindA<T, std::void_t<decltype(&T::findA)>> : std::true_type {};
template <class T, class = void>
struct HasFindB : std::false_type {};
template <class T>
struct HasFindB<T, std::void_t<decltype(&T::findB)>> : std::true_type {};
template <class T, class = void>
struct HasCandidatesA : std::false_type {};
template <class T>
struct HasCandidatesA<T, std::void_t<decltype(&T::candidatesA)>> : std::true_type {};
template <class T, class = void>
struct HasCandidatesB : std::false_type {};
template <class T>
struct HasCandidatesB<T, std::void_t<decltype(&T::candidatesB)>> : std::true_type {};
} // namespace AssociationHooks

// One end of an association.
struct AssociationEnd {
    const char* role;               // reference name ("Antecedent")
    unsigned short ids[3];          // class ids of a path of this end, 0 ends the list
    const char* classes[4];         // result classes it answers to, null ends the list
    const char* keys[5];            // keys a path of this end must carry, null ends the list
};

// The CIM class of one association, over a traits struct that tells its
// names, its two ends and how their elements pair:
//
//   using Model = ...;                     join keys and per-pair values
//   static const char* const name;         "CMPIX", the C++ class it stands for
//   static const char* const qualified;    "Korvu::IPInterfaceProvider::CMPIX::"
//   static const char* const file;         "CMPIX.cpp"
//   static const char* const className;    the association class
//   static const unsigned short classId;
//   static const char* const ancestors[];  DMTF superclasses, null-terminated
//   static const AssociationEnd a, b;
//   static void listA(const EndContext&, std::vector<CMPIObjectPath*>&);   and listB
//   static CMPIInstance* instanceA(const EndContext&, const CMPIObjectPath*, const char**); and B
//   static std::string keyA(Model&, const PathKeys&, bool given);    and keyB
//   static void addProperties(Model&, CMPIInstance*, const CMPIObjectPath* a, const CMPIObjectPath* b);
//
// and may add, for requests from one object (each has a default):
//
//   static void findA(const EndContext&, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>&);
//       and findB: the elements of the end that `given` selects, in the
//       order listA gives them, each once (default: listA, then select);
//   static void candidatesA(const EndContext&, Model&, const std::string& key, std::vector<CMPIObjectPath*>&);
//       and candidatesB: in the order listA gives them, elements among which
//       are all with that join key (default: listA).
//
// An element of end A and one of end B are associated when their join keys
// are equal and not empty. A key function throws FrameworkException when a
// path that a client gave (`given`) is malformed; for listed elements it
// gives an empty key instead.
//
// The object computes its association elements (pairs of paths) when it is
// built: from a path of end A, the pairs of the A elements the path names;
// from a path of end B likewise; from the association's class path, every
// pair; from a keyed association path, the one pair its two references name.
// A path that names no element, or an element without partner, gives no
// pair. Failures of the node store or of the CIM server throw.
//
// From one object, only that element and the far elements with its join
// key are looked up: neither end is listed whole unless the traits leave it
// no other way.
template <class Traits>
class AssociationClass {
public:
    // `wholeFarEnds`: the far ends' instances will be asked for
    // (Associators), with `properties`.
    AssociationClass(const CMPIBroker* broker, const CMPIContext* context, const CMPIObjectPath* path,
                     bool wholeFarEnds = false, const char** properties = nullptr);
    ~AssociationClass();

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);
    CMPIInstance* getAssociator(const char** properties);
    CMPIObjectPath* getAssociatorNames();
    bool isNotTargetClass(const char* resultClass);

    // Requests that name no association class, or a DMTF superclass, reach
    // every association that fits: true for null, the class itself and its
    // ancestors.
    static bool answersTo(const char* assocClass);
    // True when a path of that class id is one of the two ends.
    static bool hasEnd(unsigned short classId);
    // False when role (of the given end) or resultRole (of the far end)
    // names another reference; null names any.
    bool playsRoles(const char* role, const char* resultRole);

private:
    enum class Given { None, A, B, Association };
    static constexpr std::size_t fewSources = 4;
    struct Pair {
        CMPIObjectPath* a;
        CMPIObjectPath* b;
    };

    // Join keys of one end's list, read as its elements join it; read anew
    // in `finish` when the list changed in another way than growing.
    class KeysAsListed : public ListWatcher {
    public:
        KeysAsListed(typename Traits::Model& model, bool endA, const std::vector<CMPIObjectPath*>& list)
            : model(model), endA(endA), list(list)
        {
        }
        void added(const std::vector<CMPIObjectPath*>& grown, const MadeKeys* made) override
        {
            if (&grown == &list)
                catchUp(made);
        }
        // The keys of the whole list, in its order.
        JoinIndex::Keys& finish()
        {
            bool same = read.size() <= list.size();
            for (std::size_t i = 0; same && i < read.size(); ++i)
                same = read[i] == list[i];
            if (!same) {
                keys = JoinIndex::Keys(list.size());
                read.clear();
            }
            catchUp(nullptr);
            return keys;
        }

    private:
        // `made` holds the keys of the list's last element, if not null.
        void catchUp(const MadeKeys* made)
        {
            while (read.size() < list.size()) {
                CMPIObjectPath* path = list[read.size()];
                const PathKeys source(path, read.size() + 1 == list.size() ? made : nullptr);
                keys.add(endA ? Traits::keyA(model, source, false) : Traits::keyB(model, source, false));
                read.push_back(path);
            }
        }

        typename Traits::Model& model;
        const bool endA;
        const std::vector<CMPIObjectPath*>& list;
        JoinIndex::Keys keys;
        std::vector<CMPIObjectPath*> read;  // the element each key was read from
    };

    static bool listed(const unsigned short* ids, unsigned short id);
    static void requireKeys(const AssociationEnd& end, const CMPIObjectPath* path);
    static void find(bool fromA, const EndContext& c, const CMPIObjectPath* given,
                     std::vector<CMPIObjectPath*>& out);
    void farWithKey(bool fromA, const EndContext& c, const std::string& key, std::vector<CMPIObjectPath*>& out);
    void pairFrom(bool fromA, const CMPIObjectPath* path);
    // Pairs each source (of end A when fromA) with the far elements of its join key.
    void pairEach(bool fromA, const EndContext& c, const std::vector<CMPIObjectPath*>& sources);
    void pairAll();
    void pairNamed(const CMPIObjectPath* path);
    void enter(const char* operation, int line);
    void exit(const char* operation, int line);

    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    unsigned short sourceClassId;
    Given given;
    typename Traits::Model model;
    std::vector<Pair> pairs;
    std::size_t position;
    CMPIObjectPath* pairPath = nullptr;
    FetchedEnds fetched;
    bool wholeFarEnds;
    FetchedEnds* fetchedEnds() { return wholeFarEnds ? &fetched : nullptr; }
};

template <class Traits>
void AssociationClass<Traits>::enter(const char* operation, int line)
{
    static log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger(IPIF_LOGGER_NAME);
    if (Trace::isEnabled(logger, Trace::Level::Info))
        Trace::writeLine(logger, Trace::Level::Info, LOG4CXX_LOCATION, "ENTERING: %s%s() in %s [Line: %d]",
                         Traits::qualified, operation, Traits::file, line);
}

template <class Traits>
void AssociationClass<Traits>::exit(const char* operation, int line)
{
    static log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger(IPIF_LOGGER_NAME);
    if (Trace::isEnabled(logger, Trace::Level::Info))
        Trace::writeLine(logger, Trace::Level::Info, LOG4CXX_LOCATION, "EXITING: %s%s() in %s [Line: %d]",
                         Traits::qualified, operation, Traits::file, line);
}

template <class Traits>
AssociationClass<Traits>::AssociationClass(const CMPIBroker* broker, const CMPIContext* context,
                                           const CMPIObjectPath* path, bool wholeFarEnds,
                                           const char** properties)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), given(Given::None), position(0),
      wholeFarEnds(wholeFarEnds)
{
    fetched.properties = properties;
    enter(Traits::name, __LINE__);
    sourceClassId = ProviderUtilities::getClassId(path);
    if (listed(Traits::a.ids, sourceClassId)) {
        given = Given::A;
        pairFrom(true, path);
    } else if (listed(Traits::b.ids, sourceClassId)) {
        given = Given::B;
        pairFrom(false, path);
    } else if (sourceClassId == Traits::classId) {
        given = Given::Association;
        if (ProviderUtilities::getKeyCount(path) > 0)
            pairNamed(path);
        else
            pairAll();
    }
    exit(Traits::name, __LINE__);
}

template <class Traits>
AssociationClass<Traits>::~AssociationClass()
{
    static log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger(IPIF_LOGGER_NAME);
    if (Trace::isEnabled(logger, Trace::Level::Info))
        Trace::writeLine(logger, Trace::Level::Info, LOG4CXX_LOCATION,
                         "METHOD: %s~%s() was invoked in %s [Line: %d]", Traits::qualified,
                         Traits::name, Traits::file, __LINE__);
}

template <class Traits>
bool AssociationClass<Traits>::listed(const unsigned short* ids, unsigned short id)
{
    for (int i = 0; i < 3 && ids[i] != 0; ++i)
        if (ids[i] == id)
            return true;
    return false;
}

template <class Traits>
void AssociationClass<Traits>::requireKeys(const AssociationEnd& end, const CMPIObjectPath* path)
{
    for (int i = 0; i < 5 && end.keys[i]; ++i) {
        std::string value;
        if (!ProviderUtilities::getKeyProperty(path, end.keys[i], value))
            throw FrameworkException(std::string("Could not find '") + end.keys[i] + "' key in Moniker");
    }
}

template <class Traits>
void AssociationClass<Traits>::find(bool fromA, const EndContext& c, const CMPIObjectPath* given,
                                    std::vector<CMPIObjectPath*>& out)
{
    std::vector<CMPIObjectPath*> all;
    if (fromA) {
        if constexpr (AssociationHooks::HasFindA<Traits>::value) {
            Traits::findA(c, given, out);
            return;
        } else {
            Traits::listA(c, all);
        }
    } else {
        if constexpr (AssociationHooks::HasFindB<Traits>::value) {
            Traits::findB(c, given, out);
            return;
        } else {
            Traits::listB(c, all);
        }
    }
    AssociationPaths::select(given, all, out);
}

template <class Traits>
void AssociationClass<Traits>::farWithKey(bool fromA, const EndContext& c, const std::string& key,
                                          std::vector<CMPIObjectPath*>& out)
{
    std::vector<CMPIObjectPath*> candidates;
    if (fromA) {
        if constexpr (AssociationHooks::HasCandidatesB<Traits>::value)
            Traits::candidatesB(c, model, key, candidates);
        else
            Traits::listB(c, candidates);
        for (CMPIObjectPath* other : candidates)
            if (Traits::keyB(model, other, false) == key)
                out.push_back(other);
    } else {
        if constexpr (AssociationHooks::HasCandidatesA<Traits>::value)
            Traits::candidatesA(c, model, key, candidates);
        else
            Traits::listA(c, candidates);
        for (CMPIObjectPath* other : candidates)
            if (Traits::keyA(model, other, false) == key)
                out.push_back(other);
    }
}

template <class Traits>
void AssociationClass<Traits>::pairFrom(bool fromA, const CMPIObjectPath* path)
{
    requireKeys(fromA ? Traits::a : Traits::b, path);
    // A malformed key of the given path throws here, before any walk.
    if ((fromA ? Traits::keyA(model, path, true) : Traits::keyB(model, path, true)).empty())
        return;
    const EndContext c{broker, context, nameSpace, fetchedEnds()};
    std::vector<CMPIObjectPath*> sources;
    find(fromA, c, path, sources);
    pairEach(fromA, c, sources);
}

template <class Traits>
void AssociationClass<Traits>::pairEach(bool fromA, const EndContext& c, const std::vector<CMPIObjectPath*>& sources)
{
    // The far elements of the last join key; sources of one key come together.
    std::string farKey;
    std::vector<CMPIObjectPath*> far;
    for (CMPIObjectPath* source : sources) {
        const std::string key =
            fromA ? Traits::keyA(model, source, false) : Traits::keyB(model, source, false);
        if (key.empty())
            continue;
        if (key != farKey) {
            far.clear();
            farWithKey(fromA, c, key, far);
            farKey = key;
        }
        for (CMPIObjectPath* other : far)
            pairs.push_back(fromA ? Pair{source, other} : Pair{other, source});
    }
}

template <class Traits>
void AssociationClass<Traits>::pairAll()
{
    const EndContext c{broker, context, nameSpace, fetchedEnds()};
    std::vector<CMPIObjectPath*> as;
    std::vector<CMPIObjectPath*> bs;
    // Each end's keys as its paths are made: read after the whole end, a
    // large request's first paths are out of the caches.
    KeysAsListed keysA(model, true, as);
    Traits::listA(EndContext{broker, context, nameSpace, fetchedEnds(), &keysA}, as);
    if (as.empty())
        return;
    if constexpr (AssociationHooks::HasCandidatesB<Traits>::value) {
        // A computer system or two: a walk narrowed to each one's elements
        // costs less than building a path for every element of end B.
        if (as.size() <= fewSources) {
            pairEach(true, c, as);
            return;
        }
    }
    const JoinIndex::Keys& aKeys = keysA.finish();
    KeysAsListed keysB(model, false, bs);
    Traits::listB(EndContext{broker, context, nameSpace, fetchedEnds(), &keysB}, bs);
    // B elements by join key, those of one key in store order.
    const JoinIndex byKey(std::move(keysB.finish()));
    pairs.reserve(bs.size());
    for (std::size_t i = 0; i < as.size(); ++i)
        for (std::size_t b = byKey.first(aKeys.at(i)); b != JoinIndex::none; b = byKey.next(b))
            pairs.push_back(Pair{as[i], bs[b]});
}

template <class Traits>
void AssociationClass<Traits>::pairNamed(const CMPIObjectPath* path)
{
    CMPIObjectPath* refA = nullptr;
    CMPIObjectPath* refB = nullptr;
    if (!ProviderUtilities::getKeyProperty(path, Traits::a.role, &refA) || !refA ||
        !ProviderUtilities::getKeyProperty(path, Traits::b.role, &refB) || !refB)
        return;
    pairFrom(true, refA);
    std::vector<Pair> named;
    for (const Pair& p : pairs)
        if (AssociationPaths::selects(refB, p.b) && AssociationPaths::selects(p.b, refB) &&
            AssociationPaths::selects(p.a, refA)) {
            named.push_back(p);
            break;
        }
    pairs.swap(named);
}

template <class Traits>
AssociationClass<Traits>::operator bool()
{
    enter("operator bool", __LINE__);
    const bool result = position < pairs.size();
    exit("operator bool", __LINE__);
    return result;
}

template <class Traits>
void AssociationClass<Traits>::operator++()
{
    enter("operator ++", __LINE__);
    if (position < pairs.size())
        ++position;
    exit("operator ++", __LINE__);
}

template <class Traits>
CMPIObjectPath* AssociationClass<Traits>::getObjectPath()
{
    enter("getObjectPath", __LINE__);
    CMPIObjectPath* path = nullptr;
    if (position < pairs.size()) {
        path = ProviderUtilities::createObjectPath(broker, Traits::className, nameSpace);
        if (path) {
            ProviderUtilities::setKeyProperty(path, Traits::a.role, pairs[position].a);
            ProviderUtilities::setKeyProperty(path, Traits::b.role, pairs[position].b);
        }
    }
    exit("getObjectPath", __LINE__);
    return path;
}

template <class Traits>
CMPIInstance* AssociationClass<Traits>::getCMPIInstance(const char** /*properties*/)
{
    enter("getCMPIInstance", __LINE__);
    CMPIInstance* instance = nullptr;
    // One path, keyed anew for every pair: an instance takes copies of the
    // keys it is made from.
    if (position < pairs.size() && !pairPath)
        pairPath = ProviderUtilities::createObjectPath(broker, Traits::className, nameSpace);
    if (position < pairs.size() && pairPath) {
        ProviderUtilities::setKeyProperty(pairPath, Traits::a.role, pairs[position].a);
        ProviderUtilities::setKeyProperty(pairPath, Traits::b.role, pairs[position].b);
        instance = ProviderUtilities::createInstance(broker, pairPath);
        if (instance) {
            // Brokers that make the path's keys properties of the new
            // instance need no second copy of either reference.
            for (const auto& end : {std::make_pair(Traits::a.role, pairs[position].a),
                                    std::make_pair(Traits::b.role, pairs[position].b)}) {
                CMPIData held = CMGetProperty(instance, end.first, nullptr);
                if ((held.state & (CMPI_notFound | CMPI_nullValue)) || held.type != CMPI_ref)
                    ProviderUtilities::setProperty(instance, end.first, end.second);
            }
            Traits::addProperties(model, instance, pairs[position].a, pairs[position].b);
        }
    }
    exit("getCMPIInstance", __LINE__);
    return instance;
}

template <class Traits>
CMPIInstance* AssociationClass<Traits>::getAssociator(const char** properties)
{
    enter("getAssociator", __LINE__);
    CMPIInstance* instance = nullptr;
    const EndContext c{broker, context, nameSpace, fetchedEnds()};
    if (position < pairs.size()) {
        if (given == Given::A)
            instance = Traits::instanceB(c, pairs[position].b, properties);
        else if (given == Given::B)
            instance = Traits::instanceA(c, pairs[position].a, properties);
    }
    exit("getAssociator", __LINE__);
    return instance;
}

template <class Traits>
CMPIObjectPath* AssociationClass<Traits>::getAssociatorNames()
{
    enter("getAssociatorNames", __LINE__);
    CMPIObjectPath* path = nullptr;
    if (position < pairs.size()) {
        if (given == Given::A)
            path = pairs[position].b;
        else if (given == Given::B)
            path = pairs[position].a;
    }
    exit("getAssociatorNames", __LINE__);
    return path;
}

template <class Traits>
bool AssociationClass<Traits>::isNotTargetClass(const char* resultClass)
{
    enter("isNotTargetClass", __LINE__);
    bool result = true;
    if (given == Given::A)
        result = !AssociationPaths::isClass(resultClass, Traits::b.classes);
    else if (given == Given::B)
        result = !AssociationPaths::isClass(resultClass, Traits::a.classes);
    exit("isNotTargetClass", __LINE__);
    return result;
}

template <class Traits>
bool AssociationClass<Traits>::answersTo(const char* assocClass)
{
    if (!assocClass)
        return true;
    if (strcasecmp(assocClass, Traits::className) == 0)
        return true;
    return AssociationPaths::isClass(assocClass, Traits::ancestors);
}

template <class Traits>
bool AssociationClass<Traits>::hasEnd(unsigned short classId)
{
    return listed(Traits::a.ids, classId) || listed(Traits::b.ids, classId);
}

template <class Traits>
bool AssociationClass<Traits>::playsRoles(const char* role, const char* resultRole)
{
    enter("playsRoles", __LINE__);
    bool result = true;
    if (given == Given::A || given == Given::B) {
        const AssociationEnd& own = given == Given::A ? Traits::a : Traits::b;
        const AssociationEnd& far = given == Given::A ? Traits::b : Traits::a;
        if (role && *role && strcasecmp(role, own.role) != 0)
            result = false;
        if (resultRole && *resultRole && strcasecmp(resultRole, far.role) != 0)
            result = false;
    }
    exit("playsRoles", __LINE__);
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
