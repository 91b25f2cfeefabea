#include "CMPIIPHostedService.h"

#include "AssociationPaths.h"
#include "FrameworkException.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIIPHostedService.cpp");

namespace {
const unsigned short computerId = 1;
const unsigned short serviceId = 129;
const unsigned short associationId = 130;
const char* const associationClass = "Tavrix_IPHostedService";
}

CMPIIPHostedService::CMPIIPHostedService(const CMPIBroker* broker, const CMPIContext* context,
        const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), computer(broker, context, nameSpace),
      service(broker, context, nameSpace), located(true)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedService::CMPIIPHostedService");
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == computerId) {
        CMPIObjectPath* far = locateConfigurationService(path);
        located = far != nullptr;
        if (located) {
            service.setObjectPath(far);
            computer.setObjectPath(path);
        }
    } else if (sourceClassId == serviceId) {
        CMPIObjectPath* far = locateComputer(path);
        located = far != nullptr;
        if (located) {
            computer.setObjectPath(far);
            service.setObjectPath(path);
        }
    } else if (sourceClassId == associationId) {
        CMPIObjectPath* computers = locateComputer(path);
        located = computers != nullptr;
        if (located) {
            computer.setObjectPath(computers);
            pairWithComputer();
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedService::CMPIIPHostedService");
}

CMPIIPHostedService::~CMPIIPHostedService()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPHostedService::~CMPIIPHostedService");
}

void CMPIIPHostedService::pairWithComputer()
{
    while (computer) {
        CMPIObjectPath* inner = nullptr;
        try {
            inner = locateConfigurationService(computer.getObjectPath());
        } catch (const FrameworkException&) {
            // The resolver finds no element of this computer: nothing to pair.
            inner = nullptr;
        }
        if (inner) {
            service.setObjectPath(inner);
            if (service)
                return;
        }
        ++computer;
    }
}

CMPIIPHostedService::operator bool()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedService::operator bool");
    bool result = false;
    if (located) {
        if (sourceClassId == computerId)
            result = service;
        else if (sourceClassId == serviceId)
            result = computer;
        else if (sourceClassId == associationId)
            // Both ends: an exhausted inner end has no element to refer to.
            result = computer && service;
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedService::operator bool");
    return result;
}

void CMPIIPHostedService::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedService::operator++");
    if (located) {
        if (sourceClassId == computerId) {
            ++service;
        } else if (sourceClassId == serviceId) {
            ++computer;
        } else if (sourceClassId == associationId) {
            ++service;
            if (!service) {
                ++computer;
                pairWithComputer();
            }
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedService::operator++");
}

CMPIObjectPath* CMPIIPHostedService::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedService::getObjectPath");
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        ProviderUtilities::setKeyProperty(path, "Antecedent", computer.getObjectPath());
        ProviderUtilities::setKeyProperty(path, "Dependent", service.getObjectPath());
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedService::getObjectPath");
    return path;
}

CMPIInstance* CMPIIPHostedService::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedService::getCMPIInstance");
    CMPIInstance* instance =
        AssociationPaths::instance(broker, getObjectPath(), "Antecedent", "Dependent");
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedService::getCMPIInstance");
    return instance;
}

CMPIInstance* CMPIIPHostedService::getAssociator(const char** properties)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedService::getAssociator");
    CMPIInstance* instance = nullptr;
    if (sourceClassId == computerId)
        instance = service.getCMPIInstance(properties);
    else if (sourceClassId == serviceId)
        instance = computer.getCMPIInstance(properties);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedService::getAssociator");
    return instance;
}

CMPIObjectPath* CMPIIPHostedService::getAssociatorNames()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedService::getAssociatorNames");
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == computerId)
        path = service.getObjectPath();
    else if (sourceClassId == serviceId)
        path = computer.getObjectPath();
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedService::getAssociatorNames");
    return path;
}

bool CMPIIPHostedService::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedService::isNotTargetClass");
    bool result = true;
    if (sourceClassId == computerId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPConfigurationService", "CIM_IPConfigurationService");
    else if (sourceClassId == serviceId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_ComputerSystem", "CIM_ComputerSystem");
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedService::isNotTargetClass");
    return result;
}

CMPIObjectPath* CMPIIPHostedService::locateComputer(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedService::locateComputer");
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_ComputerSystem", path, [this](Moniker& m) { return model.getComputerSystemMoniker(m); });
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedService::locateComputer");
    return result;
}

CMPIObjectPath* CMPIIPHostedService::locateConfigurationService(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPHostedService::locateConfigurationService");
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPConfigurationService", path, [this](Moniker& m) { return model.getIPConfigurationServiceMoniker(m); });
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPHostedService::locateConfigurationService");
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
