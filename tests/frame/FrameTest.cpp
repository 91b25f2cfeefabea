// Drives the request functions through the broker over stand-in classes, so
// every branch of the frame can be reached without the node store.
#include <cmpimacs.h>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Broker.h"
#include "FakeClasses.h"
#include "IPInterfaceProvider.h"
#include "LogCapture.h"
#include "NodeStore.h"
#include "Request.h"
#include "Trace.h"
#include "Value.h"

// The frame refuses requests while the node store cannot be loaded; these
// classes never read it, so an empty one in memory will do.
class SoundStore : public ::testing::Environment {
    void SetUp() override { Korvu::NodeStore::loadFromString(R"({"nodes": []})"); }
};
static ::testing::Environment* const soundStore = ::testing::AddGlobalTestEnvironment(new SoundStore);

namespace {

const char* const ns = "root/cimv2";

class Frame : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::Behaviour::current() = fake::Behaviour();
        instance = IPInterfaceProvider_Create_InstanceMI(broker.cmpi(), nullptr, nullptr);
        association = IPInterfaceProvider_Create_AssociationMI(broker.cmpi(), nullptr, nullptr);
        method = IPInterfaceProvider_Create_MethodMI(broker.cmpi(), nullptr, nullptr);
    }

    cimhost::Response enumNames(const char* cls)
    {
        CMPIObjectPath* op = req.newObjectPath(ns, cls);
        return req.call([&](const CMPIContext* c, const CMPIResult* r) {
            return instance->ft->enumerateInstanceNames(instance, c, r, op);
        });
    }
    cimhost::Response enumInstances(const char* cls)
    {
        CMPIObjectPath* op = req.newObjectPath(ns, cls);
        return req.call([&](const CMPIContext* c, const CMPIResult* r) {
            return instance->ft->enumerateInstances(instance, c, r, op, nullptr);
        });
    }
    cimhost::Response getInstance(const char* cls, const char* name = "element0")
    {
        CMPIObjectPath* op = req.newObjectPath(ns, cls);
        CMAddKey(op, "Name", name, CMPI_chars);
        return req.call([&](const CMPIContext* c, const CMPIResult* r) {
            return instance->ft->getInstance(instance, c, r, op, nullptr);
        });
    }
    cimhost::Response invoke(const char* cls, const char* name)
    {
        CMPIObjectPath* op = req.newObjectPath(ns, cls);
        CMAddKey(op, "Name", "element0", CMPI_chars);
        CMPIArgs* in = req.newArgs();
        CMPIArgs* out = req.newArgs();
        return req.call([&](const CMPIContext* c, const CMPIResult* r) {
            return method->ft->invokeMethod(method, c, r, op, name, in, out);
        });
    }
    cimhost::Response associators(const char* assocClass, const char* resultClass)
    {
        CMPIObjectPath* op = req.newObjectPath(ns, "Tavrix_IPProtocolEndpoint");
        return req.call([&](const CMPIContext* c, const CMPIResult* r) {
            return association->ft->associators(association, c, r, op, assocClass, resultClass,
                                                nullptr, nullptr, nullptr);
        });
    }
    static CMPIUint32 returnValue(const cimhost::Response& r)
    {
        EXPECT_EQ(r.data.size(), 1u);
        if (r.data.empty())
            return 0xFFFFFFFFu;
        EXPECT_EQ(r.data[0].type, CMPI_uint32);
        return r.data[0].value.uint32;
    }

    cimhost::Broker broker;
    cimhost::Request req{broker};
    CMPIInstanceMI* instance = nullptr;
    CMPIAssociationMI* association = nullptr;
    CMPIMethodMI* method = nullptr;
};

TEST_F(Frame, UnservedClassesAnswerInvalidClassWithoutResults)
{
    fake::Behaviour::current().elements = 3;
    for (const char* cls : {"Tavrix_LANEndpoint", "Tavrix_ComputerSystem", "Tavrix_ConcreteJob", "Nonsense"}) {
        cimhost::Response r = enumNames(cls);
        EXPECT_EQ(r.rc, CMPI_RC_ERR_INVALID_CLASS) << cls;
        EXPECT_TRUE(r.paths.empty());
        EXPECT_EQ(r.doneCount, 0);
    }
    cimhost::Response a = associators("Tavrix_LANEndpoint", nullptr);
    EXPECT_EQ(a.rc, CMPI_RC_ERR_INVALID_CLASS);
    EXPECT_EQ(a.doneCount, 0);
    cimhost::Response none = associators(nullptr, nullptr);
    EXPECT_EQ(none.rc, CMPI_RC_ERR_INVALID_CLASS);

    cimhost::Response m = invoke("Tavrix_ComputerSystem", "RequestStateChange");
    EXPECT_EQ(m.rc, CMPI_RC_ERR_INVALID_CLASS);
    EXPECT_EQ(returnValue(m), 5u);
    EXPECT_EQ(m.doneCount, 1);
    EXPECT_EQ(fake::Behaviour::current().methodCalls, 0);
}

TEST_F(Frame, EnumerationsReturnEveryElementAndFinishOnce)
{
    fake::Behaviour::current().elements = 4;
    cimhost::Response names = enumNames("Tavrix_IPProtocolEndpoint");
    EXPECT_EQ(names.rc, CMPI_RC_OK);
    EXPECT_EQ(names.paths.size(), 4u);
    EXPECT_EQ(names.doneCount, 1);
    cimhost::Response all = enumInstances("Tavrix_IPProtocolEndpoint");
    EXPECT_EQ(all.instances.size(), 4u);
    EXPECT_EQ(all.doneCount, 1);

    fake::Behaviour::current().elements = 0;
    cimhost::Response empty = enumInstances("Tavrix_IPProtocolEndpoint");
    EXPECT_EQ(empty.rc, CMPI_RC_OK) << "an empty enumeration is no failure";
    EXPECT_EQ(empty.doneCount, 1);
}

TEST_F(Frame, GetInstanceReportsMissingInstanceAndReturnsTheNamedOne)
{
    fake::Behaviour::current().elements = 0;
    cimhost::Response missing = getInstance("Tavrix_IPProtocolEndpoint");
    EXPECT_EQ(missing.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_TRUE(missing.instances.empty());

    fake::Behaviour::current().elements = 3;
    cimhost::Response second = getInstance("Tavrix_IPProtocolEndpoint", "element1");
    EXPECT_EQ(second.rc, CMPI_RC_OK);
    ASSERT_EQ(second.instances.size(), 1u);
    CMPIData name = CMGetProperty(second.instances[0], "Name", nullptr);
    ASSERT_EQ(name.type, CMPI_string);
    EXPECT_STREQ(CMGetCharsPtr(name.value.string, nullptr), "element1");
    EXPECT_EQ(second.doneCount, 1);
    EXPECT_EQ(getInstance("Tavrix_IPProtocolEndpoint", "element3").rc, CMPI_RC_ERR_NOT_FOUND);
}

TEST_F(Frame, ExceptionMidEnumerationKeepsElementsAndIsReported)
{
    testsupport::LogCapture log;
    fake::Behaviour::current().elements = 5;
    fake::Behaviour::current().throwAt = 2;
    cimhost::Response r = enumInstances("Tavrix_IPProtocolEndpoint");
    EXPECT_EQ(r.instances.size(), 2u);
    EXPECT_EQ(r.doneCount, 0);
    EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(r.message, "Could not find 'Name' key in Moniker");
    std::vector<testsupport::LogLine> lines = log.lines();
    size_t errors = 0;
    for (const auto& line : lines)
        if (line.level == "ERROR") {
            ++errors;
            EXPECT_EQ(line.text.rfind("MESSAGE [File: IPInterfaceProvider.cpp, Line: ", 0), 0u) << line.text;
            EXPECT_NE(line.text.find("]: Could not find 'Name' key in Moniker"), std::string::npos);
        }
    EXPECT_EQ(errors, 1u);
    EXPECT_EQ(log.count("EXITING: Korvu::IPInterfaceProvider::IPInterface_EnumInstances()"), 1u);

    // Associations behave alike.
    log.clear();
    cimhost::Response a = associators("Tavrix_BindsToLanEndPoint", nullptr);
    EXPECT_EQ(a.instances.size(), 2u);
    EXPECT_EQ(a.doneCount, 0);
    EXPECT_EQ(log.count("Could not find 'Name' key in Moniker"), 1u);
}

TEST_F(Frame, CaughtExceptionWritesNothingWhenErrorIsOff)
{
    testsupport::LogCapture log(log4cxx::Level::getFatal());
    fake::Behaviour::current().elements = 3;
    fake::Behaviour::current().throwAt = 0;
    cimhost::Response r = enumNames("Tavrix_IPProtocolEndpoint");
    EXPECT_EQ(r.rc, CMPI_RC_ERR_FAILED);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Frame, MethodsMatchNamesExactlyAndReportExceptions)
{
    fake::Behaviour::current().elements = 1;
    fake::Behaviour::current().methodResult = 0;
    cimhost::Response ok = invoke("Tavrix_IPProtocolEndpoint", "RequestStateChange");
    EXPECT_EQ(ok.rc, CMPI_RC_OK);
    EXPECT_EQ(returnValue(ok), 0u);
    EXPECT_EQ(fake::Behaviour::current().methodCalls, 1);

    cimhost::Response lower = invoke("Tavrix_IPProtocolEndpoint", "requeststatechange");
    EXPECT_EQ(lower.rc, CMPI_RC_ERR_METHOD_NOT_FOUND);
    EXPECT_EQ(returnValue(lower), 17u);
    EXPECT_EQ(lower.doneCount, 1);

    cimhost::Response wrongClass = invoke("Tavrix_IPConfigurationService", "RequestStateChange");
    EXPECT_EQ(wrongClass.rc, CMPI_RC_ERR_METHOD_NOT_FOUND);
    EXPECT_EQ(returnValue(wrongClass), 17u);

    cimhost::Response nullName = invoke("Tavrix_IPProtocolEndpoint", nullptr);
    EXPECT_EQ(nullName.rc, CMPI_RC_ERR_METHOD_NOT_FOUND);

    testsupport::LogCapture log;
    fake::Behaviour::current().throwInMethod = true;
    cimhost::Response thrown = invoke("Tavrix_IPConfigurationService", "ApplySettingToIPProtocolEndpoint");
    EXPECT_EQ(thrown.rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(thrown.message, "configuration thread could not be started");
    EXPECT_EQ(returnValue(thrown), 0u);
    EXPECT_EQ(thrown.doneCount, 1);
    EXPECT_EQ(log.count("MESSAGE"), 0u) << "a failed method is answered, not logged";
}

TEST_F(Frame, MethodOnMissingEndpointInvokesNothing)
{
    fake::Behaviour::current().elements = 0;
    cimhost::Response r = invoke("Tavrix_IPProtocolEndpoint", "RequestStateChange");
    EXPECT_EQ(r.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(fake::Behaviour::current().methodCalls, 0);
    EXPECT_EQ(r.doneCount, 1);
}

TEST_F(Frame, ModifyInstanceRoutesOrRefuses)
{
    CMPIObjectPath* op = req.newObjectPath(ns, "Tavrix_IPProtocolEndpoint");
    CMPIInstance* inst = req.newInstance(op);
    auto modify = [&](const char* cls) {
        CMPIObjectPath* path = req.newObjectPath(ns, cls);
        CMAddKey(path, "Name", "element0", CMPI_chars);
        return req.call([&](const CMPIContext* c, const CMPIResult* r) {
            return instance->ft->modifyInstance(instance, c, r, path, inst, nullptr);
        });
    };
    fake::Behaviour::current().elements = 1;
    cimhost::Response unserved = modify("Tavrix_IPAssignmentSettingData");
    EXPECT_EQ(unserved.rc, CMPI_RC_ERR_NOT_SUPPORTED);
    EXPECT_EQ(unserved.doneCount, 0);
    cimhost::Response assoc = modify("Tavrix_BindsToLanEndPoint");
    EXPECT_EQ(assoc.rc, CMPI_RC_ERR_NOT_SUPPORTED);

    fake::Behaviour::current().modifyRc = CMPI_RC_ERR_FAILED;
    cimhost::Response refused = modify("Tavrix_IPProtocolEndpoint");
    EXPECT_EQ(refused.rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(refused.message, "store refused the value") << "the class's message reaches the client";
    EXPECT_EQ(refused.doneCount, 1);

    fake::Behaviour::current().elements = 0;
    int before = fake::Behaviour::current().modifyCalls;
    cimhost::Response missing = modify("Tavrix_IPProtocolEndpoint");
    EXPECT_EQ(missing.rc, CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(fake::Behaviour::current().modifyCalls, before);
}

TEST_F(Frame, NeverServedRequests)
{
    testsupport::LogCapture log;
    CMPIObjectPath* op = req.newObjectPath(ns, "Tavrix_IPProtocolEndpoint");
    cimhost::Response create = req.call([&](const CMPIContext* c, const CMPIResult* r) {
        return instance->ft->createInstance(instance, c, r, op, nullptr);
    });
    EXPECT_EQ(create.rc, CMPI_RC_ERR_NOT_SUPPORTED);
    EXPECT_EQ(log.count("ENTERING: Korvu::IPInterfaceProvider::IPInterface_CreateInstance()"), 1u);
    log.clear();

    cimhost::Response del = req.call([&](const CMPIContext* c, const CMPIResult* r) {
        return instance->ft->deleteInstance(instance, c, r, op);
    });
    cimhost::Response query = req.call([&](const CMPIContext* c, const CMPIResult* r) {
        return instance->ft->execQuery(instance, c, r, op, "SELECT * FROM X", "WQL");
    });
    EXPECT_EQ(del.rc, CMPI_RC_ERR_NOT_SUPPORTED);
    EXPECT_EQ(query.rc, CMPI_RC_ERR_NOT_SUPPORTED);
    EXPECT_EQ(del.doneCount + query.doneCount, 0);
    std::vector<std::string> texts = log.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rfind("METHOD: Korvu::IPInterfaceProvider::IPInterface_DeleteInstance() was invoked in IPInterfaceProvider.cpp [Line: ", 0), 0u);
    EXPECT_EQ(texts[1].rfind("METHOD: Korvu::IPInterfaceProvider::IPInterface_ExecQuery() was invoked in", 0), 0u);
}

TEST_F(Frame, AssociatorsHonourTargetClassTest)
{
    fake::Behaviour::current().elements = 2;
    fake::Behaviour::current().rejectTarget = true;
    cimhost::Response rejected = associators("Tavrix_BindsToLanEndPoint", "Tavrix_Nothing");
    EXPECT_EQ(rejected.rc, CMPI_RC_OK);
    EXPECT_TRUE(rejected.instances.empty());
    EXPECT_EQ(rejected.doneCount, 0);
    cimhost::Response unfiltered = associators("Tavrix_BindsToLanEndPoint", nullptr);
    EXPECT_EQ(unfiltered.instances.size(), 2u);
    EXPECT_EQ(unfiltered.doneCount, 1);
}

TEST_F(Frame, NullArgumentsGetOrderlyStatus)
{
    CMPIObjectPath* op = req.newObjectPath(ns, "Tavrix_IPProtocolEndpoint");
    fake::Behaviour::current().elements = 1;
    cimhost::Response noPath = req.call([&](const CMPIContext* c, const CMPIResult* r) {
        return instance->ft->enumerateInstances(instance, c, r, nullptr, nullptr);
    });
    EXPECT_EQ(noPath.rc, CMPI_RC_ERR_INVALID_PARAMETER);
    cimhost::Response noContext = req.call([&](const CMPIContext*, const CMPIResult* r) {
        return instance->ft->getInstance(instance, nullptr, r, op, nullptr);
    });
    EXPECT_EQ(noContext.rc, CMPI_RC_ERR_INVALID_PARAMETER);
    CMPIStatus noResult = instance->ft->enumerateInstanceNames(instance, req.context(), nullptr, op);
    EXPECT_EQ(noResult.rc, CMPI_RC_ERR_INVALID_PARAMETER);
    CMPIStatus noMethodResult = method->ft->invokeMethod(method, req.context(), nullptr, op,
                                                         "RequestStateChange", nullptr, nullptr);
    EXPECT_EQ(noMethodResult.rc, CMPI_RC_ERR_INVALID_PARAMETER);
    cimhost::Response noInstance = req.call([&](const CMPIContext* c, const CMPIResult* r) {
        return instance->ft->modifyInstance(instance, c, r, op, nullptr, nullptr);
    });
    EXPECT_EQ(noInstance.rc, CMPI_RC_ERR_INVALID_PARAMETER);
    cimhost::Response refsNoClass = req.call([&](const CMPIContext* c, const CMPIResult* r) {
        return association->ft->references(association, c, r, op, nullptr, nullptr, nullptr);
    });
    EXPECT_EQ(refsNoClass.rc, CMPI_RC_ERR_INVALID_CLASS);
    EXPECT_EQ(fake::Behaviour::current().modifyCalls, 0);
}

TEST_F(Frame, RequestIsBracketedInTheLog)
{
    fake::Behaviour::current().elements = 1;
    testsupport::LogCapture log;
    enumNames("Tavrix_IPProtocolEndpoint");
    std::vector<std::string> t = log.texts();
    ASSERT_GE(t.size(), 4u);
    const std::string separator(78, '=');
    EXPECT_EQ(t.front(), separator);
    EXPECT_EQ(t[1].rfind("ENTERING: Korvu::IPInterfaceProvider::IPInterface_EnumInstanceNames() in IPInterfaceProvider.cpp [Line: ", 0), 0u) << t[1];
    EXPECT_EQ(t[t.size() - 2].rfind("EXITING: Korvu::IPInterfaceProvider::IPInterface_EnumInstanceNames() in IPInterfaceProvider.cpp [Line: ", 0), 0u);
    EXPECT_EQ(t.back(), separator);

    // Methods and modifications close their bracket too.
    log.clear();
    invoke("Tavrix_IPProtocolEndpoint", "RequestStateChange");
    t = log.texts();
    ASSERT_GE(t.size(), 4u);
    EXPECT_EQ(t[t.size() - 2].rfind("EXITING: Korvu::IPInterfaceProvider::IPInterface_InvokeMethod()", 0), 0u);
}

TEST_F(Frame, WarnLevelWritesNothingAndChangesNoResult)
{
    fake::Behaviour::current().elements = 3;
    cimhost::Response withInfo;
    {
        testsupport::LogCapture log;
        withInfo = enumNames("Tavrix_IPProtocolEndpoint");
        EXPECT_FALSE(log.lines().empty());
    }
    testsupport::LogCapture quiet(log4cxx::Level::getWarn());
    cimhost::Response withWarn = enumNames("Tavrix_IPProtocolEndpoint");
    invoke("Tavrix_IPProtocolEndpoint", "RequestStateChange");
    EXPECT_TRUE(quiet.lines().empty());
    EXPECT_EQ(withWarn.rc, withInfo.rc);
    EXPECT_EQ(withWarn.paths.size(), withInfo.paths.size());
    EXPECT_EQ(withWarn.doneCount, withInfo.doneCount);
}

TEST_F(Frame, OverlongLineIsCutNotOverrun)
{
    testsupport::LogCapture log;
    fake::Behaviour::current().elements = 1;
    fake::Behaviour::current().throwAt = 0;
    // The fake's text is short; an overlong qualified name comes through the
    // trace statement directly.
    std::string longName(2000, 'x');
    markFunctionEntry(log4cxx::Logger::getLogger(IPIF_LOGGER_NAME), "Unit.cpp", longName.c_str());
    std::vector<std::string> t = log.texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].size(), 511u);
    EXPECT_EQ(t[0].rfind("ENTERING: xxx", 0), 0u);
}

TEST(FrameConcurrency, LinesStayWholeUnderConcurrentRequests)
{
    cimhost::Broker broker;
    CMPIInstanceMI* mi = IPInterfaceProvider_Create_InstanceMI(broker.cmpi(), nullptr, nullptr);
    fake::Behaviour::current() = fake::Behaviour();
    fake::Behaviour::current().elements = 3;
    testsupport::LogCapture log;
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                cimhost::Request req(broker);
                CMPIObjectPath* op = req.newObjectPath(ns, "Tavrix_IPProtocolEndpoint");
                cimhost::Response r = req.call([&](const CMPIContext* c, const CMPIResult* res) {
                    return mi->ft->enumerateInstanceNames(mi, c, res, op);
                });
                if (r.rc != CMPI_RC_OK || r.paths.size() != 3)
                    ++failures;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);
    const std::string separator(78, '=');
    size_t entering = 0;
    for (const std::string& line : log.texts()) {
        bool whole = line == separator ||
                     line == "ENTERING: Korvu::IPInterfaceProvider::IPInterface_EnumInstanceNames() in IPInterfaceProvider.cpp [Line: " + line.substr(line.find("[Line: ") + 7) ||
                     line.rfind("EXITING: Korvu::IPInterfaceProvider::IPInterface_EnumInstanceNames() in IPInterfaceProvider.cpp [Line: ", 0) == 0;
        EXPECT_TRUE(whole) << line;
        if (line.rfind("ENTERING", 0) == 0)
            ++entering;
    }
    EXPECT_EQ(entering, 300u);
}

} // namespace

TEST(TraceScope, ChecksInARequestAnswerWithTheLevelsItBeganWith)
{
    const log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger(IPIF_LOGGER_NAME);
    using Korvu::Trace::Level;
    using Korvu::Trace::isEnabled;
    testsupport::LogCapture log(log4cxx::Level::getInfo());
    {
        Korvu::Trace::RequestScope request(logger);
        logger->setLevel(log4cxx::Level::getError());
        EXPECT_TRUE(isEnabled(logger, Level::Info));
        EXPECT_FALSE(isEnabled(logger, Level::Debug));
        {
            // An up-call within the request starts from the level now set.
            Korvu::Trace::RequestScope inner(logger);
            EXPECT_FALSE(isEnabled(logger, Level::Info));
            EXPECT_TRUE(isEnabled(logger, Level::Error));
        }
        EXPECT_TRUE(isEnabled(logger, Level::Info));
        // Another logger is checked live.
        const log4cxx::LoggerPtr other = log4cxx::Logger::getLogger("Prelvar.Other");
        other->setLevel(log4cxx::Level::getOff());
        EXPECT_FALSE(isEnabled(other, Level::Error));
    }
    // The next request, and the configuration thread, see the change.
    EXPECT_FALSE(isEnabled(logger, Level::Info));
    EXPECT_TRUE(isEnabled(logger, Level::Error));
    std::thread([&] { EXPECT_FALSE(isEnabled(logger, Level::Info)); }).join();
}
