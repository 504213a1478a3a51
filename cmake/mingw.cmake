# What the two MinGW-w64 tool-chain files share; they set ZEVK_MINGW_TRIPLE
# first. Debian's cross compilers with the POSIX thread model, and Wine to
# run what they build: CTest and test discovery start every program through
# cmake/wine-run.sh, which keeps Wine's state in a prefix of the build's own.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ZEVK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEVK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEVK_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${ZEVK_MINGW_TRIPLE}-dlltool)

# Libraries and headers of the target only: /usr/include holds the build
# machine's C library, which must never reach this compiler.
set(CMAKE_FIND_ROOT_PATH /usr/${ZEVK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(ZEVK_WINE NAMES ${ZEVK_WINE_NAMES} PATHS ${ZEVK_WINE_PATHS} NO_DEFAULT_PATH)
set(ZEVK_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix the tests run in")
if(ZEVK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${ZEVK_WINE} ${ZEVK_WINEPREFIX})
endif()
