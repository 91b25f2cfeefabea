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

// A returned instance or path stands as the answer itself, without a copy,
// while its provider leaves it as it was. Obj is InstanceObject or
// ObjectPathObject; `list` the result's list of that kind.
template <class Obj, class C>
bool adoptAnswer(Obj* o, ResultObject* result, std::pmr::vector<const C*>& list)
{
    // Only in a request's arena: elsewhere an answer nobody releases would
    // stay until the broker ends.
    if (!o || o->answerOf || o->arena != result->arena || !o->arena->scoped() || o->broker != result->broker)
        return false;
    o->answerOf = result;
    o->answerAt = list.size();
    list.push_back(&o->cell.cmpi);
    return true;
}

// Before a change: an answer standing on `o` keeps what it was.
template <class Obj, class C>
void detachAnswer(Obj* o, std::pmr::vector<const C*> ResultObject::*list)
{
    ResultObject* result = o->answerOf;
    if (!result)
        return;
    o->answerOf = nullptr;
    const C* kept = &Obj::copy(o->broker, *result->arena, &o->cell.cmpi)->cell.cmpi;
    std::lock_guard<std::mutex> lock(result->mutex);
    std::pmr::vector<const C*>& answers = result->*list;
    if (o->answerAt < answers.size() && answers[o->answerAt] == &o->cell.cmpi)
        answers[o->answerAt] = kept;
}

// For a result that goes before its arena: nothing may point at it.
template <class Obj, class C>
void forgetAnswers(ResultObject* result, const std::pmr::vector<const C*>& list)
{
    for (const C* answer : list) {
        Obj* o = ownerOf<Obj>(answer);
        if (o && o->answerOf == result)
            o->answerOf = nullptr;
    }
}

} // namespace cimhost

#endif
