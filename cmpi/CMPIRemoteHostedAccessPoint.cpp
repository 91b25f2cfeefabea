#include "CMPIRemoteHostedAccessPoint.h"

#include "AssociationPaths.h"
#include "FrameworkException.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIRemoteHostedAccessPoint.cpp");

namespace {
const unsigned short computerId = 1;
const unsigned short accessId = 70;
const unsigned short associationId = 80;
const char* const associationClass = "Tavrix_RemoteHostedAccessPoint";
}

CMPIRemoteHostedAccessPoint::CMPIRemoteHostedAccessPoint(const CMPIBroker* broker, const CMPIContext* context,
        const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), computer(broker, context, nameSpace),
      access(broker, context, nameSpace), located(true)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::CMPIRemoteHostedAccessPoint");
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == computerId) {
        CMPIObjectPath* far = locateRemoteSAP(path);
        located = far != nullptr;
        if (located) {
            access.setObjectPath(far);
            computer.setObjectPath(path);
        }
    } else if (sourceClassId == accessId) {
        CMPIObjectPath* far = locateComputer(path);
        located = far != nullptr;
        if (located) {
            computer.setObjectPath(far);
            access.setObjectPath(path);
        }
    } else if (sourceClassId == associationId) {
        CMPIObjectPath* computers = locateComputer(path);
        located = computers != nullptr;
        if (located) {
            computer.setObjectPath(computers);
            pairWithComputer();
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::CMPIRemoteHostedAccessPoint");
}

CMPIRemoteHostedAccessPoint::~CMPIRemoteHostedAccessPoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::~CMPIRemoteHostedAccessPoint");
}

void CMPIRemoteHostedAccessPoint::pairWithComputer()
{
    while (computer) {
        CMPIObjectPath* inner = nullptr;
        try {
            inner = locateRemoteSAP(computer.getObjectPath());
        } catch (const FrameworkException&) {
            // The resolver finds no element of this computer: nothing to pair.
            inner = nullptr;
        }
        if (inner) {
            access.setObjectPath(inner);
            if (access)
                return;
        }
        ++computer;
    }
}

CMPIRemoteHostedAccessPoint::operator bool()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::operator bool");
    bool result = false;
    if (located) {
        if (sourceClassId == computerId)
            result = access;
        else if (sourceClassId == accessId)
            result = computer;
        else if (sourceClassId == associationId)
            // Both ends: an exhausted inner end has no element to refer to.
            result = computer && access;
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::operator bool");
    return result;
}

void CMPIRemoteHostedAccessPoint::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::operator++");
    if (located) {
        if (sourceClassId == computerId) {
            ++access;
        } else if (sourceClassId == accessId) {
            ++computer;
        } else if (sourceClassId == associationId) {
            ++access;
            if (!access) {
                ++computer;
                pairWithComputer();
            }
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::operator++");
}

CMPIObjectPath* CMPIRemoteHostedAccessPoint::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::getObjectPath");
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        ProviderUtilities::setKeyProperty(path, "Antecedent", computer.getObjectPath());
        ProviderUtilities::setKeyProperty(path, "Dependent", access.getObjectPath());
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::getObjectPath");
    return path;
}

CMPIInstance* CMPIRemoteHostedAccessPoint::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::getCMPIInstance");
    CMPIInstance* instance =
        AssociationPaths::instance(broker, getObjectPath(), "Antecedent", "Dependent");
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::getCMPIInstance");
    return instance;
}

CMPIInstance* CMPIRemoteHostedAccessPoint::getAssociator(const char** properties)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::getAssociator");
    CMPIInstance* instance = nullptr;
    if (sourceClassId == computerId)
        instance = access.getCMPIInstance(properties);
    else if (sourceClassId == accessId)
        instance = computer.getCMPIInstance(properties);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::getAssociator");
    return instance;
}

CMPIObjectPath* CMPIRemoteHostedAccessPoint::getAssociatorNames()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::getAssociatorNames");
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == computerId)
        path = access.getObjectPath();
    else if (sourceClassId == accessId)
        path = computer.getObjectPath();
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::getAssociatorNames");
    return path;
}

bool CMPIRemoteHostedAccessPoint::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::isNotTargetClass");
    bool result = true;
    if (sourceClassId == computerId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPRemoteServiceAccessPoint", "CIM_RemoteServiceAccessPoint");
    else if (sourceClassId == accessId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_ComputerSystem", "CIM_ComputerSystem");
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::isNotTargetClass");
    return result;
}

CMPIObjectPath* CMPIRemoteHostedAccessPoint::locateComputer(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::locateComputer");
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_ComputerSystem", path, [this](Moniker& m) { return model.getSystemMoniker(m); });
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::locateComputer");
    return result;
}

CMPIObjectPath* CMPIRemoteHostedAccessPoint::locateRemoteSAP(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::locateRemoteSAP");
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPRemoteServiceAccessPoint", path, [this](Moniker& m) { return model.getRemoteSAPMoniker(m); });
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::locateRemoteSAP");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
