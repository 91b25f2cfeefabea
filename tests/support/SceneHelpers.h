#ifndef TESTSUPPORT_SCENEHELPERS_H
#define TESTSUPPORT_SCENEHELPERS_H

// Paths, ModifyInstance and raw node reads that the request, endpoint and
// association tests all build their scenes from.
#include <unistd.h>

#include <string>

#include "Instrumentation.h"
#include "ModuleHarness.h"
#include "Request.h"
#include "Value.h"

namespace testsupport {

// This machine's name: what the host's SystemName keys carry.
inline std::string hostName()
{
    char name[257] = {};
    gethostname(name, 256);
    return name;
}

inline cimhost::Value text(const std::string& v) { return cimhost::Value::string(v); }

// A path of the class in the test namespace.
inline cimhost::PathSpec path(const std::string& className, const cimhost::NamedValues& keys)
{
    cimhost::PathSpec described;
    described.nameSpace = ModuleHarness::nameSpace;
    described.className = className;
    described.keys = keys;
    return described;
}

// Keys of an element a computer system hosts: the host (named `systemName`)
// or the service processor.
inline cimhost::NamedValues hostedKeys(const std::string& className, const std::string& name,
                                       bool serviceProcessor, const std::string& systemName)
{
    return {{"SystemCreationClassName",
             text(serviceProcessor ? "Tavrix_SPComputerSystem" : "Tavrix_ComputerSystem")},
            {"SystemName", text(systemName)},
            {"CreationClassName", text(className)},
            {"Name", text(name)}};
}

// ModifyInstance as a CIM server sends it: the request path and an instance
// of the same keys carrying the new values.
inline cimhost::Response modify(cimhost::Request& req, const cimhost::PathSpec& target,
                                const cimhost::NamedValues& properties)
{
    cimhost::InstanceSpec described;
    described.path = target;
    described.properties = properties;
    return req.modifyInstance(req.makePath(target), req.makeInstance(described));
}

// Raw node-store values, read behind the module's back.
inline unsigned int nodeNumber(const std::string& nodePath, Korvu::NodeLexicon::Properties p)
{
    Korvu::Instrumentation cursor;
    cursor.selectNode(nodePath);
    unsigned int value = 0xFFFFFFFFu;
    cursor.getProperty(p, value);
    return value;
}

inline std::string nodeText(const std::string& nodePath, Korvu::NodeLexicon::Properties p)
{
    Korvu::Instrumentation cursor;
    cursor.selectNode(nodePath);
    std::string value = "<absent>";
    cursor.getProperty(p, value);
    return value;
}

} // namespace testsupport

#endif
