#!/bin/bash
# The whole test suite:
#   - a normal build with every test, the Octave suite included;
#   - a build under AddressSanitizer and UndefinedBehaviorSanitizer;
#   - the 32-bit quadrature decoder with its 32-bit host, under qemu-user;
#   - a bounded run of the fuzzer over every deliverable (ZEVK_FUZZ_SECONDS,
#     default 120);
#   - the Windows deliverables, cross-built and tested under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
bash "$root/scripts/setup.sh"

run_build() {  # run_build DIR CMAKE-ARGS...
  local dir="$1"; shift
  echo "=== $dir"
  cmake -S "$root" -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
}

run_build "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEVK_REQUIRE_OCTAVE=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_build "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DZEVK_SANITIZE=ON
bash "$root/scripts/test32.sh"
echo "=== fuzz"
bash "$root/scripts/fuzz.sh" "${ZEVK_FUZZ_SECONDS:-120}"
bash "$root/scripts/windows.sh"
echo "all tests passed"
