#include "ArgsObject.h"

#include "Broker.h"
#include "StringObject.h"

namespace cimhost {

namespace {

ArgsObject* self(const CMPIArgs* a) { return ownerOf<ArgsObject>(a); }

CMPIStatus release(CMPIArgs* a)
{
    ArgsObject* o = self(a);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    o->arena->releaseOne(o);
    return okStatus();
}

CMPIArgs* clone(const CMPIArgs* a, CMPIStatus* rc)
{
    ArgsObject* o = self(a);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return nullptr;
    }
    Arena& arena = o->broker->ownArena();
    ArgsObject* copy = ArgsObject::create(o->broker, arena);
    for (const auto& arg : o->args)
        copy->args.emplace_back(arg.first, copyData(o->broker, copy->parts, arg.second));
    setStatus(rc, CMPI_RC_OK);
    return &copy->cell.cmpi;
}

CMPIStatus addArg(const CMPIArgs* a, const char* name, const CMPIValue* value, const CMPIType type)
{
    ArgsObject* o = self(a);
    if (!o)
        return makeStatus(CMPI_RC_ERR_INVALID_HANDLE);
    if (!name || !*name)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    setNamed(o->args, name, makeData(o->broker, o->parts, value, type));
    return okStatus();
}

CMPIData getArg(const CMPIArgs* a, const char* name, CMPIStatus* rc)
{
    ArgsObject* o = self(a);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return notFoundData();
    }
    if (const CMPIData* d = findNamed(o->args, name)) {
        setStatus(rc, CMPI_RC_OK);
        return *d;
    }
    setStatus(rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
    return notFoundData();
}

CMPIData getArgAt(const CMPIArgs* a, CMPICount index, CMPIString** name, CMPIStatus* rc)
{
    ArgsObject* o = self(a);
    if (!o || index >= o->args.size()) {
        setStatus(rc, o ? CMPI_RC_ERR_NO_SUCH_PROPERTY : CMPI_RC_ERR_INVALID_HANDLE);
        if (name)
            *name = nullptr;
        return notFoundData();
    }
    if (name)
        *name = newString(o->broker, targetArena(o->broker), o->args[index].first);
    setStatus(rc, CMPI_RC_OK);
    return o->args[index].second;
}

CMPICount getArgCount(const CMPIArgs* a, CMPIStatus* rc)
{
    ArgsObject* o = self(a);
    if (!o) {
        setStatus(rc, CMPI_RC_ERR_INVALID_HANDLE);
        return 0;
    }
    setStatus(rc, CMPI_RC_OK);
    return static_cast<CMPICount>(o->args.size());
}

CMPIArgsFT argsFT = {CMPICurrentVersion, release, clone, addArg, getArg, getArgAt, getArgCount};

} // namespace

const void* ArgsObject::functionTable() { return &argsFT; }

ArgsObject* ArgsObject::create(Broker* broker, Arena& arena)
{
    ArgsObject* object = arena.make<ArgsObject>(arena.memory());
    object->broker = broker;
    object->arena = &arena;
    object->cell.owner = object;
    object->cell.cmpi.hdl = object;
    object->cell.cmpi.ft = &argsFT;
    return object;
}

} // namespace cimhost
