#!/usr/bin/env bash
# Configures and builds the libFuzzer targets in build/fuzz with clang.
# Prints only what the compilers say (warnings, errors); skips with a message
# when clang is not installed.
# Usage: build_fuzz.sh [build dir, default build/fuzz]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if ! command -v clang >/dev/null || ! command -v clang++ >/dev/null; then
  echo "build_fuzz: clang not found, fuzz targets skipped"
  exit 0
fi
build="${1:-$root/build/fuzz}"
jobs="${ODC_JOBS:-$(nproc)}"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DODC_FUZZ=ON >/dev/null
# Ninja's progress lines are left out; the compilers' warnings and errors show.
log="$build/build.log"
status=0
cmake --build "$build" -j "$jobs" >"$log" 2>&1 || status=$?
grep -v -E '^\[[0-9]+/[0-9]+\] |^ninja: (no work to do|Entering|Leaving)' "$log" || true
exit "$status"
