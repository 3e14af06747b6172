#!/usr/bin/env bash
# Builds the protocol fuzzer (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs it for a bounded time:
# the first argument or FUZZ_SECONDS (default 300). It starts from the seed
# sessions in tests/fuzz/corpus/ and keeps what it learns in build-fuzz/corpus/.
# A finding is written to build-fuzz/findings/ and ends the run with an error;
# copy it to tests/fuzz/regressions/ so that the normal suite replays it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-${FUZZ_SECONDS:-300}}
bash "$root/scripts/setup.sh" clang-14 libclang-rt-14-dev
compiler=${CLANGXX:-clang++-14}
command -v "$compiler" >/dev/null || compiler=clang++
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_COMPILER="$compiler" \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $sanitize -fno-omit-frame-pointer -g" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
  -DZOMAR_FUZZ=ON -DZOMAR_BUILD_BENCH=OFF >&2
cmake --build "$build" --target protocol_fuzzer -j "${JOBS:-2}" >&2
mkdir -p "$build/corpus" "$build/findings"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# -timeout: a session that runs this many seconds is a hang (searches are
# limited to depth 2 and 2000 nodes); -rss_limit_mb leaves room for ASan.
exec "$build/tests/fuzz/protocol_fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
  -max_len=2048 -dict="$root/tests/fuzz/protocol.dict" -artifact_prefix="$build/findings/" \
  -print_final_stats=1 "$build/corpus" "$root/tests/fuzz/corpus"
