#!/usr/bin/env bash
# Installs what is missing, builds, runs every test, then the sanitizer run
# and a short run of every fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

echo "== build and test"
scripts/build.sh build -DBREVIX_GUI=ON
# Qt-free tests pass without the window: make sure what is meant to be tested was built.
for program in build/brevix-cli build/src/app/brevix build/src/uninstaller/ui/uninstaller; do
  [ -x "$program" ] || { echo "error: $program was not built, so its tests did not run" >&2; exit 1; }
done
(cd build && ctest --output-on-failure -j2)

echo "== sanitizer run (AddressSanitizer, UndefinedBehaviorSanitizer)"
scripts/build.sh build-asan -DBREVIX_GUI=OFF -DBREVIX_BENCH=OFF -DBREVIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd build-asan && ctest --output-on-failure -j2)

# What runs on several threads (the renderer, the batch workers, the
# optimiser, the core from four threads at once) under ThreadSanitizer.
echo "== thread sanitizer run (ThreadSanitizer)"
scripts/build.sh build-tsan -DBREVIX_GUI=OFF -DBREVIX_BENCH=OFF -DBREVIX_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DBREVIX_TEST_FOLDERS=threads;optics;collection;optimise"
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure -j2)

if command -v clang++ >/dev/null && ls fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  echo "== fuzz run (${FUZZ_SECONDS:-30} s a target)"
  scripts/build.sh build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DBREVIX_GUI=OFF -DBREVIX_BENCH=OFF \
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
