#!/usr/bin/env bash
# The long referee run, by hand: 200 games (or $GAMES) of the engine against
# itself at 200 ms per move on 15x15 and 20x20, rules 0 and 1, both colours,
# from BEGIN and from the shipped openings. Extra arguments go to the referee
# (for example --turn 1000). Prints every game and the totals: results by
# colour, faults, slowest answer against the turn limit, peak memory against
# max_memory. Exits non-zero on any fault.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# BUILD_DIR: use the binaries of that build tree as they are; default: build/,
# built first.
build=${BUILD_DIR:-}
if [ -z "$build" ]; then
  build="$root/build"
  bash "$root/scripts/build.sh" --target pbrain-zomar zomar-referee
fi
openings=()
for file in "$root"/tests/data/openings/*.txt; do
  openings+=(--openings "$file")
done
exec "$build/tools/referee/zomar-referee" --games "${GAMES:-200}" --sizes 15,20 --rules 0,1 \
  --turn 200 --match 60000 "${openings[@]}" "$@" "$build/src/pbrain-zomar"
