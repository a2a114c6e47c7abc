#!/usr/bin/env bash
# A longer fuzzing run: each target for the given number of seconds (default
# 600), one after the other, at low priority. New inputs go to a working
# corpus under the build directory; the committed seed corpus is only read.
# Crashes are written to build/fuzz/artifacts/<target>/.
# Usage: fuzz_campaign.sh [seconds per target] [build dir]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
build="${2:-$root/build/fuzz}"
status=0
for corpus in "$root"/fuzz/corpus/*/; do
  target="$(basename "$corpus")"
  work="$build/campaign/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$work" "$artifacts"
  echo "== $target for ${seconds}s"
  nice -n 10 "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" "$corpus" >"$build/$target.campaign.log" 2>&1 || status=1
  grep -E "^#[0-9]+.*(DONE|pulse)|stat::|ERROR|SUMMARY" "$build/$target.campaign.log" | tail -12
done
exit $status
