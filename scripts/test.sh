#!/bin/sh
# Installs what is needed, builds and runs every test: a normal build, a
# build under AddressSanitizer and UndefinedBehaviorSanitizer, the
# concurrency tests under ThreadSanitizer, and the fuzz targets.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
JOBS=$(nproc 2>/dev/null || echo 2)
status=0

stage() {
  name=$1; shift
  echo "=== $name ==="
  cmake -S . -B "build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "build/$name" -j"$JOBS"
}

stage default
(cd build/default && ctest --output-on-failure -j"$JOBS") || status=1

stage asan -DIPIF_SANITIZE=ON
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$JOBS") || status=1

stage tsan -DIPIF_TSAN=ON
(cd build/tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -L concurrency) || status=1

if [ -f tests/fuzz/CMakeLists.txt ]; then
  stage fuzz -DIPIF_FUZZ=ON -DIPIF_TESTS=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  FUZZ_SECONDS=${FUZZ_SECONDS:-60} ./tests/fuzz/run.sh build/fuzz || status=1
fi

exit $status
