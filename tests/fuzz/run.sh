#!/bin/sh
# Usage: tests/fuzz/run.sh BUILD_DIR
# Replays every saved regression input, then runs each fuzz target for
# FUZZ_SECONDS (default 60) on a copy of its seed corpus. Fails when a
# target crashes, leaks or trips a sanitizer.
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
seconds=${FUZZ_SECONDS:-60}
status=0
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
work=$(mktemp -d /tmp/ipif-fuzz-run-XXXXXX)
trap 'rm -rf "$work"' EXIT

for corpus in "$here"/corpus/*/; do
  target=$(basename "$corpus")
  bin=$(find "$build" -type f -name "$target" -perm -u+x | head -n 1)
  if [ -z "$bin" ]; then
    echo "=== $target: not built, skipped"
    continue
  fi
  if [ -d "$here/regressions/$target" ] && [ -n "$(ls -A "$here/regressions/$target")" ]; then
    echo "=== $target: regressions"
    if ! "$bin" -runs=0 "$here/regressions/$target"/* >"$work/$target.replay.log" 2>&1; then
      tail -n 40 "$work/$target.replay.log"
      echo "FAILED: $target regression replay"
      status=1
    fi
  fi
  echo "=== $target: ${seconds}s"
  mkdir -p "$work/$target"
  cp "$corpus"/* "$work/$target/" 2>/dev/null || true
  dict=""
  [ -f "$here/$target.dict" ] && dict="-dict=$here/$target.dict"
  if ! (cd "$work" && "$bin" $dict -max_total_time="$seconds" -max_len=4096 -timeout=25 \
          -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/$target-" \
          "$work/$target" >"$work/$target.log" 2>&1); then
    tail -n 60 "$work/$target.log"
    for a in "$work/$target"-*; do
      [ -f "$a" ] || continue
      mkdir -p "$build/fuzz-artifacts"
      cp "$a" "$build/fuzz-artifacts/"
      echo "input kept: $build/fuzz-artifacts/$(basename "$a")"
    done
    echo "FAILED: $target"
    status=1
  else
    grep -E "stat::number_of_executed_units|cov:" "$work/$target.log" | tail -n 2
  fi
done
exit $status
