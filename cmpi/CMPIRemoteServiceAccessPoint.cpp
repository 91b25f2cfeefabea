#include "CMPIRemoteServiceAccessPoint.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cmpimacs.h>

#include "NodeStore.h"
#include "ProviderUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIRemoteServiceAccessPoint.cpp");

namespace {

const char* const className = "Tavrix_IPRemoteServiceAccessPoint";

CMPIStatus makeStatus(const CMPIBroker* broker, CMPIrc rc, const char* text)
{
    CMPIStatus status = {rc, nullptr};
    if (broker && text)
        status.msg = CMNewString(broker, text, nullptr);
    return status;
}

// The store's own words (the kernel's answer on a live store) complete
// the refusal where it has them.
std::string withStoreReason(const char* text, bool fromStore)
{
    const std::string reason = fromStore ? NodeStore::lastWriteRefusal() : std::string();
    return reason.empty() ? std::string(text) : std::string(text) + ": " + reason;
}

bool isAddressOf(int family, const std::string& text)
{
    if (text.empty() || text.find('\0') != std::string::npos ||
        text.find_first_of("\r\n") != std::string::npos)
        return false;
    unsigned char buffer[sizeof(struct in6_addr)];
    return inet_pton(family, text.c_str(), buffer) == 1;
}

} // namespace

CMPIRemoteServiceAccessPoint::CMPIRemoteServiceAccessPoint(const CMPIBroker* broker,
                                                           const CMPIContext* context,
                                                           const std::string ns)
    : broker(broker), context(context), nameSpace(ns)
{
    TRACE_ENTER(
        "Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::CMPIRemoteServiceAccessPoint");
}

CMPIRemoteServiceAccessPoint::CMPIRemoteServiceAccessPoint(const CMPIBroker* broker,
                                                           const CMPIContext* context,
                                                           const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path))
{
    TRACE_ENTER(
        "Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::CMPIRemoteServiceAccessPoint");
    setObjectPath(path);
    TRACE_EXIT(
        "Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::CMPIRemoteServiceAccessPoint");
}

CMPIRemoteServiceAccessPoint::~CMPIRemoteServiceAccessPoint()
{
    TRACE_ENTER(
        "Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::~CMPIRemoteServiceAccessPoint");
}

void CMPIRemoteServiceAccessPoint::setObjectPath(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::setObjectPath");
    if (ProviderUtilities::getKeyCount(path) > 0) {
        // Name first: it reads the node's own properties, while the system
        // name looks two nodes up.
        std::string value;
        if (ProviderUtilities::getKeyProperty(path, "Name", value))
            accessPoint.setFilter(RemoteServiceAccessPoint::BY_NAME, value);
        if (ProviderUtilities::getKeyProperty(path, "SystemName", value))
            accessPoint.setFilter(RemoteServiceAccessPoint::BY_SYSTEM_NAME, value);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::setObjectPath");
}

CMPIRemoteServiceAccessPoint::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::operator bool");
    return static_cast<bool>(accessPoint);
}

void CMPIRemoteServiceAccessPoint::operator++()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::operator ++");
    ++accessPoint;
}

CMPIObjectPath* CMPIRemoteServiceAccessPoint::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::getObjectPath");
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, className, nameSpace);
    made.clear();
    if (path) {
        if (accessPoint.getSystemCreationClassName(made.next()))
            made.set(path, "SystemCreationClassName");
        if (accessPoint.getSystemName(made.next()))
            made.set(path, "SystemName");
        if (accessPoint.getCreationClassName(made.next()))
            made.set(path, "CreationClassName");
        if (accessPoint.getName(made.next()))
            made.set(path, "Name");
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::getObjectPath");
    return path;
}

CMPIInstance* CMPIRemoteServiceAccessPoint::getCMPIInstance(const char**)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::getCMPIInstance");
    CMPIInstance* instance = ProviderUtilities::instanceFrom(broker, getObjectPath());
    if (instance) {
        std::string text;
        unsigned short code = 0;
        if (accessPoint.getElementName(text))
            ProviderUtilities::setProperty(instance, "ElementName", text);
        // Its own string: a gateway gone meanwhile must not show another value.
        std::string gateway;
        if (accessPoint.getAccessInfo(gateway))
            ProviderUtilities::setProperty(instance, "AccessInfo", gateway);
        if (accessPoint.getOtherAccessContext(text))
            ProviderUtilities::setProperty(instance, "OtherAccessContext", text);
        if (accessPoint.getInfoFormat(code))
            ProviderUtilities::setProperty(instance, "InfoFormat", code);
        if (accessPoint.getAccessContext(code))
            ProviderUtilities::setProperty(instance, "AccessContext", code);
        // The keys come with the path where the broker makes them properties.
        if (!ProviderUtilities::holdsProperty(instance, "SystemCreationClassName") &&
            accessPoint.getSystemCreationClassName(text))
            ProviderUtilities::setProperty(instance, "SystemCreationClassName", text);
        if (!ProviderUtilities::holdsProperty(instance, "SystemName") && accessPoint.getSystemName(text))
            ProviderUtilities::setProperty(instance, "SystemName", text);
        if (!ProviderUtilities::holdsProperty(instance, "CreationClassName") &&
            accessPoint.getCreationClassName(text))
            ProviderUtilities::setProperty(instance, "CreationClassName", text);
        if (!ProviderUtilities::holdsProperty(instance, "Name") && accessPoint.getName(text))
            ProviderUtilities::setProperty(instance, "Name", text);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::getCMPIInstance");
    return instance;
}

CMPIStatus CMPIRemoteServiceAccessPoint::modifyInstance(const CMPIInstance* instance)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::modifyInstance");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    if (!instance || !instance->hdl) {
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::modifyInstance");
        return status;
    }
    CMPIObjectPath* path = CMGetObjectPath(instance, &status);
    if (!path || !path->hdl) {
        if (status.rc == CMPI_RC_OK)
            status = makeStatus(broker, CMPI_RC_ERR_INVALID_PARAMETER, "Instance has no object path");
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::modifyInstance");
        return status;
    }
    status.rc = CMPI_RC_OK;
    status.msg = nullptr;
    setObjectPath(path);
    // The instance's own keys may select no access point of the request's.
    if (!accessPoint) {
        status = makeStatus(broker, CMPI_RC_ERR_NOT_FOUND,
                            "No remote service access point matches the keys of the instance");
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::modifyInstance");
        return status;
    }
    std::string value;
    if (ProviderUtilities::getProperty(instance, "AccessInfo", value)) {
        int family = accessPoint.writableFamily();
        if (family != -1 && !isAddressOf(family, value)) {
            status = makeStatus(broker, CMPI_RC_ERR_INVALID_PARAMETER,
                                family == AF_INET ? "AccessInfo is not a valid IPv4 address"
                                                  : "AccessInfo is not a valid IPv6 address");
        } else if (!accessPoint.setAccessInfo(value)) {
            // setAccessInfo has logged an unknown protocol type.
            status = makeStatus(broker, CMPI_RC_ERR_FAILED,
                                family == -1 ? "IP Protocol value does not exist"
                                             : withStoreReason("The node store refused the gateway of the "
                                                               "remote service access point", true).c_str());
        }
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIRemoteServiceAccessPoint::modifyInstance");
    return status;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
