#ifndef CIMHOST_CONTEXTOBJECT_H
#define CIMHOST_CONTEXTOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <mutex>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;

// A CMPIContext: named entries, safe to share between threads.
class ContextObject : public Releasable {
public:
    static ContextObject* create(Broker* broker, Arena& arena);
    static const void* functionTable();
    explicit ContextObject(std::pmr::memory_resource* memory) : entries(memory), parts(memory) {}
    Cell<CMPIContext> cell;
    mutable std::mutex mutex;
    NamedData entries;
    bool prepared = false;  // made for another thread; freed by detachThread
    Arena parts;
    Broker* broker;
    Arena* arena;
};

} // namespace cimhost

#endif
