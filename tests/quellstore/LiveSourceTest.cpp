#include <gtest/gtest.h>

#include <string>
#include <vector>

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
