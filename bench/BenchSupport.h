#ifndef BENCH_BENCHSUPPORT_H
#define BENCH_BENCHSUPPORT_H

// What every request benchmark does around its loop.
#include <benchmark/benchmark.h>

#include <log4cxx/level.h>
#include <log4cxx/logger.h>

#include <cstddef>
#include <memory>
#include <string>

#include "Request.h"

namespace benchsupport {

// One store at a time: the node store is one per process.
template <class Scene> Scene& sceneOf(unsigned size)
{
    static std::unique_ptr<Scene> current;
    if (!current || current->size != size) {
        current.reset();
        current.reset(new Scene(size));
    }
    return *current;
}

inline void quietLogger()
{
    // Trace output costs what the server's log configuration makes it cost;
    // the figures leave it out.
    static bool done = false;
    if (!done) {
        log4cxx::Logger::getLogger("Prelvar.IPInterfaceProvider")->setLevel(log4cxx::Level::getWarn());
        done = true;
    }
}

inline void report(benchmark::State& state, std::size_t elements)
{
    state.counters["elements"] = static_cast<double>(elements);
    state.counters["per_element"] = benchmark::Counter(
        static_cast<double>(elements) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A failed request, or one with another number of instances than
// `instances` (when given), ends the benchmark with what it answered
// rather than timing it.
inline bool failed(benchmark::State& state, const cimhost::Response& r, long instances = -1)
{
    if (r.ok() && (instances < 0 || r.instances.size() == static_cast<std::size_t>(instances)))
        return false;
    state.SkipWithError(("rc " + std::to_string(r.rc) + " " + r.message + ", " +
                         std::to_string(r.instances.size()) + " instances").c_str());
    return true;
}

} // namespace benchsupport

#endif
