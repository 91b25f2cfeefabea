#include "CMPIProtocolEndpoint.h"

#include <arpa/inet.h>
#include <cmpimacs.h>

#include "NodeStore.h"
#include "ProviderUtilities.h"
#include "SubnetMask.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("CMPIProtocolEndpoint.cpp");

namespace {

const char* const className = "Tavrix_IPProtocolEndpoint";

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

// Empty clears the value; anything else must be a dotted IPv4 address.
bool usableIPv4(const std::string& text)
{
    if (text.empty())
        return true;
    struct in_addr address;
    return text.find('\0') == std::string::npos && inet_pton(AF_INET, text.c_str(), &address) == 1;
}

bool argumentMissing(const CMPIData& data, const CMPIStatus& rc)
{
    return rc.rc == CMPI_RC_ERR_NO_SUCH_PROPERTY || rc.rc == CMPI_RC_ERR_NOT_FOUND ||
           (data.state & CMPI_notFound) || data.type == CMPI_null;
}

} // namespace

CMPIProtocolEndpoint::CMPIProtocolEndpoint(const CMPIBroker* broker, const CMPIContext* context,
                                           const std::string nameSpace)
    : broker(broker), context(context), nameSpace(nameSpace)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::CMPIProtocolEndpoint");
}

CMPIProtocolEndpoint::CMPIProtocolEndpoint(const CMPIBroker* broker, const CMPIContext* context,
                                           const CMPIObjectPath* path)
    : broker(broker), context(context), nameSpace(ProviderUtilities::getNamespace(path))
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::CMPIProtocolEndpoint");
    setObjectPath(path);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::CMPIProtocolEndpoint");
}

CMPIProtocolEndpoint::~CMPIProtocolEndpoint()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::~CMPIProtocolEndpoint");
}

void CMPIProtocolEndpoint::setObjectPath(const CMPIObjectPath* path)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::setObjectPath");
    if (ProviderUtilities::getKeyCount(path) > 0) {
        // Name first: it reads the node's own properties, while the system
        // name looks two nodes up, and it tells most endpoints apart.
        std::string value;
        if (ProviderUtilities::getKeyProperty(path, "Name", value))
            endpoint.setFilter(IPprotocolEndpoint::BY_NAME, value);
        if (ProviderUtilities::getKeyProperty(path, "SystemName", value))
            endpoint.setFilter(IPprotocolEndpoint::BY_SYSTEM_NAME, value);
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::setObjectPath");
}

void CMPIProtocolEndpoint::setInterfaceName(const std::string& interfaceName)
{
    endpoint.setFilter(IPprotocolEndpoint::BY_INTERFACE, interfaceName);
}

CMPIProtocolEndpoint::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::operator bool");
    return static_cast<bool>(endpoint);
}

void CMPIProtocolEndpoint::operator++()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::operator ++");
    ++endpoint;
}

CMPIObjectPath* CMPIProtocolEndpoint::getObjectPath()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::getObjectPath");
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, className, nameSpace);
    made.clear();
    if (path) {
        endpoint.getSystemCreationClassName(made.next());
        made.set(path, "SystemCreationClassName");
        if (endpoint.getSystemName(made.next()))
            made.set(path, "SystemName");
        endpoint.getCreationClassName(made.next());
        made.set(path, "CreationClassName");
        endpoint.getName(made.next());
        made.set(path, "Name");
    }
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::getObjectPath");
    return path;
}

CMPIInstance* CMPIProtocolEndpoint::getCMPIInstance(const char**)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::getCMPIInstance");
    CMPIInstance* instance = ProviderUtilities::instanceFrom(broker, getObjectPath());
    if (!instance) {
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::getCMPIInstance");
        return nullptr;
    }
    TRACE_DEBUG("Inside if");
    std::string text;
    unsigned int number = 0;
    unsigned short code = 0;
    if (endpoint.getElementName(text))
        ProviderUtilities::setProperty(instance, "ElementName", text);
    if (endpoint.getIPv4Address(text))
        ProviderUtilities::setProperty(instance, "IPv4Address", text);
    if (endpoint.getIPv6Address(text))
        ProviderUtilities::setProperty(instance, "IPv6Address", text);
    if (endpoint.getSubnetMask(text))
        ProviderUtilities::setProperty(instance, "SubnetMask", text);
    if (endpoint.getPrefixLength(number))
        ProviderUtilities::setProperty(instance, "PrefixLength", number);
    if (endpoint.getIPv6SubnetPrefixLength(code))
        ProviderUtilities::setProperty(instance, "IPv6SubnetPrefixLength", code);
    if (endpoint.getAddressType(code))
        ProviderUtilities::setProperty(instance, "AddressType", code);
    if (endpoint.getIPv6AddressType(code))
        ProviderUtilities::setProperty(instance, "IPv6AddressType", code);
    if (endpoint.getIPVersionSupport(code))
        ProviderUtilities::setProperty(instance, "IPVersionSupport", code);
    if (endpoint.getProtocolIFType(code))
        ProviderUtilities::setProperty(instance, "ProtocolIFType", code);
    if (endpoint.getEnabledState(code)) {
        ProviderUtilities::setProperty(instance, "EnabledState", code);
        ProviderUtilities::setProperty(instance, "RequestedState", code);
    }
    if (endpoint.getAddressOrigin(code))
        ProviderUtilities::setProperty(instance, "AddressOrigin", code);
    // The keys come with the path where the broker makes them properties.
    if (!ProviderUtilities::holdsProperty(instance, "SystemCreationClassName") &&
        endpoint.getSystemCreationClassName(text))
        ProviderUtilities::setProperty(instance, "SystemCreationClassName", text);
    if (!ProviderUtilities::holdsProperty(instance, "SystemName") && endpoint.getSystemName(text))
        ProviderUtilities::setProperty(instance, "SystemName", text);
    if (!ProviderUtilities::holdsProperty(instance, "CreationClassName") && endpoint.getCreationClassName(text))
        ProviderUtilities::setProperty(instance, "CreationClassName", text);
    if (!ProviderUtilities::holdsProperty(instance, "Name") && endpoint.getName(text))
        ProviderUtilities::setProperty(instance, "Name", text);
    if (endpoint.getNameFormat(text))
        ProviderUtilities::setProperty(instance, "NameFormat", text);
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::getCMPIInstance");
    return instance;
}

CMPIStatus CMPIProtocolEndpoint::modifyInstance(const CMPIInstance* instance)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::modifyInstance");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    if (!instance || !instance->hdl) {
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::modifyInstance");
        return status;
    }
    CMPIObjectPath* path = CMGetObjectPath(instance, &status);
    if (!path || !path->hdl) {
        if (status.rc == CMPI_RC_OK)
            status = makeStatus(broker, CMPI_RC_ERR_INVALID_PARAMETER, "Instance has no object path");
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::modifyInstance");
        return status;
    }
    setObjectPath(path);
    // The instance's own keys may select no endpoint of the request's.
    if (!endpoint) {
        status = makeStatus(broker, CMPI_RC_ERR_NOT_FOUND,
                            "No IP protocol endpoint matches the keys of the instance");
        TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::modifyInstance");
        return status;
    }

    unsigned short origin = 0;
    std::string address;
    std::string mask;
    bool hasOrigin = ProviderUtilities::getProperty(instance, "AddressOrigin", origin);
    // A client puts back what it got: the endpoint's own origin is no change,
    // and rewriting it would change the endpoint's Name key.
    unsigned short currentOrigin = 0;
    endpoint.getAddressOrigin(currentOrigin);
    if (hasOrigin && origin == currentOrigin)
        hasOrigin = false;
    bool hasAddress = ProviderUtilities::getProperty(instance, "IPv4Address", address);
    bool hasMask = ProviderUtilities::getProperty(instance, "SubnetMask", mask);

    // Everything is checked before anything is written, so a refused
    // request leaves the endpoint as it was.
    const char* refusal = nullptr;
    bool storeRefused = false;
    CMPIrc refusalRc = CMPI_RC_ERR_INVALID_PARAMETER;
    if (hasAddress && !usableIPv4(address)) {
        refusal = "IPv4Address is not a valid IPv4 address";
    } else if (hasMask && !mask.empty() && !isSubnetMask(mask)) {
        refusal = "SubnetMask is not a valid subnet mask";
    } else if (hasOrigin && origin != currentOrigin && origin != 3 && origin != 4) {
        refusal = "AddressOrigin can only be set to 3 (Static) or 4 (DHCP)";
    } else if ((hasOrigin && endpoint.isReadOnly(NodeLexicon::Properties::ADDRESS_ORIGIN)) ||
               (hasAddress && endpoint.isReadOnly(NodeLexicon::Properties::IPV4_ADDRESS)) ||
               (hasMask && endpoint.isReadOnly(NodeLexicon::Properties::SUBNET_MASK))) {
        refusal = "The node store does not allow this property of the IP protocol endpoint to change";
        refusalRc = CMPI_RC_ERR_FAILED;
    }
    if (!refusal && hasOrigin && !endpoint.setAddressOrigin(origin)) {
        refusal = "The node store refused the AddressOrigin of the IP protocol endpoint";
        refusalRc = CMPI_RC_ERR_FAILED;
        storeRefused = true;
    }
    if (!refusal && hasAddress && !endpoint.setIPv4Address(address)) {
        refusal = "The node store refused the IPv4Address of the IP protocol endpoint";
        refusalRc = CMPI_RC_ERR_FAILED;
        storeRefused = true;
    }
    if (!refusal && hasMask && !endpoint.setSubnetMask(mask)) {
        refusal = "The node store refused the SubnetMask of the IP protocol endpoint";
        refusalRc = CMPI_RC_ERR_FAILED;
        storeRefused = true;
    }
    if (refusal)
        status = makeStatus(broker, refusalRc, withStoreReason(refusal, storeRefused).c_str());
    TRACE_EXIT("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::modifyInstance");
    return status;
}

int CMPIProtocolEndpoint::executeMethod(const CMPIArgs* in, CMPIArgs* out, CMPIStatus* status)
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::CMPIProtocolEndpoint::executeMethod");
    CMPIStatus spare = {CMPI_RC_OK, nullptr};
    if (!status)
        status = &spare;

    CMPIData requested;
    requested.type = CMPI_null;
    requested.state = CMPI_notFound;
    requested.value.uint64 = 0;
    if (in)
        requested = CMGetArg(in, "RequestedState", status);
    if (requested.type != CMPI_uint16) {
        *status = makeStatus(broker, CMPI_RC_ERR_INVALID_PARAMETER, "Invalid Type of Parameter");
        return 4;
    }

    // TimeoutPeriod is optional; its own status must not leave a missing
    // argument's code behind as the method's status.
    if (in) {
        CMPIStatus timeoutStatus = {CMPI_RC_OK, nullptr};
        CMPIData timeout = CMGetArg(in, "TimeoutPeriod", &timeoutStatus);
        if (!argumentMissing(timeout, timeoutStatus) && timeout.type != CMPI_dateTime) {
            *status = makeStatus(broker, CMPI_RC_ERR_INVALID_PARAMETER,
                                 "Invalid Type of TimeOut Parameter");
            return 4;
        }
    }

    unsigned short state = (requested.state & CMPI_nullValue) ? 0 : requested.value.uint16;
    if (state != 2 && state != 3 && state != 11) {
        *status = makeStatus(broker, CMPI_RC_ERR_FAILED, "Invalid Value of RequestedState Parameter");
        return 4;
    }
    if (!endpoint.setEnabledState(state)) {
        *status = makeStatus(
            broker, CMPI_RC_ERR_FAILED,
            withStoreReason("The node store refused the state of the IP protocol endpoint", true).c_str());
        return 4;
    }

    TRACE_INFO("Calling CMNewObjectPath for ConcreteJob");
    if (!broker)
        return 0;
    CMPIObjectPath* job = CMNewObjectPath(broker, nameSpace.c_str(), "Tavrix_ConcreteJob", status);
    if (!job || !job->hdl)
        return 0;
    CMAddKey(job, "InstanceID", "IPConfigSvcJob:1", CMPI_chars);
    if (out) {
        // A whole value, so that a broker may copy the union without
        // reading past the path pointer.
        CMPIValue reference;
        reference.ref = job;
        CMAddArg(out, "Job", &reference, CMPI_ref);
    }
    TRACE_INFO("Job Created Successfully");
    return 0;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
