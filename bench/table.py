#!/usr/bin/env python3
"""Turns the benchmark JSON into the RESULTS.md table: time per request, per
returned element, growth from 1024 to 4096 endpoint nodes and the ratio to
the floor walk of the same store."""
import json
import sys

data = json.load(open(sys.argv[1]))
command = sys.argv[2] if len(sys.argv) > 2 else "./scripts/bench.sh"
rows = {}
order = []
for b in data["benchmarks"]:
    name, size = b["name"].rsplit("/", 1)
    if name not in rows:
        rows[name] = {}
        order.append(name)
    if b.get("error_occurred"):
        rows[name][int(size)] = None
        continue
    t = b["real_time"]  # microseconds
    rows[name][int(size)] = (t, b.get("elements", 0.0), b.get("per_element", 0.0) * 1e6)

floor = rows.get("Floor/Walk", {})
sizes = [16, 256, 1024, 4096]
print("# Request benchmarks")
print()
print("Produced by `%s` on %s (%s, %d CPUs; module built Release). One run; figures are from" %
      (command, data["context"].get("date", "?"), data["context"].get("host_name", "?"),
       data["context"].get("num_cpus", 0)))
print("a shared, noisy machine, so compare the ratios rather than the times.")
print("Times in microseconds; n = endpoint (IP_INTERFACE) nodes in the store;")
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
