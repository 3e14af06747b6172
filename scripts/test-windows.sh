#!/usr/bin/env bash
# Builds the Windows engine and tests it under wine: its unit tests, then the
# end-to-end tests of tests/app (built natively) with the Windows executable as
# the engine, including games in which it must play the native engine's moves.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZOMAR_WINDOWS_BUILD_DIR:-$root/build-windows}
native=${ZOMAR_NATIVE_BUILD_DIR:-$root/build}
jobs=$(nproc)

ZOMAR_WINDOWS_BUILD_DIR=$build bash "$root/scripts/build-windows.sh"
cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
cmake --build "$native" --target pbrain-zomar app_tests >&2

# Wine's own settings; nothing may wait for a display. A wine server that
# outlives each program keeps every start fast, and ends itself a minute after
# the last one.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= DISPLAY=
wine=/usr/lib/wine/wine64
/usr/lib/wine/wineserver -p 60

ctest --test-dir "$build" --output-on-failure -j "$jobs"

# The native benchmark test gives the engine host paths, which the Windows
# engine does not split; WindowsEngineTest covers the benchmark with Windows
# paths instead.
ZOMAR_ENGINE=$build/src/pbrain-zomar64.exe ZOMAR_ENGINE_LAUNCHER=$wine \
  ctest --test-dir "$native" --output-on-failure -j "$jobs" \
  -R '^(GameTest|BoardSizes/RefereeTest|WindowsEngineTest)\.' -E 'BenchmarkSearchesEveryPositionFile'
