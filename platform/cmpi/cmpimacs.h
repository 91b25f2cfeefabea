#ifndef CMPIMACS_H
#define CMPIMACS_H

/* Convenience macros: thin calls through the function tables, named as
   providers written for any CMPI broker expect them. */

#include "cmpidt.h"
#include "cmpift.h"

/* Status */
#define CMReturn(rc_)                                                          \
    do {                                                                       \
        CMPIStatus stat_ = {(rc_), NULL};                                      \
        return stat_;                                                          \
    } while (0)
#define CMReturnWithString(rc_, str_)                                          \
    do {                                                                       \
        CMPIStatus stat_ = {(rc_), (str_)};                                    \
        return stat_;                                                          \
    } while (0)
#define CMReturnWithChars(mb, rc_, chars)                                      \
    do {                                                                       \
        CMPIStatus stat_ = {(rc_), NULL};                                      \
        stat_.msg = (mb)->eft->newString((mb), (chars), NULL);                 \
        return stat_;                                                          \
    } while (0)
#define CMSetStatus(st, rc_)                                                   \
    do {                                                                       \
        if (st) {                                                              \
            (st)->rc = (rc_);                                                  \
            (st)->msg = NULL;                                                  \
        }                                                                      \
    } while (0)
#define CMSetStatusWithString(st, rc_, string_)                                \
    do {                                                                       \
        if (st) {                                                              \
            (st)->rc = (rc_);                                                  \
            (st)->msg = (string_);                                             \
        }                                                                      \
    } while (0)
#define CMSetStatusWithChars(mb, st, rc_, chars)                               \
    do {                                                                       \
        if (st) {                                                              \
            (st)->rc = (rc_);                                                  \
            (st)->msg = (mb)->eft->newString((mb), (chars), NULL);             \
        }                                                                      \
    } while (0)

/* Values */
#define CMIsNullObject(obj) ((obj) == NULL || *((void **)(obj)) == NULL)
#define CMIsNullValue(data) (((data).state & CMPI_nullValue) != 0)
#define CMIsKeyValue(data) (((data).state & CMPI_keyValue) != 0)
#define CMIsArray(data) (((data).type & CMPI_ARRAY) != 0)

/* Any encapsulated object */
#define CMRelease(obj) ((obj)->ft->release((obj)))
#define CMClone(obj, rc) ((obj)->ft->clone((obj), (rc)))

/* Results */
#define CMReturnData(rslt, value, type) ((rslt)->ft->returnData((rslt), (value), (type)))
#define CMReturnInstance(rslt, inst) ((rslt)->ft->returnInstance((rslt), (inst)))
#define CMReturnObjectPath(rslt, ref) ((rslt)->ft->returnObjectPath((rslt), (ref)))
#define CMReturnDone(rslt) ((rslt)->ft->returnDone((rslt)))
#define CMReturnError(rslt, e) ((rslt)->ft->returnError((rslt), (e)))

/* Factory services of the broker */
#define CMNewInstance(mb, op, rc) ((mb)->eft->newInstance((mb), (op), (rc)))
#define CMNewObjectPath(mb, ns, cn, rc) ((mb)->eft->newObjectPath((mb), (ns), (cn), (rc)))
#define CMNewArgs(mb, rc) ((mb)->eft->newArgs((mb), (rc)))
#define CMNewString(mb, data, rc) ((mb)->eft->newString((mb), (data), (rc)))
#define CMNewArray(mb, count, type, rc) ((mb)->eft->newArray((mb), (count), (type), (rc)))
#define CMNewDateTime(mb, rc) ((mb)->eft->newDateTime((mb), (rc)))
#define CMNewDateTimeFromBinary(mb, binTime, interval, rc)                     \
    ((mb)->eft->newDateTimeFromBinary((mb), (binTime), (interval), (rc)))
#define CMNewDateTimeFromChars(mb, utcTime, rc) ((mb)->eft->newDateTimeFromChars((mb), (utcTime), (rc)))
#define CMNewSelectExp(mb, query, lang, projection, rc)                        \
    ((mb)->eft->newSelectExp((mb), (query), (lang), (projection), (rc)))
#define CMClassPathIsA(mb, op, type, rc) ((mb)->eft->classPathIsA((mb), (op), (type), (rc)))
#define CDToString(mb, obj, rc) ((mb)->eft->toString((mb), (void *)(obj), (rc)))
#define CDIsOfType(mb, obj, type, rc) ((mb)->eft->isOfType((mb), (void *)(obj), (type), (rc)))
#define CDGetType(mb, obj, rc) ((mb)->eft->getType((mb), (void *)(obj), (rc)))
#define CMLogMessage(mb, severity, id, text, string)                           \
    ((mb)->eft->logMessage((mb), (severity), (id), (text), (string)))
#define CMTraceMessage(mb, level, component, text, string)                     \
    ((mb)->eft->trace((mb), (level), (component), (text), (string)))
#define CMNewCMPIError(mb, owner, msgID, msg, sev, pc, cimStatusCode, rc)       \
    ((mb)->eft->newCMPIError((mb), (owner), (msgID), (msg), (sev), (pc), (cimStatusCode), (rc)))

/* Up-calls */
#define CBGetClassification(mb) ((mb)->bft->brokerCapabilities)
#define CBBrokerVersion(mb) ((mb)->bft->brokerVersion)
#define CBBrokerName(mb) ((mb)->bft->brokerName)
#define CBPrepareAttachThread(mb, ctx) ((mb)->bft->prepareAttachThread((mb), (ctx)))
#define CBAttachThread(mb, ctx) ((mb)->bft->attachThread((mb), (ctx)))
#define CBDetachThread(mb, ctx) ((mb)->bft->detachThread((mb), (ctx)))
#define CBDeliverIndication(mb, ctx, ns, ind) ((mb)->bft->deliverIndication((mb), (ctx), (ns), (ind)))
#define CBEnumInstanceNames(mb, ctx, op, rc) ((mb)->bft->enumerateInstanceNames((mb), (ctx), (op), (rc)))
#define CBEnumInstances(mb, ctx, op, props, rc)                                \
    ((mb)->bft->enumerateInstances((mb), (ctx), (op), (props), (rc)))
#define CBGetInstance(mb, ctx, op, props, rc) ((mb)->bft->getInstance((mb), (ctx), (op), (props), (rc)))
#define CBCreateInstance(mb, ctx, op, inst, rc) ((mb)->bft->createInstance((mb), (ctx), (op), (inst), (rc)))
#define CBModifyInstance(mb, ctx, op, inst, props)                             \
    ((mb)->bft->modifyInstance((mb), (ctx), (op), (inst), (props)))
#define CBDeleteInstance(mb, ctx, op) ((mb)->bft->deleteInstance((mb), (ctx), (op)))
#define CBExecQuery(mb, ctx, op, query, lang, rc)                              \
    ((mb)->bft->execQuery((mb), (ctx), (op), (query), (lang), (rc)))
#define CBAssociators(mb, ctx, op, assocClass, resultClass, role, resultRole, props, rc) \
    ((mb)->bft->associators((mb), (ctx), (op), (assocClass), (resultClass), (role), (resultRole), (props), (rc)))
#define CBAssociatorNames(mb, ctx, op, assocClass, resultClass, role, resultRole, rc) \
    ((mb)->bft->associatorNames((mb), (ctx), (op), (assocClass), (resultClass), (role), (resultRole), (rc)))
#define CBReferences(mb, ctx, op, resultClass, role, props, rc)                \
    ((mb)->bft->references((mb), (ctx), (op), (resultClass), (role), (props), (rc)))
#define CBReferenceNames(mb, ctx, op, resultClass, role, rc)                   \
    ((mb)->bft->referenceNames((mb), (ctx), (op), (resultClass), (role), (rc)))
#define CBInvokeMethod(mb, ctx, op, method, in, out, rc)                       \
    ((mb)->bft->invokeMethod((mb), (ctx), (op), (method), (in), (out), (rc)))
#define CBSetProperty(mb, ctx, op, name, value, type)                          \
    ((mb)->bft->setProperty((mb), (ctx), (op), (name), (CMPIValue *)(value), (type)))
#define CBGetProperty(mb, ctx, op, name, rc) ((mb)->bft->getProperty((mb), (ctx), (op), (name), (rc)))

/* Context */
#define CMGetContextEntry(ctx, name, rc) ((ctx)->ft->getEntry((ctx), (name), (rc)))
#define CMGetContextEntryAt(ctx, index, name, rc) ((ctx)->ft->getEntryAt((ctx), (index), (name), (rc)))
#define CMGetContextEntryCount(ctx, rc) ((ctx)->ft->getEntryCount((ctx), (rc)))
#define CMAddContextEntry(ctx, name, value, type)                              \
    ((ctx)->ft->addEntry((ctx), (name), (CMPIValue *)(value), (type)))

/* Instances */
#define CMGetProperty(inst, name, rc) ((inst)->ft->getProperty((inst), (name), (rc)))
#define CMGetPropertyAt(inst, num, name, rc) ((inst)->ft->getPropertyAt((inst), (num), (name), (rc)))
#define CMGetPropertyCount(inst, rc) ((inst)->ft->getPropertyCount((inst), (rc)))
#define CMSetProperty(inst, name, value, type)                                 \
    ((inst)->ft->setProperty((inst), (name), (CMPIValue *)(value), (type)))
#define CMGetObjectPath(inst, rc) ((inst)->ft->getObjectPath((inst), (rc)))
#define CMSetObjectPath(inst, op) ((inst)->ft->setObjectPath((inst), (op)))
#define CMSetPropertyFilter(inst, props, keys) ((inst)->ft->setPropertyFilter((inst), (props), (keys)))
#define CMSetPropertyWithOrigin(inst, name, value, type, origin)               \
    ((inst)->ft->setPropertyWithOrigin((inst), (name), (CMPIValue *)(value), (type), (origin)))

/* Object paths */
#define CMSetHostname(op, hn) ((op)->ft->setHostname((op), (hn)))
#define CMGetHostname(op, rc) ((op)->ft->getHostname((op), (rc)))
#define CMSetNameSpace(op, ns) ((op)->ft->setNameSpace((op), (ns)))
#define CMGetNameSpace(op, rc) ((op)->ft->getNameSpace((op), (rc)))
#define CMSetClassName(op, cn) ((op)->ft->setClassName((op), (cn)))
#define CMGetClassName(op, rc) ((op)->ft->getClassName((op), (rc)))
#define CMAddKey(op, name, value, type) ((op)->ft->addKey((op), (name), (CMPIValue *)(value), (type)))
#define CMGetKey(op, name, rc) ((op)->ft->getKey((op), (name), (rc)))
#define CMGetKeyAt(op, index, name, rc) ((op)->ft->getKeyAt((op), (index), (name), (rc)))
#define CMGetKeyCount(op, rc) ((op)->ft->getKeyCount((op), (rc)))
#define CMSetNameSpaceFromObjectPath(op, src) ((op)->ft->setNameSpaceFromObjectPath((op), (src)))
#define CMSetHostAndNameSpaceFromObjectPath(op, src)                           \
    ((op)->ft->setHostAndNameSpaceFromObjectPath((op), (src)))
#define CMObjectPathToString(op, rc) ((op)->ft->toString((op), (rc)))

/* Arguments */
#define CMAddArg(args, name, value, type) ((args)->ft->addArg((args), (name), (CMPIValue *)(value), (type)))
#define CMGetArg(args, name, rc) ((args)->ft->getArg((args), (name), (rc)))
#define CMGetArgAt(args, index, name, rc) ((args)->ft->getArgAt((args), (index), (name), (rc)))
#define CMGetArgCount(args, rc) ((args)->ft->getArgCount((args), (rc)))

/* Strings: a string's handle is its zero-terminated text. */
#define CMGetCharPtr(str) ((char *)(str)->hdl)
#define CMGetCharsPtr(str, rc) ((str)->ft->getCharPtr((str), (rc)))

/* Arrays */
#define CMGetArrayCount(array, rc) ((array)->ft->getSize((array), (rc)))
#define CMGetArrayType(array, rc) ((array)->ft->getSimpleType((array), (rc)))
#define CMGetArrayElementAt(array, n, rc) ((array)->ft->getElementAt((array), (n), (rc)))
#define CMSetArrayElementAt(array, n, value, type)                             \
    ((array)->ft->setElementAt((array), (n), (CMPIValue *)(value), (type)))

/* Enumerations */
#define CMGetNext(enm, rc) ((enm)->ft->getNext((enm), (rc)))
#define CMHasNext(enm, rc) ((enm)->ft->hasNext((enm), (rc)))
#define CMToArray(enm, rc) ((enm)->ft->toArray((enm), (rc)))

/* Date and time */
#define CMGetBinaryFormat(dt, rc) ((dt)->ft->getBinaryFormat((dt), (rc)))
#define CMGetStringFormat(dt, rc) ((dt)->ft->getStringFormat((dt), (rc)))
#define CMIsInterval(dt, rc) ((dt)->ft->isInterval((dt), (rc)))

/* Factory declarations for providers */
#define CMInstanceMIFactory(cn, pn)                                            \
    CMPI_EXTERN_C CMPIInstanceMI *pn##_Create_InstanceMI(const CMPIBroker *mb, \
                                                         const CMPIContext *ctx, CMPIStatus *rc)
#define CMAssociationMIFactory(cn, pn)                                         \
    CMPI_EXTERN_C CMPIAssociationMI *pn##_Create_AssociationMI(                \
        const CMPIBroker *mb, const CMPIContext *ctx, CMPIStatus *rc)
#define CMMethodMIFactory(cn, pn)                                              \
    CMPI_EXTERN_C CMPIMethodMI *pn##_Create_MethodMI(const CMPIBroker *mb,     \
                                                     const CMPIContext *ctx, CMPIStatus *rc)

#endif
