#ifndef CIMHOST_ENUMERATIONOBJECT_H
#define CIMHOST_ENUMERATIONOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <cstddef>
#include <vector>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;

// A CMPIEnumeration over a list of values.
class EnumerationObject : public Releasable {
public:
    // The items' objects stay where they are; a clone owns copies of them.
    static EnumerationObject* create(Broker* broker, Arena& arena, std::vector<CMPIData> items);
    static const void* functionTable();
    explicit EnumerationObject(std::pmr::memory_resource* memory) : parts(memory) {}
    Cell<CMPIEnumeration> cell;
    std::vector<CMPIData> items;
    size_t position = 0;
    Arena parts;
    Broker* broker;
    Arena* arena;
};

} // namespace cimhost

#endif
