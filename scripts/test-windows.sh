#!/usr/bin/env bash
# Builds the Windows engine and tests it under wine: its unit tests, then the
# end-to-end tests of tests/app (built natively) with the Windows executable as
# the engine, including games in which it must play the native engine's moves,
# and timed referee games of the Windows engine against the native one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZOMAR_WINDOWS_BUILD_DIR:-$root/build-windows}
native=${ZOMAR_NATIVE_BUILD_DIR:-$root/build}
jobs=$(nproc)

ZOMAR_WINDOWS_BUILD_DIR=$build bash "$root/scripts/build-windows.sh"
cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
cmake --build "$native" --target pbrain-zomar app_tests zomar-referee >&2

# Wine's own settings; nothing may wait for a display.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= DISPLAY=
wine=/usr/lib/wine/wine64
# Wine's server and its service processes outlive the programs it runs, and
# would hold the output pipe of whichever test started them open (so that test
# waits until they end). Started here without standard streams, they keep
# every start fast and hold nothing; they are ended when this script ends.
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
"$wine" wineboot </dev/null >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure -j "$jobs"

# Timed games against the native engine, judged as a tournament manager would.
"$native/tools/referee/zomar-referee" --games 8 --sizes 15,20 --rules 0,1 --turn 200 \
  "$wine $build/src/pbrain-zomar64.exe" "$native/src/pbrain-zomar"

# Every suite of the native end-to-end tests, with the Windows executable as
# the engine. Two of them hand the engine host paths, which the Windows engine
# does not split; WindowsEngineTest covers those commands with Windows paths.
suites=$("$native/tests/app_tests" --gtest_list_tests | grep -E '^[^ ].*\.$' | sed 's/\.$//' | paste -sd '|')
host_path_tests='GameTest\.BenchmarkSearchesEveryPositionFile|ProtocolSession\.FolderThatCannotBeMadeIsReportedAndTheRunGoesOn'
ZOMAR_ENGINE=$build/src/pbrain-zomar64.exe ZOMAR_ENGINE_LAUNCHER=$wine \
  ctest --test-dir "$native" --output-on-failure -j "$jobs" -R "^($suites)\." -E "^($host_path_tests)\$"
