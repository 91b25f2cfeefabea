#include "Dispatcher.h"

#include <cmpimacs.h>
#include <strings.h>

#include "Arena.h"
#include "Broker.h"
#include "Codec.h"
#include "Request.h"

namespace cimhost::cimxml {

namespace {

const char* const statusNames[] = {
    "CIM_ERR_OK",
    "CIM_ERR_FAILED",
    "CIM_ERR_ACCESS_DENIED",
    "CIM_ERR_INVALID_NAMESPACE",
    "CIM_ERR_INVALID_PARAMETER",
    "CIM_ERR_INVALID_CLASS",
    "CIM_ERR_NOT_FOUND",
    "CIM_ERR_NOT_SUPPORTED",
    "CIM_ERR_CLASS_HAS_CHILDREN",
    "CIM_ERR_CLASS_HAS_INSTANCES",
    "CIM_ERR_INVALID_SUPERCLASS",
    "CIM_ERR_ALREADY_EXISTS",
    "CIM_ERR_NO_SUCH_PROPERTY",
    "CIM_ERR_TYPE_MISMATCH",
    "CIM_ERR_QUERY_LANGUAGE_NOT_SUPPORTED",
    "CIM_ERR_INVALID_QUERY",
    "CIM_ERR_METHOD_NOT_AVAILABLE",
    "CIM_ERR_METHOD_NOT_FOUND",
};
constexpr int lastStatus = 17;
constexpr size_t maxDescription = 160;

// At most the first few characters, not cutting a UTF-8 sequence.
std::string excerpt(const std::string& text)
{
    if (text.size() <= maxDescription)
        return text;
    size_t end = maxDescription;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end) + "...";
}

// Objects made while converting results belong to the request too, not
// to the broker, which would keep them until it ends.
class ArenaScope {
public:
    explicit ArenaScope(cimhost::Arena& arena) : previous(cimhost::Arena::exchangeCurrent(&arena)) {}
    ~ArenaScope() { cimhost::Arena::exchangeCurrent(previous); }
    ArenaScope(const ArenaScope&) = delete;
    ArenaScope& operator=(const ArenaScope&) = delete;

private:
    cimhost::Arena* previous;
};

bool listed(const std::vector<std::string>& list, const std::string& name)
{
    for (const std::string& item : list)
        if (strcasecmp(item.c_str(), name.c_str()) == 0)
            return true;
    return false;
}

// The classes to ask for an enumeration of `className`: itself when a
// provider serves it, else the served classes below it that have no
// served class between them and it.
std::vector<std::string> enumerationTargets(Broker& broker, const std::string& className,
                                            const std::vector<std::string>& served)
{
    if (served.empty() || listed(served, className))
        return {className};
    std::vector<std::string> below;
    for (const std::string& c : served)
        if (broker.isA(c, className))
            below.push_back(c);
    std::vector<std::string> targets;
    for (const std::string& c : below) {
        bool covered = false;
        for (const std::string& other : below)
            covered = covered || (strcasecmp(other.c_str(), c.c_str()) != 0 && broker.isA(c, other));
        if (!covered)
            targets.push_back(c);
    }
    if (targets.empty())
        targets.push_back(className);
    return targets;
}

Response mergeResponses(std::vector<Response>& answers)
{
    Response all = std::move(answers.front());
    for (size_t i = 1; i < answers.size() && all.ok(); ++i) {
        Response& r = answers[i];
        if (!r.ok()) {
            all = std::move(r);
            break;
        }
        all.paths.insert(all.paths.end(), r.paths.begin(), r.paths.end());
        all.instances.insert(all.instances.end(), r.instances.begin(), r.instances.end());
    }
    return all;
}

std::string messageStart(const Operation& op)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\">"
                      "<MESSAGE ID=\"";
    out += Codec::escape(op.messageId.empty() ? std::string("0") : op.messageId);
    out += "\" PROTOCOLVERSION=\"1.0\"><SIMPLERSP>";
    out += op.intrinsic ? "<IMETHODRESPONSE NAME=\"" : "<METHODRESPONSE NAME=\"";
    out += Codec::escape(op.name) + "\">";
    return out;
}

std::string messageEnd(const Operation& op)
{
    return std::string(op.intrinsic ? "</IMETHODRESPONSE>" : "</METHODRESPONSE>") + "</SIMPLERSP></MESSAGE></CIM>\n";
}

// Names as the broker answers them, null-terminated for CMPI.
struct PropertyNames {
    std::vector<const char*> pointers;
    explicit PropertyNames(const std::optional<std::vector<std::string>>& list)
    {
        if (!list)
            return;
        for (const std::string& name : *list)
            pointers.push_back(name.c_str());
        pointers.push_back(nullptr);
    }
    const char** get() { return pointers.empty() ? nullptr : pointers.data(); }
};

const char* optionalText(const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; }

// The path of a returned instance: its own, completed with the namespace
// and, when the provider left them out, the keys the broker knows.
PathSpec instancePath(Broker& broker, const InstanceSpec& inst, const std::string& nameSpace,
                      const std::string& className)
{
    PathSpec path = inst.path;
    if (path.nameSpace.empty())
        path.nameSpace = nameSpace;
    if (path.className.empty())
        path.className = className;
    if (path.keys.empty())
        for (const std::string& key : broker.keyNames(path.className))
            if (const Value* v = inst.property(key))
                path.keys.emplace_back(key, *v);
    return path;
}

// Providers may ignore the property list; the answer keeps to it (and to
// the keys, as the broker's own filter does).
void filtered(InstanceSpec& found, const PathSpec& path, const std::optional<std::vector<std::string>>& list)
{
    if (!list)
        return;
    cimhost::NamedValues kept;
    for (auto& property : found.properties) {
        bool keep = path.key(property.first) != nullptr;
        for (const std::string& name : *list)
            keep = keep || strcasecmp(name.c_str(), property.first.c_str()) == 0;
        if (keep)
            kept.push_back(std::move(property));
    }
    found.properties = std::move(kept);
}

PathSpec completed(PathSpec path, const std::string& nameSpace)
{
    if (path.nameSpace.empty())
        path.nameSpace = nameSpace;
    return path;
}

std::string failure(const Operation& op, const Response& r)
{
    return Dispatcher::errorResponse(op, r.rc, r.hasMessage ? r.message : std::string());
}

std::string getClass(Broker& broker, Request& req, const Operation& op, const DispatchOptions& options)
{
    ClassDecl decl;
    if (!options.classes || !options.classes->flattened(op.className, decl)) {
        // Without a declaration, what an instance shows is the best there is.
        Response r = req.enumerateInstances(req.newObjectPath(op.nameSpace, op.className));
        if (r.rc == CMPI_RC_ERR_INVALID_CLASS)
            return Dispatcher::errorResponse(op, CMPI_RC_ERR_NOT_FOUND, "class " + op.className + " is not known");
        if (!r.ok())
            return failure(op, r);
        decl.name = op.className;
        std::vector<std::string> keys = broker.keyNames(op.className);
        if (!r.instances.empty()) {
            InstanceSpec first = toInstanceSpec(r.instances.front());
            for (const auto& [name, value] : first.properties) {
                PropertyDecl p;
                p.name = name;
                p.type = value.type == CMPI_null ? CMPIType(CMPI_string) : value.type;
                if (value.asReference())
                    p.referenceClass = value.asReference()->className;
                for (const std::string& k : keys)
                    p.key = p.key || strcasecmp(k.c_str(), name.c_str()) == 0;
                decl.properties.push_back(p);
            }
        }
    }
    std::string out = messageStart(op) + "<IRETURNVALUE>";
    Codec::writeClass(out, decl);
    return out + "</IRETURNVALUE>" + messageEnd(op);
}

std::string invoke(Broker& broker, Request& req, const Operation& op)
{
    CMPIObjectPath* path = req.makePath(op.objectPath);
    CMPIArgs* in = req.newArgs();
    CMPIArgs* out = req.newArgs();
    if (!path || !in || !out)
        return Dispatcher::errorResponse(op, CMPI_RC_ERR_FAILED, "cannot build the request");
    for (const auto& [name, value] : op.parameters) {
        // A parameter without a value is the same as one not given.
        if (value.isNull())
            continue;
        CMPIData d = toData(&broker, req.arena(), value);
        CMPIStatus st = CMAddArg(in, name.c_str(), &d.value, d.type);
        if (st.rc != CMPI_RC_OK)
            return Dispatcher::errorResponse(op, CMPI_RC_ERR_INVALID_PARAMETER, "cannot pass parameter " + name);
    }
    Response r = req.invokeMethod(path, op.name.c_str(), in, out);
    if (!r.ok())
        return failure(op, r);
    std::string text = messageStart(op);
    if (!r.data.empty()) {
        Value result = toValue(r.data.front());
        if (!result.isNull()) {
            text += "<RETURNVALUE PARAMTYPE=\"" + Codec::typeName(result.type) + "\">";
            Codec::writeValue(text, result);
            text += "</RETURNVALUE>";
        }
    }
    CMPICount n = CMGetArgCount(out, nullptr);
    for (CMPICount i = 0; i < n; ++i) {
        CMPIString* name = nullptr;
        CMPIData d = CMGetArgAt(out, i, &name, nullptr);
        const char* nameText = name ? CMGetCharsPtr(name, nullptr) : nullptr;
        if (!nameText)
            continue;
        Value v = toValue(d);
        text += "<PARAMVALUE NAME=\"" + Codec::escape(nameText) + "\"";
        std::string type = Codec::typeName(v.type);
        if (!type.empty())
            text += " PARAMTYPE=\"" + type + "\"";
        text += ">";
        Codec::writeValue(text, v);
        text += "</PARAMVALUE>";
    }
    return text + messageEnd(op);
}

} // namespace

std::string Dispatcher::errorResponse(const Operation& op, int code, const std::string& description)
{
    if (code < 1 || code > lastStatus)
        code = CMPI_RC_ERR_FAILED;
    std::string out = messageStart(op);
    out += "<ERROR CODE=\"" + std::to_string(code) + "\" DESCRIPTION=\""
           + Codec::escape(description.empty() ? std::string(statusNames[code]) : excerpt(description)) + "\"/>";
    return out + messageEnd(op);
}

std::string Dispatcher::execute(Broker& broker, const Operation& op, const DispatchOptions& options)
{
    if (!options.namespaces.empty() && !listed(options.namespaces, op.nameSpace))
        return errorResponse(op, CMPI_RC_ERR_INVALID_NAMESPACE, "namespace " + op.nameSpace + " is not served");
    Request req(broker);
    ArenaScope scope(req.arena());
    PropertyNames properties(op.propertyList);
    std::string out;
    auto objectPath = [&]() { return req.makePath(op.objectPath); };
    auto withPath = [&](const Response& r, bool named) {
        std::string text = messageStart(op) + "<IRETURNVALUE>";
        for (const CMPIInstance* inst : r.instances) {
            InstanceSpec found = toInstanceSpec(inst);
            PathSpec path = instancePath(broker, found, op.nameSpace, op.className);
            if (found.path.className.empty())
                found.path.className = path.className;
            filtered(found, path, op.propertyList);
            if (named) {
                text += "<VALUE.NAMEDINSTANCE>";
                Codec::writeInstanceName(text, path);
                Codec::writeInstance(text, found);
                text += "</VALUE.NAMEDINSTANCE>";
            } else {
                text += "<VALUE.OBJECTWITHPATH>";
                Codec::writeInstancePath(text, path, options.host);
                Codec::writeInstance(text, found);
                text += "</VALUE.OBJECTWITHPATH>";
            }
        }
        return text + "</IRETURNVALUE>" + messageEnd(op);
    };
    auto names = [&](const Response& r, bool full) {
        std::string text = messageStart(op) + "<IRETURNVALUE>";
        for (const CMPIObjectPath* p : r.paths) {
            PathSpec path = completed(toPathSpec(p), op.nameSpace);
            if (full) {
                text += "<OBJECTPATH>";
                Codec::writeInstancePath(text, path, options.host);
                text += "</OBJECTPATH>";
            } else {
                Codec::writeInstanceName(text, path);
            }
        }
        return text + "</IRETURNVALUE>" + messageEnd(op);
    };

    switch (op.kind) {
    case OperationKind::EnumerateInstances:
    case OperationKind::EnumerateInstanceNames: {
        const bool full = op.kind == OperationKind::EnumerateInstances;
        std::vector<Response> answers;
        for (const std::string& c : enumerationTargets(broker, op.className, options.instanceClasses)) {
            CMPIObjectPath* path = req.newObjectPath(op.nameSpace, c);
            answers.push_back(full ? req.enumerateInstances(path, properties.get()) : req.enumerateInstanceNames(path));
        }
        Response r = mergeResponses(answers);
        if (!r.ok())
            return failure(op, r);
        return full ? withPath(r, true) : names(r, false);
    }
    case OperationKind::GetInstance: {
        Response r = req.getInstance(objectPath(), properties.get());
        if (!r.ok())
            return failure(op, r);
        if (r.instances.empty())
            return errorResponse(op, CMPI_RC_ERR_NOT_FOUND, "no instance has this path");
        InstanceSpec found = toInstanceSpec(r.instances.front());
        if (found.path.className.empty())
            found.path.className = op.objectPath.className;
        filtered(found, op.objectPath, op.propertyList);
        out = messageStart(op) + "<IRETURNVALUE>";
        Codec::writeInstance(out, found);
        return out + "</IRETURNVALUE>" + messageEnd(op);
    }
    case OperationKind::ModifyInstance: {
        CMPIInstance* inst = req.makeInstance(op.instance);
        if (!inst)
            return errorResponse(op, CMPI_RC_ERR_INVALID_PARAMETER, "cannot build the instance");
        Response r = req.modifyInstance(objectPath(), inst, properties.get());
        return r.ok() ? messageStart(op) + messageEnd(op) : failure(op, r);
    }
    case OperationKind::GetClass: return getClass(broker, req, op, options);
    case OperationKind::Associators: {
        Response r = req.associators(objectPath(), optionalText(op.assocClass), optionalText(op.resultClass),
                                     optionalText(op.role), optionalText(op.resultRole), properties.get());
        return r.ok() ? withPath(r, false) : failure(op, r);
    }
    case OperationKind::AssociatorNames: {
        Response r = req.associatorNames(objectPath(), optionalText(op.assocClass), optionalText(op.resultClass),
                                         optionalText(op.role), optionalText(op.resultRole));
        return r.ok() ? names(r, true) : failure(op, r);
    }
    case OperationKind::References: {
        Response r = req.references(objectPath(), optionalText(op.resultClass), optionalText(op.role),
                                    properties.get());
        return r.ok() ? withPath(r, false) : failure(op, r);
    }
    case OperationKind::ReferenceNames: {
        Response r = req.referenceNames(objectPath(), optionalText(op.resultClass), optionalText(op.role));
        return r.ok() ? names(r, true) : failure(op, r);
    }
    case OperationKind::Method: return invoke(broker, req, op);
    }
    return errorResponse(op, CMPI_RC_ERR_NOT_SUPPORTED, "operation is not supported");
}

std::string Dispatcher::handleBody(Broker& broker, const std::string& body, int& httpStatus, std::string& cimError,
                                   const DispatchOptions& options)
{
    Operation op;
    ParseResult parsed = RequestParser::parse(body, options.classes, op);
    cimError.clear();
    switch (parsed.kind) {
    case ParseResult::NotWellFormed:
        httpStatus = 400;
        cimError = "request-not-well-formed";
        return std::string();
    case ParseResult::NotValid:
        httpStatus = 400;
        cimError = "request-not-valid";
        return std::string();
    case ParseResult::OperationError:
        httpStatus = 200;
        return errorResponse(op, parsed.cimStatus, parsed.message);
    case ParseResult::Ok: break;
    }
    httpStatus = 200;
    return execute(broker, op, options);
}

} // namespace cimhost::cimxml
