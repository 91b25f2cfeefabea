#include "RequestParser.h"

#include <strings.h>

#include <pugixml.hpp>

#include <cctype>
#include <unordered_set>

#include "Codec.h"

namespace cimhost::cimxml {

namespace {

bool same(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

// Far above what any method declares; bounds the work one request can ask.
constexpr size_t maxParameters = 256;
// Names and message ids are echoed in answers; longer ones are refused.
constexpr size_t maxName = 256;

std::string lowered(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

ParseResult notWellFormed(const std::string& message) { return {ParseResult::NotWellFormed, 0, message}; }
ParseResult notValid(const std::string& message) { return {ParseResult::NotValid, 0, message}; }
ParseResult operationError(int status, const std::string& message)
{
    return {ParseResult::OperationError, status, message};
}
ParseResult invalidParameter(const std::string& message)
{
    return operationError(CMPI_RC_ERR_INVALID_PARAMETER, message);
}

pugi::xml_node firstElement(const pugi::xml_node& node)
{
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_element)
            return child;
    return pugi::xml_node();
}

struct Intrinsic {
    const char* name;
    OperationKind kind;
};

const Intrinsic intrinsics[] = {
    {"EnumerateInstances", OperationKind::EnumerateInstances},
    {"EnumerateInstanceNames", OperationKind::EnumerateInstanceNames},
    {"GetInstance", OperationKind::GetInstance},
    {"ModifyInstance", OperationKind::ModifyInstance},
    {"GetClass", OperationKind::GetClass},
    {"Associators", OperationKind::Associators},
    {"AssociatorNames", OperationKind::AssociatorNames},
    {"References", OperationKind::References},
    {"ReferenceNames", OperationKind::ReferenceNames},
};

// The parameters each intrinsic operation understands; others are refused
// as DSP0200 asks.
bool knownParameter(OperationKind kind, const char* name)
{
    static const char* const common[] = {"LocalOnly", "DeepInheritance", "IncludeQualifiers",
                                         "IncludeClassOrigin", "PropertyList"};
    for (const char* c : common)
        if (same(c, name))
            return true;
    switch (kind) {
    case OperationKind::EnumerateInstances:
    case OperationKind::EnumerateInstanceNames:
    case OperationKind::GetClass: return same(name, "ClassName");
    case OperationKind::GetInstance: return same(name, "InstanceName");
    case OperationKind::ModifyInstance: return same(name, "ModifiedInstance");
    case OperationKind::Associators:
    case OperationKind::AssociatorNames:
        return same(name, "ObjectName") || same(name, "AssocClass") || same(name, "ResultClass")
               || same(name, "Role") || same(name, "ResultRole");
    case OperationKind::References:
    case OperationKind::ReferenceNames:
        return same(name, "ObjectName") || same(name, "ResultClass") || same(name, "Role");
    case OperationKind::Method: return false;
    }
    return false;
}

// A CLASSNAME parameter's NAME.
bool className(const pugi::xml_node& param, std::string& out)
{
    pugi::xml_node c = firstElement(param);
    if (!c || !same(c.name(), "CLASSNAME"))
        return false;
    out = c.attribute("NAME").value();
    return !out.empty();
}

// A string parameter (Role, ResultRole) as VALUE.
bool stringParameter(const pugi::xml_node& param, std::string& out)
{
    pugi::xml_node v = firstElement(param);
    if (!v)
        return false;
    Value value;
    std::string error;
    if (!same(v.name(), "VALUE") || !Codec::readValue(v, CMPI_string, value, error))
        return false;
    out = value.asString();
    return true;
}

ParseResult readIntrinsic(const pugi::xml_node& call, const ClassCatalog* catalog, Operation& op)
{
    pugi::xml_node nsNode = call.child("LOCALNAMESPACEPATH");
    std::string error;
    if (!nsNode)
        return notValid("IMETHODCALL without LOCALNAMESPACEPATH");
    if (!Codec::readLocalNamespacePath(nsNode, op.nameSpace, error))
        return notValid(error);
    bool known = false;
    for (const Intrinsic& i : intrinsics)
        if (same(i.name, op.name.c_str())) {
            op.kind = i.kind;
            known = true;
        }
    if (!known)
        return operationError(CMPI_RC_ERR_NOT_SUPPORTED, "operation " + op.name.substr(0, 64) + " is not supported");

    bool haveClass = false, haveObject = false, haveInstance = false;
    // Each of the few parameters an operation knows, given once or twice.
    const size_t maxIntrinsicParameters = 32;
    size_t parameters = 0;
    for (pugi::xml_node param : call.children()) {
        if (param.type() != pugi::node_element || same(param.name(), "LOCALNAMESPACEPATH"))
            continue;
        if (!same(param.name(), "IPARAMVALUE"))
            return notValid(std::string("unexpected ") + param.name() + " in IMETHODCALL");
        if (++parameters > maxIntrinsicParameters)
            return invalidParameter("too many parameters");
        const char* name = param.attribute("NAME").value();
        if (!knownParameter(op.kind, name))
            return invalidParameter(std::string("unknown parameter ") + std::string(name).substr(0, 64));
        pugi::xml_node value = firstElement(param);
        if (same(name, "ClassName")) {
            if (!className(param, op.className))
                return invalidParameter("ClassName needs a CLASSNAME");
            if (op.className.size() > maxName)
                return operationError(CMPI_RC_ERR_INVALID_CLASS, "the class name is too long");
            haveClass = true;
        } else if (same(name, "InstanceName")) {
            if (!value || !Codec::readInstanceName(value, op.objectPath, error))
                return invalidParameter("InstanceName: " + (error.empty() ? "needs an INSTANCENAME" : error));
            haveObject = true;
        } else if (same(name, "ObjectName")) {
            if (value && same(value.name(), "CLASSNAME"))
                return operationError(CMPI_RC_ERR_NOT_SUPPORTED, "class level association requests are not supported");
            if (!value || !Codec::readInstanceName(value, op.objectPath, error))
                return invalidParameter("ObjectName: " + (error.empty() ? "needs an INSTANCENAME" : error));
            haveObject = true;
        } else if (same(name, "ModifiedInstance")) {
            if (!value || !same(value.name(), "VALUE.NAMEDINSTANCE"))
                return invalidParameter("ModifiedInstance needs a VALUE.NAMEDINSTANCE");
            pugi::xml_node instName = value.child("INSTANCENAME");
            pugi::xml_node inst = value.child("INSTANCE");
            if (!instName || !inst)
                return invalidParameter("ModifiedInstance needs INSTANCENAME and INSTANCE");
            if (!Codec::readInstanceName(instName, op.objectPath, error)
                || !Codec::readInstance(inst, catalog, op.instance, error))
                return invalidParameter("ModifiedInstance: " + error);
            haveObject = haveInstance = true;
        } else if (same(name, "AssocClass") || same(name, "ResultClass")) {
            std::string c;
            // An empty parameter is a null one.
            if (value) {
                if (!className(param, c))
                    return invalidParameter(std::string(name) + " needs a CLASSNAME");
                (same(name, "AssocClass") ? op.assocClass : op.resultClass) = c;
            }
        } else if (same(name, "Role") || same(name, "ResultRole")) {
            std::string r;
            if (value) {
                if (!stringParameter(param, r))
                    return invalidParameter(std::string(name) + " needs a VALUE");
                (same(name, "Role") ? op.role : op.resultRole) = r;
            }
        } else if (same(name, "PropertyList")) {
            if (value) {
                Value list;
                if (!same(value.name(), "VALUE.ARRAY")
                    || !Codec::readValue(value, static_cast<CMPIType>(CMPI_string | CMPI_ARRAY), list, error))
                    return invalidParameter("PropertyList needs a VALUE.ARRAY of names");
                if (list.elements().size() > maxParameters * 4)
                    return invalidParameter("PropertyList names too many properties");
                std::vector<std::string> names;
                for (const Value& e : list.elements())
                    if (!e.isNull())
                        names.push_back(e.asString());
                op.propertyList = std::move(names);
            }
        } else {
            // Flags: checked for form, then left to the providers' defaults.
            Value flag;
            if (value && (!same(value.name(), "VALUE") || !Codec::readValue(value, CMPI_boolean, flag, error)))
                return invalidParameter(std::string(name) + " needs TRUE or FALSE");
        }
    }
    switch (op.kind) {
    case OperationKind::EnumerateInstances:
    case OperationKind::EnumerateInstanceNames:
    case OperationKind::GetClass:
        if (!haveClass)
            return invalidParameter("missing ClassName");
        break;
    case OperationKind::GetInstance:
        if (!haveObject)
            return invalidParameter("missing InstanceName");
        break;
    case OperationKind::ModifyInstance:
        if (!haveInstance)
            return invalidParameter("missing ModifiedInstance");
        break;
    default:
        if (!haveObject)
            return invalidParameter("missing ObjectName");
    }
    op.objectPath.nameSpace = op.nameSpace;
    op.instance.path = op.objectPath;
    return ParseResult();
}

ParseResult readExtrinsic(const pugi::xml_node& call, const ClassCatalog* catalog, Operation& op)
{
    op.intrinsic = false;
    op.kind = OperationKind::Method;
    std::string error;
    pugi::xml_node target = firstElement(call);
    if (!target)
        return notValid("METHODCALL without a target path");
    if (same(target.name(), "LOCALINSTANCEPATH")) {
        pugi::xml_node ns = target.child("LOCALNAMESPACEPATH");
        pugi::xml_node name = target.child("INSTANCENAME");
        if (!ns || !name || !Codec::readLocalNamespacePath(ns, op.nameSpace, error))
            return notValid("LOCALINSTANCEPATH needs LOCALNAMESPACEPATH and INSTANCENAME");
        if (!Codec::readInstanceName(name, op.objectPath, error))
            return invalidParameter(error);
    } else if (same(target.name(), "LOCALCLASSPATH")) {
        pugi::xml_node ns = target.child("LOCALNAMESPACEPATH");
        pugi::xml_node name = target.child("CLASSNAME");
        if (!ns || !name || !Codec::readLocalNamespacePath(ns, op.nameSpace, error))
            return notValid("LOCALCLASSPATH needs LOCALNAMESPACEPATH and CLASSNAME");
        op.objectPath.className = name.attribute("NAME").value();
        if (op.objectPath.className.empty())
            return invalidParameter("CLASSNAME without NAME");
    } else {
        return notValid(std::string("unexpected ") + target.name() + " as METHODCALL target");
    }
    op.objectPath.nameSpace = op.nameSpace;
    op.className = op.objectPath.className;

    std::unordered_set<std::string> seen;
    for (pugi::xml_node param : call.children()) {
        if (param.type() != pugi::node_element || param == target)
            continue;
        if (!same(param.name(), "PARAMVALUE"))
            return notValid(std::string("unexpected ") + param.name() + " in METHODCALL");
        if (op.parameters.size() >= maxParameters)
            return invalidParameter("more than " + std::to_string(maxParameters) + " parameters");
        std::string name = param.attribute("NAME").value();
        if (name.empty())
            return invalidParameter("PARAMVALUE without NAME");
        if (!seen.insert(lowered(name)).second)
            return invalidParameter("parameter " + name.substr(0, 64) + " given twice");
        CMPIType type = CMPI_null;
        std::string typeText = param.attribute("PARAMTYPE").value();
        if (!typeText.empty()) {
            if (!Codec::typeFromName(typeText, type) && !same(typeText.c_str(), "object"))
                return invalidParameter("unknown PARAMTYPE " + typeText.substr(0, 32));
        } else if (catalog) {
            catalog->parameterType(op.className, op.name, name, type);
        }
        pugi::xml_node valueNode = firstElement(param);
        Value value = Value::null(type == CMPI_null ? CMPIType(CMPI_string) : type);
        if (valueNode) {
            // A declared scalar arriving as an array (or the reverse) is the
            // client's fault; an explicit PARAMTYPE says nothing about arrays.
            CMPIType want = type;
            if (!typeText.empty() && want != CMPI_null) {
                bool array = same(valueNode.name(), "VALUE.ARRAY") || same(valueNode.name(), "VALUE.REFARRAY");
                want = static_cast<CMPIType>(array ? (want | CMPI_ARRAY) : (want & ~CMPI_ARRAY));
            }
            if (!Codec::readValue(valueNode, want, value, error))
                return invalidParameter(name.substr(0, 64) + ": " + error);
        }
        op.parameters.emplace_back(name, std::move(value));
    }
    return ParseResult();
}

} // namespace

ParseResult RequestParser::parse(const std::string& body, const ClassCatalog* catalog, Operation& op)
{
    op = Operation();
    pugi::xml_document doc;
    // No DOCTYPE or entity expansion: pugixml never loads external entities.
    pugi::xml_parse_result parsed =
        doc.load_buffer(body.data(), body.size(), pugi::parse_default & ~pugi::parse_doctype, pugi::encoding_utf8);
    if (!parsed)
        return notWellFormed(std::string("XML error: ") + parsed.description() + " at offset "
                             + std::to_string(parsed.offset));
    pugi::xml_node cim = doc.document_element();
    if (!same(cim.name(), "CIM"))
        return notValid("the document is not a CIM message");
    pugi::xml_node message = firstElement(cim);
    if (!same(message.name(), "MESSAGE"))
        return notValid("CIM without MESSAGE");
    op.messageId = message.attribute("ID").value();
    if (op.messageId.empty() || op.messageId.size() > maxName) {
        op.messageId.clear();
        return notValid("MESSAGE without a usable ID");
    }
    std::string version = message.attribute("PROTOCOLVERSION").value();
    if (!version.empty())
        op.protocolVersion = version;
    pugi::xml_node simple = firstElement(message);
    if (same(simple.name(), "MULTIREQ"))
        return notValid("multiple requests are not supported");
    if (!same(simple.name(), "SIMPLEREQ"))
        return notValid("MESSAGE without SIMPLEREQ");
    pugi::xml_node call = firstElement(simple);
    if (!call)
        return notValid("SIMPLEREQ without a call");
    op.name = call.attribute("NAME").value();
    if (op.name.empty() || op.name.size() > maxName) {
        op.name.clear();
        return notValid(std::string(call.name()) + " without a usable NAME");
    }
    if (same(call.name(), "IMETHODCALL"))
        return readIntrinsic(call, catalog, op);
    if (same(call.name(), "METHODCALL"))
        return readExtrinsic(call, catalog, op);
    return notValid(std::string("unexpected ") + call.name() + " in SIMPLEREQ");
}

} // namespace cimhost::cimxml
