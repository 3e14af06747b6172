#!/usr/bin/env bash
# Builds the Release tree and runs the benchmarks: table builds, the board's
# place-and-lift pairs, one search node's evaluation, process start to the
# first "OK", peak memory, and the search signature (fixed-depth searches over
# tests/data with the total of stones placed). Figures are medians of a few
# repetitions; compare the CPU column on a loaded machine. Arguments go to the
# benchmark program (for example --benchmark_filter=Signature).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" --target zomar_bench pbrain-zomar
bench="$root/build/bench/zomar_bench"
if [[ ! -x "$bench" ]]; then
  echo "Google Benchmark was not found: install libbenchmark-dev and run again." >&2
  exit 1
fi
"$bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true "$@"
