#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the quick run a
# newcomer waits for. With --full (what CI runs) the Qt-free tests run under
# AddressSanitizer and UndefinedBehaviorSanitizer instead of a second plain
# time, the threaded ones under ThreadSanitizer, and every fuzzer briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
full=0
case "${1:-}" in
  --full) full=1 ;;
  "") ;;
  *) echo "usage: scripts/test.sh [--full]" >&2; exit 2 ;;
esac
scripts/install-deps.sh
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# Every tree compiles its sources a batch at a time: the Qt and standard
# headers are read once a batch instead of once a file, which takes a fresh
# build from over 20 minutes to about 7 on two cores. (A developer's own
# tree built with scripts/build.sh compiles file by file, for quick rebuilds.)
unity=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16)
# The sanitizer trees: line numbers in the reports are all the debug
# information they need, and -O1 halves their compile time.
sanitizer_flags="-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"

echo "== build"
# Without debug information (a quarter of the compile time, and no test reads
# it) and without the benchmarks, which --full builds.
scripts/build.sh build "${unity[@]}" -DBREVIX_GUI=ON -DBREVIX_BENCH=OFF "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"
# Qt-free tests pass without the window: make sure what is meant to be tested was built.
for program in build/brevix-cli build/brevix-diagram build/src/app/brevix build/src/uninstaller/ui/uninstaller; do
  [ -x "$program" ] || { echo "error: $program was not built, so its tests did not run" >&2; exit 1; }
done

if [ "$full" = 0 ]; then
  echo "== tests"
  (cd build && ctest --output-on-failure -j2)
  echo "== all tests passed (scripts/test.sh --full adds the sanitizer and fuzz runs)"
  exit 0
fi

echo "== benchmarks build"
scripts/build.sh build -DBREVIX_BENCH=ON

echo "== sanitizer run (AddressSanitizer, UndefinedBehaviorSanitizer)"
scripts/build.sh build-asan "${unity[@]}" -DBREVIX_GUI=OFF -DBREVIX_BENCH=OFF -DBREVIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "$sanitizer_flags"
(cd build-asan && ctest --output-on-failure -j2)

echo "== tests that need the window's build"
# Everything the sanitizer run did not cover: the widget tests and what
# links Qt. Tests are told apart by name, so none runs twice.
test_list() { (cd "$1" && ctest -N | sed -n 's/^ *Test *#\([0-9]*\): \(.*\)$/\1 \2/p'); }
sanitized=$(test_list build-asan | cut -d' ' -f2-)
rest=$(test_list build | while read -r number name; do
  grep -qxF -- "$name" <<<"$sanitized" || echo "$number"
done | paste -sd, -)
if [ -n "$rest" ]; then
  (cd build && ctest --output-on-failure -j2 -I "0,0,0,$rest")
fi

# What runs on several threads (the renderer, the batch workers, the
# optimiser, the tolerance analysis and its worker, the fit into a rough, the core from four
# threads at once) under ThreadSanitizer.
echo "== thread sanitizer run (ThreadSanitizer)"
scripts/build.sh build-tsan "${unity[@]}" "$sanitizer_flags" -DBREVIX_GUI=OFF -DBREVIX_BENCH=OFF -DBREVIX_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DBREVIX_TEST_FOLDERS=threads;optics;collection;optimise;tolerance;rough"
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure -j2)

if command -v clang++ >/dev/null && ls fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  echo "== fuzz run (${FUZZ_SECONDS:-30} s a target)"
  scripts/build.sh build-fuzz "${unity[@]}" "$sanitizer_flags" -DCMAKE_CXX_COMPILER=clang++ -DBREVIX_GUI=OFF -DBREVIX_BENCH=OFF \
    -DBREVIX_TESTS=OFF -DBREVIX_FUZZ=ON -DBREVIX_SANITIZE=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
  for target in build-fuzz/fuzz/*_fuzz; do
    name=$(basename "$target" _fuzz)
    work=$(mktemp -d)
    [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$work/"
    "$target" -max_total_time="${FUZZ_SECONDS:-30}" -rss_limit_mb=2048 "$work" 2>&1 | tail -n 3
    rm -rf "$work"
  done
fi
echo "== all tests passed"
