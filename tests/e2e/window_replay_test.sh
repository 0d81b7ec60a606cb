#!/usr/bin/env bash
# A match played in a real window on a virtual X display, with keys pressed as
# a player presses them, is recorded; played again headless, the replay gives
# the very frames the window showed: the same states and the same pictures.
set -u
vdx=$1
game=$2
source "$(dirname "$0")/virtual_display.sh"

cp -r "$game" "$work/game"
DISPLAY=$display SDL_AUDIODRIVER=dummy ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 \
  "$vdx" 1 --game-dir "$work/game" --versus Kira,Brann --record "$work/match.vdr" \
  --frame-hashes "$work/played.txt" 2>"$work/err" &
game_pid=$!
find_game_window "$work/game"
failures=0
if [ -z "$window" ]; then
  echo "FAIL: no window titled '$title'"
  kill -TERM $game_pid
  wait $game_pid
  exit 1
fi
keys() { DISPLAY=$display xdotool windowfocus --sync "$window" "$@" >/dev/null 2>&1; }
# The round begins on the first key, which does nothing else; each key is held
# long enough for the game's frames to see it.
sleep 2
keys keydown d sleep 0.3 keyup d sleep 0.5
keys keydown Right sleep 0.6 keyup Right
keys keydown Up sleep 0.3 keyup Up sleep 0.6
keys keydown a sleep 0.2 keyup a sleep 0.4
keys keydown Down sleep 0.1 keydown s sleep 0.3 keyup s keyup Down sleep 0.5
keys key alt+x
for _ in $(seq 100); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && { echo "FAIL: Alt+X did not close the game"; kill -TERM $game_pid; failures=1; }
wait $game_pid
status=$?
[ $status -eq 0 ] || { echo "FAIL: exit status $status"; cat "$work/err"; failures=1; }
[ -s "$work/match.vdr" ] || { echo "FAIL: no replay written"; cat "$work/err"; exit 1; }

lines=$(wc -l <"$work/played.txt")
[ "$lines" -gt 100 ] || { echo "FAIL: only $lines frames played"; failures=1; }
states=$(cut -d' ' -f2 "$work/played.txt" | sort -u | wc -l)
[ "$states" -gt 20 ] || { echo "FAIL: the keys moved nothing ($states states)"; failures=1; }

ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 "$vdx" 1 --headless --game-dir "$work/game" \
  --replay "$work/match.vdr" --frame-hashes "$work/replayed.txt" 2>"$work/replay-err" ||
  { echo "FAIL: the replay does not play: $(cat "$work/replay-err")"; failures=1; }
if ! cmp -s "$work/played.txt" "$work/replayed.txt"; then
  echo "FAIL: the replay differs from the window's match; first difference:"
  diff "$work/played.txt" "$work/replayed.txt" | head -3
  failures=1
fi
# A machine whose sound fails plays the same match in the window, silent,
# and says so once.
DISPLAY=$display SDL_AUDIODRIVER=vdx_no_such_driver ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 \
  "$vdx" 1 --game-dir "$work/game" --replay "$work/match.vdr" \
  --frame-hashes "$work/silent.txt" 2>"$work/silent-err"
status=$?
[ $status -eq 0 ] || { echo "FAIL: without sound the replay ends with $status: $(cat "$work/silent-err")"; failures=1; }
said=$(grep -c "^vdx: no sound: " "$work/silent-err")
[ "$said" -eq 1 ] || { echo "FAIL: 'no sound' said $said times: $(cat "$work/silent-err")"; failures=1; }
grep -q "no sound: " "$work/game/log.txt" || { echo "FAIL: the log does not say there is no sound"; failures=1; }
cmp -s <(cut -d' ' -f1,2 "$work/played.txt") <(cut -d' ' -f1,2 "$work/silent.txt") ||
  { echo "FAIL: the silent replay played another fight"; failures=1; }
[ $failures -eq 0 ] && echo "window replay test passed ($lines frames)"
exit $failures
