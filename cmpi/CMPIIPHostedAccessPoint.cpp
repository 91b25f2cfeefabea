#include "CMPIIPHostedAccessPoint.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const IPHostedAccessPointTraits::name = "CMPIIPHostedAccessPoint";
const char* const IPHostedAccessPointTraits::qualified = "Korvu::IPInterfaceProvider::CMPIIPHostedAccessPoint::";
const char* const IPHostedAccessPointTraits::file = "CMPIIPHostedAccessPoint.cpp";
const char* const IPHostedAccessPointTraits::className = "Tavrix_IPHostedAccessPoint";
const unsigned short IPHostedAccessPointTraits::classId = 72;
const char* const IPHostedAccessPointTraits::ancestors[] = {"CIM_HostedAccessPoint", "CIM_HostedDependency", "CIM_Dependency", nullptr};
const AssociationEnd IPHostedAccessPointTraits::a = {"Antecedent", {1, 0, 0}, {"Tavrix_ComputerSystem", "CIM_ComputerSystem", nullptr}, {"Name", nullptr}};
const AssociationEnd IPHostedAccessPointTraits::b = {"Dependent", {9, 0, 0}, {"Tavrix_IPProtocolEndpoint", "CIM_IPProtocolEndpoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};

const char* const IPHostedAccessPointTraits::computers[] = {"Tavrix_ComputerSystem", nullptr};

template class AssociationClass<IPHostedAccessPointTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
