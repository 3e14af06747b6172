#!/usr/bin/env bash
# Builds the engine for the browser with emscripten (preset "wasm", build-wasm/)
# and puts the loader and the engine (zomar.js, zomar.wasm) into web/engine/.
# Tests, benchmarks and the referee are native only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" emscripten
# Debian's emscripten runs its JavaScript optimizer with the system's acorn.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
cd "$root"
cmake --preset wasm >&2
cmake --build --preset wasm "$@" >&2
mkdir -p "$root/web/engine"
cp "$root/build-wasm/src/zomar.js" "$root/build-wasm/src/zomar.wasm" "$root/web/engine/"
