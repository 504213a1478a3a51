#!/bin/bash
# The Windows deliverables: the thirty-nine .mexw64 files and the 32-bit
# .mexw32 quadrature decoder, cross-built with MinGW-w64, checked for what
# they export and import, and tested under Wine through the Windows build of
# the host of our own.
#   ZEVK_WIN64_DIR  64-bit build folder (default: build-win64)
#   ZEVK_WIN32_DIR  32-bit build folder (default: build-win32)
# The 32-bit tests run only where a 32-bit Wine is installed (Debian's wine32,
# of the i386 architecture); without it the .mexw32 file is built and checked.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir64="${ZEVK_WIN64_DIR:-$root/build-win64}"
dir32="${ZEVK_WIN32_DIR:-$root/build-win32}"
jobs="$(nproc)"

bash "$root/scripts/setup.sh"  # the MinGW-w64 compilers and wine64 are listed there

# Runs ctest in DIR, whose programs start under Wine through
# cmake/wine-run.sh; then stops the Wine server of the build's prefix.
run_tests() {  # run_tests DIR WINE
  local dir="$1" wine="$2"
  local status=0
  (cd "$dir" && ctest --output-on-failure -j"$jobs") || status=$?
  WINEPREFIX="$dir/wineprefix" "$(dirname "$wine")/wineserver" -k 2>/dev/null || true
  return "$status"
}

echo "=== $dir64 (Windows, 64-bit)"
cmake --no-warn-unused-cli -S "$root" -B "$dir64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir64" -j"$jobs"
# Every block source has its deliverable, and each exports and imports only
# what a MEX file may.
blocks=("$root"/blocks/ZEVK_*.cpp)
absent=0
for source in "${blocks[@]}"; do
  name="$(basename "$source" .cpp)"
  [[ -f "$dir64/mex/$name.mexw64" ]] || { echo "FAIL: $name.mexw64 is missing"; absent=1; }
done
((absent == 0))
bash "$root/tests/check_deliverables_win.sh" x86_64-w64-mingw32-objdump "$dir64/mex" .mexw64 39
run_tests "$dir64" /usr/lib/wine/wine64

echo "=== $dir32 (Windows, 32-bit)"
cmake --no-warn-unused-cli -S "$root" -B "$dir32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DZEVK_BUILD_32=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir32" -j"$jobs"
bash "$root/tests/check_deliverables_win.sh" i686-w64-mingw32-objdump "$dir32/mex" .mexw32 1
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  run_tests "$dir32" /usr/lib/wine/wine
else
  echo "no 32-bit Wine (Debian's wine32): the 32-bit tests are not run"
fi
echo "Windows deliverables built, checked and tested"
