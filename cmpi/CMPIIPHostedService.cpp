#include "CMPIIPHostedService.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const IPHostedServiceTraits::name = "CMPIIPHostedService";
const char* const IPHostedServiceTraits::qualified = "Korvu::IPInterfaceProvider::CMPIIPHostedService::";
const char* const IPHostedServiceTraits::file = "CMPIIPHostedService.cpp";
const char* const IPHostedServiceTraits::className = "Tavrix_IPHostedService";
const unsigned short IPHostedServiceTraits::classId = 130;
const char* const IPHostedServiceTraits::ancestors[] = {"CIM_HostedService", "CIM_HostedDependency", "CIM_Dependency", nullptr};
const AssociationEnd IPHostedServiceTraits::a = {"Antecedent", {1, 119, 0}, {"Tavrix_ComputerSystem", "CIM_ComputerSystem", nullptr}, {"Name", nullptr}};
const AssociationEnd IPHostedServiceTraits::b = {"Dependent", {129, 0, 0}, {"Tavrix_IPConfigurationService", "CIM_IPConfigurationService", nullptr}, {"SystemCreationClassName", "SystemName", "Name", nullptr}};

const char* const IPHostedServiceTraits::computers[] = {"Tavrix_ComputerSystem", "Tavrix_SPComputerSystem", nullptr};

template class AssociationClass<IPHostedServiceTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu
