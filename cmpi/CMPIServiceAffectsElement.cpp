#include "CMPIServiceAffectsElement.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIServiceAffectsElement.cpp");

#define QUALIFIED(operation) "Korvu::IPInterfaceProvider::CMPIServiceAffectsElement::" operation

namespace {
const unsigned short serviceId = 129;
const unsigned short endpointId = 9;
const unsigned short associationId = 131;
const char* const associationClass = "Tavrix_IPServiceAffectsElement";
}

CMPIServiceAffectsElement::CMPIServiceAffectsElement(const CMPIBroker* broker,
                                                     const CMPIContext* context,
                                                     const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), service(broker, context, nameSpace),
      endpoint(broker, context, nameSpace), located(true)
{
    TRACE_ENTER(QUALIFIED("CMPIServiceAffectsElement"));
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == serviceId) {
        CMPIObjectPath* far = locateIPEndptPath(path);
        located = far != nullptr;
        if (located) {
            endpoint.setObjectPath(far);
            service.setObjectPath(path);
        }
    } else if (sourceClassId == endpointId) {
        CMPIObjectPath* far = locateIPConfgSvce(path);
        located = far != nullptr;
        if (located) {
            service.setObjectPath(far);
            endpoint.setObjectPath(path);
        }
    } else if (sourceClassId == associationId) {
        if (endpoint) {
            CMPIObjectPath* far = locateIPConfgSvce(endpoint.getObjectPath());
            located = far != nullptr;
            if (located)
                service.setObjectPath(far);
        }
    }
    TRACE_EXIT(QUALIFIED("CMPIServiceAffectsElement"));
}

CMPIServiceAffectsElement::~CMPIServiceAffectsElement()
{
    TRACE_METHOD(QUALIFIED("~CMPIServiceAffectsElement"));
}

CMPIServiceAffectsElement::operator bool()
{
    TRACE_ENTER(QUALIFIED("operator bool"));
    bool result = false;
    if (located &&
        (sourceClassId == serviceId || sourceClassId == endpointId || sourceClassId == associationId))
        result = endpoint;
    TRACE_EXIT(QUALIFIED("operator bool"));
    return result;
}

void CMPIServiceAffectsElement::operator++()
{
    TRACE_ENTER(QUALIFIED("operator++"));
    if (located &&
        (sourceClassId == serviceId || sourceClassId == endpointId || sourceClassId == associationId))
        ++endpoint;
    TRACE_EXIT(QUALIFIED("operator++"));
}

CMPIObjectPath* CMPIServiceAffectsElement::getObjectPath()
{
    TRACE_ENTER(QUALIFIED("getObjectPath"));
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        ProviderUtilities::setKeyProperty(path, "AffectedElement", endpoint.getObjectPath());
        ProviderUtilities::setKeyProperty(path, "AffectingElement", service.getObjectPath());
    }
    TRACE_EXIT(QUALIFIED("getObjectPath"));
    return path;
}

CMPIInstance* CMPIServiceAffectsElement::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER(QUALIFIED("getCMPIInstance"));
    CMPIInstance* instance = AssociationPaths::instance(broker, getObjectPath(), "AffectingElement",
                                                        "AffectedElement");
    TRACE_EXIT(QUALIFIED("getCMPIInstance"));
    return instance;
}

CMPIInstance* CMPIServiceAffectsElement::getAssociator(const char** properties)
{
    TRACE_ENTER(QUALIFIED("getAssociator"));
    CMPIInstance* instance = nullptr;
    if (sourceClassId == serviceId)
        instance = endpoint.getCMPIInstance(properties);
    else if (sourceClassId == endpointId)
        instance = service.getCMPIInstance(properties);
    TRACE_EXIT(QUALIFIED("getAssociator"));
    return instance;
}

CMPIObjectPath* CMPIServiceAffectsElement::getAssociatorNames()
{
    TRACE_ENTER(QUALIFIED("getAssociatorNames"));
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == serviceId)
        path = endpoint.getObjectPath();
    else if (sourceClassId == endpointId)
        path = service.getObjectPath();
    TRACE_EXIT(QUALIFIED("getAssociatorNames"));
    return path;
}

bool CMPIServiceAffectsElement::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER(QUALIFIED("isNotTargetClass"));
    bool result = true;
    if (sourceClassId == serviceId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPProtocolEndpoint",
                                            "CIM_IPProtocolEndpoint");
    else if (sourceClassId == endpointId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPConfigurationService",
                                            "CIM_IPConfigurationService");
    TRACE_EXIT(QUALIFIED("isNotTargetClass"));
    return result;
}

CMPIObjectPath* CMPIServiceAffectsElement::locateIPConfgSvce(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateIPConfgSvce"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPConfigurationService", path,
        [this](Moniker& m) { return model.getIPConfigurationServiceMoniker(m); });
    TRACE_EXIT(QUALIFIED("locateIPConfgSvce"));
    return result;
}

CMPIObjectPath* CMPIServiceAffectsElement::locateIPEndptPath(const CMPIObjectPath* path)
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
