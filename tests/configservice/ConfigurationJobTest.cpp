// Configuration threads: one per interface with a bounded queue, the job
// that tells how the last configuration went, and the method clean-up that
// waits for them.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "ConfigScene.h"

using namespace configscene;
using cimhost::Request;
using cimhost::Response;
using testsupport::ModuleHarness;
using testsupport::propertyText;
using Korvu::NodeLexicon;
using Korvu::NodeStore;
using Korvu::IPInterfaceProvider::ConfigurationThread;

namespace {

// Holds the configuration thread that writes eth1's IPv4 address until
// opened (or ten seconds have passed, so that a failing test still ends).
class Gate {
public:
    Gate()
    {
        NodeStore::setWriteObserver([this](const std::string& node, unsigned int property) {
            if (node != eth1Node || property != NodeLexicon::IPV4_ADDRESS)
                return;
            std::unique_lock<std::mutex> guard(lock);
            ++held;
            changed.notify_all();
            changed.wait_for(guard, std::chrono::seconds(10), [this] { return open; });
        });
    }
    ~Gate()
    {
        release();
        ConfigurationThread::waitUntilIdle(10000);
        NodeStore::setWriteObserver(nullptr);
    }
    // Until a thread is held at the gate.
    bool waitForHeld()
    {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, std::chrono::seconds(10), [this] { return held > 0; });
    }
    void release()
    {
        std::lock_guard<std::mutex> guard(lock);
        open = true;
        changed.notify_all();
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    bool open = false;
    int held = 0;
};

cimhost::PathSpec jobPath(const std::string& instanceId = "IPConfigSvcJob:1")
{
    return path("Tavrix_ConcreteJob", {{"InstanceID", text(instanceId)}});
}

bool hasProperty(const CMPIInstance* inst, const char* name)
{
    CMPIStatus rc = {CMPI_RC_OK, nullptr};
    CMPIData d = CMGetProperty(inst, name, &rc);
    return rc.rc == CMPI_RC_OK && !(d.state & CMPI_nullValue);
}

} // namespace

TEST(ConfigurationQueue, AThousandCallsForOneInterfaceStartOneThread)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {});
    others.addDhcp("Computer:eth10");
    ASSERT_TRUE(ConfigurationThread::waitUntilIdle(10000));
    const unsigned long started = ConfigurationThread::started();
    Gate gate;

    ASSERT_EQ(apply(req, h.broker(), "Computer:eth1:static", eth1Endpoint).returnValue, 0u);
    ASSERT_TRUE(gate.waitForHeld());
    const int calls = 1000;
    unsigned int accepted = 1;
    unsigned int refused = 0;
    for (int i = 1; i < calls; ++i) {
        Applied a = apply(req, h.broker(), "Computer:eth1:static", eth1Endpoint);
        if (a.returnValue == 0 && a.jobId == "IPConfigSvcJob:1") {
            ++accepted;
        } else if (a.returnValue == 4 && a.response.rc == CMPI_RC_ERR_FAILED && a.jobId.empty() &&
                   a.response.message.find("too many configurations waiting") != std::string::npos) {
            ++refused;
        }
    }
    EXPECT_EQ(accepted, 1 + ConfigurationThread::maxWaiting);
    EXPECT_EQ(accepted + refused, static_cast<unsigned int>(calls));
    EXPECT_EQ(ConfigurationThread::started(), started + 1);
    EXPECT_EQ(ConfigurationThread::running(), 1u);

    // Another interface has a thread of its own meanwhile.
    Applied other = apply(req, h.broker(), "Computer:eth10:dhcp", eth10Endpoint);
    EXPECT_EQ(other.returnValue, 0u);
    EXPECT_EQ(ConfigurationThread::started(), started + 2);

    gate.release();
    ASSERT_TRUE(ConfigurationThread::waitUntilIdle(10000));
    EXPECT_EQ(ConfigurationThread::started(), started + 2);
    EXPECT_EQ(ConfigurationThread::running(), 0u);
    // Once its queue has drained the interface takes configurations again.
    EXPECT_EQ(applyAndWait(req, h.broker(), "Computer:eth1:static", eth1Endpoint).returnValue, 0u);
}

TEST(ConfigurationJob, TheReturnedReferenceTellsHowTheLastConfigurationWent)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {});
    ASSERT_TRUE(ConfigurationThread::waitUntilIdle(10000));
    Gate gate;

    Applied applied = apply(req, h.broker(), "Computer:eth1:static", eth1Endpoint);
    ASSERT_EQ(applied.jobId, "IPConfigSvcJob:1");
    ASSERT_TRUE(gate.waitForHeld());
    Response running = req.getInstance(req.makePath(jobPath()));
    ASSERT_TRUE(running.ok()) << running.message;
    ASSERT_EQ(running.instances.size(), 1u);
    EXPECT_EQ(propertyText(running.instances[0], "JobState"), "4");
    EXPECT_EQ(propertyText(running.instances[0], "ElementName"), "IP configuration of Computer:eth1");
    EXPECT_TRUE(hasProperty(running.instances[0], "TimeSubmitted"));
    EXPECT_TRUE(hasProperty(running.instances[0], "StartTime"));
    EXPECT_FALSE(hasProperty(running.instances[0], "ErrorCode"));

    // A second configuration waits behind the first; meanwhile eth1 goes
    // away, so the second one fails.
    ASSERT_EQ(apply(req, h.broker(), "Computer:eth1:static", eth1Endpoint).returnValue, 0u);
    Response waiting = req.getInstance(req.makePath(jobPath()));
    ASSERT_EQ(waiting.instances.size(), 1u);
    EXPECT_EQ(propertyText(waiting.instances[0], "JobState"), "2");
    EXPECT_FALSE(hasProperty(waiting.instances[0], "StartTime"));
    for (const char* node : {eth1Node, eth1DhcpNode}) {
        Korvu::Instrumentation cursor;
        cursor.selectNode(node);
        std::string renamed = "eth9";
        ASSERT_TRUE(cursor.setProperty(NodeLexicon::NAME, renamed));
    }
    gate.release();
    ASSERT_TRUE(ConfigurationThread::waitUntilIdle(10000));
    Response failed = req.getInstance(req.makePath(jobPath()));
    ASSERT_EQ(failed.instances.size(), 1u);
    const CMPIInstance* job = failed.instances[0];
    EXPECT_EQ(propertyText(job, "JobState"), "10");
    EXPECT_EQ(propertyText(job, "JobStatus"), "Exception");
    EXPECT_EQ(propertyText(job, "ErrorCode"), "1");
    EXPECT_EQ(propertyText(job, "ErrorDescription"), "No IP interface named \"eth1\" on the host");
    EXPECT_TRUE(hasProperty(job, "TimeOfLastStateChange"));

    // Back under its name, eth1 is configured and the job completes.
    Korvu::Instrumentation cursor;
    cursor.selectNode(eth1Node);
    std::string name = "eth1";
    ASSERT_TRUE(cursor.setProperty(NodeLexicon::NAME, name));
    ASSERT_EQ(applyAndWait(req, h.broker(), "Computer:eth1:static", eth1Endpoint).returnValue, 0u);
    Response done = req.getInstance(req.makePath(jobPath()));
    ASSERT_EQ(done.instances.size(), 1u);
    EXPECT_EQ(propertyText(done.instances[0], "JobState"), "7");
    EXPECT_EQ(propertyText(done.instances[0], "ErrorCode"), "0");
    EXPECT_EQ(propertyText(done.instances[0], "PercentComplete"), "100");
    EXPECT_FALSE(hasProperty(done.instances[0], "ErrorDescription"));

    // One job, by its own InstanceID only.
    Response all = req.enumerateInstances(h.classPath(req, "Tavrix_ConcreteJob"));
    EXPECT_EQ(all.instances.size(), 1u);
    EXPECT_EQ(req.getInstance(req.makePath(jobPath("IPConfigSvcJob:2"))).rc, CMPI_RC_ERR_NOT_FOUND);
    Response names = req.enumerateInstanceNames(h.classPath(req, "Tavrix_ConcreteJob"));
    ASSERT_EQ(names.paths.size(), 1u);
    EXPECT_EQ(testsupport::keyText(names.paths[0], "InstanceID"), "IPConfigSvcJob:1");
    // The property list is honoured; the key stays.
    const char* only[] = {"JobState", nullptr};
    Response some = req.getInstance(req.makePath(jobPath()), only);
    ASSERT_EQ(some.instances.size(), 1u);
    EXPECT_TRUE(hasProperty(some.instances[0], "JobState"));
    EXPECT_FALSE(hasProperty(some.instances[0], "ErrorCode"));
}

TEST(ConfigurationDrain, MethodCleanupWaitsForRunningConfigurations)
{
    ModuleHarness h(store());
    Request req(h.broker());
    OtherProviders others(h.broker(), {});
    h.writeFile(h.dataDir() + "ifcfg-eth1", "IPV4ADDR=198.51.100.42\n");
    ASSERT_TRUE(ConfigurationThread::waitUntilIdle(10000));
    Gate gate;
    ASSERT_EQ(apply(req, h.broker(), "Computer:eth1:static", eth1Endpoint).returnValue, 0u);
    ASSERT_TRUE(gate.waitForHeld());

    std::thread opener([&gate] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        gate.release();
    });
    CMPIMethodMI* mi = h.methodMI();
    Response cleaned = req.call([&](const CMPIContext* c, const CMPIResult*) {
        return mi->ft->cleanup(mi, c, 1);
    });
    opener.join();
    EXPECT_EQ(cleaned.rc, CMPI_RC_OK);
    // Nothing ran half: both eth1 nodes carry the staged address.
    EXPECT_EQ(ConfigurationThread::running(), 0u);
    EXPECT_EQ(textOf(eth1Node, NodeLexicon::IPV4_ADDRESS), "198.51.100.42");
    EXPECT_EQ(textOf(eth1DhcpNode, NodeLexicon::IPV4_ADDRESS), "198.51.100.42");
}
