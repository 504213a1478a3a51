# 32-bit x86 Linux with the multilib compiler of a 64-bit machine. Programs
# built here run under qemu-user, which CTest and test discovery use on their
# own through the emulator setting.
#   cmake -S . -B build-m32 -DCMAKE_TOOLCHAIN_FILE=cmake/linux-i386.cmake -DZEVK_BUILD_32=ON
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

find_program(ZEVK_QEMU_I386 qemu-i386)
if(ZEVK_QEMU_I386)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZEVK_QEMU_I386} -L /usr/lib32)
endif()
