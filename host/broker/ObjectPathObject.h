#ifndef CIMHOST_OBJECTPATHOBJECT_H
#define CIMHOST_OBJECTPATHOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <string>
#include <string_view>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;
class ResultObject;

// A CMPIObjectPath: namespace, host, class and ordered keys looked up
// without regard to case.
class ObjectPathObject : public Releasable {
public:
    static ObjectPathObject* create(Broker* broker, Arena& arena, std::string_view ns,
                                    std::string_view className);
    static ObjectPathObject* copy(Broker* broker, Arena& arena, const CMPIObjectPath* source);
    static const void* functionTable();
    explicit ObjectPathObject(std::pmr::memory_resource* memory)
        : nameSpace(memory), host(memory), className(memory), keys(memory), parts(memory)
    {
    }
    Cell<CMPIObjectPath> cell;
    std::pmr::string nameSpace;
    std::pmr::string host;
    std::pmr::string className;
    NamedData keys;
    Arena parts;  // the values the keys point to
    Broker* broker;
    Arena* arena;
    // As for instances: set while this object stands as a request's
    // answer; a change first puts a copy in its place.
    ResultObject* answerOf = nullptr;
    size_t answerAt = 0;
};

} // namespace cimhost

#endif
