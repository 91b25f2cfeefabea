#include "CMPIIPLanEndPoint.h"

#include <cmpimacs.h>

#include "ProviderException.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIIPLanEndPoint.cpp");

namespace {

const char* const fetchFailed = "Could not obtain an instance of Computer System";

// Next instance of the enumeration, or null at its end or on a failed read.
CMPIInstance* nextInstance(CMPIEnumeration* enumeration)
{
    if (!enumeration || !enumeration->hdl)
        return nullptr;
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    // Asked first: past the end a broker need not give a clean failure.
    if (!CMHasNext(enumeration, &rc) || rc.rc != CMPI_RC_OK)
        return nullptr;
    CMPIData data = CMGetNext(enumeration, &rc);
    if (rc.rc != CMPI_RC_OK || data.type != CMPI_instance || (data.state & CMPI_nullValue))
        return nullptr;
    return data.value.inst;
}

} // namespace

CMPIIPLanEndPoint::CMPIIPLanEndPoint(const CMPIBroker* broker, const CMPIContext* context, const std::string ns)
    : broker(broker), context(context), nameSpace(ns), current(nullptr), enumeration(nullptr),
      pending(false)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::CMPIIPLanEndPoint");
}

CMPIIPLanEndPoint::~CMPIIPLanEndPoint()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::~CMPIIPLanEndPoint");
}

void CMPIIPLanEndPoint::setObjectPath(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::setObjectPath");
    // A new fetch replaces what an earlier one left behind.
    current = nullptr;
    enumeration = nullptr;
    pending = false;
    if (!broker || !path)
        throw ProviderException(fetchFailed);
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    enumeration = CBEnumInstances(broker, context, path, nullptr, &rc);
    if (rc.rc != CMPI_RC_OK) {
        enumeration = nullptr;
        throw ProviderException(fetchFailed);
    }
    current = nextInstance(enumeration);
    pending = current != nullptr;
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::setObjectPath");
}

void CMPIIPLanEndPoint::setSingleObjectPath(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::setSingleObjectPath");
    current = nullptr;
    pending = false;
    if (!broker || !path)
        throw ProviderException(fetchFailed);
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIInstance* instance = CBGetInstance(broker, context, path, nullptr, &rc);
    if (rc.rc != CMPI_RC_OK || !instance)
        throw ProviderException(fetchFailed);
    current = instance;
    pending = true;
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::setSingleObjectPath");
}

// Associations relate one LAN endpoint to an IP endpoint, so a walk sees
// only the element fetched first.
CMPIIPLanEndPoint::operator bool()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::operator bool");
    bool result = pending;
    pending = false;
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::operator bool");
    return result;
}

void CMPIIPLanEndPoint::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::operator ++");
    current = nextInstance(enumeration);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::operator ++");
}

CMPIObjectPath* CMPIIPLanEndPoint::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::getObjectPath");
    CMPIObjectPath* path = nullptr;
    if (current && current->hdl) {
        CMPIStatus rc = {CMPI_RC_OK, nullptr};
        path = CMGetObjectPath(current, &rc);
        if (rc.rc != CMPI_RC_OK)
            path = nullptr;
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::getObjectPath");
    return path;
}

CMPIInstance* CMPIIPLanEndPoint::getCMPIInstance(const char**)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPLanEndPoint::getCMPIInstance");
    return current;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
