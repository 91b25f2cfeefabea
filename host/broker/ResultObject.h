#ifndef CIMHOST_RESULTOBJECT_H
#define CIMHOST_RESULTOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <mutex>
#include <vector>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;

// A CMPIResult that records copies of what a provider hands back, in the
// arena it was made in.
class ResultObject : public Releasable {
public:
    static ResultObject* create(Broker* broker, Arena& arena);
    static const void* functionTable();
    explicit ResultObject(std::pmr::memory_resource* memory)
        : data(memory), instances(memory), paths(memory)
    {
    }
    Cell<CMPIResult> cell;
    std::mutex mutex;
    std::pmr::vector<CMPIData> data;
    std::pmr::vector<const CMPIInstance*> instances;
    std::pmr::vector<const CMPIObjectPath*> paths;
    int doneCount = 0;
    Broker* broker;
    Arena* arena;
};

} // namespace cimhost

#endif
