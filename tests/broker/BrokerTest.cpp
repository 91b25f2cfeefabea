// The embedded broker: object semantics, ownership, routing and up-calls.
#include <cmpimacs.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Broker.h"
#include "BrokerObjects.h"
#include "FunctionProvider.h"
#include "PathText.h"
#include "Request.h"
#include "StaticInstanceProvider.h"
#include "Value.h"

using namespace cimhost;

namespace {

std::string text(CMPIString* s) { return s ? CMGetCharsPtr(s, nullptr) : "<null>"; }

InstanceSpec endpoint(const std::string& name, unsigned state)
{
    InstanceSpec inst;
    inst.path.className = "Tavrix_LANEndpoint";
    inst.path.keys = {{"SystemName", Value::string("host")}, {"Name", Value::string(name)}};
    inst.properties = {{"SystemName", Value::string("host")},
                       {"Name", Value::string(name)},
                       {"EnabledState", Value::uint16(state)}};
    return inst;
}

TEST(BrokerObjects, PathKeysOfEveryKindAndCaseInsensitiveLookup)
{
    Broker broker;
    Request req(broker);
    CMPIObjectPath* ref = req.newObjectPath("root/cimv2", "Tavrix_ComputerSystem");
    CMAddKey(ref, "Name", "host", CMPI_chars);
    CMPIObjectPath* op = req.newObjectPath("root/cimv2", "Tavrix_Assoc");
    CMPIUint16 port = 5988;
    CMPIBoolean flag = 1;
    CMAddKey(op, "Label", "a \"quoted\" value", CMPI_chars);
    CMAddKey(op, "Port", &port, CMPI_uint16);
    CMAddKey(op, "Flag", &flag, CMPI_boolean);
    CMAddKey(op, "System", &ref, CMPI_ref);

    EXPECT_EQ(CMGetKeyCount(op, nullptr), 4u);
    CMPIStatus rc;
    CMPIData d = CMGetKey(op, "port", &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_EQ(d.type, CMPI_uint16);
    EXPECT_EQ(d.value.uint16, 5988);
    EXPECT_TRUE(CMIsKeyValue(d));
    d = CMGetKey(op, "Missing", &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
    EXPECT_TRUE(d.state & CMPI_notFound);

    // The reference was copied: changing the original leaves the key alone.
    CMAddKey(ref, "Name", "other", CMPI_chars);
    CMPIData system = CMGetKey(op, "System", nullptr);
    ASSERT_EQ(system.type, CMPI_ref);
    EXPECT_EQ(text(CMGetKey(system.value.ref, "Name", nullptr).value.string), "host");

    std::string printed = text(CMObjectPathToString(op, nullptr));
    PathSpec parsed;
    std::string error;
    ASSERT_TRUE(parsePathText(printed, parsed, &error)) << error << " in " << printed;
    EXPECT_TRUE(toPathSpec(op).keys == parsed.keys) << printed;
    ASSERT_NE(parsed.key("System"), nullptr);
    EXPECT_EQ(parsed.key("System")->type, CMPI_ref);
}

TEST(BrokerObjects, InstancePropertiesArraysAndDerivedPath)
{
    Broker broker;
    broker.registerKeys("Tavrix_LANEndpoint", {"SystemName", "Name"});
    Request req(broker);
    CMPIObjectPath* op = req.newObjectPath("root/cimv2", "Tavrix_LANEndpoint");
    CMPIInstance* inst = CMNewInstance(broker.cmpi(), op, nullptr);
    CMSetProperty(inst, "SystemName", "host", CMPI_chars);
    CMSetProperty(inst, "Name", "eth0", CMPI_chars);
    CMPIArray* array = CMNewArray(broker.cmpi(), 2, CMPI_string, nullptr);
    CMSetArrayElementAt(array, 0, "a", CMPI_chars);
    CMSetArrayElementAt(array, 1, "b", CMPI_chars);
    EXPECT_EQ(CMSetArrayElementAt(array, 2, "c", CMPI_chars).rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);
    CMPIUint16 number = 7;
    EXPECT_EQ(CMSetArrayElementAt(array, 0, &number, CMPI_uint16).rc, CMPI_RC_ERR_TYPE_MISMATCH);
    CMSetProperty(inst, "Addresses", &array, CMPI_stringA);

    CMPIData got = CMGetProperty(inst, "addresses", nullptr);
    ASSERT_EQ(got.type, CMPI_stringA);
    EXPECT_EQ(CMGetArrayCount(got.value.array, nullptr), 2u);
    EXPECT_EQ(text(CMGetArrayElementAt(got.value.array, 1, nullptr).value.string), "b");

    CMPIObjectPath* derived = CMGetObjectPath(inst, nullptr);
    EXPECT_EQ(CMGetKeyCount(derived, nullptr), 2u);
    EXPECT_EQ(text(CMGetKey(derived, "Name", nullptr).value.string), "eth0");

    // A property filter keeps keys and the listed properties only.
    const char* only[] = {"Speed", nullptr};
    CMSetPropertyFilter(inst, only, nullptr);
    CMSetProperty(inst, "Speed", &number, CMPI_uint16);
    CMSetProperty(inst, "Ignored", &number, CMPI_uint16);
    CMSetProperty(inst, "Name", "eth1", CMPI_chars);
    EXPECT_EQ(CMGetProperty(inst, "Speed", nullptr).value.uint16, 7);
    EXPECT_TRUE(CMGetProperty(inst, "Ignored", nullptr).state & CMPI_notFound);
    EXPECT_EQ(text(CMGetProperty(inst, "Name", nullptr).value.string), "eth1");
}

// Instances of a class take room for as many properties as the last one
// answered had: one with fewer or more holds exactly its own, in order,
// and an answer changed after it was returned keeps what was returned.
TEST(BrokerObjects, InstancesOfOneClassHoldTheirOwnPropertiesWhateverTheLastHad)
{
    Broker broker;
    Request req(broker);
    auto make = [&](int properties) {
        CMPIObjectPath* op = req.newObjectPath("root/cimv2", "Tavrix_LANEndpoint");
        CMAddKey(op, "Name", "eth0", CMPI_chars);
        CMPIInstance* inst = CMNewInstance(broker.cmpi(), op, nullptr);
        for (CMPIUint32 i = 0; i < static_cast<CMPIUint32>(properties); ++i)
            CMSetProperty(inst, ("P" + std::to_string(i)).c_str(), &i, CMPI_uint32);
        return inst;
    };
    Response answers = req.call([&](const CMPIContext*, const CMPIResult* result) {
        for (int count : {40, 2, 300, 0, 17}) {
            CMPIInstance* inst = make(count);
            CMReturnInstance(result, inst);
        }
        // Changed once returned: the answer stays as it was.
        CMPIInstance* changed = make(3);
        CMReturnInstance(result, changed);
        CMPIUint32 late = 99;
        CMSetProperty(changed, "Late", &late, CMPI_uint32);
        CMSetProperty(changed, "P0", &late, CMPI_uint32);
        return CMPIStatus{CMPI_RC_OK, nullptr};
    });
    ASSERT_TRUE(answers.ok());
    const std::vector<int> counts = {40, 2, 300, 0, 17, 3};
    ASSERT_EQ(answers.instances.size(), counts.size());
    for (size_t n = 0; n < counts.size(); ++n) {
        const CMPIInstance* inst = answers.instances[n];
        ASSERT_EQ(CMGetPropertyCount(inst, nullptr), static_cast<CMPICount>(counts[n] + 1)) << n;
        CMPIString* name = nullptr;
        EXPECT_EQ(text(CMGetKey(CMGetObjectPath(inst, nullptr), "Name", nullptr).value.string), "eth0");
        for (int i = 0; i < counts[n]; ++i) {
            CMPIData d = CMGetPropertyAt(inst, static_cast<CMPICount>(i + 1), &name, nullptr);
            ASSERT_EQ(text(name), "P" + std::to_string(i)) << n;
            ASSERT_EQ(d.value.uint32, static_cast<CMPIUint32>(i)) << n;
        }
    }
}

TEST(BrokerObjects, ArgsEnumerationsAndDateTimes)
{
    Broker broker;
    Request req(broker);
    CMPIArgs* args = req.newArgs();
    CMPIUint16 state = 3;
    CMAddArg(args, "RequestedState", &state, CMPI_uint16);
    EXPECT_EQ(CMGetArgCount(args, nullptr), 1u);
    EXPECT_EQ(CMGetArg(args, "requestedstate", nullptr).value.uint16, 3);
    CMPIStatus rc;
    CMGetArg(args, "TimeoutPeriod", &rc);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_NO_SUCH_PROPERTY);

    CMPIDateTime* interval = CMNewDateTimeFromChars(broker.cmpi(), "00000001020304.000005:000", &rc);
    ASSERT_EQ(rc.rc, CMPI_RC_OK);
    EXPECT_TRUE(CMIsInterval(interval, nullptr));
    EXPECT_EQ(CMGetBinaryFormat(interval, nullptr), ((((1ULL * 24 + 2) * 60 + 3) * 60) + 4) * 1000000ULL + 5);
    EXPECT_EQ(text(CMGetStringFormat(interval, nullptr)), "00000001020304.000005:000");
    CMPIDateTime* stamp = CMNewDateTimeFromChars(broker.cmpi(), "20261206184700.000000+060", nullptr);
    ASSERT_NE(stamp, nullptr);
    EXPECT_EQ(text(CMGetStringFormat(stamp, nullptr)), "20261206174700.000000+000");
    for (const char* bad : {"", "2026", "20261306184700.000000+000", "2026120618470x.000000+000",
                            "00000001020304.000005*000"})
        EXPECT_EQ(CMNewDateTimeFromChars(broker.cmpi(), bad, nullptr), nullptr) << bad;
}

TEST(BrokerOwnership, ReleaseCloneAndRequestEnd)
{
    Broker broker;
    CMPIInstance* survivor = nullptr;
    {
        Request req(broker);
        CMPIObjectPath* op = req.newObjectPath("root/cimv2", "X");
        CMPIString* early = CMNewString(broker.cmpi(), "early", nullptr);
        EXPECT_STREQ(CMGetCharPtr(early), "early") << "a string's handle is its text";
        EXPECT_EQ(CMRelease(early).rc, CMPI_RC_OK);
        CMPIInstance* inst = req.newInstance(op);
        CMSetProperty(inst, "Name", "kept", CMPI_chars);
        survivor = CMClone(inst, nullptr);
        EXPECT_GT(req.arena().size(), 0u);
    }
    // The clone outlives the request (ASan reports any use after free).
    EXPECT_EQ(text(CMGetProperty(survivor, "Name", nullptr).value.string), "kept");
    EXPECT_EQ(CMRelease(survivor).rc, CMPI_RC_OK);
}

TEST(BrokerOwnership, ValuesHeldInRequestMemoryOutliveAReleaseOfThemselves)
{
    Broker broker;
    CMPIString* kept = nullptr;
    {
        Request req(broker);
        CMPIObjectPath* op = req.newObjectPath("root/cimv2", "X");
        CMAddKey(op, "Name", "eth0", CMPI_chars);
        CMPIInstance* inst = req.newInstance(op);
        CMSetProperty(inst, "Caption", "first port", CMPI_chars);
        CMPIString* key = CMGetKey(op, "Name", nullptr).value.string;
        CMPIString* caption = CMGetProperty(inst, "Caption", nullptr).value.string;
        EXPECT_STREQ(CMGetCharPtr(key), "eth0");
        // A provider that releases what it only borrowed must not take the
        // value from its holder.
        EXPECT_EQ(CMRelease(key).rc, CMPI_RC_OK);
        EXPECT_EQ(CMRelease(caption).rc, CMPI_RC_OK);
        // Strings of the same sizes, made now in the request, must not land
        // on them.
        req.call([&](const CMPIContext*, const CMPIResult*) {
            CMNewString(broker.cmpi(), "eth9", nullptr);
            CMNewString(broker.cmpi(), "other port", nullptr);
            return CMPIStatus{CMPI_RC_OK, nullptr};
        });
        EXPECT_EQ(text(CMGetKey(op, "Name", nullptr).value.string), "eth0");
        EXPECT_EQ(text(CMGetProperty(inst, "Caption", nullptr).value.string), "first port");
        EXPECT_EQ(text(CDToString(broker.cmpi(), key, nullptr)), "eth0");
        kept = CMClone(caption, nullptr);
        ASSERT_NE(kept, nullptr);
    }
    // The clone is the broker's own (ASan reports any use after free).
    EXPECT_EQ(text(kept), "first port");
    EXPECT_EQ(CMRelease(kept).rc, CMPI_RC_OK);
}

TEST(BrokerRouting, ProvidersSubclassesAndUnknownClasses)
{
    Broker broker;
    StaticInstanceProvider lan;
    lan.add(endpoint("eth0", 2));
    lan.add(endpoint("eth1", 3));
    broker.registerInstanceProvider("Tavrix_LANEndpoint", lan.mi());
    broker.registerClass("Tavrix_LANEndpoint", "CIM_LANEndpoint");
    Request req(broker);

    Response all = req.enumerateInstances(req.newObjectPath("root/cimv2", "cim_lanendpoint"));
    EXPECT_EQ(all.rc, CMPI_RC_OK);
    EXPECT_EQ(all.instances.size(), 2u);
    EXPECT_EQ(all.doneCount, 1);

    PathSpec one;
    ASSERT_TRUE(parsePathText("root/cimv2:Tavrix_LANEndpoint.SystemName=\"host\",Name=\"eth1\"", one, nullptr));
    Response got = req.getInstance(req.makePath(one));
    ASSERT_EQ(got.instances.size(), 1u);
    EXPECT_EQ(toInstanceSpec(got.instances[0]).property("EnabledState")->asUnsigned(), 3u);

    one.keys[1].second = Value::string("eth9");
    EXPECT_EQ(req.getInstance(req.makePath(one)).rc, CMPI_RC_ERR_NOT_FOUND);
    Response unknown = req.enumerateInstanceNames(req.newObjectPath("root/cimv2", "Tavrix_Nothing"));
    EXPECT_EQ(unknown.rc, CMPI_RC_ERR_INVALID_CLASS);
    EXPECT_TRUE(unknown.hasMessage);
    EXPECT_EQ(req.invokeMethod(req.newObjectPath("root/cimv2", "Tavrix_LANEndpoint"), "Reset", nullptr).rc,
              CMPI_RC_ERR_NOT_SUPPORTED);
}

TEST(BrokerRouting, UpCallsReachOtherProvidersInTheSameRequest)
{
    Broker broker;
    StaticInstanceProvider lan;
    lan.add(endpoint("eth0", 2));
    broker.registerInstanceProvider("Tavrix_LANEndpoint", lan.mi());

    FunctionProvider assoc;
    assoc.associators = [&](const CMPIContext* ctx, const CMPIResult* rslt, const CMPIObjectPath* op,
                            const char*, const char*, const char*, const char*, const char**) {
        CMPIStatus rc;
        CMPIObjectPath* target = CMNewObjectPath(broker.cmpi(), "root/cimv2", "Tavrix_LANEndpoint", &rc);
        CMPIEnumeration* e = CBEnumInstances(broker.cmpi(), ctx, target, nullptr, &rc);
        if (rc.rc != CMPI_RC_OK)
            return rc;
        while (CMHasNext(e, nullptr))
            CMReturnInstance(rslt, CMGetNext(e, nullptr).value.inst);
        CMPIInstance* missing = CBGetInstance(broker.cmpi(), ctx, op, nullptr, &rc);
        EXPECT_EQ(missing, nullptr);
        EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_CLASS);
        CMReturnDone(rslt);
        return CMPIStatus{CMPI_RC_OK, nullptr};
    };
    broker.registerAssociationProvider("Tavrix_BindsToLanEndPoint", assoc.associationMI());
    Request req(broker);
    Response r = req.associators(req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint"),
                                 "Tavrix_BindsToLanEndPoint", nullptr);
    EXPECT_EQ(r.rc, CMPI_RC_OK);
    ASSERT_EQ(r.instances.size(), 1u);
    EXPECT_EQ(toInstanceSpec(r.instances[0]).property("Name")->asString(), "eth0");
    // With no association class named every association provider answers.
    EXPECT_EQ(req.associators(req.newObjectPath("root/cimv2", "X"), nullptr, nullptr).instances.size(), 1u);
}

TEST(PathText, RejectsMalformedText)
{
    PathSpec p;
    std::string error;
    for (const char* bad : {"", ":", "root/cimv2:", "root/cimv2:Class.", "Class.Name", "Class.Name=",
                            "Class.Name=\"open", "Class.N=1,", "Class.N=12x", "Class.N=-", "Class!",
                            "Class.N=99999999999999999999999", "//host", "Class.=1", "Class.N=1;M=2"}) {
        EXPECT_FALSE(parsePathText(bad, p, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    std::string deep = "A.K=1";
    for (int i = 0; i < 10; ++i) {
        std::string escaped;
        for (char c : deep) {
            if (c == '"' || c == '\\')
                escaped += '\\';
            escaped += c;
        }
        deep = "n:B.R=\"n:" + escaped + "\"";
    }
    EXPECT_TRUE(parsePathText(deep, p, &error));  // too deep to be a reference, kept as text
    ASSERT_TRUE(parsePathText("//h/root/cimv2:C.S=\"x\\\"y\",N=-5,B=true", p, &error)) << error;
    EXPECT_EQ(p.host, "h");
    EXPECT_EQ(p.key("S")->asString(), "x\"y");
    EXPECT_EQ(p.key("N")->asSigned(), -5);
    EXPECT_TRUE(p.key("B")->asBool());
}

TEST(BrokerConcurrency, RequestsOnManyThreads)
{
    Broker broker;
    StaticInstanceProvider lan;
    for (int i = 0; i < 20; ++i)
        lan.add(endpoint("eth" + std::to_string(i), 2));
    broker.registerInstanceProvider("Tavrix_LANEndpoint", lan.mi());
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 100; ++i) {
                Request req(broker);
                Response r = req.enumerateInstances(req.newObjectPath("root/cimv2", "Tavrix_LANEndpoint"));
                if (r.instances.size() != 20 || r.doneCount != 1)
                    ++wrong;
                CMPIString* s = CMNewString(broker.cmpi(), "x", nullptr);
                CMPIString* copy = CMClone(s, nullptr);
                CMRelease(copy);
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(wrong.load(), 0);
}

} // namespace
