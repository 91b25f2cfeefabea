#include "FunctionProvider.h"

#include "BrokerObjects.h"

namespace cimhost {

namespace {

template <class MI> FunctionProvider* self(MI* mi)
{
    return static_cast<FunctionProvider*>(const_cast<void*>(mi->hdl));
}

CMPIStatus unsupported() { return makeStatus(CMPI_RC_ERR_NOT_SUPPORTED); }

CMPIStatus cleanupInstance(CMPIInstanceMI*, const CMPIContext*, CMPIBoolean) { return okStatus(); }
CMPIStatus cleanupAssociation(CMPIAssociationMI*, const CMPIContext*, CMPIBoolean) { return okStatus(); }
CMPIStatus cleanupMethod(CMPIMethodMI*, const CMPIContext*, CMPIBoolean) { return okStatus(); }

CMPIStatus enumNames(CMPIInstanceMI* mi, const CMPIContext* c, const CMPIResult* r, const CMPIObjectPath* op)
{
    auto& f = self(mi)->enumerateInstanceNames;
    return f ? f(c, r, op) : unsupported();
}

CMPIStatus enumInstances(CMPIInstanceMI* mi, const CMPIContext* c, const CMPIResult* r,
                         const CMPIObjectPath* op, const char** props)
{
    auto& f = self(mi)->enumerateInstances;
    return f ? f(c, r, op, props) : unsupported();
}

CMPIStatus get(CMPIInstanceMI* mi, const CMPIContext* c, const CMPIResult* r, const CMPIObjectPath* op,
               const char** props)
{
    auto& f = self(mi)->getInstance;
    return f ? f(c, r, op, props) : unsupported();
}

CMPIStatus create(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*, const CMPIObjectPath*,
                  const CMPIInstance*)
{
    return unsupported();
}

CMPIStatus modify(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*, const CMPIObjectPath*,
                  const CMPIInstance*, const char**)
{
    return unsupported();
}

CMPIStatus remove(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*, const CMPIObjectPath*)
{
    return unsupported();
}

CMPIStatus query(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*, const CMPIObjectPath*,
                 const char*, const char*)
{
    return unsupported();
}

CMPIStatus assoc(CMPIAssociationMI* mi, const CMPIContext* c, const CMPIResult* r,
                 const CMPIObjectPath* op, const char* a, const char* rc, const char* role,
                 const char* rr, const char** props)
{
    auto& f = self(mi)->associators;
    return f ? f(c, r, op, a, rc, role, rr, props) : unsupported();
}

CMPIStatus assocNames(CMPIAssociationMI* mi, const CMPIContext* c, const CMPIResult* r,
                      const CMPIObjectPath* op, const char* a, const char* rc, const char* role,
                      const char* rr)
{
    auto& f = self(mi)->associatorNames;
    return f ? f(c, r, op, a, rc, role, rr, nullptr) : unsupported();
}

CMPIStatus refs(CMPIAssociationMI* mi, const CMPIContext* c, const CMPIResult* r,
                const CMPIObjectPath* op, const char* rc, const char* role, const char** props)
{
    auto& f = self(mi)->references;
    return f ? f(c, r, op, rc, role, props) : unsupported();
}

CMPIStatus refNames(CMPIAssociationMI* mi, const CMPIContext* c, const CMPIResult* r,
                    const CMPIObjectPath* op, const char* rc, const char* role)
{
    auto& f = self(mi)->referenceNames;
    return f ? f(c, r, op, rc, role, nullptr) : unsupported();
}

CMPIStatus invoke(CMPIMethodMI* mi, const CMPIContext* c, const CMPIResult* r, const CMPIObjectPath* op,
                  const char* method, const CMPIArgs* in, CMPIArgs* out)
{
    auto& f = self(mi)->invokeMethod;
    return f ? f(c, r, op, method, in, out) : unsupported();
}

} // namespace

FunctionProvider::FunctionProvider()
    : instanceTable{CMPICurrentVersion, CMPICurrentVersion, "functionInstanceProvider",
                    cleanupInstance, enumNames, enumInstances, get, create, modify, remove, query},
      associationTable{CMPICurrentVersion, CMPICurrentVersion, "functionAssociationProvider",
                       cleanupAssociation, assoc, assocNames, refs, refNames},
      methodTable{CMPICurrentVersion, CMPICurrentVersion, "functionMethodProvider", cleanupMethod,
                  invoke}
{
    instanceRecord.hdl = this;
    instanceRecord.ft = &instanceTable;
    associationRecord.hdl = this;
    associationRecord.ft = &associationTable;
    methodRecord.hdl = this;
    methodRecord.ft = &methodTable;
}

} // namespace cimhost
