// The parts of ipifhost that read the machine and print for people.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>

#include "InterfaceTable.h"
#include "JsonWriter.h"
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

TEST(JsonWriter, ValuesKeepTheirKind)
{
    using ipifhost::JsonWriter;
    EXPECT_EQ(JsonWriter::value(Value::uint16(7)), 7);
    EXPECT_TRUE(JsonWriter::value(Value::uint16(7)).is_number_unsigned());
    // The signed type bits include the unsigned one; -3 must stay -3.
    EXPECT_EQ(JsonWriter::value(Value::sint32(-3)), -3);
    EXPECT_EQ(JsonWriter::value(Value::sint64(-1234567890123LL)), -1234567890123LL);
    EXPECT_EQ(JsonWriter::value(Value::uint64(18446744073709551615ULL)), 18446744073709551615ULL);
    EXPECT_EQ(JsonWriter::value(Value::boolValue(true)), true);
    EXPECT_DOUBLE_EQ(JsonWriter::value(Value::real64(2.5)).get<double>(), 2.5);
    EXPECT_TRUE(JsonWriter::value(Value::null(CMPI_uint16)).is_null());
    EXPECT_EQ(JsonWriter::value(Value::string("a\"b")).dump(), "\"a\\\"b\"");
    EXPECT_EQ(JsonWriter::value(Value::uint16Array({1, 2})).dump(), "[1,2]");
    EXPECT_EQ(JsonWriter::value(Value::stringArray({})).dump(), "[]");

    cimhost::PathSpec path;
    path.nameSpace = "root/cimv2";
    path.className = "Tavrix_X";
    path.keys = {{"Name", Value::string("n")}};
    EXPECT_EQ(JsonWriter::value(Value::reference(path)), "root/cimv2:Tavrix_X.Name=\"n\"");

    cimhost::InstanceSpec inst;
    inst.path = path;
    inst.properties = {{"Name", Value::string("n")}, {"Count", Value::uint32(2)}};
    EXPECT_EQ(JsonWriter::instance(inst).dump(),
              "{\"class\":\"Tavrix_X\",\"path\":\"root/cimv2:Tavrix_X.Name=\\\"n\\\"\","
              "\"properties\":{\"Name\":\"n\",\"Count\":2}}");
}

namespace {

cimhost::InstanceSpec endpoint(const std::string& system, const std::string& name, unsigned origin,
                               cimhost::NamedValues more, const std::string& systemClass = "Tavrix_ComputerSystem")
{
    cimhost::InstanceSpec inst;
    inst.path.className = "Tavrix_IPProtocolEndpoint";
    inst.path.keys = {{"SystemCreationClassName", Value::string(systemClass)},
                      {"SystemName", Value::string(system)},
                      {"Name", Value::string(name + "_x")}};
    inst.properties = {{"ElementName", Value::string(name)},
                       {"AddressOrigin", Value::uint16(origin)},
                       {"EnabledState", Value::uint16(2)}};
    for (const auto& p : more)
        inst.properties.push_back(p);
    return inst;
}

cimhost::InstanceSpec gateway(const std::string& system, const std::string& name, const std::string& address)
{
    cimhost::InstanceSpec inst;
    inst.path.keys = {{"SystemName", Value::string(system)}, {"Name", Value::string(name + "_IPv4")}};
    inst.properties = {{"ElementName", Value::string(name)}, {"AccessInfo", Value::string(address)}};
    return inst;
}

cimhost::InstanceSpec dns(const std::string& id, const std::vector<std::string>& servers)
{
    cimhost::InstanceSpec inst;
    inst.path.keys = {{"InstanceID", Value::string(id)}};
    inst.properties = {{"DNSServerAddresses", Value::stringArray(servers)}};
    return inst;
}

} // namespace

TEST(InterfaceTable, JoinsGatewaysAndDnsByTheirOwnSystemAndInterface)
{
    using ipifhost::InterfaceTable;
    const auto rows = InterfaceTable::rows(
        {endpoint("vm", "eth0", 3,
                  {{"IPv4Address", Value::string("192.0.2.10")}, {"SubnetMask", Value::string("255.255.255.0")},
                   {"PrefixLength", Value::uint32(64)}, {"IPv6Address", Value::string("2001:db8::10")},
                   {"IPv6SubnetPrefixLength", Value::uint16(64)}}),
         endpoint("vm", "eth0:1", 4, {{"IPv4Address", Value::string("192.0.2.11")}, {"PrefixLength", Value::uint32(25)}}),
         endpoint("BMC:-1", "eth0", 3, {}, "Tavrix_SPComputerSystem")},
        {gateway("vm", "eth0", "192.0.2.1"), gateway("BMC:-1", "eth0", "10.0.0.1"), gateway("other", "eth0:1", "x")},
        {dns("Computer:eth0", {"192.0.2.53", "2001:db8::53"}), dns("BMC:eth0", {"10.0.0.53"}),
         dns("Computer:eth0:1", {})});
    ASSERT_EQ(rows.size(), 3u);

    EXPECT_EQ(rows[0].system, "vm");
    EXPECT_EQ(rows[0].origin, "static");
    EXPECT_EQ(rows[0].state, "enabled");
    // The IPv4 prefix comes from the mask, not from the IPv6 prefix length.
    EXPECT_EQ(rows[0].addresses, (std::vector<std::string>{"192.0.2.10/24", "2001:db8::10/64"}));
    EXPECT_EQ(rows[0].gateways, (std::vector<std::string>{"192.0.2.1"}));
    EXPECT_EQ(rows[0].dns, (std::vector<std::string>{"192.0.2.53", "2001:db8::53"}));

    EXPECT_EQ(rows[1].origin, "DHCP");
    EXPECT_EQ(rows[1].addresses, (std::vector<std::string>{"192.0.2.11/25"}));
    EXPECT_TRUE(rows[1].gateways.empty());
    EXPECT_TRUE(rows[1].dns.empty());

    // The service processor's eth0 is not the host's eth0.
    EXPECT_EQ(rows[2].gateways, (std::vector<std::string>{"10.0.0.1"}));
    EXPECT_EQ(rows[2].dns, (std::vector<std::string>{"10.0.0.53"}));
}

TEST(InterfaceTable, TableAlignsColumnsAndJsonKeepsLists)
{
    using ipifhost::InterfaceTable;
    std::vector<InterfaceTable::Row> rows(2);
    rows[0] = {"vm", "eth0", "static", "enabled", {"192.0.2.10/24", "2001:db8::10/64"}, {"192.0.2.1"}, {}};
    rows[1] = {"a-much-longer-name", "e1", "DHCP", "disabled", {}, {}, {"198.51.100.53"}};
    const std::string table = InterfaceTable::table(rows);
    std::istringstream lines(table);
    std::string header, first, second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(header.find("SYSTEM"), 0u);
    // Every column starts at the same offset on every line.
    for (const char* column : {"INTERFACE", "ORIGIN", "STATE", "ADDRESSES", "GATEWAYS", "DNS"}) {
        SCOPED_TRACE(column);
        EXPECT_NE(header.find(column), std::string::npos);
    }
    EXPECT_EQ(first.find("eth0"), header.find("INTERFACE"));
    EXPECT_EQ(second.find("e1"), header.find("INTERFACE"));
    EXPECT_EQ(first.find("192.0.2.10/24,2001:db8::10/64"), header.find("ADDRESSES"));
    EXPECT_EQ(second.find("198.51.100.53"), header.find("DNS"));
    EXPECT_EQ(second.substr(header.find("ADDRESSES"), 1), "-");
    EXPECT_EQ(InterfaceTable::json(rows)[1]["dns"].dump(), "[\"198.51.100.53\"]");
    EXPECT_EQ(InterfaceTable::json(rows)[1]["addresses"].dump(), "[]");
    EXPECT_EQ(InterfaceTable::originName(99), "99");
}
