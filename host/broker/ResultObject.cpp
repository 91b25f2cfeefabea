#include "ResultObject.h"

#include "Broker.h"
#include "InstanceObject.h"
#include "ObjectPathObject.h"

namespace cimhost {

namespace {

ResultObject* self(const CMPIResult* r) { return ownerOf<ResultObject>(r); }

CMPIStatus release(CMPIResult* r)
{
    ResultObject* o = self(r);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    {
        std::lock_guard<std::mutex> lock(o->mutex);
        forgetAnswers<InstanceObject>(o, o->instances);
        forgetAnswers<ObjectPathObject>(o, o->paths);
    }
    o->arena->releaseOne(o);
    return okStatus();
}

CMPIResult* clone(const CMPIResult*, CMPIStatus* rc)
{
    setStatus(rc, CMPI_RC_ERR_NOT_SUPPORTED);
    return nullptr;
}

CMPIStatus returnData(const CMPIResult* r, const CMPIValue* value, const CMPIType type)
{
    ResultObject* o = self(r);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    CMPIData d = makeData(o->broker, *o->arena, value, type);
    std::lock_guard<std::mutex> lock(o->mutex);
    o->data.push_back(d);
    return okStatus();
}

CMPIStatus returnInstance(const CMPIResult* r, const CMPIInstance* inst)
{
    ResultObject* o = self(r);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    if (!inst)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    InstanceObject::answered(ownerOf<InstanceObject>(inst));
    // The provider's own object stands as the answer until the provider
    // changes it; it may release it right after. Otherwise a copy.
    {
        std::lock_guard<std::mutex> lock(o->mutex);
        if (adoptAnswer(ownerOf<InstanceObject>(inst), o, o->instances))
            return okStatus();
    }
    const CMPIInstance* copy = &InstanceObject::copy(o->broker, *o->arena, inst)->cell.cmpi;
    std::lock_guard<std::mutex> lock(o->mutex);
    o->instances.push_back(copy);
    return okStatus();
}

CMPIStatus returnObjectPath(const CMPIResult* r, const CMPIObjectPath* ref)
{
    ResultObject* o = self(r);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    if (!ref)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    {
        std::lock_guard<std::mutex> lock(o->mutex);
        if (adoptAnswer(ownerOf<ObjectPathObject>(ref), o, o->paths))
            return okStatus();
    }
    const CMPIObjectPath* copy = &ObjectPathObject::copy(o->broker, *o->arena, ref)->cell.cmpi;
    std::lock_guard<std::mutex> lock(o->mutex);
    o->paths.push_back(copy);
    return okStatus();
}

CMPIStatus returnDone(const CMPIResult* r)
{
    ResultObject* o = self(r);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    std::lock_guard<std::mutex> lock(o->mutex);
    ++o->doneCount;
    return okStatus();
}

CMPIStatus returnError(const CMPIResult*, const CMPIError*)
{
    return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED);
}

CMPIResultFT resultFT = {CMPICurrentVersion, release, clone, returnData, returnInstance,
                         returnObjectPath, returnDone, returnError};

} // namespace

const void* ResultObject::functionTable() { return &resultFT; }

ResultObject* ResultObject::create(Broker* broker, Arena& arena)
{
    ResultObject* object = arena.make<ResultObject>(arena.memory());
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = object;
    object->cell.cmpi.ft = &resultFT;
    return object;
}

} // namespace cimhost
