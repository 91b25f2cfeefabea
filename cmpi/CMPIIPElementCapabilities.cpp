#include "CMPIIPElementCapabilities.h"

#include "AssociationPaths.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIIPElementCapabilities.cpp");

#define QUALIFIED(operation) "Korvu::IPInterfaceProvider::CMPIIPElementCapabilities::" operation

namespace {
const unsigned short endpointId = 9;
const unsigned short capsId = 128;
const unsigned short associationId = 121;
const char* const associationClass = "Tavrix_IPElementCapabilities";
}

CMPIIPElementCapabilities::CMPIIPElementCapabilities(const CMPIBroker* broker,
                                                     const CMPIContext* context,
                                                     const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path)),
      sourceClassId(ProviderUtilities::unknownClassId), endpoint(broker, context, nameSpace),
      caps(broker, context, nameSpace), located(true)
{
    TRACE_ENTER(QUALIFIED("CMPIIPElementCapabilities"));
    sourceClassId = ProviderUtilities::getClassId(path);
    if (sourceClassId == endpointId) {
        CMPIObjectPath* far = locateCapabilities(path);
        located = far != nullptr;
        if (located) {
            caps.setObjectPath(far);
            endpoint.setObjectPath(path);
        }
    } else if (sourceClassId == capsId) {
        CMPIObjectPath* far = locateProtocolEndpt(path);
        located = far != nullptr;
        if (located) {
            endpoint.setObjectPath(far);
            caps.setObjectPath(path);
        }
    } else if (sourceClassId == associationId) {
        if (endpoint) {
            CMPIObjectPath* far = locateCapabilities(endpoint.getObjectPath());
            located = far != nullptr;
            if (located)
                caps.setObjectPath(far);
        }
    }
    TRACE_EXIT(QUALIFIED("CMPIIPElementCapabilities"));
}

CMPIIPElementCapabilities::~CMPIIPElementCapabilities()
{
    TRACE_METHOD(QUALIFIED("~CMPIIPElementCapabilities"));
}

CMPIIPElementCapabilities::operator bool()
{
    TRACE_ENTER(QUALIFIED("operator bool"));
    bool result = false;
    if (located) {
        if (sourceClassId == endpointId)
            result = caps;
        else if (sourceClassId == capsId || sourceClassId == associationId)
            result = endpoint;
    }
    TRACE_EXIT(QUALIFIED("operator bool"));
    return result;
}

void CMPIIPElementCapabilities::operator++()
{
    TRACE_ENTER(QUALIFIED("operator++"));
    if (located) {
        if (sourceClassId == endpointId)
            ++caps;
        else if (sourceClassId == capsId || sourceClassId == associationId)
            ++endpoint;
    }
    TRACE_EXIT(QUALIFIED("operator++"));
}

CMPIObjectPath* CMPIIPElementCapabilities::getObjectPath()
{
    TRACE_ENTER(QUALIFIED("getObjectPath"));
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, associationClass, nameSpace);
    if (path) {
        CMPIObjectPath* element = endpoint.getObjectPath();
        ProviderUtilities::setKeyProperty(path, "ManagedElement", element);
        ProviderUtilities::setKeyProperty(path, "Capabilities", locateCapabilities(element));
    }
    TRACE_EXIT(QUALIFIED("getObjectPath"));
    return path;
}

CMPIInstance* CMPIIPElementCapabilities::getCMPIInstance(const char** /*properties*/)
{
    TRACE_ENTER(QUALIFIED("getCMPIInstance"));
    CMPIInstance* instance =
        AssociationPaths::instance(broker, getObjectPath(), "ManagedElement", "Capabilities");
    TRACE_EXIT(QUALIFIED("getCMPIInstance"));
    return instance;
}

CMPIInstance* CMPIIPElementCapabilities::getAssociator(const char** properties)
{
    TRACE_ENTER(QUALIFIED("getAssociator"));
    CMPIInstance* instance = nullptr;
    if (sourceClassId == endpointId)
        instance = caps.getCMPIInstance(properties);
    else if (sourceClassId == capsId)
        instance = endpoint.getCMPIInstance(properties);
    TRACE_EXIT(QUALIFIED("getAssociator"));
    return instance;
}

CMPIObjectPath* CMPIIPElementCapabilities::getAssociatorNames()
{
    TRACE_ENTER(QUALIFIED("getAssociatorNames"));
    CMPIObjectPath* path = nullptr;
    if (sourceClassId == endpointId)
        path = caps.getObjectPath();
    else if (sourceClassId == capsId)
        path = endpoint.getObjectPath();
    TRACE_EXIT(QUALIFIED("getAssociatorNames"));
    return path;
}

bool CMPIIPElementCapabilities::isNotTargetClass(const char* resultClass)
{
    TRACE_ENTER(QUALIFIED("isNotTargetClass"));
    bool result = true;
    if (sourceClassId == endpointId)
        result = !AssociationPaths::isClass(resultClass,
                                            "Tavrix_IPEnabledLogicalElementCapabilities",
                                            "CIM_EnabledLogicalElementCapabilities");
    else if (sourceClassId == capsId)
        result = !AssociationPaths::isClass(resultClass, "Tavrix_IPProtocolEndpoint",
                                            "CIM_IPProtocolEndpoint");
    TRACE_EXIT(QUALIFIED("isNotTargetClass"));
    return result;
}

CMPIObjectPath* CMPIIPElementCapabilities::locateProtocolEndpt(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateProtocolEndpt"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPProtocolEndpoint", path,
        [this](Moniker& m) { return model.getIPMoniker(m); });
    TRACE_EXIT(QUALIFIED("locateProtocolEndpt"));
    return result;
}

CMPIObjectPath* CMPIIPElementCapabilities::locateCapabilities(const CMPIObjectPath* path)
{
    TRACE_ENTER(QUALIFIED("locateCapabilities"));
    CMPIObjectPath* result = AssociationPaths::locate(
        broker, nameSpace, "Tavrix_IPEnabledLogicalElementCapabilities", path,
        [this](Moniker& m) { return model.getCapabilitiesMoniker(m); });
    TRACE_EXIT(QUALIFIED("locateCapabilities"));
    return result;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
