#ifndef KORVU_IPIF_CMPIREMOTEHOSTEDACCESSPOINT_H
#define KORVU_IPIF_CMPIREMOTEHOSTEDACCESSPOINT_H

#include <cmpidt.h>

#include <string>

#include "CMPIIPComputerSystem.h"
#include "CMPIRemoteServiceAccessPoint.h"
#include "RemoteHostedAccessPoint.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_RemoteHostedAccessPoint: a computer system (Antecedent) and its remote service access points (Dependent). While enumerating the
// association, each computer system is paired with its own elements only,
// and a computer system without any is passed over. Every operation lets
// FrameworkException, InstrumentationException and ProviderException of the
// resolvers and end objects pass, except where noted.
class CMPIRemoteHostedAccessPoint {
public:
    CMPIRemoteHostedAccessPoint(const CMPIBroker* broker, const CMPIContext* context, const CMPIObjectPath* path);
    ~CMPIRemoteHostedAccessPoint();

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);
    CMPIInstance* getAssociator(const char** properties);
    CMPIObjectPath* getAssociatorNames();
    bool isNotTargetClass(const char* resultClass);

    // The computer of a access point path; null when no path can be created.
    CMPIObjectPath* locateComputer(const CMPIObjectPath* path);
    // The access points of a computer path (no Name: all of the system).
    CMPIObjectPath* locateRemoteSAP(const CMPIObjectPath* path);

private:
    // Positions access on the elements of the current computer, moving on
    // past computers that have none.
    void pairWithComputer();

    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    unsigned short sourceClassId;
    CMPIIPComputerSystem computer;
    CMPIRemoteServiceAccessPoint access;
    RemoteHostedAccessPoint model;
    // False when a located path could not be created: nothing is yielded.
    bool located;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
