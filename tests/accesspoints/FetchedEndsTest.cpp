// LAN endpoints and computer systems that other providers serve, fetched
// through the broker's up-calls inside a request.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CMPIIPComputerSystem.h"
#include "CMPIIPLanEndPoint.h"
#include "ProviderException.h"
#include "StaticInstanceProvider.h"
#include "Stores.h"

using namespace stores;
using cimhost::Request;
using cimhost::Response;
using cimhost::StaticInstanceProvider;
using Korvu::IPInterfaceProvider::CMPIIPComputerSystem;
using Korvu::IPInterfaceProvider::CMPIIPLanEndPoint;
using testsupport::keyText;
using testsupport::ModuleHarness;

namespace {

cimhost::InstanceSpec instance(const std::string& className, const std::string& name)
{
    cimhost::InstanceSpec described;
    described.path.nameSpace = ModuleHarness::nameSpace;
    described.path.className = className;
    described.path.keys = {{"CreationClassName", text(className)}, {"Name", text(name)}};
    return described;
}

// Runs `body` as a provider would, inside the request with its context.
void inRequest(Request& req, const std::function<void(const CMPIBroker*, const CMPIContext*)>& body)
{
    const CMPIBroker* broker = req.broker().cmpi();
    req.call([&](const CMPIContext* ctx, const CMPIResult*) {
        body(broker, ctx);
        CMPIStatus ok = {CMPI_RC_OK, nullptr};
        return ok;
    });
}

// Names seen by the loop the association classes run.
template <class End>
std::vector<std::string> walk(End& end)
{
    std::vector<std::string> names;
    while (end) {
        names.push_back(keyText(end.getObjectPath(), "Name"));
        ++end;
    }
    return names;
}

struct Providers {
    StaticInstanceProvider lan;
    StaticInstanceProvider host;
    StaticInstanceProvider bmc;
    explicit Providers(ModuleHarness& h)
    {
        h.broker().registerInstanceProvider("Tavrix_LANEndpoint", lan.mi());
        h.broker().registerInstanceProvider("Tavrix_ComputerSystem", host.mi());
        h.broker().registerInstanceProvider("Tavrix_SPComputerSystem", bmc.mi());
    }
};

} // namespace

TEST(LanEndPoint, SeesOneElementOfAnEnumeration)
{
    ModuleHarness h(interfaces());
    Providers p(h);
    for (const char* n : {"eth0", "eth1", "eth2"})
        p.lan.add(instance("Tavrix_LANEndpoint", n));
    Request req(h.broker());
    inRequest(req, [&](const CMPIBroker* broker, const CMPIContext* ctx) {
        CMPIIPLanEndPoint lan(broker, ctx, ModuleHarness::nameSpace);
        EXPECT_EQ(lan.getCMPIInstance(nullptr), nullptr);
        EXPECT_EQ(lan.getObjectPath(), nullptr);
        lan.setObjectPath(h.classPath(req, "Tavrix_LANEndpoint"));
        EXPECT_EQ(walk(lan), std::vector<std::string>{"eth0"});
        // operator ++ still moved on to the next enumerated instance.
        EXPECT_EQ(keyText(lan.getObjectPath(), "Name"), "eth1");
    });
}

TEST(LanEndPoint, SingleFetchAndItsFailure)
{
    ModuleHarness h(interfaces());
    Providers p(h);
    p.lan.add(instance("Tavrix_LANEndpoint", "eth1"));
    Request req(h.broker());
    inRequest(req, [&](const CMPIBroker* broker, const CMPIContext* ctx) {
        CMPIIPLanEndPoint lan(broker, ctx, ModuleHarness::nameSpace);
        lan.setSingleObjectPath(req.makePath(instance("Tavrix_LANEndpoint", "eth1").path));
        EXPECT_TRUE(static_cast<bool>(lan));
        EXPECT_FALSE(static_cast<bool>(lan));
        EXPECT_EQ(keyText(lan.getObjectPath(), "Name"), "eth1");
        EXPECT_NE(lan.getCMPIInstance(nullptr), nullptr);

        try {
            lan.setSingleObjectPath(req.makePath(instance("Tavrix_LANEndpoint", "eth7").path));
            ADD_FAILURE() << "no exception";
        } catch (const Korvu::ProviderException& e) {
            EXPECT_STREQ(e.what(), "Could not obtain an instance of Computer System");
        }
        EXPECT_FALSE(static_cast<bool>(lan));
        EXPECT_EQ(lan.getCMPIInstance(nullptr), nullptr);

        // A class that no provider serves fails the enumeration the same way.
        EXPECT_THROW(lan.setObjectPath(h.classPath(req, "Tavrix_NoSuchEndpoint")),
                     Korvu::ProviderException);
    });
}

TEST(ComputerSystem, SeesEveryInstanceTheLastIncluded)
{
    ModuleHarness h(interfaces());
    Providers p(h);
    p.host.add(instance("Tavrix_ComputerSystem", "alpha"));
    p.host.add(instance("Tavrix_ComputerSystem", "beta"));
    for (const char* n : {"bmc-a", "bmc-b", "bmc-c"})
        p.bmc.add(instance("Tavrix_SPComputerSystem", n));
    Request req(h.broker());
    inRequest(req, [&](const CMPIBroker* broker, const CMPIContext* ctx) {
        CMPIIPComputerSystem two(broker, ctx, ModuleHarness::nameSpace);
        two.setObjectPath(h.classPath(req, "Tavrix_ComputerSystem"));
        EXPECT_EQ(walk(two), (std::vector<std::string>{"alpha", "beta"}));
        EXPECT_EQ(two.getCMPIInstance(nullptr), nullptr);

        CMPIIPComputerSystem three(broker, ctx, ModuleHarness::nameSpace);
        three.setObjectPath(h.classPath(req, "Tavrix_SPComputerSystem"));
        EXPECT_EQ(walk(three), (std::vector<std::string>{"bmc-a", "bmc-b", "bmc-c"}));

        // A new fetch replaces the old one; an empty one leaves nothing.
        p.host.clear();
        two.setObjectPath(h.classPath(req, "Tavrix_ComputerSystem"));
        EXPECT_TRUE(walk(two).empty());
    });
}

TEST(ComputerSystem, FailedUpCallThrowsTheProviderText)
{
    ModuleHarness h(interfaces());
    Request req(h.broker());
    inRequest(req, [&](const CMPIBroker* broker, const CMPIContext* ctx) {
        CMPIIPComputerSystem system(broker, ctx, ModuleHarness::nameSpace);
        try {
            system.setObjectPath(h.classPath(req, "Tavrix_ComputerSystem"));
            ADD_FAILURE() << "no exception";
        } catch (const Korvu::ProviderException& e) {
            EXPECT_STREQ(e.what(), "Could not obtain an instance of Computer System");
        }
        EXPECT_FALSE(static_cast<bool>(system));
    });
}
