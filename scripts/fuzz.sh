#!/bin/bash
# Coverage-guided fuzzing of every deliverable through the host of our own,
# under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer.
#
#   bash scripts/fuzz.sh SECONDS [LIBFUZZER-OPTION...]
#
# Builds build-fuzz with clang, writes the seed corpus from the test sessions
# and fuzzes for SECONDS. The corpus grows in build-fuzz/fuzz-corpus and is
# kept for the next run. Any finding fails the script; the input that found
# it is left in build-fuzz/fuzz-findings/ (replay it with
# build-fuzz/fuzz/fuzz_blocks FILE).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || ((seconds == 0)); then
  echo "usage: bash scripts/fuzz.sh SECONDS [LIBFUZZER-OPTION...]" >&2
  exit 2
fi
shift
bash "$root/scripts/setup.sh"

dir="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DZEVK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"${ZEVK_JOBS:-$(nproc)}" --target fuzz_blocks fuzz_corpus

seeds="$dir/fuzz-seeds"
corpus="$dir/fuzz-corpus"
findings="$dir/fuzz-findings"
rm -rf "$seeds"
mkdir -p "$corpus" "$findings"
"$dir/fuzz/fuzz_corpus" "$seeds" "$root/fuzz/seeds.json" "$root/tests/scripts"

export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The fuzzer's progress goes to a log; a finding prints the end of it.
log="$dir/fuzz.log"
if ! "$dir/fuzz/fuzz_blocks" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
  -artifact_prefix="$findings/" "$@" "$corpus" "$seeds" >"$log" 2>&1; then
  tail -n 100 "$log"
  echo "fuzz: FINDING, input saved in $findings/ (full log: $log)" >&2
  exit 1
fi
grep '^stat::' "$log"
echo "fuzz: no finding in $seconds s (corpus: $(ls "$corpus" | wc -l) inputs)"
