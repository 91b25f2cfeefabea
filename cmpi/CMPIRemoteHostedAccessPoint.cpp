#include "CMPIRemoteHostedAccessPoint.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const RemoteHostedAccessPointTraits::name = "CMPIRemoteHostedAccessPoint";
const char* const RemoteHostedAccessPointTraits::qualified = "Korvu::IPInterfaceProvider::CMPIRemoteHostedAccessPoint::";
const char* const RemoteHostedAccessPointTraits::file = "CMPIRemoteHostedAccessPoint.cpp";
const char* const RemoteHostedAccessPointTraits::className = "Tavrix_RemoteHostedAccessPoint";
const unsigned short RemoteHostedAccessPointTraits::classId = 80;
const char* const RemoteHostedAccessPointTraits::ancestors[] = {"CIM_HostedAccessPoint", "CIM_HostedDependency", "CIM_Dependency", nullptr};
const AssociationEnd RemoteHostedAccessPointTraits::a = {"Antecedent", {1, 119, 0}, {"Tavrix_ComputerSystem", "Tavrix_SPComputerSystem", "CIM_ComputerSystem", nullptr}, {"Name", nullptr}};
const AssociationEnd RemoteHostedAccessPointTraits::b = {"Dependent", {70, 0, 0}, {"Tavrix_IPRemoteServiceAccessPoint", "CIM_RemoteServiceAccessPoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};

const char* const RemoteHostedAccessPointTraits::computers[] = {"Tavrix_ComputerSystem", "Tavrix_SPComputerSystem", nullptr};

template class AssociationClass<RemoteHostedAccessPointTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
