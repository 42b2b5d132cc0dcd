#!/usr/bin/env bash
# Installs what is missing, builds from scratch, runs clang-tidy over the
# sources and every test, then runs the tests that need no widgets again
# under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")"
# A merge left half-done must not pass for code: scripts and pages would not
# fail to compile.
if git grep -nE '^(<<<<<<<|>>>>>>>)( |$)' -- . ':!*.md' 2>/dev/null; then
  echo "test.sh: conflict markers in the tree" >&2
  exit 1
fi
source ./scripts/deps.sh
rk54_install_deps
rk54_start_print_queue

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRK54_GUI=ON -DRK54_SANITIZE=OFF -DRK54_WERROR=ON
cmake --build build -j "$jobs"
# The checks .clang-tidy names, over the program's own sources.
run-clang-tidy -p build -quiet -j "$jobs" "$PWD/src/.*\.cpp$"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DRK54_GUI=OFF -DRK54_SANITIZE=ON -DRK54_BENCH=OFF -DRK54_WERROR=ON
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
