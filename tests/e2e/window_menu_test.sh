#!/usr/bin/env bash
# The whole game in a real window on a virtual X display, played with keys as
# a player presses them: Return ends the title, ONE PLAYER, Kira against the
# computer's Brann on the first stage, the fight (its fighters are loaded),
# Escape and Exit to Menu, then EXIT from the menu, which opens the help page
# (a stand-in xdg-open notes the address) and ends the game with status 0.
# F12 takes a picture of the menu and of the fight on the way.
set -u
vdx=$1
game=$2
source "$(dirname "$0")/virtual_display.sh"

cp -r "$game" "$work/game"
rm -f "$work/game/log.txt"
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "$1" >>"%s/opened.txt"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
PATH="$work/bin:$PATH" DISPLAY=$display SDL_AUDIODRIVER=dummy \
  ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 \
  "$vdx" 1 --game-dir "$work/game" 2>"$work/err" &
game_pid=$!
find_game_window "$work/game"
if [ -z "$window" ]; then
  echo "FAIL: no window titled '$title'"
  kill -TERM $game_pid
  wait $game_pid
  exit 1
fi
# Each key held for about one frame of the menus (they look 10 times a second;
# held longer, a direction would step twice), then let go.
key() { DISPLAY=$display xdotool windowfocus --sync "$window" keydown "$1" sleep "${2:-0.15}" \
  keyup "$1" sleep "${3:-0.6}" >/dev/null 2>&1; }
sleep 1.5
key Return 0.15 1.5  # the title
key F12              # screenshots/vdx0001.png: the menu
key a 0.15 1.5       # ONE PLAYER
key a                # Kira
key a                # the opponent under the second cursor: Brann
key a 0.15 4         # the first stage, then the versus screen and the fight
key F12              # vdx0002.png: the fight
key d 0.3            # the first key of the round starts it
key Escape 0.3       # the pause menu
key Down 0.1         # Exit to Menu
key a 0.15 2
key Down 1 0.5       # held, it walks down to EXIT, the last item
key a 0.15 0
for _ in $(seq 100); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
failures=0
if kill -0 $game_pid 2>/dev/null; then
  echo "FAIL: EXIT did not end the game"
  kill -TERM $game_pid
  failures=1
fi
wait $game_pid
status=$?
[ $status -eq 0 ] || { echo "FAIL: exit status $status"; cat "$work/err"; failures=1; }
for fighter in Kira Brann; do
  grep -qF "\"Loading Character actions for $fighter\"" "$work/game/log.txt" 2>/dev/null ||
    { echo "FAIL: the fight did not load $fighter: $(cat "$work/game/log.txt")"; failures=1; }
done
grep -qxF "file://$work/game/HTML/Vandrel.htm" "$work/opened.txt" 2>/dev/null ||
  { echo "FAIL: EXIT did not open the help page: $(cat "$work/opened.txt" 2>/dev/null)"; failures=1; }
for shot in vdx0001 vdx0002; do
  [ -s "$work/game/screenshots/$shot.png" ] || { echo "FAIL: no $shot.png"; failures=1; }
done
cmp -s "$work/game/screenshots/vdx0001.png" "$work/game/screenshots/vdx0002.png" &&
  { echo "FAIL: the fight looks like the menu"; failures=1; }
if [ -n "${VDX_KEEP_SHOTS:-}" ]; then
  cp "$work/game/screenshots/"*.png "$VDX_KEEP_SHOTS/" 2>/dev/null
fi
[ $failures -eq 0 ] && echo "window menu test passed"
exit $failures
