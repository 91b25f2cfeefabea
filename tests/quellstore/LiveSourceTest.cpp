#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "LiveSource.h"
#include "NodeLexicon.h"

using Korvu::NodeLexicon;
using Korvu::StoreDetail::LiveSource;

TEST(ResolverTest, ServersInOrderAndTheLastSearchLineCounts)
{
    std::vector<std::string> servers, search;
    LiveSource::parseResolver("# generated\n"
                              "nameserver 192.0.2.53\n"
                              "search old.example\n"
                              "  nameserver\t2001:db8::53   # second\n"
                              "nameserver\n"
                              "; nameserver 192.0.2.99\n"
                              "options ndots:2\n"
                              "domain first.example\n"
                              "search a.example b.example\n"
                              "nameserver 198.51.100.53;trailing\n",
                              servers, search);
    EXPECT_EQ(servers, (std::vector<std::string>{"192.0.2.53", "2001:db8::53", "198.51.100.53"}));
    EXPECT_EQ(search, (std::vector<std::string>{"a.example", "b.example"}));
}

TEST(ResolverTest, EmptyOrForeignTextGivesNothing)
{
    std::vector<std::string> servers, search;
    LiveSource::parseResolver("", servers, search);
    LiveSource::parseResolver(std::string("\0\xff\n\r\nnameservers 1.2.3.4\nsearchx a\n", 36), servers, search);
    EXPECT_TRUE(servers.empty());
    EXPECT_TRUE(search.empty());
}

TEST(MaskTest, ContiguousMasksGiveTheirPrefixOthersAreRefused)
{
    EXPECT_EQ(LiveSource::prefixOfMask("255.255.255.0"), 24);
    EXPECT_EQ(LiveSource::prefixOfMask("255.255.128.0"), 17);
    EXPECT_EQ(LiveSource::prefixOfMask("255.255.255.255"), 32);
    EXPECT_EQ(LiveSource::prefixOfMask("0.0.0.0"), 0);
    EXPECT_EQ(LiveSource::prefixOfMask("255.0.255.0"), -1);
    EXPECT_EQ(LiveSource::prefixOfMask("0.255.255.255"), -1);
    EXPECT_EQ(LiveSource::prefixOfMask("255.255.255"), -1);
    EXPECT_EQ(LiveSource::prefixOfMask(""), -1);
    EXPECT_EQ(LiveSource::prefixOfMask("24"), -1);
}

TEST(MaskTest, LinkLocalIsTheWholeOfFe80Slash10)
{
    EXPECT_TRUE(LiveSource::isLinkLocal("fe80::1"));
    EXPECT_TRUE(LiveSource::isLinkLocal("febf:ffff::1"));
    EXPECT_FALSE(LiveSource::isLinkLocal("fec0::1"));
    EXPECT_FALSE(LiveSource::isLinkLocal("fe7f::1"));
    EXPECT_FALSE(LiveSource::isLinkLocal("2001:db8::1"));
    EXPECT_FALSE(LiveSource::isLinkLocal("169.254.0.1"));
    EXPECT_FALSE(LiveSource::isLinkLocal(""));
}

// These never reach the kernel: the interface named does not even exist.
TEST(LiveWriteTest, DnsAndOtherPropertiesAreRefusedWithTheirReason)
{
    LiveSource::Interface none;
    none.link = "no-such-link";
    const std::string dns =
        LiveSource::apply(none, NodeLexicon::DNS_SERVERS, std::vector<std::string>{"192.0.2.53"});
    EXPECT_NE(dns.find("DNS settings are read only"), std::string::npos) << dns;
    EXPECT_NE(LiveSource::apply(none, NodeLexicon::DOMAIN_NAME, std::string("example.org")).find("read only"),
              std::string::npos);
    const std::string host = LiveSource::apply(none, NodeLexicon::HOST_NAME, std::string("other"));
    EXPECT_NE(host.find("HOST_NAME cannot be changed"), std::string::npos) << host;
    const std::string address = LiveSource::apply(none, NodeLexicon::IPV4_ADDRESS, std::string("192.0.2.1"));
    EXPECT_NE(address.find("no-such-link not found"), std::string::npos) << address;
}

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

// The origin never reaches the kernel, so these run anywhere.
TEST(LiveOriginTest, AnOriginIsKeptInTheFileBesideTheStoreForTheNextProcess)
{
    char folder[] = "/tmp/ipif-origins-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/origins.json";
    LiveSource::keepOriginsIn(file);

    LiveSource::Interface alias;
    alias.link = "no-such-link";
    alias.name = "no-such-link:1";
    alias.ipv4 = "192.0.2.5";
    EXPECT_EQ(LiveSource::apply(alias, NodeLexicon::ADDRESS_ORIGIN, 1u), "");
    LiveSource::Interface bare;
    bare.link = bare.name = "no-such-link";
    EXPECT_EQ(LiveSource::apply(bare, NodeLexicon::ADDRESS_ORIGIN, 3u), "");
    EXPECT_NE(LiveSource::apply(bare, NodeLexicon::ADDRESS_ORIGIN, std::string("3")), "");

    // Another process finds both, and keeps them when it adds its own.
    std::string written = readAll(file);
    nlohmann::json records = nlohmann::json::parse(written).at("origins");
    ASSERT_EQ(records.size(), 2u) << written;
    LiveSource::keepOriginsIn(file);
    alias.ipv4 = "192.0.2.6";
    EXPECT_EQ(LiveSource::apply(alias, NodeLexicon::ADDRESS_ORIGIN, 3u), "");
    written = readAll(file);
    records = nlohmann::json::parse(written).at("origins");
    ASSERT_EQ(records.size(), 3u) << written;
    std::vector<std::string> seen;
    for (const auto& r : records)
        seen.push_back(r.at("interface").get<std::string>() + " " + r.at("address").get<std::string>() + " " +
                       std::to_string(r.at("origin").get<unsigned int>()));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"no-such-link  3", "no-such-link:1 192.0.2.5 1",
                                              "no-such-link:1 192.0.2.6 3"}));

    // A file that cannot be written refuses the origin with the reason and
    // leaves what was kept alone.
    ASSERT_EQ(std::remove(file.c_str()), 0);
    ASSERT_EQ(mkdir(file.c_str(), 0755), 0);
    const std::string why = LiveSource::apply(bare, NodeLexicon::ADDRESS_ORIGIN, 1u);
    EXPECT_NE(why.find("cannot be kept"), std::string::npos) << why;
    rmdir(file.c_str());
    rmdir(folder);
    LiveSource::keepOriginsIn(std::string());
}
