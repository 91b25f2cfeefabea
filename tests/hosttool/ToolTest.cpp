// The parts of ipifhost that read the machine and print for people.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "LiveImport.h"
#include "MofWriter.h"

using ipifhost::LiveImport;
using ipifhost::MofWriter;
using cimhost::Value;

TEST(LiveImport, DefaultRoutesGiveEachInterfaceItsGateway)
{
    // Little-endian hexadecimal as the kernel writes it: 0102000A is 10.0.2.1.
    const std::string v4 =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n"
        "eth0\t00000000\t0102000A\t0003\t0\t0\t100\t00000000\n"
        "eth0\t0002000A\t00000000\t0001\t0\t0\t100\t00FFFFFF\n"
        "eth1\t00000000\tZZ02000A\t0003\t0\t0\t100\t00000000\n";
    const auto gateways = LiveImport::ipv4Gateways(v4);
    ASSERT_EQ(gateways.size(), 1u);
    EXPECT_EQ(gateways[0].first, "eth0");
    EXPECT_EQ(gateways[0].second, "10.0.2.1");

    const std::string v6 =
        "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
        "fe800000000000000000000000000001 00000400 00000001 00000000 00450003 eth0\n"
        "20010db8000000000000000000000000 40 00000000000000000000000000000000 00 "
        "00000000000000000000000000000000 00000100 00000001 00000000 00000001 eth0\n"
        "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
        "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200 lo\n";
    const auto v6Gateways = LiveImport::ipv6Gateways(v6);
    ASSERT_EQ(v6Gateways.size(), 1u);
    EXPECT_EQ(v6Gateways[0].second, "fe80::1");
}

TEST(LiveImport, ResolverServersAndTheLastSearchLine)
{
    const auto r = LiveImport::resolver("# comment\nnameserver 192.0.2.53\nnameserver 2001:db8::53 # x\n"
                                        "search old.example\nsearch a.example b.example\n");
    EXPECT_EQ(r.servers, (std::vector<std::string>{"192.0.2.53", "2001:db8::53"}));
    EXPECT_EQ(r.search, (std::vector<std::string>{"a.example", "b.example"}));
}

TEST(LiveImport, TheBuiltStoreHasTheDemoShape)
{
    const nlohmann::json store = nlohmann::json::parse(LiveImport::build());
    ASSERT_EQ(store["nodes"].size(), 1u);
    const auto& host = store["nodes"][0];
    EXPECT_EQ(host["type"], "COMPUTER_SYSTEM");
    for (const auto& adapter : host["children"]) {
        EXPECT_EQ(adapter["type"], "NETWORK_ADAPTER");
        ASSERT_EQ(adapter["children"].size(), 1u);
        const auto& ip = adapter["children"][0];
        EXPECT_EQ(ip["type"], "IP_INTERFACE");
        EXPECT_EQ(ip["properties"]["NAME"], adapter["properties"]["NAME"]);
        EXPECT_NE(ip["properties"]["NAME"], "lo");
    }
}

TEST(MofWriter, LiteralsAreQuotedAndEscaped)
{
    EXPECT_EQ(MofWriter::literal(Value::string("a\"b\\c\nd")), "\"a\\\"b\\\\c\\nd\"");
    EXPECT_EQ(MofWriter::literal(Value::uint16(7)), "7");
    EXPECT_EQ(MofWriter::literal(Value::null()), "NULL");
    EXPECT_EQ(MofWriter::literal(Value::stringArray({"x", "y"})), "{\"x\", \"y\"}");
    cimhost::InstanceSpec inst;
    inst.path.className = "Tavrix_X";
    inst.properties = {{"Name", Value::string("n")}, {"Count", Value::uint32(2)}};
    EXPECT_EQ(MofWriter::instance(inst), "instance of Tavrix_X {\n    Name = \"n\";\n    Count = 2;\n};\n");
}
