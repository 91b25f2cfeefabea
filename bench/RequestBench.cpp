// Request costs through the module's factories and the embedded broker on
// generated node stores, next to the floor: a bare cursor walk reading what
// an endpoint's SystemName and Name keys need.
#include <benchmark/benchmark.h>

#include <cmpimacs.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Instrumentation.h"
#include "ModuleHarness.h"
#include "NodeStore.h"
#include "Request.h"
#include "StaticInstanceProvider.h"
#include "StoreGenerator.h"
#include "Value.h"

namespace {

using testsupport::ModuleHarness;
using benchsupport::failed;
using benchsupport::quietLogger;
using benchsupport::report;
using benchsupport::sceneOf;

const char* const servedClasses[] = {
    "Tavrix_IPProtocolEndpoint", "Tavrix_IPAssignmentSettingData",
    "Tavrix_StaticIPAssignmentSettingData", "Tavrix_IPRemoteServiceAccessPoint",
    "Tavrix_IPEnabledLogicalElementCapabilities", "Tavrix_IPConfigurationService",
};

const char* const associationClasses[] = {
    "Tavrix_BindsToLanEndPoint", "Tavrix_IPElementSettingData", "Tavrix_StaticOrderedComponent",
    "Tavrix_IPHostedAccessPoint", "Tavrix_StaticIPElementSettingData",
    "Tavrix_RemoteHostedAccessPoint", "Tavrix_IPRemoteAccessAvailableToElement",
    "Tavrix_SPHostedAccessPoint", "Tavrix_IPElementCapabilities", "Tavrix_IPHostedService",
    "Tavrix_IPServiceAffectsElement",
};

std::string hostName()
{
    char name[257] = {};
    gethostname(name, 256);
    return name;
}

cimhost::InstanceSpec namedInstance(const std::string& className, const std::string& name,
                                    const std::string& systemClass = std::string(),
                                    const std::string& systemName = std::string())
{
    cimhost::InstanceSpec described;
    described.path.nameSpace = ModuleHarness::nameSpace;
    described.path.className = className;
    if (!systemClass.empty())
        described.path.keys = {{"SystemCreationClassName", cimhost::Value::string(systemClass)},
                               {"SystemName", cimhost::Value::string(systemName)}};
    described.path.keys.push_back({"CreationClassName", cimhost::Value::string(className)});
    described.path.keys.push_back({"Name", cimhost::Value::string(name)});
    described.properties = described.path.keys;
    return described;
}

// The scene of one store size: the module over the generated store, the
// providers of the ends other providers serve, and the endpoint paths.
struct Scene {
    unsigned size;
    ModuleHarness harness;
    cimhost::StaticInstanceProvider lan;
    cimhost::StaticInstanceProvider host;
    cimhost::StaticInstanceProvider bmc;
    cimhost::PathSpec firstEndpoint;
    cimhost::PathSpec lastEndpoint;

    explicit Scene(unsigned n) : size(n), harness(benchstore::generate(n))
    {
        cimhost::Broker& b = harness.broker();
        b.registerInstanceProvider("Tavrix_LANEndpoint", lan.mi());
        b.registerInstanceProvider("Tavrix_ComputerSystem", host.mi());
        b.registerInstanceProvider("Tavrix_SPComputerSystem", bmc.mi());
        for (unsigned i = 0; i + 1 < n; ++i)
            lan.add(namedInstance("Tavrix_LANEndpoint", "eth" + std::to_string(i), "Tavrix_ComputerSystem",
                                  hostName()));
        lan.add(namedInstance("Tavrix_LANEndpoint", "bmc0", "Tavrix_SPComputerSystem", "BMC:-1"));
        host.add(namedInstance("Tavrix_ComputerSystem", hostName()));
        bmc.add(namedInstance("Tavrix_SPComputerSystem", "BMC:-1"));

        cimhost::Request req(b);
        cimhost::Response names = req.enumerateInstanceNames(harness.classPath(req, "Tavrix_IPProtocolEndpoint"));
        if (!names.ok() || names.paths.empty())
            return;
        firstEndpoint = describe(names.paths.front());
        lastEndpoint = describe(names.paths.back());
    }

    static cimhost::PathSpec describe(const CMPIObjectPath* path)
    {
        cimhost::PathSpec described;
        described.nameSpace = ModuleHarness::nameSpace;
        described.className = "Tavrix_IPProtocolEndpoint";
        for (const char* key : {"SystemCreationClassName", "SystemName", "CreationClassName", "Name"})
            described.keys.push_back({key, cimhost::Value::string(testsupport::keyText(path, key))});
        return described;
    }
};

void floorWalk(benchmark::State& state)
{
    quietLogger();
    sceneOf<Scene>(static_cast<unsigned>(state.range(0)));
    size_t seen = 0;
    for (auto _ : state) {
        seen = 0;
        // As a request walks: one look at the store file.
        Korvu::NodeStore::ReadScope request;
        Korvu::Instrumentation cursor;
        for (cursor.selectNode(Korvu::NodeLexicon::IP_INTERFACE); cursor; ++cursor) {
            std::string name, macAddress;
            unsigned int origin = 0;
            cursor.getProperty(Korvu::NodeLexicon::NAME, name);
            cursor.getProperty(Korvu::NodeLexicon::MAC_ADDRESS, macAddress);
            cursor.getProperty(Korvu::NodeLexicon::ADDRESS_ORIGIN, origin);
            std::string adapter = cursor.getPathToParentNode();
            Korvu::Instrumentation system;
            system.selectNode(adapter);
            system.selectNode(system.getPathToParentNode());
            std::string description = system.getNodeDescription();
            benchmark::DoNotOptimize(description);
            ++seen;
        }
    }
    report(state, seen);
}

// Runs the request CACHESIM_WARMUP times (none when unset) before the timed
// loop: under a simulated cache (bench/cachesim.sh, which leaves this
// function out of its count), the timed request then meets the caches and
// the reused request memory the timed loop keeps, not the setup's.
__attribute__((noinline)) void warmUp(const std::function<void()>& request)
{
    const char* times = std::getenv("CACHESIM_WARMUP");
    for (int i = times ? std::atoi(times) : 0; i > 0; --i)
        request();
}

void enumerate(benchmark::State& state, const char* className, bool namesOnly)
{
    quietLogger();
    Scene& s = sceneOf<Scene>(static_cast<unsigned>(state.range(0)));
    size_t seen = 0;
    auto once = [&]() {
        cimhost::Request req(s.harness.broker());
        CMPIObjectPath* op = s.harness.classPath(req, className);
        cimhost::Response r = namesOnly ? req.enumerateInstanceNames(op) : req.enumerateInstances(op);
        if (failed(state, r))
            return false;
        seen = namesOnly ? r.paths.size() : r.instances.size();
        return true;
    };
    warmUp(once);
    for (auto _ : state)
        if (!once())
            return;
    report(state, seen);
}

void getLastEndpoint(benchmark::State& state)
{
    quietLogger();
    Scene& s = sceneOf<Scene>(static_cast<unsigned>(state.range(0)));
    for (auto _ : state) {
        cimhost::Request req(s.harness.broker());
        cimhost::Response r = req.getInstance(req.makePath(s.lastEndpoint));
        if (failed(state, r, 1))
            return;
    }
    report(state, 1);
}

void walkAssociation(benchmark::State& state, const char* assocClass, bool references)
{
    quietLogger();
    Scene& s = sceneOf<Scene>(static_cast<unsigned>(state.range(0)));
    size_t seen = 0;
    for (auto _ : state) {
        cimhost::Request req(s.harness.broker());
        // The service processor's association starts from its own endpoint.
        bool sp = std::string(assocClass) == "Tavrix_SPHostedAccessPoint";
        CMPIObjectPath* op = req.makePath(sp ? s.lastEndpoint : s.firstEndpoint);
        cimhost::Response r = references ? req.references(op, assocClass)
                                         : req.associators(op, assocClass, nullptr);
        if (failed(state, r))
            return;
        seen = r.instances.size();
    }
    report(state, seen);
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int n : {16, 256, 1024, 4096})
        b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

int registerAll()
{
    benchmark::RegisterBenchmark("Floor/Walk", floorWalk)->Apply(sizes);
    benchmark::RegisterBenchmark("Get/Tavrix_IPProtocolEndpoint", getLastEndpoint)->Apply(sizes);
    for (const char* cls : servedClasses) {
        benchmark::RegisterBenchmark((std::string("Enum/") + cls).c_str(),
                                     [cls](benchmark::State& st) { enumerate(st, cls, false); })
            ->Apply(sizes);
        benchmark::RegisterBenchmark((std::string("EnumNames/") + cls).c_str(),
                                     [cls](benchmark::State& st) { enumerate(st, cls, true); })
            ->Apply(sizes);
    }
    for (const char* cls : associationClasses) {
        benchmark::RegisterBenchmark((std::string("Enum/") + cls).c_str(),
                                     [cls](benchmark::State& st) { enumerate(st, cls, false); })
            ->Apply(sizes);
        benchmark::RegisterBenchmark((std::string("References/") + cls).c_str(),
                                     [cls](benchmark::State& st) { walkAssociation(st, cls, true); })
            ->Apply(sizes);
        benchmark::RegisterBenchmark((std::string("Associators/") + cls).c_str(),
                                     [cls](benchmark::State& st) { walkAssociation(st, cls, false); })
            ->Apply(sizes);
    }
    return 0;
}

const int registered = registerAll();

} // namespace

BENCHMARK_MAIN();
