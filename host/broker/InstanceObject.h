#ifndef CIMHOST_INSTANCEOBJECT_H
#define CIMHOST_INSTANCEOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <memory>
#include <string>
#include <vector>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;
class ResultObject;
struct PathBody;

// A CMPIInstance. Its path is built from the key properties: the keys of
// the path it was made with, then the keys registered for its class.
class InstanceObject : public Releasable {
public:
    static constexpr bool memoryOnly = true;
    static InstanceObject* create(Broker* broker, Arena& arena, const CMPIObjectPath* path);
    static InstanceObject* copy(Broker* broker, Arena& arena, const CMPIInstance* source);
    static const void* functionTable();
    // An instance returned as an answer: instances of its class made later
    // on this thread take room for as many properties at once.
    static void answered(const InstanceObject* object);
    explicit InstanceObject(std::pmr::memory_resource* memory)
        : nameSpace(memory), host(memory), className(memory), keyNames(memory), properties(memory),
          filter(memory), parts(memory), held(memory)
    {
    }
    Cell<CMPIInstance> cell;
    Name nameSpace;
    Name host;
    Name className;
    std::pmr::vector<Name> keyNames;  // in path order
    NamedData properties;
    bool hasFilter = false;
    std::pmr::vector<Name> filter;
    Arena parts;  // the values the properties point to
    // Bodies of paths the instance was made from, in the same memory: key
    // properties point to their values instead of copies.
    std::pmr::vector<std::shared_ptr<const PathBody>> held;
    Broker* broker;
    Arena* arena;
    // Set while this very object stands as a request's answer (returned
    // without a copy, see adoptAnswer): a later change first puts a copy in
    // its place, and a release leaves it to the arena.
    ResultObject* answerOf = nullptr;
    size_t answerAt = 0;
};



} // namespace cimhost

#endif
