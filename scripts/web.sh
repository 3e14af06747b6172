#!/usr/bin/env bash
# Builds the browser engine and serves the board page on 127.0.0.1 (port 8080,
# or the one given). Stop it with Ctrl+C.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-8080}
bash "$root/scripts/build-wasm.sh"
echo "Play Zomar at http://127.0.0.1:$port/"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/web"
