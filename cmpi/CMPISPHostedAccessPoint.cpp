#include "CMPISPHostedAccessPoint.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const SPHostedAccessPointTraits::name = "CMPISPHostedAccessPoint";
const char* const SPHostedAccessPointTraits::qualified = "Korvu::IPInterfaceProvider::CMPISPHostedAccessPoint::";
const char* const SPHostedAccessPointTraits::file = "CMPISPHostedAccessPoint.cpp";
const char* const SPHostedAccessPointTraits::className = "Tavrix_SPHostedAccessPoint";
const unsigned short SPHostedAccessPointTraits::classId = 120;
const char* const SPHostedAccessPointTraits::ancestors[] = {"CIM_HostedAccessPoint", "CIM_HostedDependency", "CIM_Dependency", nullptr};
const AssociationEnd SPHostedAccessPointTraits::a = {"Antecedent", {119, 0, 0}, {"Tavrix_SPComputerSystem", "CIM_ComputerSystem", nullptr}, {"Name", nullptr}};
const AssociationEnd SPHostedAccessPointTraits::b = {"Dependent", {9, 0, 0}, {"Tavrix_IPProtocolEndpoint", "CIM_IPProtocolEndpoint", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};

const char* const SPHostedAccessPointTraits::computers[] = {"Tavrix_SPComputerSystem", nullptr};

template class AssociationClass<SPHostedAccessPointTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
