#include "CMPIRemoteAccessAvailableToElement.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIRemoteAccessAvailableToElement.cpp");

#define QUALIFIED(operation) \
    "Korvu::IPInterfaceProvider::CMPIRemoteAccessAvailableToElement::" operation

namespace {
const unsigned short accessId = 70;
const unsigned short endpointId = 9;
const unsigned short associationId = 81;
const char* const associationClass = "Tavrix_IPRemoteAccessAvailableToElement";
}

CMPIRemoteAccessAvailableToElement::CMPIRemoteAccessAvailableToElement(
    const CMPIBroker* broker, const CMPIContext* context, const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), access(broker, context, nameSpace),
      endpoint(broker, context, nameSpace), located(true)
{
    TRACE_ENTER(QUALIFIED("CMPIRemoteAccessAvailableToElement"));
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == accessId) {
        CMPIObjectPath* far = locateIPEndptPath(path);
        located = far != nullptr;
        if (located) {
            endpoint.setObjectPath(far);
            access.setObjectPath(path);
        }
    } else if (sourceClassId == endpointId) {
        CMPIObjectPath* far = locateRemoteSAP(path);
        located = far != nullptr;
        if (located) {
            access.setObjectPath(far);
            endpoint.setObjectPath(path);
        }
    } else if (sourceClassId == associationId) {
        if (access) {
            CMPIObjectPath* far = locateIPEndptPath(access.getObjectPath());
            located = far != nullptr;
            if (located)
                endpoint.setObjectPath(far);
        }
    }
    TRACE_EXIT(QUALIFIED("CMPIRemoteAccessAvailableToElement"));
}

CMPIRemoteAccessAvailableToElement::~CMPIRemoteAccessAvailableToElement()
{
    TRACE_METHOD(QUALIFIED("~CMPIRemoteAccessAvailableToElement"));
}

CMPIRemoteAccessAvailableToElement::operator bool()
{
    TRACE_ENTER(QUALIFIED("operator bool"));
    bool result = false;
    if (located) {
        if (sourceClassId == accessId)
            result = endpoint;
        else if (sourceClassId == endpointId || sourceClassId == associationId)
            result = access;
    }
    TRACE_EXIT(QUALIFIED("operator bool"));
    return result;
}

void CMPIRemoteAccessAvailableToElement::operator++()
{
    TRACE_ENTER(QUALIFIED("operator++"));
    if (located) {
        if (sourceClassId == accessId)
            ++endpoint;
        else if (sourceClassId == endpointId || sourceClassId == associationId)
            ++access;
    }
    TRACE_EXIT(QUALIFIED("operator++"));
}

CMPIObjectPath* CMPIRemoteAccessAvailableToElement::getObjectPath()
{
    TRACE_ENTER(QUALIFIED("getObjectPath"));
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        CMPIObjectPath* antecedent = access.getObjectPath();
        // The endpoint asked about is the dependent, not merely the first
        // endpoint of its interface: an interface may have several.
        CMPIObjectPath* dependent = (sourceClassId == endpointId && endpoint)
                                        ? endpoint.getObjectPath()
                                        : locateIPEndptPath(antecedent);
        ProviderUtilities::setKeyProperty(path, "Antecedent", antecedent);
        ProviderUtilities::setKeyProperty(path, "Dependent", dependent);
    }
    TRACE_EXIT(QUALIFIED("getObjectPath"));
    return path;
}

CMPIInstance* CMPIRemoteAccessAvailableToElement::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER(QUALIFIED("getCMPIInstance"));
    CMPIInstance* instance =
        AssociationPaths::instance(broker, getObjectPath(), "Antecedent", "Dependent");
    unsigned short order = 0;
    if (instance && model.getOrderOfAccess(order))
        ProviderUtilities::setProperty(instance, "OrderOfAccess", order);
    TRACE_EXIT(QUALIFIED("getCMPIInstance"));
    return instance;
}

CMPIInstance* CMPIRemoteAccessAvailableToElement::getAssociator(const char** properties)
{
    TRACE_ENTER(QUALIFIED("getAssociator"));
    CMPIInstance* instance = nullptr;
    if (sourceClassId == accessId)
        instance = endpoint.getCMPIInstance(properties);
    else if (sourceClassId == endpointId)
        instance = access.getCMPIInstance(properties);
    TRACE_EXIT(QUALIFIED("getAssociator"));
    return instance;
}

CMPIObjectPath* CMPIRemoteAccessAvailableToElement::getAssociatorNames()
{
    TRACE_ENTER(QUALIFIED("getAssociatorNames"));
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == accessId)
        path = endpoint.getObjectPath();
    else if (sourceClassId == endpointId)
        path = access.getObjectPath();
    TRACE_EXIT(QUALIFIED("getAssociatorNames"));
    return path;
}

bool CMPIRemoteAccessAvailableToElement::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER(QUALIFIED("isNotTargetClass"));
    bool result = true;
    if (sourceClassId == accessId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPProtocolEndpoint",
                                            "CIM_IPProtocolEndpoint");
    else if (sourceClassId == endpointId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPRemoteServiceAccessPoint",
                                            "CIM_RemoteServiceAccessPoint");
    TRACE_EXIT(QUALIFIED("isNotTargetClass"));
    return result;
}

CMPIObjectPath* CMPIRemoteAccessAvailableToElement::locateRemoteSAP(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateRemoteSAP"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPRemoteServiceAccessPoint", path,
        [this](Moniker& m) { return model.getRemoteServiceAccessPointMoniker(m); });
    TRACE_EXIT(QUALIFIED("locateRemoteSAP"));
    return result;
}

CMPIObjectPath* CMPIRemoteAccessAvailableToElement::locateIPEndptPath(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateIPEndptPath"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPProtocolEndpoint", path,
        [this](Moniker& m) { return model.getIPProtocolEndpointMoniker(m); });
    TRACE_EXIT(QUALIFIED("locateIPEndptPath"));
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
