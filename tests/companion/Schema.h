#ifndef COMPANION_SCHEMA_H
#define COMPANION_SCHEMA_H

// Reads the shipped MOF and registration files the simple way their
// README promises, and sets up a broker from them as a host would.
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Broker.h"

namespace schema {

struct ClassInfo {
    std::string superClass;
    std::vector<std::string> keys;
};

struct Registration {
    std::string className, provider, location;
    std::vector<std::string> roles;
    std::string nameSpace;
    std::string group;
};

inline std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string mofDir() { return std::string(IPIF_SOURCE_DIR) + "/mof/"; }

inline std::string trim(const std::string& text)
{
    const auto b = text.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return std::string();
    return text.substr(b, text.find_last_not_of(" \t\r") - b + 1);
}

// Words of a line, split at blanks and at the MOF punctuation.
inline std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> out;
    std::string word;
    for (char c : line) {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
            word += c;
            continue;
        }
        if (!word.empty())
            out.push_back(word);
        word.clear();
        if (c == ':' || c == '{' || c == ';' || c == '[' || c == ']')
            out.push_back(std::string(1, c));
    }
    if (!word.empty())
        out.push_back(word);
    return out;
}

inline void readMof(const std::string& text, std::map<std::string, ClassInfo>& classes)
{
    std::istringstream lines(text);
    std::string line, current;
    while (std::getline(lines, line)) {
        const std::vector<std::string> w = words(line);
        if (line.rfind("class ", 0) == 0 && w.size() >= 3) {
            current = w[1];
            classes[current].superClass = w[2] == ":" && w.size() >= 4 ? w[3] : std::string();
        } else if (line.rfind("};", 0) == 0) {
            current.clear();
        } else if (!current.empty() && !w.empty() && w[0] == "[" && w.back() == ";") {
            // [Key, ...] type [REF] Name;
            bool key = false;
            size_t i = 1;
            for (; i < w.size() && w[i] != "]"; ++i)
                key = key || w[i] == "Key";
            if (key && w.size() >= 2)
                classes[current].keys.push_back(w[w.size() - 2]);
        }
    }
}

inline std::map<std::string, ClassInfo> allClasses()
{
    std::map<std::string, ClassInfo> classes;
    for (const char* f : {"CIM_Superclasses.mof", "Tavrix_Companion.mof", "Tavrix_IPInterfaceProfile.mof"})
        readMof(readText(mofDir() + f), classes);
    return classes;
}

inline std::vector<Registration> registrations()
{
    std::vector<Registration> out;
    std::istringstream lines(readText(mofDir() + "ipinterfaceprofile.reg"));
    std::string line;
    while (std::getline(lines, line)) {
        const std::string t = trim(line);
        if (t.empty() || t[0] == '#')
            continue;
        if (t.front() == '[' && t.back() == ']') {
            out.push_back(Registration());
            out.back().className = t.substr(1, t.size() - 2);
            continue;
        }
        const auto colon = t.find(':');
        if (out.empty() || colon == std::string::npos || line[0] != ' ')
            continue;
        const std::string k = t.substr(0, colon), v = trim(t.substr(colon + 1));
        if (k == "provider")
            out.back().provider = v;
        else if (k == "location")
            out.back().location = v;
        else if (k == "namespace")
            out.back().nameSpace = v;
        else if (k == "group")
            out.back().group = v;
        else if (k == "type") {
            std::istringstream roles(v);
            std::string role;
            while (roles >> role)
                out.back().roles.push_back(role);
        }
    }
    return out;
}

inline bool hasRole(const Registration& r, const std::string& role)
{
    for (const std::string& x : r.roles)
        if (x == role)
            return true;
    return false;
}

// Hierarchy and keys of every class, as ipifhost learns them.
inline void describeClasses(cimhost::Broker& broker)
{
    for (const auto& c : allClasses()) {
        if (!c.second.superClass.empty())
            broker.registerClass(c.first, c.second.superClass);
        if (!c.second.keys.empty())
            broker.registerKeys(c.first, c.second.keys);
    }
}

// Loads the companion library and registers it as the registration file says.
inline const cimhost::Broker::Module* loadCompanion(cimhost::Broker& broker, std::string& error)
{
    const cimhost::Broker::Module* m = broker.loadModule(COMPANION_LIBRARY, "IPInterfaceCompanion", &error);
    if (!m)
        return nullptr;
    std::vector<std::string> instance, association;
    for (const Registration& r : registrations()) {
        if (r.provider != "IPInterfaceCompanion")
            continue;
        if (hasRole(r, "instance"))
            instance.push_back(r.className);
        if (hasRole(r, "association"))
            association.push_back(r.className);
    }
    broker.registerModuleClasses(*m, instance, association, {});
    return m;
}

} // namespace schema

#endif
