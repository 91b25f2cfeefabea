#include "StaticInstanceProvider.h"

#include <cmpimacs.h>

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

template <class Take>
void StaticInstanceProvider::forMatching(const CMPIObjectPath* op, Take take) const
{
    PathSpec wanted = toPathSpec(op);
    ObjectPathObject* path = ownerOf<ObjectPathObject>(op);
    Broker* broker = path ? path->broker : nullptr;
    std::vector<std::pair<const std::string*, std::string>> keys;
    for (const auto& key : wanted.keys)
        keys.emplace_back(&key.first, key.second.toText());
    // The broker is asked once per stored class whether it is a subclass.
    std::vector<std::pair<std::string, bool>> subclasses;
    const auto fits = [&](const std::string& className) {
        if (wanted.className.empty() || equalsIgnoreCase(className, wanted.className))
            return true;
        for (const auto& known : subclasses)
            if (known.first == className)
                return known.second;
        const bool is = broker && broker->isA(className, wanted.className);
        subclasses.emplace_back(className, is);
        return is;
    };
    std::lock_guard<std::mutex> lock(mutex);
    for (const InstanceSpec& inst : stored) {
        // A request for a superclass reaches here for its subclasses too.
        if (!fits(inst.path.className))
            continue;
        bool match = true;
        for (const auto& key : keys) {
            const Value* mine = inst.path.key(*key.first);
            if (!mine || mine->toText() != key.second) {
                match = false;
                break;
            }
        }
        if (match)
            take(inst);
    }
}

std::vector<InstanceSpec> StaticInstanceProvider::matching(const CMPIObjectPath* op) const
{
    std::vector<InstanceSpec> out;
    forMatching(op, [&out](const InstanceSpec& inst) { out.push_back(inst); });
    return out;
}

bool StaticInstanceProvider::names(const CMPIObjectPath* op, const InstanceSpec& inst)
{
    PathSpec wanted = toPathSpec(op);
    if (wanted.keys.size() != inst.path.keys.size())
        return false;
    for (const auto& key : inst.path.keys) {
        const Value* given = wanted.key(key.first);
        if (!given || given->toText() != key.second.toText())
            return false;
    }
    return true;
}

namespace {

Broker* brokerOf(const CMPIObjectPath* op)
{
    ObjectPathObject* path = ownerOf<ObjectPathObject>(op);
    return path ? path->broker : nullptr;
}

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
    Broker* b = brokerOf(op);
    if (!b)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    // Names alone, made straight from the stored paths; they are returned
    // once the list is unlocked.
    const std::string nameSpace = toPathSpec(op).nameSpace;
    Arena& arena = targetArena(b);
    std::vector<CMPIObjectPath*> paths;
    p->forMatching(op, [&](const InstanceSpec& inst) {
        CMPIObjectPath* path = toObjectPath(b, arena, inst.path);
        if (inst.path.nameSpace.empty())
            CMSetNameSpace(path, nameSpace.c_str());
        paths.push_back(path);
    });
    for (CMPIObjectPath* path : paths) {
        CMReturnObjectPath(rslt, path);
        CMRelease(path);
    }
    CMReturnDone(rslt);
    return okStatus();
}

CMPIStatus StaticInstanceProvider::enumInstances(CMPIInstanceMI* mi, const CMPIContext*,
                                                 const CMPIResult* rslt, const CMPIObjectPath* op,
                                                 const char** properties)
{
    StaticInstanceProvider* p = self(mi);
    Broker* b = brokerOf(op);
    if (!b)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    for (const InstanceSpec& inst : p->matching(op)) {
        CMPIInstance* made = toInstance(b, targetArena(b), withNamespace(inst, op));
        CMSetPropertyFilter(made, properties, nullptr);
        CMReturnInstance(rslt, made);
        CMRelease(made);
    }
    CMReturnDone(rslt);
    return okStatus();
}

CMPIStatus StaticInstanceProvider::get(CMPIInstanceMI* mi, const CMPIContext*, const CMPIResult* rslt,
                                       const CMPIObjectPath* op, const char** properties)
{
    StaticInstanceProvider* p = self(mi);
    Broker* b = brokerOf(op);
    if (!b)
        return makeStatus(CMPI_RC_ERR_INVALID_PARAMETER);
    for (const InstanceSpec& inst : p->matching(op)) {
        if (!names(op, inst))
            continue;
        CMPIInstance* made = toInstance(b, targetArena(b), withNamespace(inst, op));
        CMSetPropertyFilter(made, properties, nullptr);
        CMReturnInstance(rslt, made);
        CMRelease(made);
        CMReturnDone(rslt);
        return okStatus();
    }
    return makeStatus(CMPI_RC_ERR_NOT_FOUND, b, "No instance has these keys");
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
        if (!equalsIgnoreCase(wanted.className, stored.path.className) || !names(op, stored))
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
