#!/bin/bash
# Figures that do not move with the machine's load: instructions and the
# misses of a simulated last-level cache for one request at 1024 and 4096
# endpoints, under valgrind's callgrind (apt-get install valgrind).
#
#   bench/cachesim.sh BEFORE_BIN AFTER_BIN [REQUEST...]
#
# Each BIN is a request_bench; REQUEST defaults to every enumeration. Only
# the timed request is counted, after two runs of it that are not: neither
# the store's setup (a names request itself) nor the first runs, which
# draw request memory the later ones reuse. LL (bytes, default 8 MiB) sets
# the simulated last level.
set -euo pipefail
if ! command -v valgrind >/dev/null; then
  echo "cachesim.sh: needs valgrind (apt-get install valgrind)" >&2
  exit 2
fi
[ $# -ge 2 ] || { sed -n 2,10p "$0" >&2; exit 2; }
before=$1
after=$2
shift 2
LL=${LL:-8388608}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ $# -eq 0 ]; then
  requests=$("$after" --benchmark_list_tests | sed -n 's#^\(Enum[^/]*/[^/]*\)/4096$#\1#p')
  [ -n "$requests" ] || { echo "cachesim.sh: $after lists no enumerations" >&2; exit 1; }
  set -- $requests
fi

one() {  # label binary request size
  out="$work/$1.$(echo "$3" | tr / _).$4"
  # A run that fails, or runs nothing, leaves its log and a mark.
  if ! CACHESIM_WARMUP=2 valgrind --tool=callgrind --cache-sim=yes --LL="$LL",16,64 --callgrind-out-file="$out.cg" \
    --toggle-collect='*::enumerate(benchmark::State&, char const*, bool)' \
    --toggle-collect='*::sceneOf<*>(unsigned int)' --toggle-collect='*::warmUp(std::function<void ()> const&)*' \
    "$2" --benchmark_min_time=0.000001 \
    --benchmark_filter="^$3/$4\$" >"$out.log" 2>&1 || ! grep -q "^$3/$4 " "$out.log"; then
    echo "cachesim.sh: $1 $3/$4 failed:" >&2
    tail -5 "$out.log" >&2
    touch "$work/failed"
    return
  fi
  callgrind_annotate --show=Ir,DLmr,DLmw "$out.cg" | sed -n 's/,//g; s/([^)]*)//g; s/ *PROGRAM TOTALS//p' |
    awk -v l="$1" -v r="$3" -v s="$4" '{gsub(/\./, "0"); print l, r, s, $1, $2, $3}' > "$out.txt"
  rm -f "$out.cg"
}

# Two at a time: callgrind runs one thread.
for label in before after; do
  bin=$before
  [ "$label" = after ] && bin=$after
  for request in "$@"; do
    for size in 1024 4096; do
      one "$label" "$bin" "$request" "$size" &
      [ "$(jobs -rp | wc -l)" -lt 2 ] || wait -n || true
    done
  done
done
wait
[ ! -e "$work/failed" ] || exit 1
cat "$work"/*.txt | python3 -c '
import sys
m = {}
for line in sys.stdin:
    label, request, size, ir, rd, wr = line.split()
    m[(label, request, int(size))] = (int(ir), int(rd) + int(wr))
requests = sorted({r for (_, r, _) in m})
print("| request | instructions@4096 before | after | instruction growth before | after "
      "| LL misses@4096 before | after | after/before |")
print("|---|---|---|---|---|---|---|---|")
# Requests of a few thousand instructions are a fixed cost, not grown.
def growth(small, large):
    return "%.2f" % (large / small) if small >= 1e6 else "-"
def misses(n):
    return "%.1fk" % (n / 1e3) if n >= 1000 else "<1k"
for r in requests:
    row = [r]
    b1, b4 = m[("before", r, 1024)], m[("before", r, 4096)]
    a1, a4 = m[("after", r, 1024)], m[("after", r, 4096)]
    row += ["%.1fM" % (b4[0] / 1e6), "%.1fM" % (a4[0] / 1e6), growth(b1[0], b4[0]), growth(a1[0], a4[0])]
    row += [misses(b4[1]), misses(a4[1]), "%.2f" % (a4[1] / b4[1]) if min(a4[1], b4[1]) >= 1000 else "-"]
    print("| " + " | ".join(row) + " |")
'
