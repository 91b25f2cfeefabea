#include "CMPISPHostedAccessPoint.h"

#include "AssociationPaths.h"
#include "FrameworkException.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPISPHostedAccessPoint.cpp");

namespace {
const unsigned short computerId = 119;
const unsigned short endpointId = 9;
const unsigned short associationId = 120;
const char* const associationClass = "Tavrix_SPHostedAccessPoint";
}

CMPISPHostedAccessPoint::CMPISPHostedAccessPoint(const CMPIBroker* broker, const CMPIContext* context,
        const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), computer(broker, context, nameSpace),
      endpoint(broker, context, nameSpace), located(true)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::CMPISPHostedAccessPoint");
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == computerId) {
        CMPIObjectPath* far = locateProtocolEndpoint(path);
        located = far != nullptr;
        if (located) {
            endpoint.setObjectPath(far);
            computer.setObjectPath(path);
        }
    } else if (sourceClassId == endpointId) {
        CMPIObjectPath* far = locateBMC(path);
        located = far != nullptr;
        if (located) {
            computer.setObjectPath(far);
            endpoint.setObjectPath(path);
        }
    } else if (sourceClassId == associationId) {
        CMPIObjectPath* computers = locateBMC(path);
        located = computers != nullptr;
        if (located) {
            computer.setObjectPath(computers);
            pairWithComputer();
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::CMPISPHostedAccessPoint");
}

CMPISPHostedAccessPoint::~CMPISPHostedAccessPoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::~CMPISPHostedAccessPoint");
}

void CMPISPHostedAccessPoint::pairWithComputer()
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

CMPISPHostedAccessPoint::operator bool()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::operator bool");
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
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::operator bool");
    return result;
}

void CMPISPHostedAccessPoint::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::operator++");
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
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::operator++");
}

CMPIObjectPath* CMPISPHostedAccessPoint::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::getObjectPath");
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        ProviderUtilities::setKeyProperty(path, "Antecedent", computer.getObjectPath());
        ProviderUtilities::setKeyProperty(path, "Dependent", endpoint.getObjectPath());
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::getObjectPath");
    return path;
}

CMPIInstance* CMPISPHostedAccessPoint::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::getCMPIInstance");
    CMPIInstance* instance =
        AssociationPaths::instance(broker, getObjectPath(), "Antecedent", "Dependent");
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::getCMPIInstance");
    return instance;
}

CMPIInstance* CMPISPHostedAccessPoint::getAssociator(const char** properties)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::getAssociator");
    CMPIInstance* instance = nullptr;
    if (sourceClassId == computerId)
        instance = endpoint.getCMPIInstance(properties);
    else if (sourceClassId == endpointId)
        instance = computer.getCMPIInstance(properties);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::getAssociator");
    return instance;
}

CMPIObjectPath* CMPISPHostedAccessPoint::getAssociatorNames()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::getAssociatorNames");
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == computerId)
        path = endpoint.getObjectPath();
    else if (sourceClassId == endpointId)
        path = computer.getObjectPath();
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::getAssociatorNames");
    return path;
}

bool CMPISPHostedAccessPoint::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::isNotTargetClass");
    bool result = true;
    if (sourceClassId == computerId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPProtocolEndpoint", "CIM_IPProtocolEndpoint");
    else if (sourceClassId == endpointId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_SPComputerSystem", "CIM_ComputerSystem");
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::isNotTargetClass");
    return result;
}

CMPIObjectPath* CMPISPHostedAccessPoint::locateBMC(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::locateBMC");
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_SPComputerSystem", path, [this](Moniker& m) { return model.getSPMoniker(m); });
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::locateBMC");
    return result;
}

CMPIObjectPath* CMPISPHostedAccessPoint::locateProtocolEndpoint(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::locateProtocolEndpoint");
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPProtocolEndpoint", path, [this](Moniker& m) { return model.getIPProtocolEndPointMoniker(m); });
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::locateProtocolEndpoint");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
