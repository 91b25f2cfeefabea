// Every association enumerated on a generated store of a few hundred
// endpoints, compared element by element and in order with a plain walk:
// for each element of the first end, every element of the far end whose
// keys name the same system or interface, in the far end's order.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../../bench/StoreGenerator.h"
#include "Scene.h"

using namespace scene;
using cimhost::Request;
using cimhost::Response;
using testsupport::keyText;

namespace {

const unsigned endpointCount = 300;

using KeyOf = std::function<std::string(const CMPIObjectPath*)>;

struct Association {
    const char* name;
    const char* roleA;
    const char* roleB;
    std::vector<const char*> classesA;   // listed in this order
    std::vector<const char*> classesB;
    KeyOf keyA;
    KeyOf keyB;
};

// The parts joined; empty when any part is empty, so it pairs with nothing.
std::string joined(const std::vector<std::string>& parts)
{
    std::string out;
    for (const std::string& p : parts) {
        if (p.empty())
            return std::string();
        out += p + "\n";
    }
    return out;
}

// "<interface>" of an endpoint Name "<interface>_<MAC>_<origin>".
std::string endpointInterface(const CMPIObjectPath* p)
{
    const std::string name = keyText(p, "Name");
    const auto origin = name.rfind('_');
    if (origin == std::string::npos || origin == 0)
        return std::string();
    const auto mac = name.rfind('_', origin - 1);
    return mac == std::string::npos ? std::string() : name.substr(0, mac);
}

std::string systemOf(const CMPIObjectPath* p)
{
    return joined({keyText(p, "SystemCreationClassName"), keyText(p, "SystemName")});
}

std::string computer(const CMPIObjectPath* p)
{
    return joined({keyText(p, "CreationClassName"), keyText(p, "Name")});
}

// "Computer:eth3" / "BMC:bmc0": how settings name the endpoint they belong to.
std::string endpointSetting(const CMPIObjectPath* p)
{
    const std::string scc = keyText(p, "SystemCreationClassName");
    const std::string ifName = endpointInterface(p);
    if (ifName.empty())
        return std::string();
    return (scc == "Tavrix_SPComputerSystem" ? "BMC:" : "Computer:") + ifName;
}

// A setting InstanceID "<system>:<interface>:<kind>" without its kind.
std::string settingOwner(const CMPIObjectPath* p)
{
    const std::string id = keyText(p, "InstanceID");
    const auto kind = id.rfind(':');
    return kind == std::string::npos ? std::string() : id.substr(0, kind);
}

std::string staticGroup(const CMPIObjectPath* p)
{
    const std::string id = keyText(p, "InstanceID");
    const std::string suffix = ":static";
    if (id.size() <= suffix.size() || id.compare(id.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::string();
    return id.substr(0, id.size() - suffix.size());
}

std::string instanceId(const CMPIObjectPath* p) { return keyText(p, "InstanceID"); }

std::string accessPoint(const CMPIObjectPath* p)
{
    const std::string name = keyText(p, "Name");
    const auto cut = name.rfind('_');
    if (cut == std::string::npos || (name.substr(cut) != "_IPv4" && name.substr(cut) != "_IPv6"))
        return std::string();
    return joined({keyText(p, "SystemCreationClassName"), keyText(p, "SystemName"), name.substr(0, cut)});
}

std::string endpointOnSystem(const CMPIObjectPath* p)
{
    // The generated adapters carry their interface's name.
    return joined({keyText(p, "SystemCreationClassName"), keyText(p, "SystemName"), endpointInterface(p)});
}

std::string lanEndpoint(const CMPIObjectPath* p)
{
    return joined({keyText(p, "SystemCreationClassName"), keyText(p, "SystemName"), keyText(p, "Name")});
}

const char* const endpoint = "Tavrix_IPProtocolEndpoint";
const char* const settingClass = "Tavrix_IPAssignmentSettingData";
const char* const staticClass = "Tavrix_StaticIPAssignmentSettingData";
const char* const accessClass = "Tavrix_IPRemoteServiceAccessPoint";
const char* const hostClass = "Tavrix_ComputerSystem";
const char* const spClass = "Tavrix_SPComputerSystem";
const char* const serviceClass = "Tavrix_IPConfigurationService";

const std::vector<Association>& associations()
{
    static const std::vector<Association> all = {
        {"Tavrix_BindsToLanEndPoint", "Antecedent", "Dependent", {"Tavrix_LANEndpoint"}, {endpoint},
         lanEndpoint, endpointOnSystem},
        {"Tavrix_IPElementSettingData", "ManagedElement", "SettingData", {endpoint}, {settingClass},
         endpointSetting, settingOwner},
        {"Tavrix_StaticOrderedComponent", "GroupComponent", "PartComponent", {settingClass}, {staticClass},
         staticGroup, instanceId},
        {"Tavrix_IPHostedAccessPoint", "Antecedent", "Dependent", {hostClass}, {endpoint}, computer, systemOf},
        {"Tavrix_StaticIPElementSettingData", "ManagedElement", "SettingData", {endpoint}, {staticClass},
         endpointSetting, instanceId},
        {"Tavrix_RemoteHostedAccessPoint", "Antecedent", "Dependent", {hostClass, spClass}, {accessClass},
         computer, systemOf},
        {"Tavrix_IPRemoteAccessAvailableToElement", "Antecedent", "Dependent", {accessClass}, {endpoint},
         accessPoint, endpointOnSystem},
        {"Tavrix_SPHostedAccessPoint", "Antecedent", "Dependent", {spClass}, {endpoint}, computer, systemOf},
        {"Tavrix_IPElementCapabilities", "ManagedElement", "Capabilities", {endpoint},
         {"Tavrix_IPEnabledLogicalElementCapabilities"}, endpointInterface, instanceId},
        {"Tavrix_IPHostedService", "Antecedent", "Dependent", {hostClass, spClass}, {serviceClass}, computer,
         systemOf},
        {"Tavrix_IPServiceAffectsElement", "AffectingElement", "AffectedElement", {serviceClass}, {endpoint},
         systemOf, systemOf},
    };
    return all;
}

std::vector<const CMPIObjectPath*> listed(World& w, Request& req, const std::vector<const char*>& classes)
{
    std::vector<const CMPIObjectPath*> out;
    for (const char* cls : classes) {
        Response r = req.enumerateInstanceNames(w.h.classPath(req, cls));
        EXPECT_TRUE(r.ok()) << cls << ": " << r.message;
        out.insert(out.end(), r.paths.begin(), r.paths.end());
    }
    return out;
}

// The pairs one element at a time: no index, every far end compared.
Labels referenceWalk(World& w, Request& req, const Association& a)
{
    const std::vector<const CMPIObjectPath*> as = listed(w, req, a.classesA);
    const std::vector<const CMPIObjectPath*> bs = listed(w, req, a.classesB);
    Labels out;
    for (const CMPIObjectPath* x : as) {
        const std::string key = a.keyA(x);
        if (key.empty())
            continue;
        for (const CMPIObjectPath* y : bs)
            if (a.keyB(y) == key)
                out.push_back(label(x) + " | " + label(y));
    }
    return out;
}

struct GeneratedWorld : World {
    GeneratedWorld() : World({}, {}, benchstore::generate(endpointCount), hostAdapters(), {"bmc0"}) {}

    static std::vector<std::string> hostAdapters()
    {
        std::vector<std::string> names;
        for (unsigned i = 0; i + 1 < endpointCount; ++i)
            names.push_back("eth" + std::to_string(i));
        return names;
    }
};

} // namespace

TEST(GeneratedStore, EveryAssociationEnumeratesAsThePerElementWalk)
{
    GeneratedWorld w;
    for (const Association& a : associations()) {
        SCOPED_TRACE(a.name);
        Request req(w.h.broker());
        const Labels expected = referenceWalk(w, req, a);
        ASSERT_FALSE(expected.empty());

        Response names = req.enumerateInstanceNames(w.h.classPath(req, a.name));
        ASSERT_TRUE(names.ok()) << names.message;
        const Labels gotNames = pairs(names, a.roleA, a.roleB);
        ASSERT_EQ(gotNames.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(gotNames[i], expected[i]) << "element " << i;

        Response instances = req.enumerateInstances(w.h.classPath(req, a.name));
        ASSERT_TRUE(instances.ok()) << instances.message;
        EXPECT_EQ(pairs(instances, a.roleA, a.roleB), expected);
    }
}

TEST(GeneratedStore, PairCountsFollowTheStoreLayout)
{
    // Each endpoint binds to its own LAN endpoint and has a static and a
    // DHCP setting and one static setting, static or not.
    GeneratedWorld w;
    Request req(w.h.broker());
    const auto count = [&](const char* cls) {
        return req.enumerateInstanceNames(w.h.classPath(req, cls)).paths.size();
    };
    EXPECT_EQ(count("Tavrix_BindsToLanEndPoint"), endpointCount);
    EXPECT_EQ(count("Tavrix_IPElementSettingData"), 2 * endpointCount);
    EXPECT_EQ(count("Tavrix_StaticIPElementSettingData"), endpointCount);
    EXPECT_EQ(count("Tavrix_SPHostedAccessPoint"), 1u);
    EXPECT_EQ(count("Tavrix_IPHostedAccessPoint"), endpointCount - 1);
}
