#!/bin/bash
# The whole test suite: a normal build and a build under AddressSanitizer and
# UndefinedBehaviorSanitizer, each with every test.
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

run_build "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_build "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DZEVK_SANITIZE=ON
echo "all tests passed"
