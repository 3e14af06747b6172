#!/usr/bin/env bash
# Configures and builds the Release tree in build/ (installing what is missing).
# Everything it prints goes to standard error, so that standard output stays the
# engine's protocol channel when run.sh follows it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DZOMAR_WARNINGS_AS_ERRORS="${ZOMAR_WARNINGS_AS_ERRORS:-${CI:+ON}}" >&2
cmake --build "$root/build" "$@" >&2
