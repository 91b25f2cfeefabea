// Concurrent ModifyInstance requests on one interface: every value lands,
// and readers never see a partial ifcfg file.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Scene.h"

using namespace scene;
using cimhost::Request;
using cimhost::Response;
using cimhost::Value;
using testsupport::ModuleHarness;
using testsupport::propertyText;

namespace {

const int rounds = 25;

struct Writer {
    const char* property;
    // Value of round i; the last round's value must be the one that stays.
    std::function<Value(int)> value;
};

} // namespace

TEST(EndpointsConcurrency, StaticSettingsOfOneInterfaceAllLand)
{
    ModuleHarness h(hostAndBmc());
    h.writeFile(h.dataDir() + "ifcfg-eth1",
                "# kept\nIPV4ADDR=10.0.0.1\nNETMASK=255.0.0.0\nGATEWAY=10.0.0.254\n"
                "IPV6ADDR=2001:db8::1\nIPV6GATEWAY=2001:db8::fe\nPREFIX=64\n");
    const std::vector<Writer> writers = {
        {"IPv4Address", [](int i) { return text("10.1.0." + std::to_string(i)); }},
        {"SubnetMask", [](int i) { return text(prefixMask(7 + i)); }},
        {"GatewayIPv4Address", [](int i) { return text("10.2.0." + std::to_string(i)); }},
        {"IPv6Address", [](int i) { return text("2001:db8::a:" + std::to_string(i)); }},
        {"GatewayIPv6Address", [](int i) { return text("2001:db8::b:" + std::to_string(i)); }},
        {"IPv6SubnetPrefixLength", [](int i) { return Value::uint16(64 + i); }},
    };

    std::atomic<bool> writing{true};
    std::atomic<int> failures{0};
    std::atomic<int> partialReads{0};
    std::vector<std::thread> threads;
    for (const Writer& w : writers) {
        threads.emplace_back([&h, &w, &failures] {
            for (int i = 1; i <= rounds; ++i) {
                Request req(h.broker());
                if (!modify(req, staticPath("Computer:eth1"), {{w.property, w.value(i)}}).ok())
                    ++failures;
            }
        });
    }
    std::vector<std::thread> readers;
    for (int r = 0; r < 2; ++r) {
        readers.emplace_back([&] {
            while (writing) {
                Request req(h.broker());
                const CMPIInstance* inst = getOne(req, staticPath("Computer:eth1"));
                for (const Writer& w : writers) {
                    std::string v = propertyText(inst, w.property);
                    if (v.empty() || v == "0")
                        ++partialReads;
                }
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    writing = false;
    for (std::thread& t : readers)
        t.join();

    EXPECT_EQ(failures, 0);
    EXPECT_EQ(partialReads, 0);
    Request req(h.broker());
    const CMPIInstance* inst = getOne(req, staticPath("Computer:eth1"));
    for (const Writer& w : writers)
        EXPECT_EQ(propertyText(inst, w.property), w.value(rounds).toText()) << w.property;
    EXPECT_EQ(h.readFile(h.dataDir() + "ifcfg-eth1").rfind("# kept\n", 0), 0u);
}

TEST(EndpointsConcurrency, EndpointAddressMaskAndStateAllLand)
{
    ModuleHarness h(hostAndBmc());
    const cimhost::PathSpec path = endpointPath(hostName(), "eth0_52:54:00:12:34:56_3");
    std::atomic<int> failures{0};
    std::thread address([&] {
        for (int i = 1; i <= rounds; ++i) {
            Request req(h.broker());
            if (!modify(req, path, {{"IPv4Address", text("192.0.2." + std::to_string(i))}}).ok())
                ++failures;
        }
    });
    std::thread mask([&] {
        for (int i = 1; i <= rounds; ++i) {
            Request req(h.broker());
            if (!modify(req, path, {{"SubnetMask", text(prefixMask(7 + i))}}).ok())
                ++failures;
        }
    });
    std::thread state([&] {
        for (int i = 1; i <= rounds; ++i) {
            Request req(h.broker());
            CMPIArgs* in = req.newArgs();
            CMPIUint16 requested = i % 2 ? 3 : 2;
            CMAddArg(in, "RequestedState", &requested, CMPI_uint16);
            Response r = req.invokeMethod(req.makePath(path), "RequestStateChange", in);
            if (!r.ok() || r.data.size() != 1 || r.data[0].value.uint32 != 0)
                ++failures;
        }
    });
    address.join();
    mask.join();
    state.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(nodeText("/host/nic0/eth0", Korvu::NodeLexicon::IPV4_ADDRESS),
              "192.0.2." + std::to_string(rounds));
    EXPECT_EQ(nodeText("/host/nic0/eth0", Korvu::NodeLexicon::SUBNET_MASK),
              prefixMask(7 + rounds));
    EXPECT_EQ(nodeNumber("/host/nic0/eth0", Korvu::NodeLexicon::STATE), rounds % 2 ? 12u : 1u);
}
