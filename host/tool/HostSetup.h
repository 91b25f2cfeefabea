#ifndef IPIFHOST_HOSTSETUP_H
#define IPIFHOST_HOSTSETUP_H

#include <memory>
#include <string>
#include <vector>

#include "Broker.h"
#include "ClassCatalog.h"

namespace ipifhost {

// Where the host finds its schema, registration and provider libraries.
struct HostPaths {
    std::string mofDir;
    std::string demoStore;
    std::vector<std::string> providerDirs;
};

// Builds a broker as a CIM server would from the shipped files: the class
// hierarchy and keys from the MOF, then every library the registration
// file names, loaded through its factories, registered for its classes
// and roles. Nothing here throws except std::bad_alloc.
class HostSetup {
public:
    static HostPaths defaultPaths();
    // For an executable in `executableDir`: the installed layout next to it
    // when its registration file is there, else the source and build tree
    // this binary was built from. IPIFHOST_MOF and IPIFHOST_PROVIDER_DIR
    // come first when set.
    static HostPaths pathsFor(const std::string& executableDir);

    // False, with `error` set, when a file cannot be read or parsed, or a
    // library cannot be found or loaded.
    bool load(cimhost::Broker& broker, const HostPaths& paths, std::string& error);

    std::shared_ptr<const cimhost::cimxml::ClassCatalog> catalog() const { return classes; }
    // What the registration names: namespaces, and classes with instance providers.
    const std::vector<std::string>& namespaces() const { return spaces; }
    const std::vector<std::string>& instanceClasses() const { return served; }

private:
    std::shared_ptr<cimhost::cimxml::ClassCatalog> classes;
    std::vector<std::string> spaces;
    std::vector<std::string> served;
};

} // namespace ipifhost

#endif
