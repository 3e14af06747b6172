#!/usr/bin/env bash
# Builds the engine and starts it, ready for protocol commands on standard input.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" --target pbrain-zomar
exec "$root/build/src/pbrain-zomar" "$@"
