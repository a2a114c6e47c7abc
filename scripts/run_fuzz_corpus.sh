#!/usr/bin/env bash
# Runs every fuzz target once over its seed corpus; non-zero when any input
# crashes. Usage: run_fuzz_corpus.sh [build dir, default build/fuzz]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/fuzz}"
status=0
for corpus in "$root"/fuzz/corpus/*/; do
  target="$(basename "$corpus")"
  if [ ! -x "$build/fuzz/$target" ]; then
    echo "run_fuzz_corpus: $target not built in $build (run scripts/build_fuzz.sh)"
    status=1
    continue
  fi
  if "$build/fuzz/$target" -runs=0 "$corpus" >"$build/$target.corpus.log" 2>&1; then
    echo "$target: $(ls "$corpus" | wc -l) inputs, no crash"
  else
    echo "$target: FAILED over its corpus"
    tail -40 "$build/$target.corpus.log"
    status=1
  fi
done
exit $status
