#!/usr/bin/env bash
# The computer against itself, match after match, on a copy of the demo
# folder: every match must be decided, log.txt must hold no error, and the
# resident memory after the last match must be within 5 % of the first.
#   scripts/soak.sh [MATCHES] [VDX] [GAME]
# Defaults: 1000 matches, the Release build's vdx and its demo folder
# (scripts/play.sh builds them); ROUNDS=N sets the rounds of each match.
# The fights run undrawn (--no-draw), as fast as the rules step; DRAW=1 runs
# them drawn, to compare. Prints the speed against real time: the fight
# frames at 60 a second over the seconds the run took.
set -euo pipefail
cd "$(dirname "$0")/.."
matches=${1:-1000}
vdx=${2:-build/game/vdx}
game=${3:-build/game}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$game" "$work/game"
rm -f "$work/game/log.txt"
start=$(date +%s.%N)
rounds=()
[ -n "${ROUNDS:-}" ] && rounds=(--rounds "$ROUNDS")
draw=(--no-draw)
[ -n "${DRAW:-}" ] && draw=()
"$vdx" 1 --headless "${draw[@]}" --versus Kira,Brann --cpu both --matches "$matches" "${rounds[@]}" \
  --game-dir "$work/game" >"$work/out" 2>"$work/err" ||
  { echo "FAIL: vdx ended with status $?"; cat "$work/err"; exit 1; }
end=$(date +%s.%N)
failures=0
played=$(grep -c '^match ' "$work/out" || true)
undecided=$(grep -c 'undecided,' "$work/out" || true)
frames=$(awk -F', ' '/^match /{sub(/ frames/, "", $3); n += $3} END {print n + 0}' "$work/out")
memory=$(tail -n 1 "$work/out")
awk -v p="$played" -v f="$frames" -v s="$start" -v e="$end" \
  'BEGIN {printf "%d matches, %d fight frames in %.1f s: %.0f times real time\n", p, f, e - s, f / 60 / (e - s)}'
echo "$memory"
# The processor time the game took (the second line of `times`: children's
# user and system time, as "XmY.YYYs"), fair on a machine busy with more.
times >"$work/times"
cpu=$(tail -n 1 "$work/times" | awk '{n = 0; for (i = 1; i <= 2; ++i) {split($i, t, /[ms]/); n += t[1] * 60 + t[2]} print n}')
awk -v f="$frames" -v s="$start" -v e="$end" -v c="$cpu" \
  'BEGIN {printf "%.0f times real time on the processor time it took (%.1f s)\n", f / 60 / c, c}'
[ "$played" -eq "$matches" ] || { echo "FAIL: $played of $matches matches played"; failures=1; }
[ "$undecided" -eq 0 ] || { echo "FAIL: $undecided undecided matches"; grep undecided "$work/out"; failures=1; }
if grep -qi 'error' "$work/game/log.txt" 2>/dev/null; then
  echo "FAIL: log.txt holds errors:"; grep -i error "$work/game/log.txt" | head; failures=1
fi
first=$(echo "$memory" | sed -n 's/.*: \([0-9.]*\) MB after the first.*/\1/p')
last=$(echo "$memory" | sed -n 's/.*, \([0-9.]*\) MB after the last.*/\1/p')
if [ -n "$first" ] && [ -n "$last" ]; then
  awk -v a="$first" -v b="$last" 'BEGIN {exit !(b <= a * 1.05)}' ||
    { echo "FAIL: memory grew from $first MB to $last MB"; failures=1; }
else
  echo "FAIL: no memory line"; failures=1
fi
[ $failures -eq 0 ] && echo "soak passed"
exit $failures
