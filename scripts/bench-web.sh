#!/usr/bin/env bash
# The browser engine's fixed-depth search speed beside the native engine's on
# the same positions (bench/web/speed.mjs). Arguments: depth, number of
# positions, rounds (defaults 10, 9, 3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
port=${ZOMAR_WEB_PORT:-8089}
bash "$root/scripts/setup.sh" chromium
bash "$root/scripts/build.sh" --target pbrain-zomar
bash "$root/scripts/build-wasm.sh"
(cd "$root/tests/web" && npm ci --no-audit --no-fund >&2)
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/web" >/dev/null 2>&1 &
server=$!
trap 'kill "$server"' EXIT
sleep 1
node "$root/bench/web/speed.mjs" "http://127.0.0.1:$port/" "$root/build/src/pbrain-zomar" "${1:-10}" "${2:-9}" "${3:-3}"
