#!/usr/bin/env python3
"""Turns the benchmark JSON into the RESULTS.md table: time per request, per
returned element, growth from 1024 to 4096 endpoint nodes and the ratio to
the floor walk of the same store."""
import json
import sys



def load(path, clock="real_time"):
    data = json.load(open(path))
    rows = {}
    order = []
    # A run with repetitions is read through its medians alone.
    medians = any(b.get("aggregate_name") == "median" for b in data["benchmarks"])
    for b in data["benchmarks"]:
        if medians and b.get("aggregate_name") != "median":
            continue
        name, size = b.get("run_name", b["name"]).rsplit("/", 1)
        if name not in rows:
            rows[name] = {}
            order.append(name)
        if b.get("error_occurred"):
            rows[name][int(size)] = None
            continue
        t = b[clock]  # microseconds
        # A sitting of several passes notes with the larger size the growth
        # it measured within each process, over the passes.
        rows[name][int(size)] = (t, b.get("elements", 0.0), b.get("per_element", 0.0) * 1e6,
                                 b.get("paired_growth"))
    return data, rows, order


def comparison(before_path, after_path, rss_path, command):
    """Before and after side by side: both runs' own floor, growth and
    per-element cost, and the peak RSS of each 4096-endpoint enumeration."""
    # CPU time: the machine is shared, and wall time counts the others' work.
    _, before, _ = load(before_path, "cpu_time")
    data, after, order = load(after_path, "cpu_time")
    rss = {}
    if rss_path:
        for line in open(rss_path):
            parts = line.split()
            if len(parts) == 3:
                rss[(parts[0], parts[1])] = int(parts[2])
    print("# Request benchmarks")
    print()
    print("Produced by `%s` on %s (%s, %d CPUs; both builds Release), before and after" %
          (command, data["context"].get("date", "?"), data["context"].get("host_name", "?"),
           data["context"].get("num_cpus", 0)))
    print("run one after the other in one sitting on a shared, noisy machine: compare ratios, not times.")
    print("CPU times in microseconds; n = endpoint (IP_INTERFACE) nodes; per element = time / returned")
    if any(v and v[3] for r in after.values() for v in r.values()):
        print("elements; growth = time(4096) / time(1024) within one process, the median over the passes (4.0")
        print("is linear, 4.8 is n log n; the two times of a row are each the smallest of the passes, so their")
        print("quotient may differ); floor = time /")
    else:
        print("elements; growth = time(4096) / time(1024) (4.0 is linear, 4.8 is n log n); floor = time /")
    print("the same build's floor walk of the same store (reads NAME, MAC_ADDRESS, ADDRESS_ORIGIN and")
    print("the system description of every endpoint node); RSS = peak resident set of a process that")
    print("builds the 4096-endpoint store and runs only that request (MB). Trace output is off.")
    print()
    print("| request | n=1024 before | after | n=4096 before | after | per element@4096 before | after "
          "| growth before | after | floor@4096 before | after | RSS@4096 before | after |")
    print("|---|" + "---|" * 12)

    def cell(rows, name, s, what):
        v = rows.get(name, {}).get(s)
        if v is None:
            return "-"
        if what == "time":
            return "%.1f" % v[0]
        if what == "per":
            return "%.2f" % v[2] if v[1] else "-"
        return "-"

    def growth(rows, name):
        r = rows.get(name, {})
        a, b = r.get(1024), r.get(4096)
        if b is not None and b[3]:
            return "%.2f" % b[3]
        return "-" if a is None or b is None or not a[0] else "%.2f" % (b[0] / a[0])

    def floor_ratio(rows, name):
        v = rows.get(name, {}).get(4096)
        f = rows.get("Floor/Walk", {}).get(4096)
        return "-" if v is None or not f else "%.2f" % (v[0] / f[0])

    def mb(tag, name):
        k = rss.get((tag, name))
        return "-" if k is None else "%.1f" % (k / 1024.0)

    for name in order:
        print("| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |" % (
            name, cell(before, name, 1024, "time"), cell(after, name, 1024, "time"),
            cell(before, name, 4096, "time"), cell(after, name, 4096, "time"),
            cell(before, name, 4096, "per"), cell(after, name, 4096, "per"),
            growth(before, name), growth(after, name), floor_ratio(before, name), floor_ratio(after, name),
            mb("before", name), mb("after", name)))


if len(sys.argv) > 2 and sys.argv[1] == "--compare":
    # table.py --compare before.json after.json rss.txt "command"
    comparison(sys.argv[2], sys.argv[3], sys.argv[4] if len(sys.argv) > 4 else None,
               sys.argv[5] if len(sys.argv) > 5 else "bench/compare")
    sys.exit(0)

data, rows, order = load(sys.argv[1])
command = sys.argv[2] if len(sys.argv) > 2 else "./scripts/bench.sh"
floor = rows.get("Floor/Walk", {})
sizes = [16, 256, 1024, 4096]
print("# Request benchmarks")
print()
print("Produced by `%s` on %s (%s, %d CPUs; module built Release). One run; figures are from" %
      (command, data["context"].get("date", "?"), data["context"].get("host_name", "?"),
       data["context"].get("num_cpus", 0)))
print("a shared, noisy machine, so compare the ratios rather than the times.")
print("CPU times in microseconds; n = endpoint (IP_INTERFACE) nodes in the store;")
print("per element = time / returned elements; growth = time(4096) / time(1024)")
print("(4.0 is linear, 4.8 is n log n); floor ratio = time / floor walk of the same")
print("store (the walk reads NAME, MAC_ADDRESS, ADDRESS_ORIGIN and the system")
print("description of every endpoint node). Skipped rows: the class or association")
print("is not served by this build. Trace output is off (logger at WARN).")
print()
print("| request | " + " | ".join("n=%d" % s for s in sizes) +
      " | elements@4096 | per element@4096 | growth 1024→4096 | floor ratio@1024 | floor ratio@4096 |")
print("|---|" + "---|" * (len(sizes) + 5))
for name in order:
    r = rows[name]
    if all(r.get(s) is None for s in sizes):
        print("| %s | skipped (not served) |" % name + " |" * (len(sizes) + 4))
        continue
    cells = []
    for s in sizes:
        v = r.get(s)
        cells.append("-" if v is None else "%.1f" % v[0])
    big = r.get(4096)
    mid = r.get(1024)
    elems = "-" if big is None else "%d" % big[1]
    per = "-" if big is None or not big[1] else "%.2f" % big[2]
    growth = "-" if big is None or mid is None or not mid[0] else "%.2f" % (big[0] / mid[0])
    def ratio(s):
        v = r.get(s)
        f = floor.get(s)
        return "-" if v is None or not f else "%.2f" % (v[0] / f[0])
    print("| %s | %s | %s | %s | %s | %s | %s |" % (name, " | ".join(cells), elems, per, growth,
                                                 ratio(1024), ratio(4096)))
