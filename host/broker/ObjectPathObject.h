#ifndef CIMHOST_OBJECTPATHOBJECT_H
#define CIMHOST_OBJECTPATHOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;
class ResultObject;

// What a path names: namespace, host, class and keys, with the values the
// keys point to.
struct PathBody {
    explicit PathBody(std::pmr::memory_resource* memory)
        : nameSpace(memory), host(memory), className(memory), keys(memory), parts(memory)
    {
    }
    Name nameSpace;
    Name host;
    Name className;
    NamedData keys;
    Arena parts;
};

// A CMPIObjectPath: namespace, host, class and ordered keys looked up
// without regard to case.
//
// A copy into memory of the same source shares the body of the path it
// was made from until either changes it: a request copies every reference
// it returns two or three times. A changed path keeps the body it gave
// up, so a value read from it stays valid while it lives.
class ObjectPathObject : public Releasable {
public:
    static constexpr bool memoryOnly = true;
    static ObjectPathObject* create(Broker* broker, Arena& arena, std::string_view ns,
                                    std::string_view className);
    static ObjectPathObject* copy(Broker* broker, Arena& arena, const CMPIObjectPath* source);
    static const void* functionTable();
    explicit ObjectPathObject(std::pmr::memory_resource* memory);
    ~ObjectPathObject() override;
    const PathBody& body() const { return *shared; }
    const NamedData& keys() const { return shared->keys; }
    // The body to change; new key values go to its parts. A shared body is
    // copied first, all but the value of the key `replacing` names (if
    // any), which the caller is about to set.
    PathBody& own(const char* replacing = nullptr);
    // The body itself, for a holder whose memory is `memory`: it outlives
    // every object drawn from that memory. Null for other memory.
    std::shared_ptr<const PathBody> shareInto(std::pmr::memory_resource* into) const
    {
        return into == memory ? std::shared_ptr<const PathBody>(shared) : nullptr;
    }

    Cell<CMPIObjectPath> cell;
    Broker* broker;
    Arena* arena;
    // As for instances: set while this object stands as a request's
    // answer; a change first puts a copy in its place.
    ResultObject* answerOf = nullptr;
    size_t answerAt = 0;

private:
    std::shared_ptr<PathBody> newBody() const;

    using Bodies = std::pmr::vector<std::shared_ptr<PathBody>>;

    std::pmr::memory_resource* memory;
    std::shared_ptr<PathBody> shared;  // never null
    // Bodies given up by a change, made at the first: most paths never
    // change once copied, and a large request holds several paths per
    // returned element.
    Bodies* given = nullptr;
};

} // namespace cimhost

#endif
