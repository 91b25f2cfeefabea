// Enumerations on a node store, live or from a file. With
// QUELLSTORE_SOURCE=live the store is this machine's kernel (meant for the
// network namespace bench/live-bench.sh lays out, only read) and its layout
// is written to STORE_FILE first; otherwise STORE_FILE is the store. Cases
// are named after the source, so both runs read as one table.
//
// usage: [QUELLSTORE_SOURCE=live] live_bench STORE_FILE [benchmark options]
#include <benchmark/benchmark.h>

#include <cmpimacs.h>
#include <log4cxx/level.h>
#include <log4cxx/logger.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>

#include "Broker.h"
#include "IPInterfaceProvider.h"
#include "Instrumentation.h"
#include "NodeLexicon.h"
#include "NodeStore.h"
#include "PlatformUtilities.h"
#include "Request.h"

namespace {

const char* const nameSpace = "root/cimv2";

const char* const instanceClasses[] = {
    "Tavrix_IPProtocolEndpoint", "Tavrix_IPAssignmentSettingData",
    "Tavrix_StaticIPAssignmentSettingData", "Tavrix_IPRemoteServiceAccessPoint",
    "Tavrix_IPElementSettingData", "Tavrix_IPRemoteAccessAvailableToElement",
};
// Both ends of these two are the module's own.
const char* const associationClasses[] = {
    "Tavrix_IPElementSettingData",
    "Tavrix_IPRemoteAccessAvailableToElement",
};

cimhost::Broker& broker()
{
    static cimhost::Broker* b = [] {
        auto* made = new cimhost::Broker;
        const CMPIBroker* cmpi = made->cmpi();
        CMPIInstanceMI* instance = IPInterfaceProvider_Create_InstanceMI(cmpi, nullptr, nullptr);
        CMPIAssociationMI* association = IPInterfaceProvider_Create_AssociationMI(cmpi, nullptr, nullptr);
        for (const char* cls : instanceClasses)
            made->registerInstanceProvider(cls, instance);
        for (const char* cls : associationClasses)
            made->registerAssociationProvider(cls, association);
        return made;
    }();
    return *b;
}

void enumerate(benchmark::State& state, const char* className)
{
    size_t seen = 0;
    for (auto _ : state) {
        cimhost::Request req(broker());
        cimhost::Response r = req.enumerateInstances(req.newObjectPath(nameSpace, className));
        if (!r.ok()) {
            state.SkipWithError(("rc " + std::to_string(r.rc) + " " + r.message).c_str());
            return;
        }
        seen = r.instances.size();
    }
    state.counters["elements"] = static_cast<double>(seen);
}

size_t interfaceNodes()
{
    size_t n = 0;
    Korvu::Instrumentation cursor;
    for (cursor.selectNode(Korvu::NodeLexicon::IP_INTERFACE); cursor; ++cursor)
        ++n;
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argv[1][0] == '-') {
        std::cerr << "usage: [QUELLSTORE_SOURCE=live] live_bench STORE_FILE [benchmark options]\n";
        return 2;
    }
    const std::string storeFile = argv[1];
    for (int i = 1; i + 1 < argc; ++i)
        argv[i] = argv[i + 1];
    --argc;
    const char* source = getenv("QUELLSTORE_SOURCE");
    const bool live = source && std::strcmp(source, "live") == 0;

    try {
        if (live) {
            // The file store gets exactly the live layout.
            const std::string layout = Korvu::NodeStore::toJson();
            std::ofstream out(storeFile, std::ios::trunc);
            out << layout;
            if (!out.flush())
                throw std::runtime_error("cannot write " + storeFile);
        } else {
            Korvu::NodeStore::open(storeFile);
            // The live store watches the kernel on a thread of its own, and a
            // CIM server has threads anyway: a process with a second thread
            // pays for atomic reference counts and locks that a single
            // threaded one skips, so the file case gets an idle one too.
            std::thread([] {
                for (;;)
                    pause();
            }).detach();
        }
    } catch (const std::exception& e) {
        std::cerr << "live_bench: " << e.what() << "\n";
        return 1;
    }
    const std::string fault = Korvu::NodeStore::loadError();
    if (!fault.empty()) {
        std::cerr << "live_bench: " << fault << "\n";
        return 1;
    }
    std::cerr << "live_bench: " << (live ? "live" : "file") << " store, " << interfaceNodes()
              << " IP interface nodes\n";

    char data[] = "/tmp/ipif-live-bench-XXXXXX";
    if (!mkdtemp(data)) {
        std::cerr << "live_bench: cannot create a data folder\n";
        return 1;
    }
    Korvu::PlatformUtilities::setMaranthDataDir(std::string(data) + "/");
    log4cxx::Logger::getLogger("Prelvar.IPInterfaceProvider")->setLevel(log4cxx::Level::getWarn());

    for (const char* cls : instanceClasses)
        benchmark::RegisterBenchmark((std::string(live ? "live/" : "file/") + cls).c_str(),
                                     [cls](benchmark::State& st) { enumerate(st, cls); })
            ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rmdir(data);
    return 0;
}
