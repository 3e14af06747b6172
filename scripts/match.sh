#!/usr/bin/env bash
# A match for strength questions: ENGINE_A against ENGINE_B from every opening
# of tests/data/openings with both colours (the openings cycle until --games),
# several games at once, through the referee. Prints every pair of games, then
# A's wins/draws/losses, the Elo difference of A with its 95 % interval, late
# answers and faults; with --sprt it stops once the sequential test decides.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
  cat <<'EOF'
usage: scripts/match.sh ENGINE_A ENGINE_B [options]
  --games N            games, in colour-swapped pairs (200)
  --turn MS            timeout_turn (1000)
  --match MS           timeout_match per game, 0 none (0)
  --depth D            info max_depth D for both engines
  --nodes N            info max_node N for both engines
  --info-a 'KEY VALUE' one more INFO line for A (repeatable), e.g. 'thread_num 2'
  --info-b 'KEY VALUE' the same for B
  --size S             board side (20)
  --rule R             0 five or more, 1 exactly five, 4 renju, 8 caro,
                       9 caro with exactly five (0)
  --concurrency J      games at once (the number of cores)
  --sprt E0,E1[,A,B]   stop when elo1 E1 or elo0 E0 is accepted (alpha, beta 0.05)
  --referee-option O   passed on to the referee (repeatable), e.g. --tolerance
  --swap2              every game opens with swap2 instead of an opening
BUILD_DIR: take the referee from that build tree as it is; default: build/, built first.
EOF
}

[ $# -ge 2 ] || { usage >&2; exit 2; }
engine_a=$(realpath "$1")
engine_b=$(realpath "$2")
shift 2
games=200 turn=1000 match=0 size=20 rule=0 concurrency=$(nproc) sprt=""
info_a=() info_b=() referee_options=()
swap2=()
while [ $# -gt 0 ]; do
  if [ "$1" = --swap2 ]; then swap2=(--swap2); shift; continue; fi
  [ $# -ge 2 ] || { usage >&2; exit 2; }
  case "$1" in
    --games) games=$2 ;;
    --turn) turn=$2 ;;
    --match) match=$2 ;;
    --depth) info_a+=(--info-a "max_depth $2") info_b+=(--info-b "max_depth $2") ;;
    --nodes) info_a+=(--info-a "max_node $2") info_b+=(--info-b "max_node $2") ;;
    --info-a) info_a+=(--info-a "$2") ;;
    --info-b) info_b+=(--info-b "$2") ;;
    --size) size=$2 ;;
    --rule) rule=$2 ;;
    --concurrency) concurrency=$2 ;;
    --sprt) sprt=$2 ;;
    --referee-option) referee_options+=("$2") ;;
    *) usage >&2; exit 2 ;;
  esac
  shift 2
done

sprt_arguments=()
if [ -n "$sprt" ]; then
  IFS=, read -r elo0 elo1 alpha beta <<<"$sprt"
  sprt_arguments=("$elo0" "$elo1" "${alpha:-0.05}" "${beta:-0.05}")
fi

build=${BUILD_DIR:-}
if [ -z "$build" ]; then
  build="$root/build"
  bash "$root/scripts/build.sh" --target zomar-referee zomar-match-stats
fi
referee=$(find "$build" -name zomar-referee -type f -perm -u+x | head -n 1)
stats=$(find "$build" -name zomar-match-stats -type f -perm -u+x | head -n 1)
[ -n "$referee" ] && [ -n "$stats" ] || { echo "match.sh: no referee in $build" >&2; exit 2; }

# One opening per line, with where it came from.
openings=() sources=()
for file in "$root"/tests/data/openings/*.txt; do
  line_number=0
  while IFS= read -r line || [ -n "$line" ]; do
    line_number=$((line_number + 1))
    [ -n "${line//[[:space:]]/}" ] || continue
    openings+=("$line")
    sources+=("$(basename "$file"):$line_number")
  done <"$file"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pairs=$(((games + 1) / 2))

play_pair() {
  local pair=$1
  local opening=$((pair % ${#openings[@]}))
  printf '%s\n' "${openings[$opening]}" >"$work/opening-$pair.txt"
  "$referee" --games 2 --sizes "$size" --rules "$rule" --begin-every 0 --openings "$work/opening-$pair.txt" "${swap2[@]}" \
    --turn "$turn" --match "$match" "${info_a[@]}" "${info_b[@]}" "${referee_options[@]}" \
    "$engine_a" "$engine_b" >"$work/pair-$pair.txt" 2>&1 || true
}

wins=0 draws=0 losses=0 late=0 started=0 finished=0 decided=""
declare -A running=()
while [ "$finished" -lt "$started" ] || { [ "$started" -lt "$pairs" ] && [ -z "$decided" ]; }; do
  while [ "${#running[@]}" -lt "$concurrency" ] && [ "$started" -lt "$pairs" ] && [ -z "$decided" ]; do
    play_pair "$started" &
    running[$!]=$started
    started=$((started + 1))
  done
  wait -n -p done_pid || true
  pair=${running[$done_pid]}
  unset "running[$done_pid]"
  finished=$((finished + 1))
  out="$work/pair-$pair.txt"
  a=$(grep -c '(A) wins' "$out" || true)
  b=$(grep -c '(B) wins' "$out" || true)
  d=$(grep -c ': draw by' "$out" || true)
  awk -v turn="$turn" '/^game .*slowest answer/ { split($0, s, "slowest answer "); if (s[2] + 0 > turn) print }' \
    "$out" >"$work/late-$pair.txt"
  slow=$(wc -l <"$work/late-$pair.txt")
  cat "$work/late-$pair.txt" >>"$work/late.txt"
  wins=$((wins + a)) draws=$((draws + d)) losses=$((losses + b)) late=$((late + slow))
  grep -E '^ *fault: |^fault at END' "$out" >>"$work/faults.txt" || true
  opened_by=${sources[$((pair % ${#openings[@]}))]}
  [ ${#swap2[@]} -eq 0 ] || opened_by=swap2
  echo "pair $((pair + 1))/$pairs ($opened_by): A $a, draws $d, B $b;" \
    "total $wins-$draws-$losses"
  if [ ${#swap2[@]} -gt 0 ]; then
    grep '^game ' "$out" | sed 's/^/  /'
    grep '^game ' "$out" >>"$work/games.txt" || true
  fi
  if [ ${#sprt_arguments[@]} -gt 0 ] && [ -z "$decided" ]; then
    verdict=$("$stats" "$wins" "$draws" "$losses" "${sprt_arguments[@]}" | tail -n 1)
    case "$verdict" in *accepted*) decided=$verdict ;; esac
  fi
done

# The INFO lines each engine got besides the referee's own.
describe() {
  local text=$1
  shift
  while [ $# -gt 0 ]; do text+=", INFO $2"; shift 2; done
  echo "$text"
}
describe "A: $engine_a" "${info_a[@]}"
describe "B: $engine_b" "${info_b[@]}"
echo "board ${size}x$size rule $rule, turn $turn ms, match $match ms, ${#openings[@]} openings, both colours"
"$stats" "$wins" "$draws" "$losses" "${sprt_arguments[@]}"
echo "games with an answer over $turn ms: $late"
touch "$work/faults.txt" "$work/late.txt"
sed 's/^/  /' "$work/late.txt"
echo "illegal moves: $(grep -c 'illegal' "$work/faults.txt" || true)," \
  "faults in all: $(wc -l <"$work/faults.txt")"
sed 's/^ */  /' "$work/faults.txt"
if [ ${#swap2[@]} -gt 0 ]; then
  # Each seat's swap2 answers by step, and black's score once the colours are chosen.
  touch "$work/games.txt"
  awk '{
    text = $0; sub(/.*swap2 /, "", text); sub(/ \(slowest .*/, "", text)
    ms = $0; sub(/.*swap2 .*\(slowest /, "", ms); ms += 0; if (ms > slowest) slowest = ms
    n = split(text, answers, ", ")
    for (i = 1; i <= n; ++i) { split(answers[i], w, " "); count[w[1] " step " i ": " w[2]]++ }
    games++
    if ($0 ~ /: black \([AB]\) wins/) black += 1; else if ($0 ~ /: draw by/) black += 0.5
  } END {
    for (key in count) print "swap2 " key " " count[key]
    if (games > 0) printf "swap2 black score %.1f / %d games (%.1f %%), slowest swap2 answer %d ms\n", black, games, 100 * black / games, slowest
  }' "$work/games.txt" | sort
fi
