#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Fixture.h"
#include "Server.h"

using cimhost::cimxml::Server;
using cimhost::cimxml::ServerOptions;

namespace {

struct Outcome {
    int status = -1;
    std::string output;
};

// Runs a shell command, stdout and stderr together.
Outcome run(const std::string& command)
{
    Outcome r;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        r.output.append(buf, n);
    int st = pclose(pipe);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

// Sends raw bytes and reads the answer until the server closes or goes
// quiet; the receive timeout only keeps a broken server from hanging us.
std::string talk(int port, const std::string& bytes)
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return std::string();
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        size_t sent = 0;
        while (sent < bytes.size()) {
            ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += static_cast<size_t>(n);
        }
        char buf[4096];
        ssize_t n;
        while ((n = recv(fd, buf, sizeof buf, 0)) > 0) {
            answer.append(buf, static_cast<size_t>(n));
            // One answer is enough; keep-alive would leave us waiting.
            size_t end = answer.find("\r\n\r\n");
            if (end != std::string::npos) {
                size_t len = answer.find("Content-Length: ");
                size_t want = len == std::string::npos ? 0 : std::stoul(answer.substr(len + 16));
                if (answer.size() >= end + 4 + want)
                    break;
            }
        }
    }
    close(fd);
    return answer;
}

std::string post(const std::string& body, const std::string& extraHeaders = "CIMOperation: MethodCall\r\n")
{
    return "POST /cimom HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/xml; charset=\"utf-8\"\r\n"
           + extraHeaders + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

int statusOf(const std::string& answer)
{
    return answer.size() > 12 && answer.compare(0, 5, "HTTP/") == 0 ? std::atoi(answer.c_str() + 9) : 0;
}

class ServerTest : public ::testing::Test {
protected:
    World world;
    std::unique_ptr<Server> server;
    std::string tempDir;

    void SetUp() override
    {
        ASSERT_EQ(world.loadError, "");
        char pattern[] = "/tmp/cimxml-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        tempDir = pattern;
    }
    void TearDown() override
    {
        if (server)
            server->stop();
        run("rm -rf " + tempDir);
    }

    void start(ServerOptions options = {})
    {
        options.port = 0;
        options.classes = world.catalog;
        server = std::make_unique<Server>(world.broker, options);
        std::string error;
        ASSERT_TRUE(server->start(error)) << error;
        ASSERT_GT(server->port(), 0);
    }

    std::string url(const std::string& object, const std::string& credentials = "") const
    {
        return "'http://" + credentials + "127.0.0.1:" + std::to_string(server->port()) + "/root/cimv2:" + object + "'";
    }

    Outcome wbemcli(const std::string& args) { return run("wbemcli -noverify " + args); }
};

const char* const w1 = "Test_Widget.Name=\"w1\"";

} // namespace

TEST_F(ServerTest, WbemcliDrivesEveryOperation)
{
    start();
    Outcome ei = wbemcli("ei " + url("Test_Widget"));
    ASSERT_EQ(ei.status, 0) << ei.output;
    EXPECT_NE(ei.output.find("Test_Widget.Name=\"w1\" Name=\"w1\",Count=1,Enabled=TRUE"), std::string::npos)
        << ei.output;
    EXPECT_NE(ei.output.find("Name=\"w2\""), std::string::npos) << ei.output;

    Outcome ein = wbemcli("ein " + url("Test_Widget"));
    ASSERT_EQ(ein.status, 0) << ein.output;
    EXPECT_NE(ein.output.find("Test_Widget.Name=\"w2\""), std::string::npos) << ein.output;

    Outcome gi = wbemcli("gi " + url(w1));
    ASSERT_EQ(gi.status, 0) << gi.output;
    EXPECT_NE(gi.output.find("Count=1"), std::string::npos) << gi.output;

    Outcome mi = wbemcli("mi " + url(w1) + " 'Count=7,Note=\"changed\"'");
    ASSERT_EQ(mi.status, 0) << mi.output;
    gi = wbemcli("gi " + url(w1));
    EXPECT_NE(gi.output.find("Count=7"), std::string::npos) << gi.output;
    EXPECT_NE(gi.output.find("Note=\"changed\""), std::string::npos) << gi.output;

    Outcome ai = wbemcli("ai -ac Test_WidgetLink " + url(w1));
    ASSERT_EQ(ai.status, 0) << ai.output;
    EXPECT_NE(ai.output.find("Test_Widget.Name=\"w2\""), std::string::npos) << ai.output;
    Outcome ain = wbemcli("ain -ac Test_WidgetLink " + url(w1));
    ASSERT_EQ(ain.status, 0) << ain.output;
    EXPECT_NE(ain.output.find("Test_Widget.Name=\"w2\""), std::string::npos) << ain.output;
    Outcome ri = wbemcli("ri -arc Test_WidgetLink " + url(w1));
    ASSERT_EQ(ri.status, 0) << ri.output;
    EXPECT_NE(ri.output.find("Test_WidgetLink"), std::string::npos) << ri.output;
    EXPECT_NE(ri.output.find("Dependent="), std::string::npos) << ri.output;
    Outcome rin = wbemcli("rin -arc Test_WidgetLink " + url(w1));
    ASSERT_EQ(rin.status, 0) << rin.output;
    EXPECT_NE(rin.output.find("Test_WidgetLink.Antecedent="), std::string::npos) << rin.output;

    Outcome cm = wbemcli("cm " + url(w1) + " Reset.Mode=4");
    ASSERT_EQ(cm.status, 0) << cm.output;
    EXPECT_NE(cm.output.find("Reset: 40"), std::string::npos) << cm.output;

    // Provider errors reach the client with their code.
    Outcome missing = wbemcli("gi " + url("Test_Widget.Name=\"none\""));
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.output.find("CIM_ERR_NOT_FOUND"), std::string::npos) << missing.output;
}

TEST_F(ServerTest, BasicAuthenticationFromAUsersFile)
{
    std::string users = tempDir + "/users";
    std::ofstream(users) << "# who may come in\nadmin:s3cret\n\noperator:other:colon\n";
    ServerOptions options;
    options.usersFile = users;
    start(options);

    Outcome none = wbemcli("ein " + url("Test_Widget"));
    EXPECT_NE(none.status, 0) << none.output;
    EXPECT_NE(none.output.find("password required"), std::string::npos) << none.output;
    Outcome wrong = wbemcli("ein " + url("Test_Widget", "admin:guess@"));
    EXPECT_NE(wrong.status, 0) << wrong.output;
    Outcome right = wbemcli("ein " + url("Test_Widget", "admin:s3cret@"));
    EXPECT_EQ(right.status, 0) << right.output;
    EXPECT_NE(right.output.find("Name=\"w1\""), std::string::npos) << right.output;

    std::string raw = talk(server->port(), post("<CIM/>"));
    EXPECT_EQ(statusOf(raw), 401) << raw;
    EXPECT_NE(raw.find("WWW-Authenticate: Basic"), std::string::npos) << raw;
    // Passwords may hold colons.
    raw = talk(server->port(), post("<CIM/>", "CIMOperation: MethodCall\r\nAuthorization: Basic "
                                                  "b3BlcmF0b3I6b3RoZXI6Y29sb24=\r\n"));
    EXPECT_EQ(statusOf(raw), 400) << raw;

    ServerOptions unreadable;
    unreadable.usersFile = tempDir + "/absent";
    Server other(world.broker, unreadable);
    std::string error;
    EXPECT_FALSE(other.start(error));
    EXPECT_NE(error.find("absent"), std::string::npos);
}

TEST_F(ServerTest, BrokenRequestsGetProtocolAnswersAndTheServerGoesOn)
{
    ServerOptions options;
    options.maxBody = 64 * 1024;
    start(options);
    int port = server->port();

    std::string raw = talk(port, post("<CIM><MESSAGE ID=\"1\"><SIMPLEREQ><IMETHODCALL"));
    EXPECT_EQ(statusOf(raw), 400) << raw;
    EXPECT_NE(raw.find("CIMError: request-not-well-formed"), std::string::npos) << raw;

    raw = talk(port, post("<html/>"));
    EXPECT_EQ(statusOf(raw), 400) << raw;
    EXPECT_NE(raw.find("CIMError: request-not-valid"), std::string::npos) << raw;

    raw = talk(port, post("<CIM/>", ""));
    EXPECT_EQ(statusOf(raw), 400) << raw;
    EXPECT_NE(raw.find("CIMError: unsupported-operation"), std::string::npos) << raw;

    // Over the limit: refused before the body is read.
    raw = talk(port, "POST /cimom HTTP/1.1\r\nHost: x\r\nCIMOperation: MethodCall\r\n"
                         "Content-Length: 1000000000\r\n\r\n<CIM>");
    EXPECT_EQ(statusOf(raw), 413) << raw;
    raw = talk(port, post(std::string(200 * 1024, 'x')));
    EXPECT_EQ(statusOf(raw), 413) << raw;

    raw = talk(port, "GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(statusOf(raw), 405) << raw;
    raw = talk(port, std::string("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03", 11) + std::string(500, '\0'));
    raw = talk(port, "M-POST /cimom HTTP/1.1\r\nHost: x\r\nMan: http://www.dmtf.org/cim/mapping.http/v1.0;ns=73\r\n"
                         "73-CIMOperation: MethodCall\r\nContent-Length: 6\r\n\r\n<CIM/>");
    EXPECT_GE(statusOf(raw), 400) << raw;

    // A well formed operation on the same socket kind, then the real client.
    raw = talk(port, post("<CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\"><MESSAGE ID=\"7\" PROTOCOLVERSION=\"1.0\">"
                              "<SIMPLEREQ><IMETHODCALL NAME=\"EnumerateInstanceNames\"><LOCALNAMESPACEPATH>"
                              "<NAMESPACE NAME=\"root\"/><NAMESPACE NAME=\"cimv2\"/></LOCALNAMESPACEPATH>"
                              "<IPARAMVALUE NAME=\"ClassName\"><CLASSNAME NAME=\"Test_Widget\"/></IPARAMVALUE>"
                              "</IMETHODCALL></SIMPLEREQ></MESSAGE></CIM>"));
    EXPECT_EQ(statusOf(raw), 200) << raw;
    EXPECT_NE(raw.find("CIMOperation: MethodResponse"), std::string::npos) << raw;
    EXPECT_NE(raw.find("Content-Type: application/xml; charset=\"utf-8\""), std::string::npos) << raw;

    Outcome ein = wbemcli("ein " + url("Test_Widget"));
    EXPECT_EQ(ein.status, 0) << ein.output;
    EXPECT_NE(ein.output.find("Name=\"w1\""), std::string::npos) << ein.output;
}

TEST_F(ServerTest, ClientsAreServedAtTheSameTime)
{
    start();
    std::vector<std::thread> clients;
    std::vector<int> good(6, 0);
    for (size_t c = 0; c < good.size(); ++c)
        clients.emplace_back([&, c] {
            for (int i = 0; i < 3; ++i) {
                Outcome r = wbemcli((c % 2 ? "gi " + url(w1) : "cm " + url(w1) + " Reset.Mode=1"));
                good[c] += r.status == 0;
            }
        });
    for (auto& t : clients)
        t.join();
    for (int g : good)
        EXPECT_EQ(g, 3);
}

TEST(ServerLifecycle, StopRightAfterStartAndRebindFailure)
{
    World world;
    ServerOptions options;
    options.port = 0;
    Server first(world.broker, options);
    std::string error;
    ASSERT_TRUE(first.start(error)) << error;
    options.port = first.port();
    Server second(world.broker, options);
    EXPECT_FALSE(second.start(error));
    EXPECT_NE(error.find(std::to_string(first.port())), std::string::npos) << error;
    first.stop();
    first.wait();
    first.stop();
}

TEST_F(ServerTest, AUsersFileThatNamesNobodyStopsTheStart)
{
    for (const char* text : {"", "# only a comment\n\n", "nocolon\n"}) {
        std::string users = tempDir + "/users";
        std::ofstream(users) << text;
        ServerOptions options;
        options.usersFile = users;
        options.port = 0;
        Server refused(world.broker, options);
        std::string error;
        EXPECT_FALSE(refused.start(error)) << text;
        EXPECT_NE(error.find("names no user"), std::string::npos) << error;
    }
    ServerOptions folder;
    folder.usersFile = tempDir;
    folder.port = 0;
    Server refused(world.broker, folder);
    std::string error;
    EXPECT_FALSE(refused.start(error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

TEST_F(ServerTest, HeadersAreJudgedBeforeAnyBodyAndRefusalsEndTheConnection)
{
    ServerOptions options;
    options.maxBody = 64 * 1024;
    options.maxHeader = 16 * 1024;
    start(options);
    auto timed = [&](const std::string& bytes, double& seconds) {
        auto begin = std::chrono::steady_clock::now();
        std::string raw = talk(server->port(), bytes);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        return raw;
    };
    double seconds = 0;
    // No length and no chunks: answered at once, not after a read timeout.
    std::string raw = timed("POST /cimom HTTP/1.1\r\nHost: x\r\nCIMOperation: MethodCall\r\n\r\n<CIM/>", seconds);
    EXPECT_EQ(statusOf(raw), 411) << raw;
    EXPECT_LT(seconds, 2.0);
    // talk() returns early only when the server closes after its 413.
    raw = timed("POST /cimom HTTP/1.1\r\nHost: x\r\nCIMOperation: MethodCall\r\nContent-Length: 99999999\r\n\r\n", seconds);
    EXPECT_EQ(statusOf(raw), 413) << raw;
    EXPECT_LT(seconds, 2.0);
    raw = timed("POST /cimom HTTP/1.1\r\nHost: x\r\nX-Big: " + std::string(64 * 1024, 'h') + "\r\n\r\n", seconds);
    EXPECT_EQ(statusOf(raw), 431) << raw.substr(0, 200);
    // A chunked body is measured as it comes.
    std::string chunk(40 * 1024, 'x');
    char size[16];
    std::snprintf(size, sizeof size, "%zx", chunk.size());
    raw = timed("POST /cimom HTTP/1.1\r\nHost: x\r\nCIMOperation: MethodCall\r\nTransfer-Encoding: chunked\r\n\r\n"
                    + std::string(size) + "\r\n" + chunk + "\r\n" + size + "\r\n" + chunk + "\r\n0\r\n\r\n",
                seconds);
    EXPECT_NE(statusOf(raw), 200) << raw.substr(0, 200);
    EXPECT_LT(seconds, 2.0);

    // Credentials are checked before the body is read.
    std::string users = tempDir + "/users";
    std::ofstream(users) << "admin:s3cret\n";
    server->stop();
    options.usersFile = users;
    start(options);
    raw = timed("POST /cimom HTTP/1.1\r\nHost: x\r\nCIMOperation: MethodCall\r\nContent-Length: 60000\r\n\r\n", seconds);
    EXPECT_EQ(statusOf(raw), 401) << raw;
    EXPECT_LT(seconds, 2.0);
}

TEST_F(ServerTest, PipelinedRequestsOnOneConnectionAreAnsweredInOrder)
{
    start();
    std::string requests;
    for (const char* name : {"w1", "w2", "w1"})
        requests += post("<?xml version=\"1.0\"?><CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\"><MESSAGE ID=\"" + std::string(name)
                         + "\" PROTOCOLVERSION=\"1.0\"><SIMPLEREQ><IMETHODCALL NAME=\"GetInstance\"><LOCALNAMESPACEPATH>"
                           "<NAMESPACE NAME=\"root\"/><NAMESPACE NAME=\"cimv2\"/></LOCALNAMESPACEPATH>"
                           "<IPARAMVALUE NAME=\"InstanceName\"><INSTANCENAME CLASSNAME=\"Test_Widget\">"
                           "<KEYBINDING NAME=\"Name\"><KEYVALUE>" + name + "</KEYVALUE></KEYBINDING></INSTANCENAME>"
                           "</IPARAMVALUE></IMETHODCALL></SIMPLEREQ></MESSAGE></CIM>");
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(server->port()));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(send(fd, requests.data(), requests.size(), MSG_NOSIGNAL), static_cast<ssize_t>(requests.size()));
    std::string answers;
    char buf[4096];
    ssize_t n;
    while (answers.find("ID=\"w1\"", answers.find("ID=\"w2\"")) == std::string::npos
           && (n = recv(fd, buf, sizeof buf, 0)) > 0)
        answers.append(buf, static_cast<size_t>(n));
    close(fd);
    size_t first = answers.find("ID=\"w1\"");
    size_t second = answers.find("ID=\"w2\"");
    ASSERT_NE(first, std::string::npos) << answers;
    ASSERT_NE(second, std::string::npos) << answers;
    EXPECT_LT(first, second);
    EXPECT_NE(answers.find("ID=\"w1\"", second), std::string::npos) << answers;
}

TEST_F(ServerTest, HttpsWithACertificateAndKey)
{
    const std::string cert = tempDir + "/cert.pem", key = tempDir + "/key.pem";
    Outcome made = run("openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=localhost -keyout " + key
                       + " -out " + cert);
    ASSERT_EQ(made.status, 0) << made.output;
    ServerOptions options;
    options.certFile = cert;
    options.keyFile = key;
    start(options);
    std::string https = "'https://127.0.0.1:" + std::to_string(server->port()) + "/root/cimv2:Test_Widget'";
    Outcome ein = wbemcli("ein " + https);
    EXPECT_EQ(ein.status, 0) << ein.output;
    EXPECT_NE(ein.output.find("Name=\"w1\""), std::string::npos) << ein.output;
    // Plain HTTP on the TLS port gets no CIM answer.
    EXPECT_NE(statusOf(talk(server->port(), post("<CIM/>"))), 200);

    for (auto [c, k] : {std::pair<std::string, std::string>{cert, ""}, {cert, tempDir + "/absent"}, {key, key}}) {
        ServerOptions bad;
        bad.port = 0;
        bad.certFile = c;
        bad.keyFile = k;
        Server refused(world.broker, bad);
        std::string error;
        EXPECT_FALSE(refused.start(error)) << c << " " << k;
        EXPECT_FALSE(error.empty());
    }
}
