# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 toolchain
# (package g++-mingw-w64-x86-64-posix). Used by scripts/windows:
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GS_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GS_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GS_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${GS_MINGW}-windres)

# Libraries, headers and packages come from the Windows sysroot only; the
# build's helper programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${GS_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
