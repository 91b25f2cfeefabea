#include "ModuleHarness.h"

#include <cmpimacs.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "IPInterfaceProvider.h"
#include "NodeStore.h"
#include "PlatformUtilities.h"
#include "Value.h"

namespace testsupport {

const char* const ModuleHarness::nameSpace = "root/cimv2";

namespace {

const char* const instanceClasses[] = {
    "Tavrix_IPProtocolEndpoint", "Tavrix_IPAssignmentSettingData",
    "Tavrix_BindsToLanEndPoint", "Tavrix_IPElementSettingData",
    "Tavrix_StaticIPAssignmentSettingData", "Tavrix_IPRemoteServiceAccessPoint",
    "Tavrix_StaticOrderedComponent", "Tavrix_IPHostedAccessPoint",
    "Tavrix_StaticIPElementSettingData", "Tavrix_RemoteHostedAccessPoint",
    "Tavrix_IPRemoteAccessAvailableToElement", "Tavrix_SPHostedAccessPoint",
    "Tavrix_IPElementCapabilities", "Tavrix_IPEnabledLogicalElementCapabilities",
    "Tavrix_IPConfigurationService", "Tavrix_IPHostedService", "Tavrix_IPServiceAffectsElement",
    "Tavrix_ConcreteJob",
};

const char* const associationClasses[] = {
    "Tavrix_BindsToLanEndPoint", "Tavrix_IPElementSettingData", "Tavrix_StaticOrderedComponent",
    "Tavrix_IPHostedAccessPoint", "Tavrix_StaticIPElementSettingData",
    "Tavrix_RemoteHostedAccessPoint", "Tavrix_IPRemoteAccessAvailableToElement",
    "Tavrix_SPHostedAccessPoint", "Tavrix_IPElementCapabilities", "Tavrix_IPHostedService",
    "Tavrix_IPServiceAffectsElement",
};

void removeTree(const std::string& path)
{
    std::string command = "rm -rf '" + path + "'";
    if (system(command.c_str()) != 0) {
        // Leftovers in /tmp do no harm to other tests.
    }
}

} // namespace

ModuleHarness::ModuleHarness(const std::string& storeJson)
{
    char pattern[] = "/tmp/ipif-test-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot create a temporary folder");
    root = std::string(pattern) + "/";
    data = root + "data/";
    store = root + "quellstore.json";
    if (mkdir(data.c_str(), 0755) != 0)
        throw std::runtime_error("cannot create the data folder");
    writeFile(store, storeJson);
    Korvu::NodeStore::open(store);
    Korvu::PlatformUtilities::setMaranthDataDir(data);

    const CMPIBroker* b = theBroker.cmpi();
    instance = IPInterfaceProvider_Create_InstanceMI(b, nullptr, nullptr);
    association = IPInterfaceProvider_Create_AssociationMI(b, nullptr, nullptr);
    method = IPInterfaceProvider_Create_MethodMI(b, nullptr, nullptr);
    for (const char* cls : instanceClasses)
        theBroker.registerInstanceProvider(cls, instance);
    for (const char* cls : associationClasses)
        theBroker.registerAssociationProvider(cls, association);
    theBroker.registerMethodProvider("Tavrix_IPProtocolEndpoint", method);
    theBroker.registerMethodProvider("Tavrix_IPConfigurationService", method);
}

ModuleHarness::~ModuleHarness()
{
    Korvu::PlatformUtilities::setMaranthDataDir("");
    removeTree(root);
}

CMPIObjectPath* ModuleHarness::classPath(cimhost::Request& req, const std::string& className) const
{
    return req.newObjectPath(nameSpace, className);
}

std::string ModuleHarness::readFile(const std::string& path) const
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::string();
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ModuleHarness::writeFile(const std::string& path, const std::string& text) const
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

bool ModuleHarness::fileExists(const std::string& path) const { return access(path.c_str(), F_OK) == 0; }

std::string propertyText(const CMPIInstance* inst, const char* name)
{
    if (!inst)
        return std::string();
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIData d = CMGetProperty(inst, name, &rc);
    if (rc.rc != CMPI_RC_OK)
        return std::string();
    return cimhost::toValue(d).toText();
}

std::string keyText(const CMPIObjectPath* path, const char* name)
{
    if (!path)
        return std::string();
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIData d = CMGetKey(path, name, &rc);
    if (rc.rc != CMPI_RC_OK)
        return std::string();
    return cimhost::toValue(d).toText();
}

} // namespace testsupport
