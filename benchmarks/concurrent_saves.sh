#!/usr/bin/env bash
# Races and kills against the command-line tool's saves, counted rather than timed:
#   lost  - runs (of ROUNDS) in which two saves of one sim started together lost one update;
#   torn  - kills -9 (of ROUNDS) at random moments of a locked save with a backup that left
#           the character file neither the old nor the new content.
# Usage: benchmarks/concurrent_saves.sh path/to/drapeline-cli [ROUNDS]
set -euo pipefail
cli=$1
rounds=${2:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" demo "$work/game" >/dev/null
sim=$(ls "$work"/game/UserData/Characters/User0000*.iff | head -1)
cp "$sim" "$work/original.iff"

lost=0
for ((r = 0; r < rounds; r++)); do
  cp "$work/original.iff" "$sim"
  "$cli" set "$sim" hands.openLeft=race_left_$r --program-folder "$work/p" >/dev/null &
  "$cli" set "$sim" hands.openRight=race_right_$r --program-folder "$work/p" >/dev/null &
  wait
  shown=$("$cli" wardrobe "$sim")
  [[ $shown == *race_left_$r* && $shown == *race_right_$r* ]] || lost=$((lost + 1))
done
echo "concurrent sets: lost $lost of $rounds"

cp "$work/original.iff" "$sim"
"$cli" set "$sim" normal.texture=after_the_kill --backup --program-folder "$work/p" >/dev/null
cp "$sim" "$work/new.iff"
torn=0
kills=$((rounds * 2))
for ((r = 0; r < kills; r++)); do
  cp "$work/original.iff" "$sim"
  "$cli" set "$sim" normal.texture=after_the_kill --backup --program-folder "$work/p" >/dev/null 2>&1 &
  pid=$!
  sleep "0.00$((RANDOM % 10))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  cmp -s "$sim" "$work/original.iff" || cmp -s "$sim" "$work/new.iff" || torn=$((torn + 1))
done
echo "killed saves: torn $torn of $kills"
