#!/bin/sh
# Installs what is needed, builds the module and the embedded CIM host, and
# shows the bundled demo system through the module. One line per step; the
# package and compiler output goes to a log file. Arguments go to
# `ipifhost demo` (for example --serve, --work DIR).
set -eu
cd "$(dirname "$0")/.."
mkdir -p build
LOG=$(pwd)/build/demo.log
: >"$LOG"
echo "Output of every step: $LOG"
host=./build/default/host/tool/ipifhost

step() {
    what=$1; shift
    printf '%s ... ' "$what"
    start=$(date +%s)
    if "$@" >>"$LOG" 2>&1; then
        echo "done ($(( $(date +%s) - start ))s)"
    else
        echo "failed"
        echo "Last lines of $LOG:"
        tail -n 25 "$LOG"
        exit 1
    fi
}

launcher=""
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
step "Installing the Debian packages the build needs" ./scripts/setup.sh
# The same tree scripts/test.sh builds and packs.
step "Configuring build/default" \
    cmake -S . -B build/default -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr $launcher
step "Building the module, the companion provider and ipifhost" \
    cmake --build build/default -j"$(nproc 2>/dev/null || echo 2)" --target ipifhost

for a in "$@"; do
    if [ "$a" = --serve ]; then
        echo "Serving the demo system (Ctrl-C stops it):"
        exec "$host" demo "$@"
    fi
done

step "Reading the demo system through the module" "$host" demo "$@"
store=$(sed -n 's#^// The demo store is \(.*\); .*#\1#p' "$LOG" | tail -n 1)
echo
"$host" show --store "$store" --data-dir "$(dirname "$store")/data/"
cat <<NEXT

The instances behind this table, in MOF syntax, are in $LOG.
Try next:
  $host demo --serve                 # serve this system on http://127.0.0.1:5988
  wbemcli ei 'http://localhost:5988/root/cimv2:Tavrix_IPProtocolEndpoint'   # from another terminal
  $host show --format json --store $store
  $host import-live --out mymachine.json && $host show --store mymachine.json
  man ./packaging/ipifhost.1
NEXT
