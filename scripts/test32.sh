#!/bin/bash
# The 32-bit build: the quadrature decoder for the older host record, the
# host of our own and the tests that cover it, built with the multilib
# compiler and run under qemu-user.
#   ZEVK_BUILD32_DIR  build folder      (default: build-m32)
#   ZEVK_MEX32_DIR    deliverable folder (default: build/mex32)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${ZEVK_BUILD32_DIR:-$root/build-m32}"
mex="${ZEVK_MEX32_DIR:-$root/build/mex32}"
jobs="$(nproc)"
bash "$root/scripts/setup.sh"
echo "=== $dir (32-bit)"
cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/linux-i386.cmake" -DZEVK_BUILD_32=ON \
  -DZEVK_MEX_DIR="$mex" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"$jobs"
(cd "$dir" && ctest --output-on-failure -j"$jobs")
echo "32-bit tests passed"
