#ifndef CIMHOST_REQUEST_H
#define CIMHOST_REQUEST_H

#include <cmpidt.h>
#include <cmpift.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Value.h"

namespace cimhost {

class Arena;
class Broker;

// What providers answered: the status and everything handed back (copies
// owned by the request). `hasMessage` tells a null message from an empty one.
struct Response {
    CMPIrc rc = CMPI_RC_OK;
    std::string message;
    bool hasMessage = false;
    std::vector<const CMPIObjectPath*> paths;
    std::vector<const CMPIInstance*> instances;
    std::vector<CMPIData> data;
    int doneCount = 0;
    bool ok() const { return rc == CMPI_RC_OK; }
};

// One client request scope. Objects it creates, and every object providers
// create while it runs on this thread (also in up-calls), live until it is
// destroyed. Use a Request on one thread at a time; several Requests may
// run on different threads at once. Nothing here throws except
// std::bad_alloc.
//
// Routing: enumerations and queries reach the providers of the path's class
// and its registered subclasses; single-instance operations and methods the
// provider of the class or its nearest ancestor; associators and
// associatorNames the providers of `assocClass` and its subclasses,
// references and referenceNames those of `resultClass` (every association
// provider when it is null, each once); as in a CIM server, one association
// provider that fails fails the request. A null path answers
// CMPI_RC_ERR_INVALID_PARAMETER, no provider CMPI_RC_ERR_INVALID_CLASS
// (CMPI_RC_ERR_NOT_SUPPORTED for methods); providers' statuses pass through.
class Request {
public:
    explicit Request(Broker& broker);
    ~Request();
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

    Broker& broker() { return owner; }
    Arena& arena() { return *scope; }
    const CMPIContext* context() const { return ctx; }

    CMPIObjectPath* newObjectPath(const std::string& nameSpace, const std::string& className);
    CMPIInstance* newInstance(const CMPIObjectPath* path);
    CMPIArgs* newArgs();
    CMPIObjectPath* makePath(const PathSpec& spec);
    CMPIInstance* makeInstance(const InstanceSpec& spec);
    // Null, with `error` set, when the text is not a path.
    CMPIObjectPath* parsePath(const std::string& text, std::string* error = nullptr);

    Response enumerateInstanceNames(const CMPIObjectPath* op);
    Response enumerateInstances(const CMPIObjectPath* op, const char** properties = nullptr);
    Response getInstance(const CMPIObjectPath* op, const char** properties = nullptr);
    Response createInstance(const CMPIObjectPath* op, const CMPIInstance* inst);
    Response modifyInstance(const CMPIObjectPath* op, const CMPIInstance* inst,
                            const char** properties = nullptr);
    Response deleteInstance(const CMPIObjectPath* op);
    Response execQuery(const CMPIObjectPath* op, const char* query, const char* language);
    Response associators(const CMPIObjectPath* op, const char* assocClass, const char* resultClass,
                         const char* role = nullptr, const char* resultRole = nullptr,
                         const char** properties = nullptr);
    Response associatorNames(const CMPIObjectPath* op, const char* assocClass,
                             const char* resultClass, const char* role = nullptr,
                             const char* resultRole = nullptr);
    Response references(const CMPIObjectPath* op, const char* resultClass, const char* role = nullptr,
                        const char** properties = nullptr);
    Response referenceNames(const CMPIObjectPath* op, const char* resultClass,
                            const char* role = nullptr);
    // `out`, when given, receives the output arguments.
    Response invokeMethod(const CMPIObjectPath* op, const char* method, const CMPIArgs* in,
                          CMPIArgs* out = nullptr);

    // Runs `body` inside this request with a recording result, for calling
    // a provider's slots directly (also with odd arguments).
    Response call(const std::function<CMPIStatus(const CMPIContext*, const CMPIResult*)>& body);

private:
    Response noProvider(const std::string& className, CMPIrc rc);
    static Response invalidPath();
    Broker& owner;
    std::unique_ptr<Arena> scope;
    const CMPIContext* ctx;
};

} // namespace cimhost

#endif
