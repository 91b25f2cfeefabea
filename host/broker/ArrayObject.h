#ifndef CIMHOST_ARRAYOBJECT_H
#define CIMHOST_ARRAYOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <vector>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;

// A CMPIArray of a fixed size; elements start as null values of its type.
class ArrayObject : public Releasable {
public:
    static constexpr bool memoryOnly = true;
    static ArrayObject* create(Broker* broker, Arena& arena, CMPIType elementType, CMPICount size);
    static const void* functionTable();
    explicit ArrayObject(std::pmr::memory_resource* memory) : elements(memory), parts(memory) {}
    Cell<CMPIArray> cell;
    CMPIType elementType;
    std::pmr::vector<CMPIData> elements;
    Arena parts;  // the values the elements point to
    Broker* broker;
    Arena* arena;
};

} // namespace cimhost

#endif
