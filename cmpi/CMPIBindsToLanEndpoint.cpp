#include "CMPIBindsToLanEndpoint.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIBindsToLanEndpoint.cpp");

#define QUALIFIED(operation) "Korvu::IPInterfaceProvider::CMPIBindsToLanEndpoint::" operation

namespace {
const unsigned short lanId = 16;
const unsigned short endpointId = 9;
const unsigned short associationId = 67;
const char* const associationClass = "Tavrix_BindsToLanEndPoint";
}

CMPIBindsToLanEndpoint::CMPIBindsToLanEndpoint(const CMPIBroker* broker,
                                               const CMPIContext* context,
                                               const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), lan(broker, context, nameSpace),
      endpoint(broker, context, nameSpace), located(true)
{
    TRACE_ENTER(QUALIFIED("CMPIBindsToLanEndpoint"));
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == lanId) {
        CMPIObjectPath* far = getIPEndptPath(path);
        located = far != nullptr;
        if (located) {
            endpoint.setObjectPath(far);
            lan.setSingleObjectPath(path);
        }
    } else if (sourceClassId == endpointId) {
        CMPIObjectPath* far = getLanEndptPath(path);
        located = far != nullptr;
        if (located) {
            lan.setSingleObjectPath(far);
            endpoint.setObjectPath(path);
        }
    } else if (sourceClassId == associationId) {
        CMPIObjectPath* far = endpoint ? getLanEndptPath(endpoint.getObjectPath()) : nullptr;
        located = far != nullptr;
        if (located)
            lan.setObjectPath(far);
    }
    TRACE_EXIT(QUALIFIED("CMPIBindsToLanEndpoint"));
}

CMPIBindsToLanEndpoint::~CMPIBindsToLanEndpoint()
{
    TRACE_METHOD(QUALIFIED("~CMPIBindsToLanEndpoint"));
}

CMPIBindsToLanEndpoint::operator bool()
{
    TRACE_ENTER(QUALIFIED("operator bool"));
    bool result = false;
    if (located) {
        if (sourceClassId == lanId || sourceClassId == associationId)
            result = endpoint;
        else if (sourceClassId == endpointId)
            result = lan;
    }
    TRACE_EXIT(QUALIFIED("operator bool"));
    return result;
}

void CMPIBindsToLanEndpoint::operator++()
{
    TRACE_ENTER(QUALIFIED("operator++"));
    if (located) {
        if (sourceClassId == lanId || sourceClassId == associationId)
            ++endpoint;
        else if (sourceClassId == endpointId)
            ++lan;
    }
    TRACE_EXIT(QUALIFIED("operator++"));
}

CMPIObjectPath* CMPIBindsToLanEndpoint::getObjectPath()
{
    TRACE_ENTER(QUALIFIED("getObjectPath"));
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        CMPIObjectPath* dependent = endpoint.getObjectPath();
        ProviderUtilities::setKeyProperty(path, "Dependent", dependent);
        ProviderUtilities::setKeyProperty(path, "Antecedent", getLanEndptPath(dependent));
    }
    TRACE_EXIT(QUALIFIED("getObjectPath"));
    return path;
}

CMPIInstance* CMPIBindsToLanEndpoint::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER(QUALIFIED("getCMPIInstance"));
    CMPIInstance* instance =
        AssociationPaths::instance(broker, getObjectPath(), "Antecedent", "Dependent");
    TRACE_EXIT(QUALIFIED("getCMPIInstance"));
    return instance;
}

CMPIInstance* CMPIBindsToLanEndpoint::getAssociator(const char** properties)
{
    TRACE_ENTER(QUALIFIED("getAssociator"));
    CMPIInstance* instance = nullptr;
    if (sourceClassId == lanId)
        instance = endpoint.getCMPIInstance(properties);
    else if (sourceClassId == endpointId)
        instance = lan.getCMPIInstance(properties);
    TRACE_EXIT(QUALIFIED("getAssociator"));
    return instance;
}

CMPIObjectPath* CMPIBindsToLanEndpoint::getAssociatorNames()
{
    TRACE_ENTER(QUALIFIED("getAssociatorNames"));
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == lanId)
        path = endpoint.getObjectPath();
    else if (sourceClassId == endpointId)
        path = lan.getObjectPath();
    TRACE_EXIT(QUALIFIED("getAssociatorNames"));
    return path;
}

bool CMPIBindsToLanEndpoint::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER(QUALIFIED("isNotTargetClass"));
    bool result = true;
    if (sourceClassId == lanId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPProtocolEndpoint",
                                            "CIM_IPProtocolEndpoint");
    else if (sourceClassId == endpointId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_LANEndpoint", "CIM_LanEndpoint");
    TRACE_EXIT(QUALIFIED("isNotTargetClass"));
    return result;
}

CMPIObjectPath* CMPIBindsToLanEndpoint::getLanEndptPath(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("getLanEndptPath"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_LANEndpoint", path,
        [this](Moniker& m) { return model.getLANEndpointMoniker(m); });
    TRACE_EXIT(QUALIFIED("getLanEndptPath"));
    return result;
}

CMPIObjectPath* CMPIBindsToLanEndpoint::getIPEndptPath(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("getIPEndptPath"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPProtocolEndpoint", path,
        [this](Moniker& m) { return model.getIPProtocolEndPointMoniker(m); });
    TRACE_EXIT(QUALIFIED("getIPEndptPath"));
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
