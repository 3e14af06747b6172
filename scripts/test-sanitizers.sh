#!/usr/bin/env bash
# Builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs the whole test suite there (the referee's game set
# included). Any sanitizer report ends the process that made it with an error,
# so it fails its test. Then a short two-thread search and a few sessions
# that interrupt searches and ponders run under ThreadSanitizer (build-tsan/).
# JOBS sets the parallelism (default 2).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-asan"
jobs=${JOBS:-2}
bash "$root/scripts/setup.sh"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all"
# The sanitized engine is slower and its resident memory includes the shadow
# memory: the game set gets more tolerance and no memory limit check.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$sanitize -fno-omit-frame-pointer -g" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
  -DZOMAR_BUILD_BENCH=OFF \
  "-DZOMAR_REFEREE_EXTRA_OPTIONS=--no-memory-check;--tolerance;1500" >&2
cmake --build "$build" -j "$jobs" >&2
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build"
ctest --output-on-failure -j "$jobs"

# A short search by two threads under ThreadSanitizer: the shared table, and
# the helper threads' start and end around a move.
tsan="$root/build-tsan"
cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -g" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" \
  -DZOMAR_BUILD_BENCH=OFF >&2
cmake --build "$tsan" -j "$jobs" --target pbrain-zomar >&2
printf '%s\r\n' "start 15" "info thread_num 2" "info timeout_turn 1000" "info time_left 100000000" \
  board 7,7,2 8,8,1 8,7,2 done "turn 9,9" end |
  TSAN_OPTIONS=halt_on_error=1:exitcode=66 "$tsan/src/pbrain-zomar" >/dev/null
echo "ThreadSanitizer: two-thread search clean" >&2

# The command reader beside searches and ponders: STOP, INFO lines and END at
# random moments.
for session in 1 2 3 4; do
  {
    printf '%s\r\n' "start 15" "info timeout_turn 1500" "info time_left 100000000" \
      "info pondering $((session % 2))" "info thread_num $((session % 3 == 0 ? 2 : 1))" \
      board 7,7,2 8,8,1 8,7,2 done
    for turn in 1 2 3; do
      sleep "0.$((RANDOM % 5))"
      printf '%s\r\n' "info timeout_turn $((RANDOM % 400 + 50))" "$( ((RANDOM % 2)) && echo stop)" "turn $turn,0"
    done
    sleep "0.$((RANDOM % 3))"
    printf 'end\r\n'
  } | TSAN_OPTIONS=halt_on_error=1:exitcode=66 "$tsan/src/pbrain-zomar" >/dev/null
done
echo "ThreadSanitizer: command reader clean" >&2
