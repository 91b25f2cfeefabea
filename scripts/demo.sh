#!/bin/sh
# Installs what is needed, builds the module and the embedded CIM host, and
# walks the bundled demo system through the module.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build/default -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/default -j"$(nproc 2>/dev/null || echo 2)"
exec ./build/default/host/tool/ipifhost demo "$@"
