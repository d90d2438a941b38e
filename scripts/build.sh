#!/usr/bin/env bash
# Configures and builds everything (program, tests, benchmarks) into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LK_BUILD_DIR:-$root/build}
jobs=${LK_JOBS:-$(nproc)}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# LK_BUILD_TARGET builds only that target (and what it needs), e.g. one test program.
if [ -n "${LK_BUILD_TARGET:-}" ]; then
  cmake --build "$build" -j "$jobs" --target $LK_BUILD_TARGET
else
  cmake --build "$build" -j "$jobs"
fi
