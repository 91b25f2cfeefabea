# What the end-to-end scripts share; sourced by each with its own arguments
# IPIFHOST DEMO_STORE. A work folder ($WORK, with store.json, a copy of the
# demo store, and data/) is removed at exit, together with the server whose
# pid is in SERVER. `check` counts passes and failures, `finish` reports
# them and ends with the script's status.
set -u
IPIFHOST=$1
DEMO=$2
WORK=$(mktemp -d)
SERVER=""
cleanup() {
  [ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null && wait "$SERVER" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
cp "$DEMO" "$WORK/store.json"
mkdir -p "$WORK/data"

failures=0
passes=0
check() {  # check NAME COMMAND... : passes when the command succeeds
  local name=$1; shift
  if "$@" >"$WORK/out" 2>&1; then
    echo "PASS $name"; passes=$((passes + 1))
  else
    echo "FAIL $name"; sed 's/^/    /' "$WORK/out" | head -20; failures=$((failures + 1))
  fi
}
w() { wbemcli -noverify "$@" >"$WORK/last" 2>&1; local rc=$?; cat "$WORK/last"; return $rc; }
has() { grep -q -- "$1" "$WORK/last"; }

listening_port() {  # listening_port LOG SCHEME: waits up to 10 s for the server writing LOG, prints its port
  local log=$1 scheme=$2
  for _ in $(seq 1 100); do
    grep -q "listening on" "$log" && break
    sleep 0.1
  done
  sed -n "s/^listening on $scheme:\/\/127\.0\.0\.1:\([0-9]*\)\$/\1/p" "$log"
}

finish() {
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}
