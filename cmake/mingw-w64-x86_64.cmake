# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads flavour).
# The programs are linked statically, so the .exe files run without any DLL of
# the compiler; ctest and test discovery run them through wine.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZOMAR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZOMAR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOMAR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOMAR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZOMAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Wine runs quietly in a prefix of its own inside the build tree (created on
# first use), without the .NET and HTML runtimes it would offer to install.
set(CMAKE_CROSSCOMPILING_EMULATOR
  /usr/bin/env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
  /usr/lib/wine/wine64)
