#!/usr/bin/env bash
# One full game with the engine under valgrind's memcheck (brain A, black,
# opening with BEGIN) against a plain engine, 15x15, 1 s per move. Fails on
# any invalid access, use of uninitialised memory or leak (valgrind's error
# exit code makes the referee report a fault), and prints valgrind's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# BUILD_DIR: use the binaries of that build tree as they are; default: build/,
# built first.
build=${BUILD_DIR:-}
bash "$root/scripts/setup.sh" valgrind
if [ -z "$build" ]; then
  build="$root/build"
  bash "$root/scripts/build.sh" --target pbrain-zomar zomar-referee
fi
log=$(mktemp "${TMPDIR:-/tmp}/zomar-valgrind-XXXXXX")
status=0
"$build/tools/referee/zomar-referee" --games 1 --sizes 15 --rules 0 --turn 1000 --tolerance 4000 \
  --start-timeout 120000 --no-memory-check \
  "valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible --log-file=$log $build/src/pbrain-zomar" \
  "$build/src/pbrain-zomar" || status=$?
grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|All heap blocks" "$log" || cat "$log"
if [ "$status" -ne 0 ]; then
  cat "$log" >&2
fi
rm -f "$log"
exit "$status"
