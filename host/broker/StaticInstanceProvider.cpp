#include "StaticInstanceProvider.h"

#include <cmpimacs.h>

#include <strings.h>

#include "Broker.h"
#include "BrokerObjects.h"

namespace cimhost {

StaticInstanceProvider::StaticInstanceProvider()
{
    table = CMPIInstanceMIFT{CMPICurrentVersion, CMPICurrentVersion, "staticInstanceProvider",
                             cleanup, enumNames, enumInstances, get, create, modify, remove, query};
    record.hdl = this;
    record.ft = &table;
}

StaticInstanceProvider* StaticInstanceProvider::self(CMPIInstanceMI* mi)
{
    StaticInstanceProvider* p = static_cast<StaticInstanceProvider*>(const_cast<void*>(mi->hdl));
    std::lock_guard<std::mutex> lock(p->mutex);
    ++p->calls;
    return p;
}

void StaticInstanceProvider::add(const InstanceSpec& instance)
{
    std::lock_guard<std::mutex> lock(mutex);
    stored.push_back(instance);
}

void StaticInstanceProvider::clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    stored.clear();
}

std::vector<InstanceSpec> StaticInstanceProvider::instances() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return stored;
}

int StaticInstanceProvider::requests() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return calls;
}

std::vector<InstanceSpec> StaticInstanceProvider::matching(const CMPIObjectPath* op) const
{
    PathSpec wanted = toPathSpec(op);
    Broker* broker = ownerOf<ObjectPathObject>(op)->broker;
    std::vector<InstanceSpec> out;
    std::lock_guard<std::mutex> lock(mutex);
    for (const InstanceSpec& inst : stored) {
        // A request for a superclass reaches here for its subclasses too.
        if (!wanted.className.empty() && !broker->isA(inst.path.className, wanted.className))
            continue;
        bool match = true;
        for (const auto& key : wanted.keys) {
            const Value* mine = inst.path.key(key.first);
            if (!mine || mine->toText() != key.second.toText())
                match = false;
        }
        if (match)
            out.push_back(inst);
    }
    return out;
}

namespace {

InstanceSpec withNamespace(InstanceSpec inst, const CMPIObjectPath* op)
{
    if (inst.path.nameSpace.empty())
        inst.path.nameSpace = toPathSpec(op).nameSpace;
    return inst;
}

} // namespace

CMPIStatus StaticInstanceProvider::cleanup(CMPIInstanceMI*, const CMPIContext*, CMPIBoolean)
{
    return okStatus();
}

CMPIStatus StaticInstanceProvider::enumNames(CMPIInstanceMI* mi, const CMPIContext*,
                                             const CMPIResult* rslt, const CMPIObjectPath* op)
{
    StaticInstanceProvider* p = self(mi);
    Broker* b = ownerOf<ObjectPathObject>(op)->broker;
    for (const InstanceSpec& inst : p->matching(op))
        CMReturnObjectPath(rslt, toObjectPath(b, targetArena(b), withNamespace(inst, op).path));
    CMReturnDone(rslt);
    return okStatus();
}

CMPIStatus StaticInstanceProvider::enumInstances(CMPIInstanceMI* mi, const CMPIContext*,
                                                 const CMPIResult* rslt, const CMPIObjectPath* op,
                                                 const char**)
{
    StaticInstanceProvider* p = self(mi);
    Broker* b = ownerOf<ObjectPathObject>(op)->broker;
    for (const InstanceSpec& inst : p->matching(op))
        CMReturnInstance(rslt, toInstance(b, targetArena(b), withNamespace(inst, op)));
    CMReturnDone(rslt);
    return okStatus();
}

CMPIStatus StaticInstanceProvider::get(CMPIInstanceMI* mi, const CMPIContext* ctx,
                                       const CMPIResult* rslt, const CMPIObjectPath* op,
                                       const char** properties)
{
    StaticInstanceProvider* p = self(mi);
    if (p->matching(op).empty())
        return makeStatus(CMPI_RC_ERR_NOT_FOUND);
    return enumInstances(mi, ctx, rslt, op, properties);
}

CMPIStatus StaticInstanceProvider::create(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                          const CMPIObjectPath*, const CMPIInstance*)
{
    return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED);
}

CMPIStatus StaticInstanceProvider::modify(CMPIInstanceMI* mi, const CMPIContext*, const CMPIResult* rslt,
                                          const CMPIObjectPath* op, const CMPIInstance* inst,
                                          const char**)
{
    StaticInstanceProvider* p = self(mi);
    if (!op || !inst)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    PathSpec wanted = toPathSpec(op);
    InstanceSpec changes = toInstanceSpec(inst);
    std::lock_guard<std::mutex> lock(p->mutex);
    for (InstanceSpec& stored : p->stored) {
        bool match = strcasecmp(wanted.className.c_str(), stored.path.className.c_str()) == 0;
        for (const auto& key : wanted.keys) {
            const Value* mine = stored.path.key(key.first);
            match = match && mine && mine->toText() == key.second.toText();
        }
        if (!match)
            continue;
        for (const auto& prop : changes.properties)
            if (!stored.path.key(prop.first))
                stored.set(prop.first, prop.second);
        CMReturnDone(rslt);
        return okStatus();
    }
    return makeStatus(CMPI_RC_ERR_NOT_FOUND);
}

CMPIStatus StaticInstanceProvider::remove(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                          const CMPIObjectPath*)
{
    return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED);
}

CMPIStatus StaticInstanceProvider::query(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                         const CMPIObjectPath*, const char*, const char*)
{
    return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED);
}

} // namespace cimhost
