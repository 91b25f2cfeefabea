#!/bin/sh
# Builds the request benchmarks in a Release tree, runs them briefly and
# prints the table with ratios (also kept in build/bench/RESULTS.md).
# BENCH_MIN_TIME (seconds per case, default 0.05) and BENCH_FILTER (regex).
set -eu
cd "$(dirname "$0")/.."
JOBS=${JOBS:-2}
MIN_TIME=${BENCH_MIN_TIME:-0.05}
FILTER=${BENCH_FILTER:-.}
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DIPIF_BENCH=ON -DIPIF_TESTS=OFF >/dev/null
cmake --build build/bench --target request_bench -j"$JOBS"
out=build/bench/results.json
build/bench/bench/request_bench --benchmark_min_time="$MIN_TIME" --benchmark_filter="$FILTER" \
  --benchmark_format=json --benchmark_out="$out" --benchmark_out_format=json >/dev/null
# The table goes to build/bench/RESULTS.md; bench/RESULTS.md holds the
# recorded run with its reading.
python3 bench/table.py "$out" "./scripts/bench.sh (BENCH_MIN_TIME=$MIN_TIME)" > build/bench/RESULTS.md
cat build/bench/RESULTS.md
