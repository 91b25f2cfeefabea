#ifndef CIMHOST_ARGSOBJECT_H
#define CIMHOST_ARGSOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;

// CMPIArgs: ordered named values.
class ArgsObject : public Releasable {
public:
    static ArgsObject* create(Broker* broker, Arena& arena);
    static const void* functionTable();
    explicit ArgsObject(std::pmr::memory_resource* memory) : args(memory), parts(memory) {}
    Cell<CMPIArgs> cell;
    NamedData args;
    Arena parts;
    Broker* broker;
    Arena* arena;
};

} // namespace cimhost

#endif
