#!/usr/bin/env bash
# Cross-builds the Windows engine (build-windows/src/pbrain-zomar64.exe, static,
# 64-bit) and its unit tests with Debian's mingw-w64, installing the compiler
# and wine when missing. Test discovery runs the test programs under wine.
# Everything it prints goes to standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZOMAR_WINDOWS_BUILD_DIR:-$root/build-windows}

bash "$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix wine64 googletest

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DZOMAR_BUILD_BENCH=OFF >&2
cmake --build "$build" "$@" >&2
