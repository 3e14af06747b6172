#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the native suite (unit,
# end-to-end and the referee's game set), the board page in a headless
# browser, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, a bounded protocol fuzzing
# run, one game under valgrind, and the Windows build under wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)")
bash "$root/scripts/test-web.sh"
bash "$root/scripts/test-sanitizers.sh"
bash "$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-120}"
BUILD_DIR="$root/build" bash "$root/scripts/valgrind-game.sh"
bash "$root/scripts/test-windows.sh"
