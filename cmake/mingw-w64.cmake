# 64-bit Windows: the .mexw64 deliverables, the host of our own and the tests,
# run under Wine.
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ZEVK_MINGW_TRIPLE x86_64-w64-mingw32)
set(ZEVK_WINE_NAMES wine64)
set(ZEVK_WINE_PATHS /usr/lib/wine /usr/bin)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
