#!/bin/sh
# Installs what is needed, builds and runs every test: a normal build, a
# build under AddressSanitizer and UndefinedBehaviorSanitizer, the
# concurrency tests under ThreadSanitizer, the fuzz targets, and the Debian
# package installed, used and removed again. Ends with one line
# "N passed, M failed" over all stages; exits non-zero when anything failed.
# Stage output is kept in build/logs/.
set -u
cd "$(dirname "$0")/.."
./scripts/setup.sh
JOBS=$(nproc 2>/dev/null || echo 2)
LOGS=build/logs
mkdir -p "$LOGS"
passed=0
failed=0
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }

# Configures and builds build/NAME; a build that fails counts as one failure.
build() {
    name=$1; shift
    echo "=== $name: build (log: $LOGS/$name-build.log)"
    if cmake -S . -B "build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache "$@" \
            >"$LOGS/$name-build.log" 2>&1 &&
       cmake --build "build/$name" -j"$JOBS" >>"$LOGS/$name-build.log" 2>&1; then
        return 0
    fi
    tail -n 30 "$LOGS/$name-build.log"
    fail "build of $name"
    return 1
}

# Runs ctest in build/NAME and adds its counts from the summary line
# "P% tests passed, F tests failed out of T".
tests() {
    name=$1; shift
    echo "=== $name: ctest $* (log: $LOGS/$name-ctest.log)"
    (cd "build/$name" && ctest --output-on-failure "$@") >"$LOGS/$name-ctest.log" 2>&1
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$LOGS/$name-ctest.log" | tail -n 1)
    if [ -z "$summary" ]; then
        tail -n 30 "$LOGS/$name-ctest.log"
        fail "$name: ctest gave no summary"
        return
    fi
    total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
    bad=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed.*/\1/')
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    echo "$summary"
    if [ "$bad" -ne 0 ]; then
        sed -n '/The following tests FAILED/,$p' "$LOGS/$name-ctest.log"
    fi
}

# The default build is also what the package stage packs, so it installs
# under /usr as the Debian package does.
if build default -DCMAKE_INSTALL_PREFIX=/usr; then
    tests default -j"$JOBS"
fi

if build asan -DIPIF_SANITIZE=ON; then
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 tests asan -j"$JOBS" -LE 'load|netns'
fi

if build tsan -DIPIF_TSAN=ON; then
    TSAN_OPTIONS=halt_on_error=1 tests tsan -L concurrency
fi

# Each fuzz target is one check: replayed regressions and its timed run.
if [ -f tests/fuzz/CMakeLists.txt ] &&
   build fuzz -DIPIF_FUZZ=ON -DIPIF_TESTS=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++; then
    echo "=== fuzz: run (log: $LOGS/fuzz-run.log)"
    FUZZ_SECONDS=${FUZZ_SECONDS:-60} ./tests/fuzz/run.sh build/fuzz >"$LOGS/fuzz-run.log" 2>&1
    targets=$(grep -cE '^=== [^ ]+: ([0-9]+s|not built, skipped)$' "$LOGS/fuzz-run.log")
    bad=$(grep -E '^FAILED: |: not built, skipped$' "$LOGS/fuzz-run.log" |
          sed -E 's/^FAILED: ([^ ]+).*/\1/; s/^=== ([^:]+):.*/\1/' | sort -u | wc -l)
    if [ "$targets" -eq 0 ]; then
        fail "fuzz: no target ran"
    else
        passed=$((passed + targets - bad))
        failed=$((failed + bad))
        echo "fuzz: $((targets - bad)) of $targets targets passed"
        [ "$bad" -eq 0 ] || grep -E '^FAILED: |input kept:' "$LOGS/fuzz-run.log"
    fi
fi

# The package stage packs build/default (no further build); dpkg needs root.
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if [ -d build/default ] && command -v dpkg >/dev/null 2>&1; then
    echo "=== package: build, install, run, remove (log: $LOGS/package.log)"
    $SUDO ./scripts/package-check.sh build/default >"$LOGS/package.log" 2>&1
    ok=$(grep -c '^PASS: ' "$LOGS/package.log")
    bad=$(grep -c '^FAIL: ' "$LOGS/package.log")
    passed=$((passed + ok))
    failed=$((failed + bad))
    echo "package: $ok of $((ok + bad)) checks passed"
    [ "$bad" -eq 0 ] || grep -A 20 '^FAIL: ' "$LOGS/package.log"
    [ $((ok + bad)) -gt 0 ] || fail "package: no check ran"
else
    fail "package: needs dpkg and the default build"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
