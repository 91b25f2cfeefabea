#ifndef CIMHOST_CIMXML_REQUESTPARSER_H
#define CIMHOST_CIMXML_REQUESTPARSER_H

#include <optional>
#include <string>
#include <vector>

#include "ClassCatalog.h"
#include "Value.h"

namespace cimhost::cimxml {

enum class OperationKind {
    EnumerateInstances,
    EnumerateInstanceNames,
    GetInstance,
    ModifyInstance,
    GetClass,
    Associators,
    AssociatorNames,
    References,
    ReferenceNames,
    Method,  // extrinsic
};

// One CIM operation read from a request message.
struct Operation {
    std::string messageId;
    std::string protocolVersion = "1.0";
    std::string name;      // as the client sent it
    bool intrinsic = true;
    OperationKind kind = OperationKind::EnumerateInstances;
    std::string nameSpace;
    std::string className;                  // enumerations, GetClass
    PathSpec objectPath;                    // GetInstance, ModifyInstance, associations, methods
    InstanceSpec instance;                  // ModifyInstance
    std::optional<std::string> assocClass;  // Associators(Names)
    std::optional<std::string> resultClass;
    std::optional<std::string> role;
    std::optional<std::string> resultRole;
    std::optional<std::vector<std::string>> propertyList;
    NamedValues parameters;                 // method input
};

// How reading a request ended. Faults of the message itself answer HTTP
// 400 with the CIMError header; faults of the operation answer a CIM
// ERROR inside a well formed response to the same message.
struct ParseResult {
    enum Kind { Ok, NotWellFormed, NotValid, OperationError } kind = Ok;
    int cimStatus = 0;     // for OperationError
    std::string message;
    bool ok() const { return kind == Ok; }
};

class RequestParser {
public:
    // Reads an untrusted body. Operation errors still fill `op`'s message
    // id, name and kind so the answer can name them. Untyped method
    // parameters and properties take the catalog's types (when given),
    // else stay strings. Nothing here throws except std::bad_alloc.
    static ParseResult parse(const std::string& body, const ClassCatalog* catalog, Operation& op);
};

} // namespace cimhost::cimxml

#endif
