#ifndef TESTSUPPORT_MODULEHARNESS_H
#define TESTSUPPORT_MODULEHARNESS_H

#include <cmpidt.h>
#include <cmpift.h>

#include <string>

#include "Broker.h"
#include "Request.h"

namespace testsupport {

// A fresh scene for one test: a temporary folder holding the node store
// (from JSON text) and the agent data folder, and a broker with the
// module's classes registered in-process through its factories.
class ModuleHarness {
public:
    static const char* const nameSpace;  // "root/cimv2"

    explicit ModuleHarness(const std::string& storeJson);
    ~ModuleHarness();
    ModuleHarness(const ModuleHarness&) = delete;
    ModuleHarness& operator=(const ModuleHarness&) = delete;

    cimhost::Broker& broker() { return theBroker; }
    const std::string& folder() const { return root; }       // ends with '/'
    const std::string& dataDir() const { return data; }      // ends with '/'
    const std::string& storeFile() const { return store; }

    // A path of a class in the test namespace, with no keys.
    CMPIObjectPath* classPath(cimhost::Request& req, const std::string& className) const;

    std::string readFile(const std::string& path) const;   // "" when absent
    void writeFile(const std::string& path, const std::string& text) const;
    bool fileExists(const std::string& path) const;

    // The module's records, as a CIM server would hold them.
    CMPIInstanceMI* instanceMI() const { return instance; }
    CMPIAssociationMI* associationMI() const { return association; }
    CMPIMethodMI* methodMI() const { return method; }

private:
    cimhost::Broker theBroker;
    std::string root;
    std::string data;
    std::string store;
    CMPIInstanceMI* instance;
    CMPIAssociationMI* association;
    CMPIMethodMI* method;
};

// Text of a string, numeric or boolean property of an instance; "" when absent.
std::string propertyText(const CMPIInstance* inst, const char* name);
// Text of a key of a path; "" when absent.
std::string keyText(const CMPIObjectPath* path, const char* name);

} // namespace testsupport

#endif
