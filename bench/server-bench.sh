#!/bin/sh
# Server figures before and after, in one run: builds ipifhost of commit
# BEFORE (default f9d6605) and of this tree in Release trees, then drives
# both with server_bench. SECONDS_PER_CASE (default 3).
set -eu
cd "$(dirname "$0")/.."
BEFORE=${BEFORE:-f9d6605}
JOBS=${JOBS:-2}
src=build/server-before-src
if [ ! -f "$src/CMakeLists.txt" ]; then
  mkdir -p "$src"
  git archive "$BEFORE" | tar -x -C "$src"
fi
cmake -S "$src" -B "$src/build" -DCMAKE_BUILD_TYPE=Release -DIPIF_TESTS=OFF >/dev/null
cmake --build "$src/build" -j"$JOBS"
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DIPIF_BENCH=ON -DIPIF_TESTS=OFF >/dev/null
cmake --build build/bench -j"$JOBS"
build/bench/bench/server_bench --store host/demo/demo-store.json --seconds "${SECONDS_PER_CASE:-3}" \
  "before ($BEFORE)=$src/build/host/tool/ipifhost" "after=build/bench/host/tool/ipifhost"
