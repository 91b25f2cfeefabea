#!/bin/bash
# Two builds side by side in one sitting: the top table of bench/RESULTS.md.
#
#   bench/compare.sh BEFORE_BIN AFTER_BIN [PASSES] [OUT]
#
# Each BIN is a Release request_bench (cmake -DIPIF_BENCH=ON). PASSES
# defaults to 5, OUT (where the runs are kept) to a fresh temporary folder;
# REQUESTS, a regular expression, narrows the requests (default: all).
#
# A pass runs, for every request, one process of each build in turn, and in
# each process the repetitions of the two store sizes randomly interleaved:
# on a shared machine the load of the moment then falls on both sizes alike
# and on their ratio, the growth, hardly at all. A time is the smallest of
# the passes' medians (CPU time); a growth, the median over the passes of
# the ratio within one process, as the smallest times of the two sizes
# may come from different passes. Peak RSS of each 4096-endpoint
# enumeration: the median of three processes per build (needs /usr/bin/time,
# apt-get install time). Run nothing else meanwhile.
set -euo pipefail
[ $# -ge 2 ] || { sed -n 2,8p "$0" >&2; exit 2; }
before=$1
after=$2
passes=${3:-5}
out=${4:-$(mktemp -d)}
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -x /usr/bin/time ]; then
  echo "compare.sh: needs /usr/bin/time (apt-get install time)" >&2
  exit 2
fi
mkdir -p "$out"
"$after" --benchmark_list_tests | sed -n 's#^\(.*\)/4096$#\1#p' | grep -E "${REQUESTS:-.}" > "$out/requests" || true
[ -s "$out/requests" ] || { echo "compare.sh: no request matches" >&2; exit 1; }
started=$(date -u +%FT%T)

for pass in $(seq 1 "$passes"); do
  while read -r request; do
    for side in before after; do
      bin=${!side}
      "$bin" --benchmark_filter="^$request/(1024|4096)\$" --benchmark_min_time=0.1 \
        --benchmark_repetitions=6 --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true --benchmark_format=json \
        < /dev/null > "$out/$side.$pass.$(echo "$request" | tr / _).json" 2>/dev/null ||
        echo "compare.sh: $side $request failed in pass $pass" >&2
    done
  done < "$out/requests"
  echo "compare.sh: pass $pass of $passes done" >&2
done

: > "$out/rss.raw"
for round in 1 2 3; do
  while read -r request; do
    case $request in Enum*|Floor/*) ;; *) continue ;; esac
    for side in before after; do
      bin=${!side}
      /usr/bin/time -o "$out/rss.one" -f %M "$bin" --benchmark_min_time=0.01 \
        --benchmark_filter="^$request/4096\$" < /dev/null > /dev/null 2>&1 || continue
      echo "$side $request $(tail -1 "$out/rss.one")" >> "$out/rss.raw"
    done
  done < "$out/requests"
done

python3 - "$out" <<'PY'
import collections, glob, json, statistics, sys
out = sys.argv[1]
requests = [l.strip() for l in open(out + "/requests") if l.strip()]
rank = {r: i for i, r in enumerate(requests)}
for side in ("before", "after"):
    best, context = {}, None
    growths = collections.defaultdict(list)
    for path in sorted(glob.glob("%s/%s.*.json" % (out, side))):
        try:
            data = json.load(open(path))
        except ValueError:
            continue  # a failed run
        context = context or data["context"]
        medians = {b["run_name"]: b for b in data["benchmarks"] if b.get("aggregate_name") == "median"}
        for name, b in medians.items():
            if name not in best or b["cpu_time"] < best[name]["cpu_time"]:
                best[name] = b
            request, size = name.rsplit("/", 1)
            small = medians.get(request + "/1024")
            if size == "4096" and small and small["cpu_time"] > 0:
                growths[name].append(b["cpu_time"] / small["cpu_time"])
    for name, ratios in growths.items():
        best[name] = dict(best[name], paired_growth=statistics.median(ratios))
    rows = sorted(best.values(), key=lambda b: (rank.get(b["run_name"].rsplit("/", 1)[0], len(rank)),
                                                int(b["run_name"].rsplit("/", 1)[1])))
    json.dump({"context": context, "benchmarks": rows}, open("%s/%s.json" % (out, side), "w"), indent=1)
sizes = collections.defaultdict(list)
for line in open(out + "/rss.raw"):
    p = line.split()
    if len(p) == 3 and p[2].isdigit():
        sizes[(p[0], p[1])].append(int(p[2]))
with open(out + "/rss.txt", "w") as o:
    for (side, request), kb in sorted(sizes.items()):
        o.write("%s %s %d\n" % (side, request, statistics.median(kb)))
PY

python3 "$here/table.py" --compare "$out/before.json" "$out/after.json" "$out/rss.txt" \
  "bench/compare.sh BEFORE AFTER $passes (per request and build one process of request_bench --benchmark_filter='^<request>/(1024|4096)\$' --benchmark_min_time=0.1 --benchmark_repetitions=6 --benchmark_enable_random_interleaving=true; each time the smallest of the $passes passes' medians; started $started)"
echo "compare.sh: runs kept in $out" >&2
