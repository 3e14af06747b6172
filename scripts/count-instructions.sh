#!/usr/bin/env bash
# Instructions per place-and-lift pair (20-stone middle game, without and with
# the border lists) and per stone of the signature's fixed-depth searches,
# counted by valgrind's callgrind: the same figure on every run of the same
# binary whatever else the machine does, so two builds compare exactly.
# Usage: scripts/count-instructions.sh [ZOMAR_BENCH]   (default: build/bench/zomar_bench,
# built first); DEPTHS="8 10" picks the signature depths (default 8).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench=${1:-}
if [ -z "$bench" ]; then
  bash "$root/scripts/build.sh" --target zomar_bench
  bench="$root/build/bench/zomar_bench"
fi
bash "$root/scripts/setup.sh" valgrind
pairs=200000  # the iterations of the *Counted benchmarks
out=$(mktemp "${TMPDIR:-/tmp}/zomar-count-XXXXXX")
trap 'rm -f "$out"' EXIT

# Instructions spent inside the functions matching $2 while benchmark $1 runs;
# the benchmark's JSON report is left in $out.
collected() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null --toggle-collect="$2" \
    "$bench" --benchmark_filter="$1" --benchmark_format=json 2>&1 >"$out" | awk '/Collected/ {print $4}'
}
per() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.0f", a / b }'; }

ir=$(collected '^BM_MakeMovePairCounted/' 'zomar::ListBoard::MakeMove(*')
echo "place-and-lift pair: $(per "$ir" "$pairs") instructions ($ir / $pairs)"
ir=$(collected '^BM_MakeSearchMovePairCounted/' 'zomar::ListBoard::MakeSearchMove(*')
echo "place-and-lift pair with border lists: $(per "$ir" "$pairs") instructions ($ir / $pairs)"
for depth in ${DEPTHS:-8}; do
  ir=$(collected "^BM_SearchSignature/$depth/" 'zomar::TreeSearch::IterativeDeepening(*')
  stones=$(awk -F': ' '/"stones"/ { sub(/,$/, "", $2); printf "%.0f", $2 }' "$out")
  echo "signature depth $depth: $(per "$ir" "$stones") instructions per stone ($ir / $stones stones)"
done
