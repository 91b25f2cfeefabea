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

// The keys of a path and the values they point to.
struct PathKeys {
    explicit PathKeys(std::pmr::memory_resource* memory) : keys(memory), parts(memory) {}
    NamedData keys;
    Arena parts;
};

// A CMPIObjectPath: namespace, host, class and ordered keys looked up
// without regard to case.
//
// A copy into memory of the same source shares the keys of the path it
// was made from until either changes them: a request copies every
// reference it returns two or three times. A changed path keeps the keys
// it gave up, so a value read from it stays valid while it lives.
class ObjectPathObject : public Releasable {
public:
    static ObjectPathObject* create(Broker* broker, Arena& arena, std::string_view ns,
                                    std::string_view className);
    static ObjectPathObject* copy(Broker* broker, Arena& arena, const CMPIObjectPath* source);
    static const void* functionTable();
    explicit ObjectPathObject(std::pmr::memory_resource* memory);
    const NamedData& keys() const;
    // The keys to change, and the arena their new values go to.
    PathKeys& ownKeys();

    Cell<CMPIObjectPath> cell;
    std::pmr::string nameSpace;
    std::pmr::string host;
    std::pmr::string className;
    Broker* broker;
    Arena* arena;
    // As for instances: set while this object stands as a request's
    // answer; a change first puts a copy in its place.
    ResultObject* answerOf = nullptr;
    size_t answerAt = 0;

private:
    std::pmr::memory_resource* memory;
    std::shared_ptr<PathKeys> shared;
    std::pmr::vector<std::shared_ptr<PathKeys>> given;  // keys given up by a change
};

} // namespace cimhost

#endif
