#include "CMPIIPHostedAccessPoint.h"

#include "AssociationPaths.h"
#include "FrameworkException.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIIPHostedAccessPoint.cpp");

namespace {
const unsigned short computerId = 1;
const unsigned short endpointId = 9;
const unsigned short associationId = 72;
const char* const associationClass = "Tavrix_IPHostedAccessPoint";
}

CMPIIPHostedAccessPoint::CMPIIPHostedAccessPoint(const CMPIBroker* broker, const CMPIContext* context,
        const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), computer(broker, context, nameSpace),
      endpoint(broker, context, nameSpace), located(true)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::CMPIIPHostedAccessPoint");
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == computerId) {
        CMPIObjectPath* far = locateProtocolEndpoint(path);
        located = far != nullptr;
        if (located) {
            endpoint.setObjectPath(far);
            computer.setObjectPath(path);
        }
    } else if (sourceClassId == endpointId) {
        CMPIObjectPath* far = locateComputer(path);
        located = far != nullptr;
        if (located) {
            computer.setObjectPath(far);
            endpoint.setObjectPath(path);
        }
    } else if (sourceClassId == associationId) {
        CMPIObjectPath* computers = locateComputer(path);
        located = computers != nullptr;
        if (located) {
            computer.setObjectPath(computers);
            pairWithComputer();
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::CMPIIPHostedAccessPoint");
}

CMPIIPHostedAccessPoint::~CMPIIPHostedAccessPoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::~CMPIIPHostedAccessPoint");
}

void CMPIIPHostedAccessPoint::pairWithComputer()
{
    while (computer) {
        CMPIObjectPath* inner = nullptr;
        try {
            inner = locateProtocolEndpoint(computer.getObjectPath());
        } catch (const FrameworkException&) {
            // The resolver finds no element of this computer: nothing to pair.
            inner = nullptr;
        }
        if (inner) {
            endpoint.setObjectPath(inner);
            if (endpoint)
                return;
        }
        ++computer;
    }
}

CMPIIPHostedAccessPoint::operator bool()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::operator bool");
    bool result = false;
    if (located) {
        if (sourceClassId == computerId)
            result = endpoint;
        else if (sourceClassId == endpointId)
            result = computer;
        else if (sourceClassId == associationId)
            // Both ends: an exhausted inner end has no element to refer to.
            result = computer && endpoint;
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::operator bool");
    return result;
}

void CMPIIPHostedAccessPoint::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::operator++");
    if (located) {
        if (sourceClassId == computerId) {
            ++endpoint;
        } else if (sourceClassId == endpointId) {
            ++computer;
        } else if (sourceClassId == associationId) {
            ++endpoint;
            if (!endpoint) {
                ++computer;
                pairWithComputer();
            }
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::operator++");
}

CMPIObjectPath* CMPIIPHostedAccessPoint::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::getObjectPath");
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        ProviderUtilities::setKeyProperty(path, "Antecedent", computer.getObjectPath());
        ProviderUtilities::setKeyProperty(path, "Dependent", endpoint.getObjectPath());
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::getObjectPath");
    return path;
}

CMPIInstance* CMPIIPHostedAccessPoint::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::getCMPIInstance");
    CMPIInstance* instance =
        AssociationPaths::instance(broker, getObjectPath(), "Antecedent", "Dependent");
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::getCMPIInstance");
    return instance;
}

CMPIInstance* CMPIIPHostedAccessPoint::getAssociator(const char** properties)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::getAssociator");
    CMPIInstance* instance = nullptr;
    if (sourceClassId == computerId)
        instance = endpoint.getCMPIInstance(properties);
    else if (sourceClassId == endpointId)
        instance = computer.getCMPIInstance(properties);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::getAssociator");
    return instance;
}

CMPIObjectPath* CMPIIPHostedAccessPoint::getAssociatorNames()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::getAssociatorNames");
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == computerId)
        path = endpoint.getObjectPath();
    else if (sourceClassId == endpointId)
        path = computer.getObjectPath();
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::getAssociatorNames");
    return path;
}

bool CMPIIPHostedAccessPoint::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::isNotTargetClass");
    bool result = true;
    if (sourceClassId == computerId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPProtocolEndpoint", "CIM_IPProtocolEndpoint");
    else if (sourceClassId == endpointId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_ComputerSystem", "CIM_ComputerSystem");
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::isNotTargetClass");
    return result;
}

CMPIObjectPath* CMPIIPHostedAccessPoint::locateComputer(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::locateComputer");
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_ComputerSystem", path, [this](Moniker& m) { return model.getComputerSystemMoniker(m); });
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::locateComputer");
    return result;
}

CMPIObjectPath* CMPIIPHostedAccessPoint::locateProtocolEndpoint(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::locateProtocolEndpoint");
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPProtocolEndpoint", path, [this](Moniker& m) { return model.getIPProtocolEndPointMoniker(m); });
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::locateProtocolEndpoint");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
