#!/usr/bin/env bash
# The browser tests: builds the browser engine, serves web/ on 127.0.0.1 and
# drives the page in headless chromium (Debian's; none is downloaded), checking
# its moves against the native engine of build/ (built by scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
port=${ZOMAR_WEB_PORT:-8089}
bash "$root/scripts/setup.sh" chromium
bash "$root/scripts/build-wasm.sh"
(cd "$root/tests/web" && npm ci --no-audit --no-fund >&2)

python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/web" >/dev/null 2>&1 &
server=$!
trap 'kill "$server"' EXIT
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" 2>/dev/null && break
  sleep 0.2
done

cd "$root/tests/web"
ZOMAR_WEB_URL="http://127.0.0.1:$port/" \
ZOMAR_NATIVE_ENGINE="$root/build/src/pbrain-zomar" \
ZOMAR_WEB_SCREENSHOT="$root/build/web-board.png" \
ZOMAR_WEB_PHONE_SCREENSHOT="$root/build/web-phone.png" \
ZOMAR_WEB_ANALYSIS_SCREENSHOT="$root/build/web-analysis.png" \
  node --test --test-concurrency=1
