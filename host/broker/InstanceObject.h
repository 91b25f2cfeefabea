#ifndef CIMHOST_INSTANCEOBJECT_H
#define CIMHOST_INSTANCEOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <string>
#include <vector>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;

// A CMPIInstance. Its path is built from the key properties: the keys of
// the path it was made with, then the keys registered for its class.
class InstanceObject : public Releasable {
public:
    static InstanceObject* create(Broker* broker, Arena& arena, const CMPIObjectPath* path);
    static InstanceObject* copy(Broker* broker, Arena& arena, const CMPIInstance* source);
    static const void* functionTable();
    explicit InstanceObject(std::pmr::memory_resource* memory)
        : nameSpace(memory), host(memory), className(memory), keyNames(memory), properties(memory),
          filter(memory), parts(memory)
    {
    }
    Cell<CMPIInstance> cell;
    std::pmr::string nameSpace;
    std::pmr::string host;
    std::pmr::string className;
    std::pmr::vector<std::pmr::string> keyNames;  // in path order
    NamedData properties;
    bool hasFilter = false;
    std::pmr::vector<std::pmr::string> filter;
    Arena parts;  // the values the properties point to
    Broker* broker;
    Arena* arena;
};

} // namespace cimhost

#endif
