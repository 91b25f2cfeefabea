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
#include "NodeTree.h"

using Korvu::NodeLexicon;
using Korvu::StoreDetail::LiveSource;
using Korvu::StoreDetail::NodeTree;

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

namespace {

// A copy: the class constant has no definition to bind a reference to.
const std::size_t none = NodeTree::none;

// A layout as the live source makes it: per link its IP interface nodes in
// the kernel's address order, named <link>, <link>-1, ...
struct Address {
    std::string name;
    std::string address;
};

std::shared_ptr<NodeTree> layout(const std::vector<std::pair<std::string, std::vector<Address>>>& links)
{
    nlohmann::json adapters = nlohmann::json::array();
    for (const auto& link : links) {
        nlohmann::json adapter = {{"name", "adapter-" + link.first}, {"type", "NETWORK_ADAPTER"},
                                  {"properties", {{"NAME", link.first}}}};
        nlohmann::json interfaces = nlohmann::json::array();
        for (const Address& a : link.second) {
            nlohmann::json p = {{"NAME", a.name}};
            if (a.address.find(':') != std::string::npos) {
                p["IPV6_ADDRESS"] = a.address;
                p["IP_VERSION"] = 6u;
            } else {
                if (!a.address.empty())
                    p["IPV4_ADDRESS"] = a.address;
                p["IP_VERSION"] = 4u;
            }
            const std::string node =
                interfaces.empty() ? a.name : a.name + "-" + std::to_string(interfaces.size());
            interfaces.push_back({{"name", node}, {"type", "IP_INTERFACE"}, {"properties", p}});
        }
        adapter["children"] = interfaces;
        adapters.push_back(adapter);
    }
    nlohmann::json system = {{"name", "host"}, {"type", "COMPUTER_SYSTEM"}, {"children", adapters}};
    return NodeTree::parse(nlohmann::json({{"version", 1}, {"nodes", {system}}}).dump(), "test layout");
}

std::size_t holding(const NodeTree& tree, const std::string& link, const std::string& address)
{
    for (std::size_t n = 0; n < tree.size(); ++n) {
        if (tree.at(n).type != NodeLexicon::IP_INTERFACE ||
            tree.at(n).path.rfind("/host/adapter-" + link + "/", 0) != 0)
            continue;
        const unsigned int family =
            address.find(':') != std::string::npos ? NodeLexicon::IPV6_ADDRESS : NodeLexicon::IPV4_ADDRESS;
        const auto* p = tree.property(n, family);
        const std::string* text = p ? std::get_if<std::string>(&p->value) : nullptr;
        if (address.empty() ? !tree.property(n, NodeLexicon::IPV4_ADDRESS) &&
                                  !tree.property(n, NodeLexicon::IPV6_ADDRESS)
                            : text && *text == address)
            return n;
    }
    return none;
}

} // namespace

// Between two writes of one request the kernel may list a link's addresses
// in another order (an address removed and added again): the write through
// a cursor of the older layout must reach the same address, not the node
// that now has the same place.
TEST(LiveCounterpartTest, ANodeIsFoundAgainByItsLinkNameAndAddressNotItsPlace)
{
    auto before = layout({{"veth2", {{"veth2", "10.20.0.1"}, {"veth2", "10.20.0.2"}, {"veth2", "fe80::1"}}},
                          {"veth4", {{"veth4", "10.40.0.1"}, {"veth4:1", "10.40.0.2"}}},
                          {"veth7", {{"veth7", ""}}}});
    auto after = layout({{"veth2", {{"veth2", "10.20.0.2"}, {"veth2", "fe80::1"}, {"veth2", "10.20.0.1"}}},
                         {"veth4", {{"veth4", "10.20.0.1"}, {"veth4", "10.40.0.1"}, {"veth4:1", "10.40.0.9"}}},
                         {"veth7", {{"veth7", ""}}}});

    for (const auto& [link, address] : std::vector<std::pair<std::string, std::string>>{
             {"veth2", "10.20.0.1"}, {"veth2", "10.20.0.2"}, {"veth2", "fe80::1"}, {"veth4", "10.40.0.1"},
             {"veth7", ""}}) {
        const std::size_t held = holding(*before, link, address);
        ASSERT_NE(held, none) << link << " " << address;
        const std::size_t found = LiveSource::counterpart(*before, held, *after);
        ASSERT_NE(found, none) << link << " " << address;
        EXPECT_EQ(after->at(found).path, after->at(holding(*after, link, address)).path)
            << link << " " << address << " was at " << before->at(held).path;
    }

    // The alias's address is gone (another took its label): nothing to write to.
    const std::size_t alias = holding(*before, "veth4", "10.40.0.2");
    ASSERT_NE(alias, none);
    EXPECT_EQ(LiveSource::counterpart(*before, alias, *after), none);

    // The system and the adapters are named by what does not move.
    EXPECT_EQ(LiveSource::counterpart(*before, before->find("/host"), *after), after->find("/host"));
    EXPECT_EQ(LiveSource::counterpart(*before, before->find("/host/adapter-veth4"), *after),
              after->find("/host/adapter-veth4"));
}

// A write that changes a node's address and a later write through a cursor
// of a tree from before it: the later one follows the address to its new
// place, also over several changes and back again.
TEST(LiveCounterpartTest, ANodeWhoseAddressThisStoreChangedIsFoundByItsNewAddress)
{
    auto before = layout({{"veth2", {{"veth2", "10.20.0.9"}, {"veth2", "2001:db8::9"}}}, {"veth3", {{"veth3", ""}}}});
    auto after = layout({{"veth2", {{"veth2", "2001:db8::7"}, {"veth2", "10.20.0.33"}}},
                         {"veth3", {{"veth3", "10.30.0.1"}}}});
    LiveSource::Moves moves;
    moves.record("veth2", "veth2", NodeLexicon::IPV4_ADDRESS, "10.20.0.9", "10.20.0.12");
    moves.record("veth2", "veth2", NodeLexicon::IPV4_ADDRESS, "10.20.0.12", "10.20.0.33");
    moves.record("veth2", "veth2", NodeLexicon::IPV6_ADDRESS, "2001:db8::9", "2001:DB8:0::7");
    moves.record("veth3", "veth3", NodeLexicon::IPV4_ADDRESS, "", "10.30.0.1");

    const std::size_t v4 = holding(*before, "veth2", "10.20.0.9");
    const std::size_t v6 = holding(*before, "veth2", "2001:db8::9");
    const std::size_t bare = holding(*before, "veth3", "");
    ASSERT_NE(v4, none);
    ASSERT_NE(v6, none);
    ASSERT_NE(bare, none);
    EXPECT_EQ(LiveSource::counterpart(*before, v4, *after, moves), holding(*after, "veth2", "10.20.0.33"));
    EXPECT_EQ(LiveSource::counterpart(*before, v6, *after, moves), holding(*after, "veth2", "2001:db8::7"));
    EXPECT_EQ(LiveSource::counterpart(*before, bare, *after, moves), holding(*after, "veth3", "10.30.0.1"));
    // Without the record the old address is nowhere.
    EXPECT_EQ(LiveSource::counterpart(*before, v4, *after), none);

    // A link-local node given an IPv4 address holds both until the kernel
    // lists them apart; it is found as either, never as another interface's.
    auto mixed = layout({{"veth6", {{"veth6", "fe80::6"}}}});
    NodeTree& mixedTree = *mixed;
    Korvu::StoreDetail::Property given;
    given.value = std::string("10.70.0.5");
    mixedTree.setProperty(holding(mixedTree, "veth6", "fe80::6"), NodeLexicon::IPV4_ADDRESS, given);
    auto apart = layout({{"veth6", {{"veth6:9", "10.70.0.5"}, {"veth6", "10.70.0.7"}, {"veth6", "fe80::6"},
                                    {"veth6", "10.70.0.5"}}}});
    const std::size_t found = LiveSource::counterpart(mixedTree, holding(mixedTree, "veth6", "fe80::6"), *apart);
    EXPECT_TRUE(found == holding(*apart, "veth6", "fe80::6") || found == apart->find("/host/adapter-veth6/veth6-3"))
        << (found == none ? std::string("none") : apart->at(found).path);

    // Back to where it was: the old address is its own again.
    moves.record("veth2", "veth2", NodeLexicon::IPV4_ADDRESS, "10.20.0.33", "10.20.0.9");
    EXPECT_EQ(LiveSource::counterpart(*before, v4, *before, moves), v4);
    // A change of another interface's address is not followed.
    moves.record("veth2", "veth2:1", NodeLexicon::IPV4_ADDRESS, "10.20.0.9", "10.20.0.44");
    EXPECT_EQ(LiveSource::counterpart(*before, v4, *before, moves), v4);
}
