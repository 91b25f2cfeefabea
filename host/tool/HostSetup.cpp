#include "HostSetup.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace ipifhost {

namespace {

bool readFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream out;
    out << in.rdbuf();
    text = out.str();
    return true;
}

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

struct Registered {
    std::string className;
    std::string provider;
    std::string location;
    std::vector<std::string> roles;
    std::vector<std::string> namespaces;
};

// The providerRegister form: "[Class]" blocks of "keyword: value" lines.
bool readRegistration(const std::string& text, std::vector<Registered>& out, std::string& error)
{
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::string t = trim(line);
        if (t.empty() || t[0] == '#')
            continue;
        if (t.front() == '[' && t.back() == ']' && t.size() > 2) {
            out.push_back(Registered{t.substr(1, t.size() - 2), "", "", {}, {}});
            continue;
        }
        const auto colon = t.find(':');
        if (out.empty() || colon == std::string::npos) {
            error = "registration line " + std::to_string(number) + ": not understood";
            return false;
        }
        const std::string keyword = trim(t.substr(0, colon));
        const std::string value = trim(t.substr(colon + 1));
        if (keyword == "provider")
            out.back().provider = value;
        else if (keyword == "location")
            out.back().location = value;
        else if (keyword == "namespace") {
            std::istringstream names(value);
            std::string name;
            while (names >> name)
                out.back().namespaces.push_back(name);
        } else if (keyword == "type") {
            std::istringstream roles(value);
            std::string role;
            while (roles >> role)
                out.back().roles.push_back(role);
        }
    }
    return true;
}

bool has(const std::vector<std::string>& list, const std::string& item)
{
    for (const std::string& x : list)
        if (x == item)
            return true;
    return false;
}

std::string executableDir()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return ".";
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/'));
}

} // namespace

HostPaths HostSetup::defaultPaths()
{
    return pathsFor(executableDir());
}

HostPaths HostSetup::pathsFor(const std::string& exeDir)
{
    HostPaths paths;
    const auto under = [&exeDir](const std::string& relative) {
        return !relative.empty() && relative[0] == '/' ? relative : exeDir + "/" + relative;
    };
    const std::string installedData = under(IPIFHOST_INSTALLED_DATA);
    const bool installed = std::ifstream(installedData + "/ipinterfaceprofile.reg").good();

    const char* mof = std::getenv("IPIFHOST_MOF");
    paths.mofDir = mof && *mof ? mof : installed ? installedData : IPIFHOST_MOF_DIR;
    paths.demoStore = installed ? installedData + "/demo-store.json" : IPIFHOST_DEMO_STORE;
    if (const char* dir = std::getenv("IPIFHOST_PROVIDER_DIR"))
        if (*dir)
            paths.providerDirs.push_back(dir);
    paths.providerDirs.push_back(exeDir);
    if (installed) {
        paths.providerDirs.push_back(under(IPIFHOST_INSTALLED_PROVIDERS));
    } else {
        paths.providerDirs.push_back(IPIFHOST_MODULE_DIR);
        paths.providerDirs.push_back(IPIFHOST_COMPANION_DIR);
    }
    return paths;
}

bool HostSetup::load(cimhost::Broker& broker, const HostPaths& paths, std::string& error)
{
    classes = std::make_shared<cimhost::cimxml::ClassCatalog>();
    for (const char* file : {"CIM_Superclasses.mof", "Tavrix_Companion.mof", "Tavrix_IPInterfaceProfile.mof"}) {
        std::string text;
        const std::string path = paths.mofDir + "/" + file;
        if (!readFile(path, text)) {
            error = path + ": cannot be read";
            return false;
        }
        std::string why;
        if (!classes->addMof(text, &why)) {
            error = path + ": " + why;
            return false;
        }
    }

    std::string text;
    const std::string registrationFile = paths.mofDir + "/ipinterfaceprofile.reg";
    std::vector<Registered> registered;
    if (!readFile(registrationFile, text)) {
        error = registrationFile + ": cannot be read";
        return false;
    }
    if (!readRegistration(text, registered, error))
        return false;

    // The hierarchy and keys of every class the schema declares.
    std::vector<std::string> names;
    for (const Registered& r : registered) {
        names.push_back(r.className);
        if (has(r.roles, "instance"))
            served.push_back(r.className);
        for (const std::string& ns : r.namespaces)
            if (!has(spaces, ns))
                spaces.push_back(ns);
    }
    for (const std::string& name : names) {
        std::string current = name;
        for (int depth = 0; depth < 32 && !current.empty(); ++depth) {
            const cimhost::cimxml::ClassDecl* decl = classes->find(current);
            if (!decl)
                break;
            if (!decl->superClass.empty())
                broker.registerClass(decl->name, decl->superClass);
            current = decl->superClass;
        }
        cimhost::cimxml::ClassDecl flat;
        if (classes->flattened(name, flat)) {
            std::vector<std::string> keys;
            for (const auto& p : flat.properties)
                if (p.key)
                    keys.push_back(p.name);
            broker.registerKeys(name, keys);
        }
    }

    // One load per library, then its classes by role.
    std::map<std::string, std::vector<const Registered*>> byLibrary;
    for (const Registered& r : registered)
        byLibrary[r.location + "\n" + r.provider].push_back(&r);
    for (const auto& library : byLibrary) {
        const Registered& first = *library.second.front();
        const std::string file = "lib" + first.location + ".so";
        std::string found;
        for (const std::string& dir : paths.providerDirs) {
            std::ifstream probe(dir + "/" + file);
            if (probe) {
                found = dir + "/" + file;
                break;
            }
        }
        if (found.empty()) {
            error = file + ": not found";
            return false;
        }
        std::string why;
        const cimhost::Broker::Module* module = broker.loadModule(found, first.provider, &why);
        if (!module) {
            error = found + ": " + why;
            return false;
        }
        std::vector<std::string> instance, association, method;
        for (const Registered* r : library.second) {
            if (has(r->roles, "instance"))
                instance.push_back(r->className);
            if (has(r->roles, "association"))
                association.push_back(r->className);
            if (has(r->roles, "method"))
                method.push_back(r->className);
        }
        broker.registerModuleClasses(*module, instance, association, method);
    }
    return true;
}

} // namespace ipifhost
