#ifndef KORVU_IPIF_DISPATCHTABLE_H
#define KORVU_IPIF_DISPATCHTABLE_H

// Which CIM class object serves which class identifier, per request kind.
// Each group of classes keeps its own list so that groups grow apart.
#include "dispatch/Endpoints.inc"
#include "dispatch/AccessPoints.inc"
#include "dispatch/ConfigurationService.inc"
#include "dispatch/Associations.inc"

#define IPIF_INSTANCE_CLASSES(X) \
    IPIF_ENDPOINT_INSTANCE(X) IPIF_ACCESS_INSTANCE(X) IPIF_CONFIG_INSTANCE(X) IPIF_ASSOC_INSTANCE(X)
#define IPIF_MODIFY_CLASSES(X) \
    IPIF_ENDPOINT_MODIFY(X) IPIF_ACCESS_MODIFY(X) IPIF_CONFIG_MODIFY(X) IPIF_ASSOC_MODIFY(X)
#define IPIF_METHOD_CLASSES(X) \
    IPIF_ENDPOINT_METHOD(X) IPIF_ACCESS_METHOD(X) IPIF_CONFIG_METHOD(X) IPIF_ASSOC_METHOD(X)
#define IPIF_ASSOCIATION_CLASSES(X) \
    IPIF_ENDPOINT_ASSOC(X) IPIF_ACCESS_ASSOC(X) IPIF_CONFIG_ASSOC(X) IPIF_ASSOC_ASSOC(X)

#endif
