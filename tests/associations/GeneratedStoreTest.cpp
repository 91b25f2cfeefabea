// Every association on generated stores of a few hundred endpoints,
// compared element by element and in order with a plain walk: for each
// element of the first end, every element of the far end whose keys name the
// same system or interface, in the far end's order. Enumerations, and the
// four requests from one object of either end.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "../../bench/StoreGenerator.h"
#include "PathText.h"
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
    return joined({keyText(p, "SystemCreationClassName"), keyText(p, "SystemName"), endpointInterface(p)});
}

// The generated adapters carry the name of their interface; an alias
// ("eth5:1") sits on its interface's adapter.
std::string endpointAdapter(const CMPIObjectPath* p)
{
    const std::string ifName = endpointInterface(p);
    return joined({keyText(p, "SystemCreationClassName"), keyText(p, "SystemName"),
                   ifName.substr(0, ifName.find(':'))});
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
         lanEndpoint, endpointAdapter},
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

// Class and every key of a path, in the path's order: what tells two
// answers apart.
std::string whole(const CMPIObjectPath* p)
{
    if (!p)
        return "-";
    CMPIString* cls = CMGetClassName(p, nullptr);
    std::string text = cls ? CMGetCharPtr(cls) : "?";
    for (CMPICount i = 0; i < CMGetKeyCount(p, nullptr); ++i) {
        CMPIString* name = nullptr;
        CMPIData d = CMGetKeyAt(p, i, &name, nullptr);
        text += std::string(" ") + (name ? CMGetCharPtr(name) : "?") + "=";
        if (d.type == CMPI_string && d.value.string)
            text += CMGetCharPtr(d.value.string);
        else
            text += "(" + std::to_string(d.type) + ")";
    }
    return text;
}

// The elements of one end in the order of its classes' enumerations, each
// once even where two classes list it.
std::vector<const CMPIObjectPath*> listed(World& w, Request& req, const std::vector<const char*>& classes)
{
    std::vector<const CMPIObjectPath*> out;
    std::set<std::string> seen;
    for (const char* cls : classes) {
        Response r = req.enumerateInstanceNames(w.h.classPath(req, cls));
        EXPECT_TRUE(r.ok()) << cls << ": " << r.message;
        for (const CMPIObjectPath* p : r.paths)
            if (seen.insert(whole(p)).second)
                out.push_back(p);
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

// A host with `count` interfaces, each on its own adapter, laid out in
// repeating patterns: every fifth has an alias, every seventh a second node
// (DHCP beside static), every eleventh a name holding '_'; gateways vary. The
// service processor has an interface named eth0, like the host's, and one
// with two nodes.
struct MixedStore {
    unsigned count;
    std::vector<std::string> hostAdapters;
    std::vector<std::string> bmcAdapters{"eth0", "bmc1"};
    std::string json;

    static std::string mac(unsigned i)
    {
        char text[32];
        std::snprintf(text, sizeof text, "52:54:00:%02x:%02x:%02x", (i >> 16) & 0xff, (i >> 8) & 0xff, i & 0xff);
        return text;
    }

    static std::string node(const std::string& nodeName, const std::string& ifName, const std::string& macText,
                            unsigned origin, bool v4Gateway, bool v6Gateway)
    {
        std::string text = R"({"name":")" + nodeName + R"(","type":"IP_INTERFACE","properties":{"NAME":")" + ifName +
                           R"(","MAC_ADDRESS":")" + macText + R"(","ADDRESS_ORIGIN":)" + std::to_string(origin);
        if (v4Gateway)
            text += R"(,"IPV4_GATEWAY":"192.0.2.1")";
        if (v6Gateway)
            text += R"(,"IPV6_GATEWAY":"2001:db8::1")";
        return text + "}}";
    }

    static std::string adapter(const std::string& nodeName, const std::string& name, const std::string& macText,
                               const std::vector<std::string>& nodes)
    {
        std::string text = R"({"name":")" + nodeName + R"(","type":"NETWORK_ADAPTER","properties":{"NAME":")" + name +
                           R"(","MAC_ADDRESS":")" + macText + R"("},"children":[)";
        for (size_t i = 0; i < nodes.size(); ++i)
            text += (i ? "," : "") + nodes[i];
        return text + "]}";
    }

    explicit MixedStore(unsigned n) : count(n)
    {
        json = R"({"nodes":[{"name":"host","type":"COMPUTER_SYSTEM","description":"Host","properties":{"NAME":")" +
               hostName() + R"("},"children":[)";
        for (unsigned i = 0; i < n; ++i) {
            const std::string ifName = (i % 11 == 3 ? "br_" : "eth") + std::to_string(i);
            const std::string m = mac(i);
            std::vector<std::string> nodes{node(ifName, ifName, m, i % 2 && i % 7 != 2 ? 1 : 3, i % 2 == 0, i % 3 == 1)};
            if (i % 5 == 1)
                nodes.push_back(node(ifName + ":1", ifName + ":1", m, 3, i % 10 == 1, false));
            if (i % 7 == 2)
                nodes.push_back(node(ifName + "-dhcp", ifName, m, 1, false, false));
            json += (i ? "," : "") + adapter("nic" + std::to_string(i), ifName, m, nodes);
            hostAdapters.push_back(ifName);
        }
        json += R"(]},{"name":"bmc","type":"COMPUTER_SYSTEM","description":"BMC","properties":{"NAME":"BMC:-1"},)"
                R"("children":[)" +
                adapter("bmcnic0", "eth0", mac(n), {node("eth0", "eth0", mac(n), 3, false, true)}) + "," +
                adapter("bmcnic1", "bmc1", mac(n + 1),
                        {node("bmc1", "bmc1", mac(n + 1), 3, true, true),
                         node("bmc1-dhcp", "bmc1", mac(n + 1), 1, false, false)}) +
                "]}]}";
    }
};

// The mixed store with spare computers that own nothing and a LAN endpoint
// without adapter.
struct MixedWorld : World {
    explicit MixedWorld(const MixedStore& s = MixedStore(mixedCount))
        : World({"spare-a"}, {"spare-b"}, s.json, withSpare(s.hostAdapters), s.bmcAdapters)
    {
    }

    static const unsigned mixedCount = 150;

    static std::vector<std::string> withSpare(std::vector<std::string> names)
    {
        names.push_back("spare-lan");
        return names;
    }
};

Labels wholeFar(const Response& r)
{
    Labels out;
    for (const CMPIObjectPath* p : r.paths)
        out.push_back(whole(p));
    for (const CMPIInstance* inst : r.instances)
        out.push_back(whole(CMGetObjectPath(inst, nullptr)));
    return out;
}

Labels wholePairs(const Response& r, const char* first, const char* second)
{
    Labels out;
    for (const CMPIObjectPath* p : r.paths)
        out.push_back(whole(reference(p, first)) + " | " + whole(reference(p, second)));
    for (const CMPIInstance* inst : r.instances)
        out.push_back(whole(reference(inst, first)) + " | " + whole(reference(inst, second)));
    return out;
}

// Equal lists, or where they part.
::testing::AssertionResult same(const Labels& got, const Labels& want)
{
    for (size_t i = 0; i < got.size() && i < want.size(); ++i)
        if (got[i] != want[i])
            return ::testing::AssertionFailure() << "element " << i << ": got " << got[i] << ", want " << want[i];
    if (got.size() != want.size())
        return ::testing::AssertionFailure() << got.size() << " elements, want " << want.size();
    return ::testing::AssertionSuccess();
}

// A path like `p` that names no element: its interface, system or service
// replaced by one the store lacks, the key's form kept.
cimhost::PathSpec absent(const CMPIObjectPath* p)
{
    cimhost::PathSpec missing;
    missing.nameSpace = testsupport::ModuleHarness::nameSpace;
    missing.className = CMGetCharPtr(CMGetClassName(p, nullptr));
    for (CMPICount i = 0; i < CMGetKeyCount(p, nullptr); ++i) {
        CMPIString* name = nullptr;
        CMPIData d = CMGetKeyAt(p, i, &name, nullptr);
        const std::string key = CMGetCharPtr(name);
        std::string value = CMGetCharPtr(d.value.string);
        if (key == "InstanceID") {
            const auto first = value.find(':');
            const auto last = value.rfind(':');
            const bool kind = last != first && (value.substr(last) == ":static" || value.substr(last) == ":dhcp");
            value = first == std::string::npos ? "nosuch"
                                               : value.substr(0, first) + ":nosuch" + (kind ? value.substr(last) : "");
        } else if (key == "Name" && missing.className == endpoint) {
            value = "nosuch" + value.substr(value.rfind('_', value.rfind('_') - 1));
        } else if (key == "Name" && missing.className == accessClass) {
            value = "nosuch" + value.substr(value.rfind('_'));
        } else if ((key == "Name" && missing.className != serviceClass) ||
                   (key == "SystemName" && missing.className == serviceClass)) {
            value = "nosuch";
        }
        missing.keys.push_back({key, text(value)});
    }
    return missing;
}

} // namespace

// References, ReferenceNames, Associators and AssociatorNames from elements
// of either end (the first few, every fourth, the last few: aliases, two-node
// interfaces, underscores and both systems among them), with and without
// Role, ResultRole and ResultClass, against the per-element walk.
TEST(GeneratedStore, FromOneObjectEveryRequestAnswersAsThePerElementWalk)
{
    MixedWorld w;
    Request lister(w.h.broker());
    size_t asked = 0;
    for (const Association& a : associations()) {
        SCOPED_TRACE(a.name);
        const std::vector<const CMPIObjectPath*> as = listed(w, lister, a.classesA);
        const std::vector<const CMPIObjectPath*> bs = listed(w, lister, a.classesB);
        for (bool fromA : {true, false}) {
            const std::vector<const CMPIObjectPath*>& given = fromA ? as : bs;
            const std::vector<const CMPIObjectPath*>& far = fromA ? bs : as;
            const KeyOf& ownKey = fromA ? a.keyA : a.keyB;
            const KeyOf& farKey = fromA ? a.keyB : a.keyA;
            const char* ownRole = fromA ? a.roleA : a.roleB;
            const char* farRole = fromA ? a.roleB : a.roleA;
            ASSERT_FALSE(given.empty());
            for (size_t i = 0; i < given.size(); ++i) {
                if (i >= 4 && i % 4 != 0 && i + 4 < given.size())
                    continue;
                const CMPIObjectPath* x = given[i];
                SCOPED_TRACE(whole(x));
                ++asked;
                Labels far1;
                Labels refs;
                const std::string key = ownKey(x);
                for (const CMPIObjectPath* y : far)
                    if (!key.empty() && farKey(y) == key) {
                        far1.push_back(whole(y));
                        refs.push_back(fromA ? whole(x) + " | " + whole(y) : whole(y) + " | " + whole(x));
                    }

                Request req(w.h.broker());
                Response r = req.references(x, a.name);
                ASSERT_TRUE(r.ok()) << r.message;
                ASSERT_TRUE(same(wholePairs(r, a.roleA, a.roleB), refs));
                r = req.referenceNames(x, a.name);
                ASSERT_TRUE(r.ok()) << r.message;
                ASSERT_TRUE(same(wholePairs(r, a.roleA, a.roleB), refs));
                r = req.associators(x, a.name, nullptr);
                ASSERT_TRUE(r.ok()) << r.message;
                ASSERT_TRUE(same(wholeFar(r), far1));
                r = req.associatorNames(x, a.name, nullptr);
                ASSERT_TRUE(r.ok()) << r.message;
                ASSERT_TRUE(same(wholeFar(r), far1));

                if (i % 2)
                    continue;
                EXPECT_TRUE(same(wholePairs(req.referenceNames(x, a.name, ownRole), a.roleA, a.roleB), refs));
                EXPECT_TRUE(req.referenceNames(x, a.name, farRole).paths.empty());
                EXPECT_TRUE(same(wholeFar(req.associatorNames(x, a.name, nullptr, ownRole, farRole)), far1));
                EXPECT_TRUE(req.associatorNames(x, a.name, nullptr, farRole).paths.empty());
                EXPECT_TRUE(req.associatorNames(x, a.name, nullptr, nullptr, ownRole).paths.empty());
                if (!far1.empty()) {
                    const std::string farClass = far1.front().substr(0, far1.front().find(' '));
                    EXPECT_TRUE(same(wholeFar(req.associators(x, a.name, farClass.c_str())), far1));
                }
            }
            // Elements the store lacks, with keys of the right form: nothing.
            for (const CMPIObjectPath* x : {given.front(), given[given.size() / 2]}) {
                const cimhost::PathSpec missing = absent(x);
                Request req(w.h.broker());
                for (Kind kind : {Kind::Associators, Kind::AssociatorNames, Kind::References, Kind::ReferenceNames}) {
                    Response r = ask(req, kind, missing, a.name);
                    EXPECT_TRUE(r.ok()) << whole(req.makePath(missing)) << ": " << r.message;
                    EXPECT_TRUE(r.paths.empty() && r.instances.empty()) << whole(req.makePath(missing));
                }
            }
        }
    }
    EXPECT_GT(asked, 600u);
}

namespace {

void enumeratesAsThePerElementWalk(World& w)
{
    for (const Association& a : associations()) {
        SCOPED_TRACE(a.name);
        Request req(w.h.broker());
        const Labels expected = referenceWalk(w, req, a);
        ASSERT_FALSE(expected.empty());

        Response names = req.enumerateInstanceNames(w.h.classPath(req, a.name));
        ASSERT_TRUE(names.ok()) << names.message;
        ASSERT_TRUE(same(pairs(names, a.roleA, a.roleB), expected));

        Response instances = req.enumerateInstances(w.h.classPath(req, a.name));
        ASSERT_TRUE(instances.ok()) << instances.message;
        EXPECT_EQ(pairs(instances, a.roleA, a.roleB), expected);

        // Each instance is named as its path in the names answer, keys in
        // the same order.
        ASSERT_EQ(instances.instances.size(), names.paths.size());
        for (size_t i = 0; i < names.paths.size(); ++i)
            ASSERT_EQ(cimhost::pathToText(CMGetObjectPath(instances.instances[i], nullptr)),
                      cimhost::pathToText(names.paths[i]))
                << "instance " << i;
    }
}

} // namespace

TEST(GeneratedStore, EveryAssociationEnumeratesAsThePerElementWalk)
{
    // One store at a time: the node store is one per process.
    {
        GeneratedWorld w;
        enumeratesAsThePerElementWalk(w);
    }
    MixedWorld w;
    enumeratesAsThePerElementWalk(w);
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
