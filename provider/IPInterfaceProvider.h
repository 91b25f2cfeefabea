#ifndef KORVU_IPIF_IPINTERFACEPROVIDER_H
#define KORVU_IPIF_IPINTERFACEPROVIDER_H

#include <cmpidt.h>
#include <cmpift.h>

#include "Export.h"

// Factories a CIM server looks up by name. Each records the broker and
// returns a static record; none fails.
extern "C" {
IPIF_EXPORT CMPIInstanceMI* IPInterfaceProvider_Create_InstanceMI(const CMPIBroker* broker,
                                                                  const CMPIContext* context,
                                                                  CMPIStatus* status);
IPIF_EXPORT CMPIAssociationMI* IPInterfaceProvider_Create_AssociationMI(const CMPIBroker* broker,
                                                                        const CMPIContext* context,
                                                                        CMPIStatus* status);
IPIF_EXPORT CMPIMethodMI* IPInterfaceProvider_Create_MethodMI(const CMPIBroker* broker,
                                                              const CMPIContext* context,
                                                              CMPIStatus* status);
}

namespace Korvu {
namespace IPInterfaceProvider {

// Request functions of the three function tables. None throws: every
// std::exception a CIM class lets through becomes a status.
CMPIStatus IPInterface_Cleanup(CMPIInstanceMI* mi, const CMPIContext* ctx, CMPIBoolean terminating);
CMPIStatus IPInterface_Cleanup(CMPIAssociationMI* mi, const CMPIContext* ctx, CMPIBoolean terminating);
CMPIStatus IPInterface_MethodCleanup(CMPIMethodMI* mi, const CMPIContext* ctx, CMPIBoolean terminating);

CMPIStatus IPInterface_EnumInstanceNames(CMPIInstanceMI* mi, const CMPIContext* ctx,
                                         const CMPIResult* rslt, const CMPIObjectPath* op);
CMPIStatus IPInterface_EnumInstances(CMPIInstanceMI* mi, const CMPIContext* ctx,
                                     const CMPIResult* rslt, const CMPIObjectPath* op,
                                     const char** properties);
CMPIStatus IPInterface_GetInstance(CMPIInstanceMI* mi, const CMPIContext* ctx,
                                   const CMPIResult* rslt, const CMPIObjectPath* op,
                                   const char** properties);
CMPIStatus IPInterface_CreateInstance(CMPIInstanceMI* mi, const CMPIContext* ctx,
                                      const CMPIResult* rslt, const CMPIObjectPath* op,
                                      const CMPIInstance* inst);
CMPIStatus IPInterface_ModifyInstance(CMPIInstanceMI* mi, const CMPIContext* ctx,
                                      const CMPIResult* rslt, const CMPIObjectPath* op,
                                      const CMPIInstance* inst, const char** properties);
CMPIStatus IPInterface_DeleteInstance(CMPIInstanceMI* mi, const CMPIContext* ctx,
                                      const CMPIResult* rslt, const CMPIObjectPath* op);
CMPIStatus IPInterface_ExecQuery(CMPIInstanceMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                                 const CMPIObjectPath* op, const char* query, const char* language);

CMPIStatus IPInterface_Associators(CMPIAssociationMI* mi, const CMPIContext* ctx,
                                   const CMPIResult* rslt, const CMPIObjectPath* op,
                                   const char* assocClass, const char* resultClass, const char* role,
                                   const char* resultRole, const char** properties);
CMPIStatus IPInterface_AssociatorNames(CMPIAssociationMI* mi, const CMPIContext* ctx,
                                       const CMPIResult* rslt, const CMPIObjectPath* op,
                                       const char* assocClass, const char* resultClass,
                                       const char* role, const char* resultRole);
CMPIStatus IPInterface_References(CMPIAssociationMI* mi, const CMPIContext* ctx,
                                  const CMPIResult* rslt, const CMPIObjectPath* op,
                                  const char* resultClass, const char* role, const char** properties);
CMPIStatus IPInterface_ReferenceNames(CMPIAssociationMI* mi, const CMPIContext* ctx,
                                      const CMPIResult* rslt, const CMPIObjectPath* op,
                                      const char* resultClass, const char* role);

CMPIStatus IPInterface_InvokeMethod(CMPIMethodMI* mi, const CMPIContext* ctx, const CMPIResult* rslt,
                                    const CMPIObjectPath* op, const char* method, const CMPIArgs* in,
                                    CMPIArgs* out);

// The broker recorded by the last factory call (null before any).
const CMPIBroker* brokerHandle();

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
