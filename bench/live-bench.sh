#!/bin/sh
# Enumerations on a live node store of 256 interfaces against a file store
# of the same layout, in one run, as a ratio live/file. Runs as root inside
# a network namespace of its own (unshare -n): 128 veth pairs, an IPv4
# address on every link, an IPv6 address on every fourth, a default route;
# the machine's own interfaces are never touched and the namespace goes
# away with the run. The file store is the live store's own layout, written
# out by the live run, so both have the same systems, adapters, interfaces
# and addresses.
# usage: bench/live-bench.sh [LIVE_BENCH]   (default: Release build in build/bench)
# BENCH_MIN_TIME (seconds per case, default 0.2), BENCH_REPETITIONS (default 5),
# BENCH_ROUNDS (live and file runs alternating, default 3).
set -eu
MIN_TIME=${BENCH_MIN_TIME:-0.2}
REPETITIONS=${BENCH_REPETITIONS:-5}
ROUNDS=${BENCH_ROUNDS:-3}
if [ "${IPIF_IN_NETNS:-}" != 1 ]; then
    cd "$(dirname "$0")/.."
    program=${1:-}
    if [ -z "$program" ]; then
        cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DIPIF_BENCH=ON -DIPIF_TESTS=OFF >/dev/null
        cmake --build build/bench --target live_bench -j"${JOBS:-2}" >/dev/null
        program=build/bench/bench/live_bench
    fi
    program=$(realpath "$program")
    unshare -n true 2>/dev/null || { echo "live-bench: cannot create a network namespace (run as root)"; exit 1; }
    IPIF_IN_NETNS=1 exec unshare -n sh "$0" "$program"
fi

# From here on, inside the new namespace only.
program=$1
work=$(mktemp -d /tmp/ipif-live-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# No link-local addresses: every IPv6 address is one laid out here.
sysctl -qw net.ipv6.conf.default.addr_gen_mode=1
sysctl -qw net.ipv6.conf.all.addr_gen_mode=1
ip link set lo up
{
    i=0
    while [ $i -lt 128 ]; do
        a=$((2 * i)); b=$((2 * i + 1))
        echo "link add bv$a type veth peer name bv$b"
        i=$((i + 1))
    done
} >"$work/links"
ip -batch "$work/links"
{
    n=0
    while [ $n -lt 256 ]; do
        echo "link set bv$n up"
        echo "address add 10.$((n / 256)).$((n % 256)).1/24 dev bv$n"
        [ $((n % 4)) -eq 0 ] && echo "address add 2001:db8:$n::1/64 dev bv$n nodad"
        n=$((n + 1))
    done
    echo "route add default via 10.0.0.254 dev bv0"
    echo "route add default via 2001:db8:0::fe dev bv0"
} >"$work/addresses"
ip -batch "$work/addresses"
links=$(ip -o link show | grep -c ': bv')
addresses=$(ip -o addr show | grep -c ' bv')
echo "namespace: $links links, $addresses addresses"

# Every case runs in processes of its own, live and file alternating over
# the rounds: what one request leaves in the process (memory kept for
# reuse, the heap's shape) does not weigh on the next case, and a busy
# spell of the machine falls on both. Each figure is the median over the
# rounds of the median of the repetitions.
cases=$(QUELLSTORE_SOURCE=live "$program" "$work/store.json" --benchmark_list_tests=true 2>/dev/null | sed 's|^live/||')
r=1
while [ $r -le "$ROUNDS" ]; do
    for c in $cases; do
        for source in live file; do
            if [ $source = live ]; then export QUELLSTORE_SOURCE=live; else unset QUELLSTORE_SOURCE; fi
            "$program" "$work/store.json" --benchmark_filter="^$source/$c\$" --benchmark_min_time="$MIN_TIME" \
                --benchmark_repetitions="$REPETITIONS" --benchmark_report_aggregates_only=true \
                --benchmark_format=json --benchmark_out="$work/$source-$r-$c.json" \
                --benchmark_out_format=json >/dev/null 2>&1
        done
    done
    r=$((r + 1))
done
unset QUELLSTORE_SOURCE
python3 - "$work" "$ROUNDS" $cases <<'EOF'
import json, statistics, sys

work, rounds, names = sys.argv[1], int(sys.argv[2]), sys.argv[3:]

def medians(source):
    cases = {}
    for r in range(1, rounds + 1):
        for wanted in names:
            for run in json.load(open("%s/%s-%d-%s.json" % (work, source, r, wanted)))["benchmarks"]:
                if run.get("aggregate_name") != "median":
                    continue
                case = cases.setdefault(wanted, {"elements": run["elements"], "cpu": []})
                if case["elements"] != run["elements"]:
                    sys.exit("live-bench: %s: element count changed between rounds" % run["run_name"])
                case["cpu"].append(run["cpu_time"])
    return cases

live, file = medians("live"), medians("file")
print("| enumeration | elements | live CPU us | file CPU us | live/file | live rounds | file rounds |")
print("|---|---|---|---|---|---|---|")
for name, l in live.items():
    f = file[name]
    if l["elements"] != f["elements"]:
        sys.exit("live-bench: %s: %d elements live, %d from the file" % (name, l["elements"], f["elements"]))
    lt, ft = statistics.median(l["cpu"]), statistics.median(f["cpu"])
    spread = lambda times: " ".join("%.0f" % t for t in times)
    print("| %s | %d | %.0f | %.0f | %.2f | %s | %s |" % (name, l["elements"], lt, ft, lt / ft,
                                                          spread(l["cpu"]), spread(f["cpu"])))
EOF
