#include "Request.h"

#include <cmpimacs.h>

#include "Broker.h"
#include "BrokerObjects.h"
#include "PathText.h"

namespace cimhost {

namespace {

// Makes this request's arena current for the providers it calls.
class Scope {
public:
    explicit Scope(Arena& arena) : previous(Arena::exchangeCurrent(&arena)) {}
    ~Scope() { Arena::exchangeCurrent(previous); }

private:
    Arena* previous;
};

std::string classOf(const CMPIObjectPath* op)
{
    ObjectPathObject* o = ownerOf<ObjectPathObject>(op);
    return o ? std::string(o->body().className) : std::string();
}

void take(Response& response, const ResultObject* result)
{
    response.paths.insert(response.paths.end(), result->paths.begin(), result->paths.end());
    response.instances.insert(response.instances.end(), result->instances.begin(),
                              result->instances.end());
    response.data.insert(response.data.end(), result->data.begin(), result->data.end());
    response.doneCount += result->doneCount;
}

void takeStatus(Response& response, const CMPIStatus& status)
{
    if (status.rc == CMPI_RC_OK || response.rc != CMPI_RC_OK)
        return;
    response.rc = status.rc;
    const char* text = status.msg ? CMGetCharsPtr(status.msg, nullptr) : nullptr;
    response.hasMessage = text != nullptr;
    response.message = text ? text : "";
}

} // namespace

Request::Request(Broker& broker) : owner(broker), scope(Arena::scope())
{
    ContextObject* context = ContextObject::create(&owner, *scope);
    CMPIUint32 flags = 0;
    CMAddContextEntry(&context->cell.cmpi, "CMPIInvocationFlags", &flags, CMPI_uint32);
    CMAddContextEntry(&context->cell.cmpi, "CMPIPrincipal", "root", CMPI_chars);
    ctx = &context->cell.cmpi;
}

Request::~Request() = default;

CMPIObjectPath* Request::newObjectPath(const std::string& nameSpace, const std::string& className)
{
    return &ObjectPathObject::create(&owner, *scope, nameSpace, className)->cell.cmpi;
}

CMPIInstance* Request::newInstance(const CMPIObjectPath* path)
{
    return &InstanceObject::create(&owner, *scope, path)->cell.cmpi;
}

CMPIArgs* Request::newArgs() { return &ArgsObject::create(&owner, *scope)->cell.cmpi; }

CMPIObjectPath* Request::makePath(const PathSpec& spec) { return toObjectPath(&owner, *scope, spec); }

CMPIInstance* Request::makeInstance(const InstanceSpec& spec) { return toInstance(&owner, *scope, spec); }

CMPIObjectPath* Request::parsePath(const std::string& text, std::string* error)
{
    PathSpec spec;
    if (!parsePathText(text, spec, error))
        return nullptr;
    return makePath(spec);
}

Response Request::invalidPath()
{
    Response response;
    response.rc = CMPI_RC_ERR_INVALID_PARAMETER;
    response.hasMessage = true;
    response.message = "No object path given";
    return response;
}

Response Request::noProvider(const std::string& className, CMPIrc rc)
{
    Response response;
    response.rc = rc;
    response.hasMessage = true;
    response.message = "No provider serves class " + className;
    return response;
}

Response Request::call(const std::function<CMPIStatus(const CMPIContext*, const CMPIResult*)>& body)
{
    Scope active(*scope);
    ResultObject* result = ResultObject::create(&owner, *scope);
    Response response;
    CMPIStatus status = body(ctx, &result->cell.cmpi);
    take(response, result);
    takeStatus(response, status);
    return response;
}

namespace {

// Joins what several providers answered; the status is chosen as for
// up-calls (see fanOutChoice).
Response merge(const std::vector<Response>& answers)
{
    Response all;
    std::vector<CMPIrc> codes;
    for (const Response& r : answers) {
        all.paths.insert(all.paths.end(), r.paths.begin(), r.paths.end());
        all.instances.insert(all.instances.end(), r.instances.begin(), r.instances.end());
        all.data.insert(all.data.end(), r.data.begin(), r.data.end());
        all.doneCount += r.doneCount;
        codes.push_back(r.rc);
    }
    if (!answers.empty()) {
        const Response& chosen = answers[fanOutChoice(codes)];
        all.rc = chosen.rc;
        all.message = chosen.message;
        all.hasMessage = chosen.hasMessage;
    }
    return all;
}

// Association requests fan out as a CIM server does: every provider asked
// must answer, and the first that fails fails the request, with what the
// others returned kept.
Response mergeAssociations(const std::vector<Response>& answers)
{
    Response all = merge(answers);
    for (const Response& r : answers)
        if (!r.ok()) {
            all.rc = r.rc;
            all.message = r.message;
            all.hasMessage = r.hasMessage;
            break;
        }
    return all;
}

} // namespace

Response Request::enumerateInstanceNames(const CMPIObjectPath* op)
{
    if (!op)
        return invalidPath();
    auto providers = owner.instanceProviders(classOf(op));
    if (providers.empty())
        return noProvider(classOf(op), CMPI_RC_ERR_INVALID_CLASS);
    std::vector<Response> answers;
    for (CMPIInstanceMI* mi : providers)
        answers.push_back(call([&](const CMPIContext* c, const CMPIResult* r) {
            return mi->ft->enumerateInstanceNames(mi, c, r, op);
        }));
    return merge(answers);
}

Response Request::enumerateInstances(const CMPIObjectPath* op, const char** properties)
{
    if (!op)
        return invalidPath();
    auto providers = owner.instanceProviders(classOf(op));
    if (providers.empty())
        return noProvider(classOf(op), CMPI_RC_ERR_INVALID_CLASS);
    std::vector<Response> answers;
    for (CMPIInstanceMI* mi : providers)
        answers.push_back(call([&](const CMPIContext* c, const CMPIResult* r) {
            return mi->ft->enumerateInstances(mi, c, r, op, properties);
        }));
    return merge(answers);
}

Response Request::execQuery(const CMPIObjectPath* op, const char* query, const char* language)
{
    if (!op)
        return invalidPath();
    auto providers = owner.instanceProviders(classOf(op));
    if (providers.empty())
        return noProvider(classOf(op), CMPI_RC_ERR_INVALID_CLASS);
    std::vector<Response> answers;
    for (CMPIInstanceMI* mi : providers)
        answers.push_back(call([&](const CMPIContext* c, const CMPIResult* r) {
            return mi->ft->execQuery(mi, c, r, op, query, language);
        }));
    return merge(answers);
}

Response Request::getInstance(const CMPIObjectPath* op, const char** properties)
{
    if (!op)
        return invalidPath();
    CMPIInstanceMI* mi = owner.instanceProvider(classOf(op));
    if (!mi)
        return noProvider(classOf(op), CMPI_RC_ERR_INVALID_CLASS);
    return call([&](const CMPIContext* c, const CMPIResult* r) {
        return mi->ft->getInstance(mi, c, r, op, properties);
    });
}

Response Request::createInstance(const CMPIObjectPath* op, const CMPIInstance* inst)
{
    if (!op)
        return invalidPath();
    CMPIInstanceMI* mi = owner.instanceProvider(classOf(op));
    if (!mi)
        return noProvider(classOf(op), CMPI_RC_ERR_INVALID_CLASS);
    return call([&](const CMPIContext* c, const CMPIResult* r) {
        return mi->ft->createInstance(mi, c, r, op, inst);
    });
}

Response Request::modifyInstance(const CMPIObjectPath* op, const CMPIInstance* inst,
                                 const char** properties)
{
    if (!op)
        return invalidPath();
    CMPIInstanceMI* mi = owner.instanceProvider(classOf(op));
    if (!mi)
        return noProvider(classOf(op), CMPI_RC_ERR_INVALID_CLASS);
    return call([&](const CMPIContext* c, const CMPIResult* r) {
        return mi->ft->modifyInstance(mi, c, r, op, inst, properties);
    });
}

Response Request::deleteInstance(const CMPIObjectPath* op)
{
    if (!op)
        return invalidPath();
    CMPIInstanceMI* mi = owner.instanceProvider(classOf(op));
    if (!mi)
        return noProvider(classOf(op), CMPI_RC_ERR_INVALID_CLASS);
    return call([&](const CMPIContext* c, const CMPIResult* r) {
        return mi->ft->deleteInstance(mi, c, r, op);
    });
}

Response Request::associators(const CMPIObjectPath* op, const char* assocClass,
                              const char* resultClass, const char* role, const char* resultRole,
                              const char** properties)
{
    if (!op)
        return invalidPath();
    auto providers = owner.associationProviders(assocClass);
    if (providers.empty())
        return noProvider(assocClass ? assocClass : "(any association)", CMPI_RC_ERR_INVALID_CLASS);
    std::vector<Response> answers;
    for (CMPIAssociationMI* mi : providers)
        answers.push_back(call([&](const CMPIContext* c, const CMPIResult* r) {
            return mi->ft->associators(mi, c, r, op, assocClass, resultClass, role, resultRole,
                                       properties);
        }));
    return mergeAssociations(answers);
}

Response Request::associatorNames(const CMPIObjectPath* op, const char* assocClass,
                                  const char* resultClass, const char* role, const char* resultRole)
{
    if (!op)
        return invalidPath();
    auto providers = owner.associationProviders(assocClass);
    if (providers.empty())
        return noProvider(assocClass ? assocClass : "(any association)", CMPI_RC_ERR_INVALID_CLASS);
    std::vector<Response> answers;
    for (CMPIAssociationMI* mi : providers)
        answers.push_back(call([&](const CMPIContext* c, const CMPIResult* r) {
            return mi->ft->associatorNames(mi, c, r, op, assocClass, resultClass, role, resultRole);
        }));
    return mergeAssociations(answers);
}

Response Request::references(const CMPIObjectPath* op, const char* resultClass, const char* role,
                             const char** properties)
{
    if (!op)
        return invalidPath();
    auto providers = owner.associationProviders(resultClass);
    if (providers.empty())
        return noProvider(resultClass ? resultClass : "(any association)", CMPI_RC_ERR_INVALID_CLASS);
    std::vector<Response> answers;
    for (CMPIAssociationMI* mi : providers)
        answers.push_back(call([&](const CMPIContext* c, const CMPIResult* r) {
            return mi->ft->references(mi, c, r, op, resultClass, role, properties);
        }));
    return mergeAssociations(answers);
}

Response Request::referenceNames(const CMPIObjectPath* op, const char* resultClass, const char* role)
{
    if (!op)
        return invalidPath();
    auto providers = owner.associationProviders(resultClass);
    if (providers.empty())
        return noProvider(resultClass ? resultClass : "(any association)", CMPI_RC_ERR_INVALID_CLASS);
    std::vector<Response> answers;
    for (CMPIAssociationMI* mi : providers)
        answers.push_back(call([&](const CMPIContext* c, const CMPIResult* r) {
            return mi->ft->referenceNames(mi, c, r, op, resultClass, role);
        }));
    return mergeAssociations(answers);
}

Response Request::invokeMethod(const CMPIObjectPath* op, const char* method, const CMPIArgs* in,
                               CMPIArgs* out)
{
    if (!op)
        return invalidPath();
    CMPIMethodMI* mi = owner.methodProvider(classOf(op));
    if (!mi)
        return noProvider(classOf(op), CMPI_RC_ERR_NOT_SUPPORTED);
    if (!out)
        out = newArgs();
    return call([&](const CMPIContext* c, const CMPIResult* r) {
        return mi->ft->invokeMethod(mi, c, r, op, method, in, out);
    });
}

} // namespace cimhost
