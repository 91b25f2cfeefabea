// Requests/s and p99 latency of `ipifhost serve` builds side by side: 1, 8
// and 32 clients, each with a new connection per request or one kept
// alive. Prints a Markdown table.
//   server_bench --store FILE --seconds S LABEL=IPIFHOST [LABEL=IPIFHOST...]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "HttpClient.h"
#include "ServerProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double perSecond = 0;
    double p50 = 0, p99 = 0;  // milliseconds
    long failed = 0;
    long done = 0;
};

Figures measure(int port, const std::string& body, int clients, bool keepAlive, double seconds)
{
    std::vector<std::vector<double>> latencies(static_cast<size_t>(clients));
    std::atomic<long> failed{0};
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c)
        threads.emplace_back([&, c] {
            HttpClient client(port, keepAlive, 10000);
            HttpClient::Reply r;
            while (Clock::now() < end) {
                auto t0 = Clock::now();
                bool ok = client.call(body, r) && r.status == 200;
                double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
                if (ok)
                    latencies[static_cast<size_t>(c)].push_back(ms);
                else
                    ++failed;
            }
        });
    for (std::thread& t : threads)
        t.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<double> all;
    for (auto& l : latencies)
        all.insert(all.end(), l.begin(), l.end());
    std::sort(all.begin(), all.end());
    Figures f;
    f.done = static_cast<long>(all.size());
    f.failed = failed;
    f.perSecond = static_cast<double>(all.size()) / elapsed;
    if (!all.empty()) {
        f.p50 = all[all.size() / 2];
        f.p99 = all[std::min(all.size() - 1, all.size() * 99 / 100)];
    }
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    std::string store;
    double seconds = 3;
    std::vector<std::pair<std::string, std::string>> servers;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--store" && i + 1 < argc) {
            store = argv[++i];
        } else if (a == "--seconds" && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (a.find('=') != std::string::npos) {
            servers.emplace_back(a.substr(0, a.find('=')), a.substr(a.find('=') + 1));
        } else {
            std::fprintf(stderr, "usage: server_bench --store FILE [--seconds S] LABEL=IPIFHOST...\n");
            return 2;
        }
    }
    if (store.empty() || servers.empty()) {
        std::fprintf(stderr, "usage: server_bench --store FILE [--seconds S] LABEL=IPIFHOST...\n");
        return 2;
    }
    std::printf("| build | connection | clients | requests/s | p50 ms | p99 ms | failed |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const auto& [label, binary] : servers) {
        ServerProcess server;
        std::string error;
        if (!server.start(binary, store, {}, error)) {
            std::fprintf(stderr, "%s: %s\n", label.c_str(), error.c_str());
            return 1;
        }
        // GetInstance of the first endpoint: a typical single-object request.
        HttpClient probe(server.port(), false);
        HttpClient::Reply r;
        probe.call(HttpClient::enumerate("EnumerateInstanceNames", "root/cimv2", "Tavrix_IPProtocolEndpoint"), r);
        size_t b = r.body.find("<INSTANCENAME");
        size_t e = r.body.find("</INSTANCENAME>", b);
        if (b == std::string::npos || e == std::string::npos) {
            std::fprintf(stderr, "%s: no endpoint to ask for\n", label.c_str());
            return 1;
        }
        const std::string body = HttpClient::intrinsic(
            "GetInstance", "root/cimv2", "<IPARAMVALUE NAME=\"InstanceName\">" + r.body.substr(b, e + 15 - b) + "</IPARAMVALUE>");
        for (bool keepAlive : {false, true})
            for (int clients : {1, 8, 32}) {
                Figures f = measure(server.port(), body, clients, keepAlive, seconds);
                std::printf("| %s | %s | %d | %.0f | %.2f | %.2f | %ld |\n", label.c_str(),
                            keepAlive ? "kept alive" : "new each request", clients, f.perSecond, f.p50, f.p99,
                            f.failed);
                std::fflush(stdout);
                // Let closed connections drain from TIME_WAIT bursts.
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
            }
    }
    return 0;
}
