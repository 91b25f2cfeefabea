#ifndef KORVU_IPIF_COMPANION_COMPANIONPROVIDER_H
#define KORVU_IPIF_COMPANION_COMPANIONPROVIDER_H

#include <cmpidt.h>
#include <cmpift.h>

#define IPIF_COMPANION_EXPORT __attribute__((visibility("default")))

// Factories of the companion provider "IPInterfaceCompanion": the classes
// other providers serve in a real agent, computed from the same node store.
// Each stores the broker and returns a static record; none fails.
extern "C" {
IPIF_COMPANION_EXPORT CMPIInstanceMI* IPInterfaceCompanion_Create_InstanceMI(
    const CMPIBroker* broker, const CMPIContext* context, CMPIStatus* status);
IPIF_COMPANION_EXPORT CMPIAssociationMI* IPInterfaceCompanion_Create_AssociationMI(
    const CMPIBroker* broker, const CMPIContext* context, CMPIStatus* status);
}

#endif
