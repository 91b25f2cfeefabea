#ifndef CIMHOST_CIMXML_DISPATCHER_H
#define CIMHOST_CIMXML_DISPATCHER_H

#include <string>
#include <vector>

#include "ClassCatalog.h"
#include "RequestParser.h"

namespace cimhost {
class Broker;
}

namespace cimhost::cimxml {

struct DispatchOptions {
    const ClassCatalog* classes = nullptr;  // for GetClass and untyped input
    std::string host = "localhost";         // put into returned instance paths
    // Namespaces served; others answer CIM_ERR_INVALID_NAMESPACE. Empty: any.
    std::vector<std::string> namespaces;
    // Classes with an instance provider of their own: enumerating one of
    // their superclasses asks each of them (the nearest to it).
    std::vector<std::string> instanceClasses;
};

// Runs CIM-XML operations on a broker, each in its own cimhost::Request,
// so any number may run at once on different threads. Nothing here throws
// except std::bad_alloc.
class Dispatcher {
public:
    // A whole request body in, the answer body out: `httpStatus` 200 with
    // a SIMPLERSP (results or a CIM ERROR), or 400 with `cimError` set to
    // the CIMError header value ("request-not-well-formed",
    // "request-not-valid") and an empty body.
    static std::string handleBody(Broker& broker, const std::string& body, int& httpStatus,
                                  std::string& cimError, const DispatchOptions& options = {});
    // The SIMPLERSP message answering `op`.
    static std::string execute(Broker& broker, const Operation& op, const DispatchOptions& options);
    // A SIMPLERSP message carrying only an ERROR; codes outside the CIM
    // status range become CIM_ERR_FAILED. Long descriptions are cut short:
    // they may quote the client.
    static std::string errorResponse(const Operation& op, int code, const std::string& description);
};

} // namespace cimhost::cimxml

#endif
