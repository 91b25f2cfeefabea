// ipifhost as a person or a script runs it: help, the interface table and
// JSON output, on a copy of the demo system.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class CommandLine : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/ipifhost-cli-XXXXXX";
        folder = mkdtemp(pattern);
        std::ifstream in(DEMO_STORE, std::ios::binary);
        std::ofstream out(folder + "/store.json", std::ios::binary);
        out << in.rdbuf();
    }
    static void TearDownTestSuite() { std::system(("rm -rf '" + folder + "'").c_str()); }

    static std::string quoted(const std::string& word)
    {
        std::string out = "'";
        for (char c : word)
            out += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return out + "'";
    }

    // Runs ipifhost on the copied store with the arguments.
    static Outcome run(const std::vector<std::string>& arguments)
    {
        std::string command = quoted(IPIFHOST);
        for (const std::string& a : arguments)
            command += " " + quoted(a);
        command += " --store " + quoted(folder + "/store.json") + " --data-dir " + quoted(folder + "/") +
                   " 2>" + quoted(folder + "/err");
        Outcome r;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return r;
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            r.out.append(buffer, n);
        const int status = pclose(pipe);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(folder + "/err");
        r.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
        return r;
    }

    static std::string folder;
};

std::string CommandLine::folder;

const char* const endpointEth0 =
    "root/cimv2:Tavrix_IPProtocolEndpoint.SystemCreationClassName=\"Tavrix_ComputerSystem\",SystemName=\"vm\","
    "CreationClassName=\"Tavrix_IPProtocolEndpoint\",Name=\"eth0_52:54:00:12:34:56_3\"";

} // namespace

TEST_F(CommandLine, HelpPrintsUsageAndSucceeds)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"help"}}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_EQ(r.out.rfind("usage: ipifhost COMMAND", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("  show "), std::string::npos);
        // Every option the tool takes is named, the live store's included.
        for (const char* option : {"--store", "--data-dir", "--format", "--live", "--allow-changes"})
            EXPECT_NE(r.out.find(option), std::string::npos) << option;
        EXPECT_TRUE(r.err.empty()) << r.err;
    }
    for (const char* command : {"show", "ei", "gi", "cm", "serve", "demo", "import-live"}) {
        const Outcome r = run({command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("usage: ipifhost ") + command + " ", 0), 0u) << r.out;
    }
    // Usage errors still fail, on standard error.
    const Outcome unknown = run({"--no-such-option"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown option --no-such-option"), std::string::npos);
    EXPECT_TRUE(unknown.out.empty());
    EXPECT_EQ(run({"frobnicate", "--help"}).status, 2);
}

TEST_F(CommandLine, ShowTabulatesEveryInterfaceOfTheDemoSystem)
{
    const Outcome r = run({"show"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header, line;
    std::getline(lines, header);
    EXPECT_EQ(header.rfind("SYSTEM  INTERFACE  ORIGIN", 0), 0u) << header;
    std::map<std::string, std::string> byInterface;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string system, interface;
        words >> system >> interface;
        byInterface[system + " " + interface] = line;
    }
    ASSERT_EQ(byInterface.size(), 4u) << r.out;
    const std::string eth0 = byInterface["vm eth0"];
    EXPECT_NE(eth0.find(" static "), std::string::npos) << eth0;
    EXPECT_NE(eth0.find("192.0.2.10/24,2001:db8:0:1::10/64"), std::string::npos) << eth0;
    EXPECT_NE(eth0.find("192.0.2.1"), std::string::npos) << eth0;
    EXPECT_NE(eth0.find("2001:db8:0:1::53"), std::string::npos) << eth0;
    EXPECT_NE(byInterface["vm eth1"].find(" DHCP "), std::string::npos);
    EXPECT_NE(byInterface["BMC:-1 bmc0"].find("10.0.0.1"), std::string::npos);
}

TEST_F(CommandLine, JsonOutputParsesAndKeepsTypes)
{
    const Outcome show = run({"show", "--format", "json"});
    ASSERT_EQ(show.status, 0) << show.err;
    const auto rows = nlohmann::json::parse(show.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0]["interface"], "eth0");
    EXPECT_EQ(rows[0]["gateways"].size(), 2u);

    const Outcome ei = run({"ei", "Tavrix_IPProtocolEndpoint", "--format", "json"});
    ASSERT_EQ(ei.status, 0) << ei.err;
    const auto instances = nlohmann::json::parse(ei.out);
    ASSERT_EQ(instances.size(), 4u);
    for (const auto& inst : instances) {
        EXPECT_EQ(inst["class"], "Tavrix_IPProtocolEndpoint");
        EXPECT_TRUE(inst["properties"]["AddressOrigin"].is_number_unsigned());
        EXPECT_EQ(inst["path"].get<std::string>().rfind("root/cimv2:Tavrix_IPProtocolEndpoint.", 0), 0u);
    }

    const Outcome ein = run({"ein", "Tavrix_IPRemoteServiceAccessPoint", "--format", "json"});
    ASSERT_EQ(ein.status, 0) << ein.err;
    const auto names = nlohmann::json::parse(ein.out);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_TRUE(names[0].is_string());

    // gi answers one object, whose path gets the same instance back.
    const Outcome gi = run({"gi", endpointEth0, "--format", "json"});
    ASSERT_EQ(gi.status, 0) << gi.err;
    const auto one = nlohmann::json::parse(gi.out);
    EXPECT_EQ(one["properties"]["IPv4Address"], "192.0.2.10");
    const Outcome again = run({"gi", one["path"].get<std::string>(), "--format", "json"});
    EXPECT_EQ(nlohmann::json::parse(again.out), one);
}

TEST_F(CommandLine, FormatsACommandDoesNotOfferAreUsageErrors)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"ei", "Tavrix_IPProtocolEndpoint", "--format", "xml"},
             {"show", "--format", "mof"},
             {"serve", "--format", "json"}}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args[0] << " " << args[3 - (args.size() == 3)];
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("--format"), std::string::npos);
    }
}
