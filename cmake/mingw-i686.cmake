# 32-bit Windows: the quadrature decoder as .mexw32, with its host and tests.
# The tests need a 32-bit Wine (Debian's wine32, of the i386 architecture).
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DZEVK_BUILD_32=ON
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZEVK_MINGW_TRIPLE i686-w64-mingw32)
# Debian's 32-bit loader itself: its /usr/bin/wine runs wine64 when wine32
# is missing, which cannot start a 32-bit program.
set(ZEVK_WINE_NAMES wine)
set(ZEVK_WINE_PATHS /usr/lib/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
