#include "CMPIIPComputerSystem.h"

#include <cmpimacs.h>

#include "ProviderException.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIIPComputerSystem.cpp");

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

CMPIIPComputerSystem::CMPIIPComputerSystem(const CMPIBroker* broker, const CMPIContext* context, const std::string ns)
    : broker(broker), context(context), nameSpace(ns), current(nullptr), enumeration(nullptr),
      pending(false)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::CMPIIPComputerSystem");
}

CMPIIPComputerSystem::~CMPIIPComputerSystem()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::~CMPIIPComputerSystem");
}

void CMPIIPComputerSystem::setObjectPath(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::setObjectPath");
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
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::setObjectPath");
}

CMPIIPComputerSystem::operator bool()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::operator bool");
    // The instance that operator ++ made current is an element too, the
    // last one of the enumeration included.
    bool result = pending || current != nullptr;
    pending = false;
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::operator bool");
    return result;
}

void CMPIIPComputerSystem::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::operator ++");
    current = nextInstance(enumeration);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::operator ++");
}

CMPIObjectPath* CMPIIPComputerSystem::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::getObjectPath");
    CMPIObjectPath* path = nullptr;
    if (current && current->hdl) {
        CMPIStatus rc = {CMPI_RC_OK, nullptr};
        path = CMGetObjectPath(current, &rc);
        if (rc.rc != CMPI_RC_OK)
            path = nullptr;
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::getObjectPath");
    return path;
}

CMPIInstance* CMPIIPComputerSystem::getCMPIInstance(const char**)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIIPComputerSystem::getCMPIInstance");
    return current;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
