// Request costs of the companion provider loaded next to the module, on
// generated node stores: what a CIM server pays for the classes the
// companion serves and for its association.
#include <benchmark/benchmark.h>

#include <cmpimacs.h>

#include <map>
#include <string>

#include "BenchSupport.h"
#include "ModuleHarness.h"
#include "Request.h"
#include "Schema.h"
#include "StoreGenerator.h"
#include "Value.h"

namespace {

using testsupport::ModuleHarness;
using benchsupport::failed;
using benchsupport::quietLogger;
using benchsupport::report;
using benchsupport::sceneOf;

const char* const servedClasses[] = {
    "Tavrix_ComputerSystem", "Tavrix_SPComputerSystem", "Tavrix_LANEndpoint",
    "Tavrix_DHCPSettingData", "Tavrix_DNSSettingData", "Tavrix_DNSGeneralSettingData",
    "Tavrix_DNSProtocolEndpoint",
};

const char* const dependency = "Tavrix_DNSSAPSAPDependency";

// The module and the companion over one generated store, and the two ends
// of the association the walks start from.
struct Scene {
    unsigned size;
    ModuleHarness harness;
    bool loaded = false;
    cimhost::PathSpec firstEndpoint;  // the module's, with a DNS endpoint
    cimhost::PathSpec lastEndpoint;   // the module's, last in the store
    // The last instance of each class, as its enumeration names it: the one
    // a scan of the store meets last.
    std::map<std::string, cimhost::PathSpec> lastOf;

    explicit Scene(unsigned n) : size(n), harness(benchstore::generate(n))
    {
        cimhost::Broker& b = harness.broker();
        schema::describeClasses(b);
        std::string error;
        loaded = schema::loadCompanion(b, error) != nullptr;
        if (!loaded)
            return;
        cimhost::Request req(b);
        cimhost::Response ip = req.enumerateInstanceNames(harness.classPath(req, "Tavrix_IPProtocolEndpoint"));
        if (!ip.ok() || ip.paths.empty()) {
            loaded = false;
            return;
        }
        firstEndpoint = cimhost::toPathSpec(ip.paths.front());
        lastEndpoint = cimhost::toPathSpec(ip.paths.back());
        for (const char* cls : servedClasses) {
            cimhost::Response names = req.enumerateInstanceNames(harness.classPath(req, cls));
            if (names.ok() && !names.paths.empty())
                lastOf[cls] = cimhost::toPathSpec(names.paths.back());
        }
        cimhost::Response pairs = req.enumerateInstanceNames(harness.classPath(req, dependency));
        if (pairs.ok() && !pairs.paths.empty())
            lastOf[dependency] = cimhost::toPathSpec(pairs.paths.back());
        loaded = lastOf.count("Tavrix_DNSProtocolEndpoint") == 1;
    }
};

Scene* usableScene(benchmark::State& state)
{
    quietLogger();
    Scene& s = sceneOf<Scene>(static_cast<unsigned>(state.range(0)));
    if (!s.loaded) {
        state.SkipWithError("companion not loaded or no endpoints");
        return nullptr;
    }
    return &s;
}

void enumerate(benchmark::State& state, const char* className, bool namesOnly)
{
    Scene* s = usableScene(state);
    if (!s)
        return;
    size_t seen = 0;
    for (auto _ : state) {
        cimhost::Request req(s->harness.broker());
        CMPIObjectPath* op = s->harness.classPath(req, className);
        cimhost::Response r = namesOnly ? req.enumerateInstanceNames(op) : req.enumerateInstances(op);
        if (failed(state, r))
            return;
        seen = namesOnly ? r.paths.size() : r.instances.size();
    }
    report(state, seen);
}

void get(benchmark::State& state, const char* className)
{
    Scene* s = usableScene(state);
    if (!s)
        return;
    const auto last = s->lastOf.find(className);
    if (last == s->lastOf.end()) {
        state.SkipWithError("no instance to ask for");
        return;
    }
    for (auto _ : state) {
        cimhost::Request req(s->harness.broker());
        cimhost::Response r = req.getInstance(req.makePath(last->second));
        if (failed(state, r, 1))
            return;
    }
    report(state, 1);
}

void references(benchmark::State& state, bool fromDns)
{
    Scene* s = usableScene(state);
    if (!s)
        return;
    size_t seen = 0;
    for (auto _ : state) {
        cimhost::Request req(s->harness.broker());
        CMPIObjectPath* op = req.makePath(fromDns ? s->lastOf.at("Tavrix_DNSProtocolEndpoint") : s->firstEndpoint);
        cimhost::Response r = req.references(op, dependency);
        if (failed(state, r, 1))
            return;
        seen = r.instances.size();
    }
    report(state, seen);
}

// The module's own association to the LAN endpoint: it asks the companion
// for the one endpoint through the broker.
void moduleAssociators(benchmark::State& state)
{
    Scene* s = usableScene(state);
    if (!s)
        return;
    for (auto _ : state) {
        cimhost::Request req(s->harness.broker());
        cimhost::Response r = req.associators(req.makePath(s->lastEndpoint), "Tavrix_BindsToLanEndPoint",
                                              "Tavrix_LANEndpoint", nullptr, nullptr);
        if (failed(state, r, 1))
            return;
    }
    report(state, 1);
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int n : {1024, 4096})
        b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

int registerAll()
{
    for (const char* cls : servedClasses) {
        benchmark::RegisterBenchmark((std::string("Companion/Enum/") + cls).c_str(),
                                     [cls](benchmark::State& st) { enumerate(st, cls, false); })
            ->Apply(sizes);
        benchmark::RegisterBenchmark((std::string("Companion/EnumNames/") + cls).c_str(),
                                     [cls](benchmark::State& st) { enumerate(st, cls, true); })
            ->Apply(sizes);
    }
    for (const char* cls : servedClasses)
        benchmark::RegisterBenchmark((std::string("Companion/Get/") + cls).c_str(),
                                     [cls](benchmark::State& st) { get(st, cls); })
            ->Apply(sizes);
    benchmark::RegisterBenchmark((std::string("Companion/Get/") + dependency).c_str(),
                                 [](benchmark::State& st) { get(st, dependency); })
        ->Apply(sizes);
    benchmark::RegisterBenchmark((std::string("Companion/Enum/") + dependency).c_str(),
                                 [](benchmark::State& st) { enumerate(st, dependency, false); })
        ->Apply(sizes);
    benchmark::RegisterBenchmark((std::string("Companion/EnumNames/") + dependency).c_str(),
                                 [](benchmark::State& st) { enumerate(st, dependency, true); })
        ->Apply(sizes);
    benchmark::RegisterBenchmark((std::string("Companion/References/") + dependency).c_str(),
                                 [](benchmark::State& st) { references(st, false); })
        ->Apply(sizes);
    // From the DNS end every IP endpoint is asked for its DNS endpoint.
    benchmark::RegisterBenchmark((std::string("Companion/ReferencesFromDNS/") + dependency).c_str(),
                                 [](benchmark::State& st) { references(st, true); })
        ->Apply(sizes);
    benchmark::RegisterBenchmark("Companion/ModuleAssociators/Tavrix_BindsToLanEndPoint", moduleAssociators)
        ->Apply(sizes);
    return 0;
}

const int registered = registerAll();

} // namespace

BENCHMARK_MAIN();
